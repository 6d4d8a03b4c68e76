#pragma once
// Window layouts are kept in twips (1/1440 inch); windows work in pixels. The screen's twips per
// pixel is 1440 / dots per inch: 15 at 96 dpi, 12 at 120 dpi.

namespace cw {

int TwipsToPixels(int twips, double twipsPerPixel);
int PixelsToTwips(int pixels, double twipsPerPixel);

// A component's saved size record is in hundredths of a millimetre (2540 to the inch).
int HimetricToTwips(int himetric);
int TwipsToHimetric(int twips);

// The screen's twips per pixel, horizontally and vertically.
double ScreenTwipsPerPixelX();
double ScreenTwipsPerPixelY();

} // namespace cw
