#include "gauges.h"

#include <cmath>

namespace korval::statuspanel {

const forms::Color kRed = forms::Rgb(255, 0, 0);
const forms::Color kYellow = forms::Rgb(255, 255, 0);
const forms::Color kGreen = forms::Rgb(0, 255, 0);

namespace {

// Every row keeps the needle on the printed arc: low = 0.4 span - offset, high = 1.6 span - offset.
Scale Row(int offset, int span) {
  return Scale{offset, span, (2 * span) / 5 - offset, (8 * span) / 5 - offset};
}

}  // namespace

Scale VoltageBand(int n) {
  if (n == 60) return Row(-10, 50);
  if (n >= 100 && n <= 104) return Row(0, 100);
  if (n >= 105 && n <= 112) return Row(-10, 100);
  if (n >= 113 && n <= 117) return Row(-15, 100);
  if (n >= 118 && n <= 169) return Row(-20, 100);
  if (n >= 170 && n <= 224) return Row(-20, 200);
  if (n >= 225 && n <= 234) return Row(-30, 200);
  if (n >= 235 && n <= 346) return Row(-40, 200);
  return Row(200 - n, 200);  // 347, and beyond it the same rule
}

Scale FixedScale(int gauge, bool temperature) {
  switch (gauge) {
    case 3:
    case 6: {
      Scale s = Row(40, 100);
      s.low = -2147483647 - 1;  // no lower stop
      return s;
    }
    case 5:
      if (temperature) return Row(20, 50);
      return Row(-10, 50);
    default:
      return Row(-10, 50);  // gauge 4: input frequency
  }
}

int ClampToScale(int value, const Scale& scale) {
  if (value < scale.low) return scale.low;
  if (value > scale.high) return scale.high;
  return value;
}

Rating RateVoltage(int gauge, int value, int n) {
  const long long v10 = 10LL * value, v20 = 20LL * value;
  if (v10 < 7LL * n || v10 > 13LL * n) return Rating::Red;
  if (gauge == 1) return v10 < 13LL * n ? Rating::Green : Rating::Keep;
  if (v20 >= 17LL * n && v20 < 23LL * n) return Rating::Green;
  return Rating::Yellow;
}

Rating RateFixed(int gauge, int v, bool temperature, bool unitType12) {
  switch (gauge) {
    case 3:
      return v >= 105 ? Rating::Red : v >= 80 ? Rating::Yellow : Rating::Green;
    case 6:
      return v < 30 ? Rating::Red : v <= 59 ? Rating::Yellow : Rating::Green;
    case 5:
      if (temperature) return v > 50 ? Rating::Red : v >= 40 ? Rating::Yellow : Rating::Green;
      if (unitType12) return Rating::Green;
      [[fallthrough]];
    default:
      return v <= 40 ? Rating::Red : v <= 45 ? Rating::Yellow : Rating::Green;
  }
}

forms::Color RatingColor(Rating r) {
  switch (r) {
    case Rating::Red:
      return kRed;
    case Rating::Yellow:
      return kYellow;
    default:
      return kGreen;
  }
}

Point NeedleEnd(int value, int offset, int span) {
  constexpr double kPi = 3.14159265358979323846;
  const double a = kPi * (static_cast<double>(value) + offset) / span;
  const int dx = static_cast<int>(std::lround(23.0 * std::sin(a)));
  const int dy = static_cast<int>(std::lround(23.0 * std::cos(a)));
  return Point{70 - dx, 70 + dy};
}

std::string VoltageLabel(int i, int n) {
  return std::to_string(n < 200 ? 20 * i + n - 80 : 40 * i + n - 160);
}

int DetectNominal(int v) { return v <= 165 ? 115 : v <= 300 ? 230 : 347; }

}  // namespace korval::statuspanel
