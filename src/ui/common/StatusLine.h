// StatusLine: a one-line status text that assistive technology knows as a status bar.
#pragma once

#include <QLabel>

namespace zentrix::ui {

/**
 * A label that screen readers (AT-SPI on Linux) see in the status-bar role, so the hints and
 * messages written into it are announced as status. Its accessible name is the text it shows, or
 * "ステータス" while that is blank. InstallAccessibleInterfaces() must have run for the role.
 */
class StatusLine final : public QLabel
{
    Q_OBJECT

public:
    explicit StatusLine(QWidget* parent = nullptr);
};

/// Registers the accessible interface of StatusLine. Call once after QApplication exists.
void InstallAccessibleInterfaces();

} // namespace zentrix::ui
