#pragma once
// The scales of the six gauges: voltage bands, fixed scales, clamps, colour rules, needle geometry and the
// scale-label texts. Pure functions; the main window applies them.
#include <string>

#include "bitmap.h"

namespace korval::statuspanel {

extern const forms::Color kRed, kYellow, kGreen;

// A needle scale: angle a = pi * (value + offset) / span from straight down, clockwise; values are held to
// low..high, which keeps the needle on the printed arc from 0.4 pi to 1.6 pi.
struct Scale {
  int offset = 0, span = 1, low = 0, high = 0;
};

// The VoltageBands row of nominal value n (60 is the unit-type-12 row of gauge 2). A nominal value of 348 or
// more has no row of its own: it gets the geometry of the 347 row moved to n (offset 200 - n, span 200,
// values n - 120 .. n + 120), so that the needle stands straight up at the nominal value and the ends of the
// arc meet the scale labels, whose rule goes on past 347 unchanged.
Scale VoltageBand(int n);

// The scale of gauges 3..6; `temperature` selects gauge 5's temperature scale.
Scale FixedScale(int gauge, bool temperature);

int ClampToScale(int value, const Scale& scale);

enum class Rating { Red, Yellow, Green, Keep };

// Gauges 1 and 2: the measured value (not the clamped one) against nominal n (ratio thresholds 0.7, 0.85,
// 1.15, 1.3, exact).
Rating RateVoltage(int gauge, int value, int n);
// Gauges 3..6 by the clamped value. Gauge 5 on the frequency scale is green for unit type 12.
Rating RateFixed(int gauge, int value, bool temperature, bool unitType12);

forms::Color RatingColor(Rating r);

struct Point {
  int x = 0, y = 0;
  friend bool operator==(Point a, Point b) { return a.x == b.x && a.y == b.y; }
};
// The far end of the needle on the 140 x 140 dial: (70 - dx, 70 + dy), dx = 23 sin a, dy = 23 cos a rounded.
Point NeedleEnd(int value, int offset, int span);

// Label position i (1..7) of a voltage gauge for the nominal value n as held.
std::string VoltageLabel(int i, int n);

// Nominal value detected from the output voltage: 115, 230 or 347.
int DetectNominal(int outputVoltage);

}  // namespace korval::statuspanel
