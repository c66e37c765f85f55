#include "LayerPrefilter.h"

#include <algorithm>
#include <array>

namespace rowstone {

namespace {

// The bit planes alone decide p's matches: the same rule the matcher uses.
bool PlanesDecide(const CStonePattern& p) {
    return p.mask.exact && p.mask.requiredCount == p.threshold && p.planeCount >= 2;
}

uint8_t SideOrZero(int side) {
    return side >= 1 && side <= CStonePattern::kMaxSide ? static_cast<uint8_t>(side) : 0;
}

uint8_t AtMost255(int count) {
    return static_cast<uint8_t>(std::min(count, 255));
}

uint16_t FarthestPair(const PatternMask::Cell* cells, int count) {
    return count >= 2 ? PlanePairs::OffsetOf(cells[0], cells[count - 1]) : PlanePairs::kNoOffset;
}

const uint64_t* PresentOffsets(const PlaneFacts& facts) {
    static const std::array<uint64_t, PlanePairs::kOffsets / 64 + 1> everyOffset = [] {
        std::array<uint64_t, PlanePairs::kOffsets / 64 + 1> bits{};
        bits.fill(~uint64_t{0});
        return bits;
    }();
    return facts.pairs != nullptr ? facts.pairs->PresentBits() : everyOffset.data();
}

bool Has(const uint64_t* present, uint16_t offset) {
    return (present[offset >> 6] >> (offset & 63) & 1) != 0;
}

} // namespace

void LayerPrefilter::Refresh(const std::vector<CStonePattern>& patterns) {
    entries_.resize(patterns.size());
    fewestStones_ = PlaneFacts::kAnyCount;
    fewestEmpties_ = PlaneFacts::kAnyCount;
    for (size_t i = 0; i < patterns.size(); ++i) {
        const CStonePattern& p = patterns[i];
        const PatternMask& mask = p.mask;
        const bool decided = PlanesDecide(p);
        Entry& e = entries_[i];
        e.width = SideOrZero(p.width);
        e.height = SideOrZero(p.height);
        if (e.height == 0) {
            e.width = 0;
        }
        e.stones = decided ? AtMost255(mask.stoneCount) : 0;
        e.empties = decided ? AtMost255(mask.emptyCount) : 0;
        e.stonePair = decided ? FarthestPair(mask.Stones(), mask.stoneCount) : PlanePairs::kNoOffset;
        e.emptyPair =
            decided ? FarthestPair(mask.Empties(), mask.emptyCount) : PlanePairs::kNoOffset;
        fewestStones_ = std::min(fewestStones_, int{e.stones});
        fewestEmpties_ = std::min(fewestEmpties_, int{e.empties});
    }
    madeFor_ = patterns.data();
    revision_ = PatternMask::Revision();
}

int LayerPrefilter::Next(const std::vector<CStonePattern>& patterns, int from,
                         const PlaneFacts& stones, const PlaneFacts& empties, int W, int H) {
    const int count = static_cast<int>(patterns.size());
    if (revision_ != PatternMask::Revision() || madeFor_ != patterns.data() ||
        entries_.size() != patterns.size()) {
        Refresh(patterns);
    }
    if (stones.count < fewestStones_ || empties.count < fewestEmpties_) {
        return count;
    }
    const uint64_t* stonePairs = PresentOffsets(stones);
    const uint64_t* emptyPairs = PresentOffsets(empties);
    const Entry* entries = entries_.data();
    for (int i = from < 0 ? 0 : from; i < count; ++i) {
        const Entry e = entries[i];
        if (e.stones <= stones.count && e.empties <= empties.count && e.width != 0 &&
            e.width <= W && e.height <= H && Has(stonePairs, e.stonePair) &&
            Has(emptyPairs, e.emptyPair)) {
            return i;
        }
    }
    return count;
}

} // namespace rowstone
