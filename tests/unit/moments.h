#pragma once
// A local moment from calendar fields, for tests that spell out their times.
#include "common/datetime.h"

namespace zelvar::testing {

inline TDateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
    return *EncodeDateTime({y, mo, d, h, mi, s, ms});
}

}  // namespace zelvar::testing
