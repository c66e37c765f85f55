#include "CPatternLayer.h"

#include <cstddef>

namespace rowstone {

bool CPatternLayer::Allocate(int32_t count) {
    if (count < 1) {
        return false;
    }
    patterns.clear();
    patterns.resize(static_cast<std::size_t>(count));
    return true;
}

CStonePattern& CPatternLayer::AppendPattern() {
    return patterns.emplace_back();
}

void CPatternLayer::Release() {
    patterns.clear();
    patterns.shrink_to_fit();
}

} // namespace rowstone
