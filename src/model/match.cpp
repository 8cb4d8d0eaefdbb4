#include "match.h"

#include <bit>
#include <cmath>

#include "int32_math.h"

namespace vorlo {

namespace shape_constants {
const double kDegToRad = std::bit_cast<double>(uint64_t{0x3F91DF46A257C011});
const double kHeadStep = std::bit_cast<double>(uint64_t{0x3FD41B2F76A2B814});
// The head is an oval: longest along the axis (factor 1 at vertices 3, 4, 13,
// 14), narrowest across it (0.5 at vertices 8, 9, 18, 19).
const double kHeadFactors[20] = {0.55, 0.65, 0.8, 1.0, 1.0, 0.8, 0.65, 0.55, 0.5, 0.5,
                                 0.55, 0.65, 0.8, 1.0, 1.0, 0.8, 0.65, 0.55, 0.5, 0.5};
}  // namespace shape_constants

namespace {
constexpr double kHalfWidth = 3.0;
constexpr double kWidth = 6.0;
constexpr double kLength = 65.0;
constexpr double kHeadPhase = 1.29;
constexpr double kHeadRadius = 11.0;
constexpr double kGripFraction = 0.1;

// A point a tenth of the way from `from` to `to`, truncated toward zero.
int32_t GripCoordinate(int32_t from, int32_t to) {
    const double step = static_cast<double>(WrapSub(to, from)) * kGripFraction;
    return TruncToInt32(static_cast<double>(from) + step);
}
}  // namespace

int32_t RoundHalfUp(double v) {
    const double lo = std::floor(v);
    const double hi = std::ceil(v);
    return TruncToInt32((v - lo) < (hi - v) ? lo : hi);
}

uint64_t PointDistanceSquared(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    const int64_t dx = WrapSub(x2, x1);
    const int64_t dy = WrapSub(y2, y1);
    return static_cast<uint64_t>(dx * dx) + static_cast<uint64_t>(dy * dy);
}

double PointDistance(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    return std::sqrt(static_cast<double>(PointDistanceSquared(x1, y1, x2, y2)));
}

MatchShape CMatch::GetShape(ShapeParts parts) const {
    MatchShape shape;
    GetShape(shape, parts);
    return shape;
}

void CMatch::GetShape(MatchShape& shape, ShapeParts parts) const {
    using namespace shape_constants;
    const double a = static_cast<double>(angle) * kDegToRad;
    const double sa = std::sin(a);
    const double ca = std::cos(a);

    const int32_t halfAcrossX = RoundHalfUp(sa * kHalfWidth);
    const int32_t halfAcrossY = RoundHalfUp(ca * kHalfWidth);

    Point32& p0 = shape.Stick[0];
    Point32& p1 = shape.Stick[1];
    Point32& p2 = shape.Stick[2];
    Point32& p3 = shape.Stick[3];
    p0 = {WrapAdd(x, halfAcrossX), WrapAdd(y, halfAcrossY)};
    p1 = {WrapSub(p0.x, RoundHalfUp(sa * kWidth)), WrapSub(p0.y, RoundHalfUp(ca * kWidth))};
    p2 = {WrapAdd(p1.x, RoundHalfUp(ca * kLength)), WrapSub(p1.y, RoundHalfUp(sa * kLength))};
    p3 = {WrapAdd(p2.x, RoundHalfUp(sa * kWidth)), WrapAdd(p2.y, RoundHalfUp(ca * kWidth))};

    // The head is centred on the middle of the stick's far end.
    const Point32 centre{WrapSub(p3.x, halfAcrossX), WrapSub(p3.y, halfAcrossY)};
    for (int i = 0; i < 20; ++i) {
        const double t = (((i + 0.5) * kHeadStep) - a) - kHeadPhase;
        const double f = kHeadFactors[i];
        shape.Head[i] = {WrapAdd(centre.x, RoundHalfUp((std::cos(t) * f) * kHeadRadius)),
                         WrapAdd(centre.y, RoundHalfUp((std::sin(t) * f) * kHeadRadius))};
    }

    if (parts == ShapeParts::WithGrip) {
        shape.Grip[0] = p1;
        shape.Grip[1] = {GripCoordinate(p1.x, p2.x), GripCoordinate(p1.y, p2.y)};
        shape.Grip[2] = {GripCoordinate(p0.x, p3.x), GripCoordinate(p0.y, p3.y)};
        shape.Grip[3] = p0;
    }
}

}  // namespace vorlo
