// How much larger than designed the desktop wants windows drawn. The program
// keeps working in design units at 96 pixels per inch, as a Windows program
// that declares no DPI awareness does; the back end enlarges the whole window
// by this factor and maps pointer positions back.
#pragma once

#include <optional>

namespace automenu::platform {

// The factor from the desktop's settings: GDK_SCALE (a whole number) when it
// is set, else the X resource Xft.dpi divided by 96. Rounded to a quarter, the
// steps Windows offers, and kept between 1 and 4: a desktop set below 96 ppi
// gets the design size, and a stray value no window larger than 4 times.
double DesktopScale(const char* gdk_scale, std::optional<double> xft_dpi);

// The value of Xft.dpi in an X resource string (XResourceManagerString).
std::optional<double> FindXftDpi(const char* resources);

// A length in design units on a desktop of that scale, in device pixels.
int ScaledLength(int design, double scale);

}  // namespace automenu::platform
