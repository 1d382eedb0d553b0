// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cmath>

// Positions and sizes are kept in twips: 1440 to the inch of the screen's logical DPI, so 15
// to the pixel at 96 DPI.
namespace Twips {
inline constexpr double PerInch = 1440.0;
inline int toPixels(int twips, double dpi = 96.0) { return static_cast<int>(std::lround(twips * dpi / PerInch)); }
inline int fromPixels(int pixels, double dpi = 96.0) { return static_cast<int>(std::lround(pixels * PerInch / dpi)); }
} // namespace Twips
