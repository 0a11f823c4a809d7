// FittingText: a text box that keeps its whole number in view by lowering its face size.
#pragma once

class QLineEdit;

namespace zentrix::ui {

/**
 * From now on, whenever the text of `field` would not fit between its borders at the field's
 * design size, the field shows it in the largest smaller size that fits (half-point steps, down
 * to 5 point); a text that fits is shown at the design size. The field's geometry never changes.
 * The design size is the field's font size when this is called.
 */
void KeepTextInView(QLineEdit* field);

/// The width, in pixels, that a text of `field` has between its borders and inner margins.
int TextRoomOf(const QLineEdit* field);

} // namespace zentrix::ui
