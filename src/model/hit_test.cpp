#include "hit_test.h"

namespace vorlo {

bool PointInPolygon(const Point32*, int, int32_t, int32_t) {
    return false;
}
MatchList::Ref HitTest(const MatchList&, int32_t, int32_t) {
    return {};
}

}  // namespace vorlo
