#pragma once

#include "BitGrid.h"
#include "CStonePattern.h"
#include "PackedShifts.h"
#include "PlanePairs.h"
#include "ShiftPrefixTree.h"

#include <cstdint>
#include <limits>
#include <vector>

namespace rowstone {

// What a scan knows of one bit plane before matching: the plane itself,
// how many bits it holds and, when listed, its pairs.
struct PlaneFacts {
    // A count that rules nothing out: for planes that do not decide matches.
    static constexpr int kAnyCount = std::numeric_limits<int>::max();

    int count = kAnyCount;
    const BitGrid* grid = nullptr;        // nullptr: the plane does not decide matches
    const PlanePairs* pairs = nullptr;    // nullptr: every offset may occur
    const PackedShifts* shifts = nullptr; // the plane read at every shift, when small
};

// A compact digest of the patterns of one layer, read by scans instead of
// the patterns themselves: each pattern's size and, for each pattern decided
// by its bit planes, its required cells, their numbers on each plane and
// the offsets from the first of them on each plane to the last and to the
// second. A scan
// passes over the patterns that do not fit the grid, ask for more than the
// planes hold or for a pair the planes lack, and those its cells show do
// not match: by a short run of pairs at the pattern's offset, or on small
// planes read at every shift. The patterns it stops at are the only ones it touches.
//
// The digest is rebuilt when any pattern mask has changed since it was
// made, or the layer's patterns moved; patterns taken off the end only
// shorten it.
class LayerDigest {
public:
    // Longest run of pairs walked to rule a pattern out; on planes read at
    // every shift, the longest run walked instead of matching across them.
    static constexpr int kMaxPairWalk = 16;
    static constexpr int kMaxPairWalkBesideShifts = 3;

    // The first index at or after from whose pattern fits a W x H grid and
    // may match planes of which the facts are known; patterns.size() when
    // there is none.
    int Next(const std::vector<CStonePattern>& patterns, int from, const PlaneFacts& stones,
             const PlaneFacts& empties, int W, int H);

    // After a change to other layers, or patterns appended to this one,
    // that moved the mask revision on from before: keeps the digest, and
    // takes in the appended patterns, when it described the layer as it was
    // then (its patterns at dataBefore, sizeBefore of them, or more that were
    // since taken off the end). Otherwise it is rebuilt at the next scan,
    // as always.
    void KeepAcross(const std::vector<CStonePattern>& patterns, uint64_t before,
                    const CStonePattern* dataBefore, size_t sizeBefore);

    // What the latest scan found out about p on these planes as they stand:
    // nullptr when it did not match p there whole, else p's placements,
    // packed as the planes read at every shift are, with none being
    // matched set to true when there are none.
    const uint64_t* KnownPlacements(const CStonePattern& p, const BitGrid& stones,
                                    const BitGrid& empties, bool& noneMatched) const;

private:
    struct Entry {
        uint8_t width; // 0 when the pattern fits no grid
        uint8_t height;
        uint8_t decided;
        uint8_t unused;
        uint16_t stones; // required cells on each plane
        uint16_t empties;
        // The offsets from the first to the last and to the second cell.
        uint16_t stonePair;
        uint16_t emptyPair;
        uint16_t secondStonePair;
        uint16_t secondEmptyPair;
    };

    // For each offset some pattern has as one of its pairs (say, first to
    // last stone), the patterns that have it, as a bit vector over the
    // layer; patterns with no such pair are listed under kNoOffset.
    class PairIndex {
    public:
        void Build(const std::vector<Entry>& entries, uint16_t Entry::*pair);
        // Sets in candidates the patterns whose pair occurs on the plane.
        void Collect(const uint64_t* present, uint64_t* candidates) const;

    private:
        std::vector<int16_t> slots_;    // by offset: row in bits_, or -1
        std::vector<uint16_t> offsets_; // by row
        std::vector<uint64_t> bits_;
        size_t words_ = 0;
    };

    void Refresh(const std::vector<CStonePattern>& patterns);
    // Adds the entry of pattern i, the next one, to the digest.
    void AddEntry(const CStonePattern& p, size_t i);
    void BuildIndexes();
    // Patterns taken off the end, with no mask changed since the digest was
    // made: the rest of the digest still holds. The fewest counts stay a
    // lower bound.
    void Shorten(size_t count);
    // The candidates of the pair indexes for the planes, computed once for
    // each state of the planes; false when no plane lists its pairs.
    bool PrepareCandidates(const PlaneFacts& stones, const PlaneFacts& empties);
    void MatchOnTree(const PlaneFacts& stones, const PlaneFacts& empties);
    bool Passes(int i, const PlaneFacts& stones, const PlaneFacts& empties,
                const uint64_t* stonePairs, const uint64_t* emptyPairs, bool exact, int W,
                int H) const;
    bool RuledOut(const Entry& e, uint32_t firstCell, const PlaneFacts& stones,
                  const PlaneFacts& empties, int W, int H) const;

    std::vector<Entry> entries_;
    // Where each pattern's cells start in cells_: its stones, then its empties.
    std::vector<uint32_t> firstCells_;
    std::vector<PatternMask::Cell> cells_;
    PairIndex stoneIndex_;
    PairIndex emptyIndex_;
    PairIndex secondStoneIndex_;
    PairIndex secondEmptyIndex_;
    std::vector<uint64_t> candidates_;
    std::vector<uint64_t> emptyCandidates_;
    // The planes the candidates were computed for, as they stood.
    struct PlaneState {
        const PlanePairs* pairs = nullptr;
        const PackedShifts* shifts = nullptr;
        const BitGrid* grid = nullptr;
        uint64_t revision = 0;
        friend bool operator==(const PlaneState&, const PlaneState&) = default;
    };
    PlaneState candidateStones_;
    PlaneState candidateEmpties_;
    bool candidatesValid_ = false;
    // Set when the candidates of decided patterns are exactly those that
    // match, from the tree; treeWords_ then holds their placements.
    bool candidatesExact_ = false;
    bool treeBuilt_ = false;
    ShiftPrefixTree tree_;
    // Bit i set for each pattern i the tree does not hold.
    std::vector<uint64_t> outsideTree_;
    std::vector<uint64_t> treeWords_;
    const CStonePattern* madeFor_ = nullptr;
    uint64_t revision_ = 0;
    int fewestStones_ = 0;
    int fewestEmpties_ = 0;
};

} // namespace rowstone
