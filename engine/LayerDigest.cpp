#include "LayerDigest.h"

#include "BitPlaneMatcher.h"

#include <algorithm>
#include <array>

namespace rowstone {

namespace {

using Cell = PatternMask::Cell;

// The bit planes alone decide p's matches: the same rule the matcher uses.
bool PlanesDecide(const CStonePattern& p) {
    return p.mask.exact && p.mask.requiredCount == p.threshold && p.planeCount >= 2;
}

uint8_t SideOrZero(int side) {
    return side >= 1 && side <= CStonePattern::kMaxSide ? static_cast<uint8_t>(side) : 0;
}

uint16_t FarthestPair(const Cell* cells, int count) {
    return count >= 2 ? PlanePairs::OffsetOf(cells[0], cells[count - 1]) : PlanePairs::kNoOffset;
}

uint16_t SecondPair(const Cell* cells, int count) {
    return count >= 3 ? PlanePairs::OffsetOf(cells[0], cells[1]) : PlanePairs::kNoOffset;
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

// The number of pairs at offset on a plane, or more than the longest walk
// when the plane lists none or the pattern has no such pair.
int WalkLength(const PlaneFacts& facts, uint16_t offset) {
    if (facts.pairs == nullptr || !facts.pairs->Listed() || offset == PlanePairs::kNoOffset) {
        return LayerDigest::kMaxPairWalk + 1;
    }
    return facts.pairs->Count(offset);
}

} // namespace

void LayerDigest::PairIndex::Build(const std::vector<Entry>& entries, uint16_t Entry::*pair) {
    slots_.assign(PlanePairs::kOffsets + 1, -1);
    offsets_.clear();
    words_ = (entries.size() + 63) / 64;
    bits_.clear();
    for (size_t i = 0; i < entries.size(); ++i) {
        const uint16_t offset = entries[i].*pair;
        if (slots_[offset] < 0) {
            slots_[offset] = static_cast<int16_t>(offsets_.size());
            offsets_.push_back(offset);
            bits_.resize(bits_.size() + words_, 0);
        }
        bits_[static_cast<size_t>(slots_[offset]) * words_ + i / 64] |= uint64_t{1} << (i % 64);
    }
}

void LayerDigest::PairIndex::Collect(const uint64_t* present, uint64_t* candidates) const {
    std::fill(candidates, candidates + words_, 0);
    for (size_t row = 0; row < offsets_.size(); ++row) {
        if (!Has(present, offsets_[row])) {
            continue;
        }
        const uint64_t* bits = bits_.data() + row * words_;
        for (size_t k = 0; k < words_; ++k) {
            candidates[k] |= bits[k];
        }
    }
}

void LayerDigest::AddEntry(const CStonePattern& p, size_t i) {
    const PatternMask& mask = p.mask;
    const bool decided = PlanesDecide(p);
    Entry& e = entries_[i];
    e.width = SideOrZero(p.width);
    e.height = SideOrZero(p.height);
    if (e.height == 0) {
        e.width = 0;
    }
    e.decided = decided ? 1 : 0;
    e.unused = 0;
    e.stones = decided ? mask.stoneCount : 0;
    e.empties = decided ? mask.emptyCount : 0;
    e.stonePair = decided ? FarthestPair(mask.Stones(), mask.stoneCount) : PlanePairs::kNoOffset;
    e.emptyPair = decided ? FarthestPair(mask.Empties(), mask.emptyCount) : PlanePairs::kNoOffset;
    e.secondStonePair =
        decided ? SecondPair(mask.Stones(), mask.stoneCount) : PlanePairs::kNoOffset;
    e.secondEmptyPair =
        decided ? SecondPair(mask.Empties(), mask.emptyCount) : PlanePairs::kNoOffset;
    firstCells_[i] = static_cast<uint32_t>(cells_.size());
    if (decided) {
        cells_.insert(cells_.end(), mask.Stones(), mask.Stones() + mask.requiredCount);
    }
    fewestStones_ = std::min(fewestStones_, int{e.stones});
    fewestEmpties_ = std::min(fewestEmpties_, int{e.empties});
}

void LayerDigest::BuildIndexes() {
    stoneIndex_.Build(entries_, &Entry::stonePair);
    emptyIndex_.Build(entries_, &Entry::emptyPair);
    secondStoneIndex_.Build(entries_, &Entry::secondStonePair);
    secondEmptyIndex_.Build(entries_, &Entry::secondEmptyPair);
    candidates_.assign((entries_.size() + 63) / 64, 0);
    emptyCandidates_.assign(candidates_.size(), 0);
    candidatesValid_ = false;
    treeBuilt_ = false;
}

void LayerDigest::Refresh(const std::vector<CStonePattern>& patterns) {
    entries_.resize(patterns.size());
    firstCells_.resize(patterns.size());
    cells_.clear();
    fewestStones_ = PlaneFacts::kAnyCount;
    fewestEmpties_ = PlaneFacts::kAnyCount;
    for (size_t i = 0; i < patterns.size(); ++i) {
        AddEntry(patterns[i], i);
    }
    BuildIndexes();
    madeFor_ = patterns.data();
    revision_ = PatternMask::Revision();
}

void LayerDigest::Shorten(size_t count) {
    cells_.resize(firstCells_[count]);
    entries_.resize(count);
    firstCells_.resize(count);
    BuildIndexes();
}

void LayerDigest::KeepAcross(const std::vector<CStonePattern>& patterns, uint64_t before,
                             const CStonePattern* dataBefore, size_t sizeBefore) {
    if (revision_ != before || madeFor_ == nullptr || madeFor_ != dataBefore ||
        entries_.size() < sizeBefore || sizeBefore > patterns.size()) {
        return;
    }
    if (entries_.size() > sizeBefore) {
        Shorten(sizeBefore);
    }
    const size_t kept = entries_.size();
    if (kept < patterns.size()) {
        entries_.resize(patterns.size());
        firstCells_.resize(patterns.size());
        for (size_t i = kept; i < patterns.size(); ++i) {
            AddEntry(patterns[i], i);
        }
        BuildIndexes();
    }
    madeFor_ = patterns.data();
    revision_ = PatternMask::Revision();
}

void LayerDigest::MatchOnTree(const PlaneFacts& stones, const PlaneFacts& empties) {
    if (!treeBuilt_) {
        std::vector<ShiftPrefixTree::Pattern> decided;
        outsideTree_.assign(candidates_.size(), 0);
        for (size_t i = 0; i < entries_.size(); ++i) {
            const Entry& e = entries_[i];
            const bool inTree = e.decided != 0 && e.width <= PackedShifts::kSide &&
                                e.height <= PackedShifts::kSide && e.width != 0;
            if (!inTree) {
                outsideTree_[i / 64] |= uint64_t{1} << (i % 64);
            } else {
                const PatternMask::Cell* cells = cells_.data() + firstCells_[i];
                decided.push_back({static_cast<int>(i), e.width, e.height, cells, e.stones,
                                   cells + e.stones, e.empties});
            }
        }
        tree_.Build(decided, static_cast<int>(entries_.size()));
        treeWords_.assign(entries_.size() * PackedShifts::kWords, 0);
        treeBuilt_ = true;
    }
    std::copy(outsideTree_.begin(), outsideTree_.end(), candidates_.begin());
    tree_.Match(*stones.shifts, *empties.shifts, candidates_.data(), treeWords_.data());
}

bool LayerDigest::PrepareCandidates(const PlaneFacts& stones, const PlaneFacts& empties) {
    auto listed = [](const PlaneFacts& f) { return f.pairs != nullptr && f.pairs->Listed(); };
    const bool byPairs = listed(stones) || listed(empties);
    const bool byTree = !byPairs && stones.shifts != nullptr && empties.shifts != nullptr;
    if (!byPairs && !byTree) {
        return false;
    }
    auto state = [&](const PlaneFacts& f) {
        return PlaneState{listed(f) ? f.pairs : nullptr, byTree ? f.shifts : nullptr, f.grid,
                          f.grid->Revision()};
    };
    const PlaneState stoneState = state(stones);
    const PlaneState emptyState = state(empties);
    if (candidatesValid_ && stoneState == candidateStones_ && emptyState == candidateEmpties_) {
        return true;
    }
    if (byTree) {
        MatchOnTree(stones, empties);
    } else {
        std::fill(candidates_.begin(), candidates_.end(), ~uint64_t{0});
        auto narrow = [this](const PairIndex& index, const uint64_t* present) {
            index.Collect(present, emptyCandidates_.data());
            for (size_t k = 0; k < candidates_.size(); ++k) {
                candidates_[k] &= emptyCandidates_[k];
            }
        };
        if (stoneState.pairs != nullptr) {
            narrow(stoneIndex_, stones.pairs->PresentBits());
            narrow(secondStoneIndex_, stones.pairs->PresentBits());
        }
        if (emptyState.pairs != nullptr) {
            narrow(emptyIndex_, empties.pairs->PresentBits());
            narrow(secondEmptyIndex_, empties.pairs->PresentBits());
        }
    }
    candidatesExact_ = byTree;
    candidateStones_ = stoneState;
    candidateEmpties_ = emptyState;
    candidatesValid_ = true;
    return true;
}

const uint64_t* LayerDigest::KnownPlacements(const CStonePattern& p, const BitGrid& stones,
                                             const BitGrid& empties, bool& noneMatched) const {
    noneMatched = false;
    if (!candidatesValid_ || !candidatesExact_ || madeFor_ == nullptr ||
        revision_ != PatternMask::Revision() || candidateStones_.grid != &stones ||
        candidateEmpties_.grid != &empties || candidateStones_.revision != stones.Revision() ||
        candidateEmpties_.revision != empties.Revision() || &p < madeFor_ ||
        &p >= madeFor_ + entries_.size()) {
        return nullptr;
    }
    const size_t i = static_cast<size_t>(&p - madeFor_);
    if ((outsideTree_[i / 64] >> (i % 64) & 1) != 0 || entries_[i].width > stones.Width() ||
        entries_[i].height > stones.Height()) {
        return nullptr;
    }
    noneMatched = (candidates_[i / 64] >> (i % 64) & 1) == 0;
    return treeWords_.data() + i * PackedShifts::kWords;
}

bool LayerDigest::Passes(int i, const PlaneFacts& stones, const PlaneFacts& empties,
                         const uint64_t* stonePairs, const uint64_t* emptyPairs, bool exact, int W,
                         int H) const {
    const Entry& e = entries_[static_cast<size_t>(i)];
    // Every test is evaluated and combined without branching: most entries
    // fail one test or another, unpredictably.
    const bool candidate = (e.stones <= stones.count) & (e.empties <= empties.count) &
                           (static_cast<unsigned>(e.width) - 1 < static_cast<unsigned>(W)) &
                           (e.height <= H) & Has(stonePairs, e.stonePair) &
                           Has(emptyPairs, e.emptyPair) & Has(stonePairs, e.secondStonePair) &
                           Has(emptyPairs, e.secondEmptyPair);
    return candidate && !(e.decided != 0 && !exact &&
                          RuledOut(e, firstCells_[static_cast<size_t>(i)], stones, empties, W, H));
}

bool LayerDigest::RuledOut(const Entry& e, uint32_t firstCell, const PlaneFacts& stones,
                           const PlaneFacts& empties, int W, int H) const {
    if (stones.grid == nullptr || empties.grid == nullptr) {
        return false;
    }
    const Cell* stoneCells = cells_.data() + firstCell;
    const Cell* emptyCells = stoneCells + e.stones;
    const int stoneWalk = WalkLength(stones, e.stonePair);
    const int emptyWalk = WalkLength(empties, e.emptyPair);
    const bool shifted = stones.shifts != nullptr && empties.shifts != nullptr;
    if (std::min(stoneWalk, emptyWalk) > (shifted ? kMaxPairWalkBesideShifts : kMaxPairWalk)) {
        if (!shifted) {
            return false;
        }
        uint64_t words[PackedShifts::kWords];
        return !PackedMatches(stoneCells, e.stones, *stones.shifts, emptyCells, e.empties,
                              *empties.shifts, e.width, e.height, words);
    }
    const bool onStones = stoneWalk <= emptyWalk;
    const Cell anchor = onStones ? stoneCells[0] : emptyCells[0];
    const PlanePairs& pairs = onStones ? *stones.pairs : *empties.pairs;
    const uint16_t offset = onStones ? e.stonePair : e.emptyPair;
    const int lastX = W - e.width;
    const int lastY = H - e.height;
    for (const uint16_t* at = pairs.Begin(offset); at != pairs.End(offset); ++at) {
        const int x0 = (*at & 0xFF) - anchor.column;
        const int y0 = (*at >> 8) - anchor.row;
        if (x0 >= 0 && y0 >= 0 && x0 <= lastX && y0 <= lastY &&
            AllCellsSet(stoneCells, e.stones, *stones.grid, x0, y0) &&
            AllCellsSet(emptyCells, e.empties, *empties.grid, x0, y0)) {
            return false;
        }
    }
    return true;
}

int LayerDigest::Next(const std::vector<CStonePattern>& patterns, int from,
                      const PlaneFacts& stones, const PlaneFacts& empties, int W, int H) {
    const int count = static_cast<int>(patterns.size());
    if (revision_ == PatternMask::Revision() && madeFor_ == patterns.data() &&
        patterns.size() < entries_.size()) {
        Shorten(patterns.size());
    }
    if (revision_ != PatternMask::Revision() || madeFor_ != patterns.data() ||
        entries_.size() != patterns.size()) {
        Refresh(patterns);
    }
    if (stones.count < fewestStones_ || empties.count < fewestEmpties_) {
        return count;
    }
    const uint64_t* stonePairs = PresentOffsets(stones);
    const uint64_t* emptyPairs = PresentOffsets(empties);
    const int start = from < 0 ? 0 : from;
    if (count > 0 && PrepareCandidates(stones, empties)) {
        const uint64_t* words = candidates_.data();
        const int wordCount = static_cast<int>(candidates_.size());
        for (int k = start / 64; k < wordCount; ++k) {
            uint64_t bits = words[k];
            if (k == start / 64) {
                bits &= ~uint64_t{0} << (start % 64);
            }
            for (; bits != 0; bits &= bits - 1) {
                const int i = k * 64 + __builtin_ctzll(bits);
                // A pattern the tree found matching has passed every test.
                const bool matchedOnTree =
                    candidatesExact_ && (outsideTree_[static_cast<size_t>(k)] >> (i % 64) & 1) == 0;
                if (matchedOnTree ||
                    Passes(i, stones, empties, stonePairs, emptyPairs, candidatesExact_, W, H)) {
                    return i;
                }
            }
        }
        return count;
    }
    for (int i = start; i < count; ++i) {
        if (Passes(i, stones, empties, stonePairs, emptyPairs, false, W, H)) {
            return i;
        }
    }
    return count;
}

} // namespace rowstone
