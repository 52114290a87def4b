#pragma once
// Live objects in this process's GDI handle table (-1 where it is not Wine's).
#include "GdiCount.h"

namespace capture_test {
using fw::GdiObjectCount;
}  // namespace capture_test
