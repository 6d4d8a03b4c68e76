#pragma once
// Window layouts are kept in twips (1/1440 inch); windows work in pixels. The screen's twips per
// pixel is 1440 / dots per inch: 15 at 96 dpi, 12 at 120 dpi.

namespace cw {

int TwipsToPixels(int twips, double twipsPerPixel);
// As a window's place (`low` -32768) or size (`low` 0): window coordinates beyond 16 bits mean
// nothing, and a damaged design must not ask for them.
int TwipsToWindowPixels(int twips, double twipsPerPixel, int low = 0);
int PixelsToTwips(int pixels, double twipsPerPixel);

// A component's saved size record is in hundredths of a millimetre (2540 to the inch).
int HimetricToTwips(int himetric);
int TwipsToHimetric(int twips);

// The screen's twips per pixel, horizontally and vertically.
double ScreenTwipsPerPixelX();
double ScreenTwipsPerPixelY();

} // namespace cw
