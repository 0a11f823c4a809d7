// Twips: the windows are laid out in twips (1/1440 inch); 15 twips make one pixel at 96 dpi.
#pragma once

#include <QRect>

namespace zentrix::ui {

/// Twips to pixels at 96 dots per inch, rounded to the nearest pixel. Qt's own high-DPI scaling
/// takes care of other densities.
constexpr int TwipsToPixels(int twips)
{
    return (twips + (twips >= 0 ? 7 : -7)) / 15;
}

/// A rectangle given as Left, Top, Width, Height in twips.
constexpr QRect TwipsRect(int left, int top, int width, int height)
{
    return QRect(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height));
}

} // namespace zentrix::ui
