#include "base/PictureScale.h"

#include <cstdlib>

namespace base {

int PictureScale(int dpi) {
    int best = kPictureScales[0];
    // Compared in dpi * 100 against scale * 96, so nothing is rounded.
    for (int scale : kPictureScales)
        if (std::abs(dpi * 100 - scale * 96) < std::abs(dpi * 100 - best * 96)) best = scale;
    return best;
}

int ScaledLength(int length, int scale) {
    const long long v = static_cast<long long>(length) * scale;
    return static_cast<int>(v >= 0 ? (v + 50) / 100 : -((-v + 50) / 100));
}

std::wstring ScaledName(const std::wstring& name, int scale) {
    return scale == 100 ? name : name + L"_" + std::to_wstring(scale);
}

}  // namespace base
