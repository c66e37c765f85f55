#pragma once

#include "PackedShifts.h"
#include "PatternMask.h"

#include <cstdint>
#include <vector>

namespace rowstone {

// The required cells of many patterns as a tree of shared beginnings: each
// pattern is the path of its cells, stones before empties, each row by row.
// Matching walks the tree once on planes read at every shift; a node's
// placements are its parent's ANDed with one vector, so a beginning shared
// by many patterns is tested once, and every pattern below a node with no
// placement left is ruled out together.
class ShiftPrefixTree {
public:
    // A pattern as the tree takes it: index in its layer, its size and its
    // required cells. Patterns wider or higher than PackedShifts::kSide are
    // not taken.
    struct Pattern {
        int index;
        int width;
        int height;
        const PatternMask::Cell* stones;
        int stoneCount;
        const PatternMask::Cell* empties;
        int emptyCount;
    };

    // Builds the tree of the patterns; indices run below patternCount.
    void Build(const std::vector<Pattern>& patterns, int patternCount);
    bool Empty() const { return nodes_.empty(); }

    // Matches every pattern of the tree. Sets bit i of matched for each
    // pattern i with a placement, leaving the bits of the others as they
    // are, and writes the placements of every pattern i of the tree to
    // words + 4 i. Both are sized for patternCount.
    void Match(const PackedShifts& stones, const PackedShifts& empties, uint64_t* matched,
               uint64_t* words) const;

private:
    struct Node {
        uint16_t key;   // 256 * plane + 16 * row + column
        uint16_t depth; // 1 for the root's children
        uint32_t end;   // the node after the last of its subtree
        uint32_t firstEnding;
        uint32_t endingCount; // patterns whose path ends here
    };
    struct Ending {
        uint32_t index;
        uint8_t width;
        uint8_t height;
    };

    std::vector<Node> nodes_; // in depth-first order
    std::vector<Ending> endings_;
    std::vector<Ending> rootEndings_; // patterns with no required cell
    int maxDepth_ = 0;
    mutable std::vector<uint64_t> stack_; // placements by depth
};

} // namespace rowstone
