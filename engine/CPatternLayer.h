#pragma once

#include "CStonePattern.h"
#include "LayerDigest.h"

#include <cstdint>
#include <vector>

namespace rowstone {

// One numbered layer of a network: its patterns in file or insertion order,
// which every search follows.
class CPatternLayer {
public:
    std::vector<CStonePattern> patterns;
    // The digest scans read to pass over patterns that cannot match.
    LayerDigest digest;

    int32_t patternCount() const { return static_cast<int32_t>(patterns.size()); }

    // Replaces the patterns by count empty ones; false for count < 1.
    bool Allocate(int32_t count);
    CStonePattern& AppendPattern();
    void Release();
};

} // namespace rowstone
