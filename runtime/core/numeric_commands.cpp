// The numeric commands: trigonometry in degrees, remainders, powers, absolute values, text lengths,
// character codes and the rectangle overlap test.
#include "runtime/core/core.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

constexpr double kRadiansPerDegree = 0.017453292519943295;
constexpr double kDegreesPerRadian = 57.29577951308232;

// The last pixel a rectangle covers on one axis; 64-bit so that no start and size can overflow.
int64_t FarEdge(int32_t start, int32_t size) {
    if (size > 0) return int64_t{start} + size - 1;
    if (size < 0) return int64_t{start} + size + 1;
    return start;
}

bool AxisOverlaps(int32_t start1, int32_t size1, int32_t start2, int32_t size2) {
    int64_t far1 = FarEdge(start1, size1), far2 = FarEdge(start2, size2);
    int64_t low1 = std::min<int64_t>(start1, far1), high1 = std::max<int64_t>(start1, far1);
    int64_t low2 = std::min<int64_t>(start2, far2), high2 = std::max<int64_t>(start2, far2);
    return std::max(low1, low2) <= std::min(high1, high2);
}

} // namespace

double Sin(double degrees) { return std::sin(degrees * kRadiansPerDegree); }
double Cos(double degrees) { return std::cos(degrees * kRadiansPerDegree); }
double Tan(double degrees) { return std::tan(degrees * kRadiansPerDegree); }

// Past -1 or 1 reads as that end.
double ASin(double x) { return std::asin(std::clamp(x, -1.0, 1.0)) * kDegreesPerRadian; }
double ACos(double x) { return std::acos(std::clamp(x, -1.0, 1.0)) * kDegreesPerRadian; }

double ATan(double y, double x) { return std::atan2(y, x) * kDegreesPerRadian; }

double SquareRoot(double x) { return std::sqrt(x); }

double Abs(double x) { return x >= 0 || std::isnan(x) ? x : -x; }

// In unsigned arithmetic, so the smallest integer comes back as itself instead of overflowing.
int32_t IntAbs(int32_t x) {
    uint32_t sign = x < 0 ? 0xFFFFFFFFu : 0u;
    return static_cast<int32_t>((static_cast<uint32_t>(x) ^ sign) + (sign & 1u));
}

// A divisor of -1 always leaves 0; dividing the smallest integer by it would trap.
int32_t Mod(int32_t a, int32_t b) {
    if (b == 0 || b == -1) return 0;
    return a % b;
}

double FMod(double a, double b) { return b == 0.0 ? 0.0 : std::fmod(a, b); }

double Pow(double x, double y) { return std::pow(x, y); }

int32_t Len(const RtString& text) { return static_cast<int32_t>(text.Length()); }
int32_t Len(double number) { return static_cast<int32_t>(RtString(number).Length()); }
int32_t Len(int32_t number) { return static_cast<int32_t>(RtString(number).Length()); }

int32_t Asc(const RtString& text) { return static_cast<unsigned char>(text.c_str()[0]); }

RtString Chr(int32_t code) {
    const char text[2] = {static_cast<char>(code & 0xFF), 0};
    return RtString(text);
}

int32_t BoxCollision(int32_t x1, int32_t y1, int32_t w1, int32_t h1, int32_t x2, int32_t y2, int32_t w2, int32_t h2) {
    return AxisOverlaps(x1, w1, x2, w2) && AxisOverlaps(y1, h1, y2, h2) ? 1 : 0;
}
