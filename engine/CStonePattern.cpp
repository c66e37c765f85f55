#include "CStonePattern.h"

namespace rowstone {

bool CStonePattern::Allocate(int32_t newWidth, int32_t newHeight, int32_t newPlaneCount) {
    if (newWidth < 1 || newHeight < 1 || newPlaneCount < 1 || newWidth > kMaxSide ||
        newHeight > kMaxSide || newPlaneCount > 3) {
        return false;
    }
    const int64_t size = int64_t{newWidth} * newHeight * newPlaneCount;
    if (size < 2) {
        return false;
    }
    width = newWidth;
    height = newHeight;
    planeCount = newPlaneCount;
    threshold = 0;
    mask.Clear();
    values.assign(static_cast<size_t>(size), 0);
    return true;
}

void CStonePattern::Release() {
    values.clear();
    values.shrink_to_fit();
    width = height = planeCount = threshold = 0;
    mask.Clear();
}

void CStonePattern::ComputeThreshold() {
    int32_t sum = 0;
    const int planes = planeCount < 2 ? planeCount : 2;
    const size_t cells = static_cast<size_t>(width) * static_cast<size_t>(height);
    for (size_t i = 0; i < cells * static_cast<size_t>(planes); ++i) {
        sum += values[i];
    }
    threshold = sum;
    mask.Compile(values.data(), width, height, planeCount);
}

} // namespace rowstone
