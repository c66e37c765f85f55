#include "ShiftPrefixTree.h"

#include <algorithm>

namespace rowstone {

namespace {

constexpr int kWords = PackedShifts::kWords;
constexpr int kSide = PackedShifts::kSide;

uint16_t KeyOf(int plane, PatternMask::Cell cell) {
    return static_cast<uint16_t>(plane * kSide * kSide + cell.row * kSide + cell.column);
}

const uint64_t* ShiftedPlane(uint16_t key, const PackedShifts& stones,
                             const PackedShifts& empties) {
    const PackedShifts& plane = key >= kSide * kSide ? empties : stones;
    const int shift = key % (kSide * kSide);
    return plane.At({static_cast<uint8_t>(shift / kSide), static_cast<uint8_t>(shift % kSide)});
}

} // namespace

void ShiftPrefixTree::Build(const std::vector<Pattern>& patterns, int patternCount) {
    nodes_.clear();
    endings_.clear();
    rootEndings_.clear();
    maxDepth_ = 0;
    // Every path's keys in one vector; paths are sorted as ranges of it.
    struct Path {
        size_t first;
        size_t count;
        Ending ending;
    };
    std::vector<uint16_t> keys;
    std::vector<Path> paths;
    for (const Pattern& p : patterns) {
        if (p.width < 1 || p.height < 1 || p.width > kSide || p.height > kSide || p.index < 0 ||
            p.index >= patternCount) {
            continue;
        }
        const Ending ending{static_cast<uint32_t>(p.index), static_cast<uint8_t>(p.width),
                            static_cast<uint8_t>(p.height)};
        if (p.stoneCount + p.emptyCount == 0) {
            rootEndings_.push_back(ending);
            continue;
        }
        const size_t first = keys.size();
        for (int i = 0; i < p.stoneCount; ++i) {
            keys.push_back(KeyOf(0, p.stones[i]));
        }
        for (int i = 0; i < p.emptyCount; ++i) {
            keys.push_back(KeyOf(1, p.empties[i]));
        }
        paths.push_back({first, keys.size() - first, ending});
    }
    auto begin = [&keys](const Path& path) { return keys.begin() + static_cast<long>(path.first); };
    auto end = [&](const Path& path) { return begin(path) + static_cast<long>(path.count); };
    std::stable_sort(paths.begin(), paths.end(), [&](const Path& a, const Path& b) {
        return std::lexicographical_compare(begin(a), end(a), begin(b), end(b));
    });

    // Nodes are laid out depth first. open holds the nodes of the previous
    // path by depth - 1; a node's subtree ends when a later path leaves its
    // branch, or with the last path. Equal paths sort next to each other,
    // so the patterns ending at one node are consecutive.
    std::vector<uint32_t> open;
    const Path* previous = nullptr;
    for (const Path& path : paths) {
        size_t shared = 0;
        if (previous != nullptr) {
            const auto mismatch =
                std::mismatch(begin(*previous), end(*previous), begin(path), end(path));
            shared = static_cast<size_t>(mismatch.second - begin(path));
        }
        for (size_t d = shared; d < open.size(); ++d) {
            nodes_[open[d]].end = static_cast<uint32_t>(nodes_.size());
        }
        open.resize(shared);
        for (size_t d = shared; d < path.count; ++d) {
            open.push_back(static_cast<uint32_t>(nodes_.size()));
            nodes_.push_back({keys[path.first + d], static_cast<uint16_t>(d + 1), 0, 0, 0});
        }
        Node& last = nodes_[open.back()];
        if (last.endingCount == 0) {
            last.firstEnding = static_cast<uint32_t>(endings_.size());
        }
        endings_.push_back(path.ending);
        ++last.endingCount;
        maxDepth_ = std::max(maxDepth_, static_cast<int>(path.count));
        previous = &path;
    }
    for (uint32_t node : open) {
        nodes_[node].end = static_cast<uint32_t>(nodes_.size());
    }
    stack_.assign(static_cast<size_t>(maxDepth_ + 1) * kWords, 0);
}

void ShiftPrefixTree::Match(const PackedShifts& stones, const PackedShifts& empties,
                            uint64_t* matched, uint64_t* words) const {
    auto record = [&](const Ending& e, const uint64_t* found) {
        const uint64_t* placements = stones.Placements(e.width, e.height);
        uint64_t any = 0;
        uint64_t* out = words + static_cast<size_t>(e.index) * kWords;
        for (int k = 0; k < kWords; ++k) {
            out[k] = found[k] & placements[k];
            any |= out[k];
        }
        if (any != 0) {
            matched[e.index / 64] |= uint64_t{1} << (e.index % 64);
        }
    };
    uint64_t* stack = stack_.data();
    const uint64_t* everywhere = stones.Placements(1, 1);
    for (int k = 0; k < kWords; ++k) {
        stack[k] = everywhere[k];
    }
    for (const Ending& e : rootEndings_) {
        record(e, stack);
    }
    const Node* nodes = nodes_.data();
    const uint32_t count = static_cast<uint32_t>(nodes_.size());
    for (uint32_t j = 0; j < count;) {
        const Node& node = nodes[j];
        const uint64_t* parent = stack + static_cast<size_t>(node.depth - 1) * kWords;
        uint64_t* here = stack + static_cast<size_t>(node.depth) * kWords;
        const uint64_t* shifted = ShiftedPlane(node.key, stones, empties);
        uint64_t any = 0;
        for (int k = 0; k < kWords; ++k) {
            here[k] = parent[k] & shifted[k];
            any |= here[k];
        }
        if (any == 0) {
            j = node.end;
            continue;
        }
        for (uint32_t e = 0; e < node.endingCount; ++e) {
            record(endings_[node.firstEnding + e], here);
        }
        ++j;
    }
}

} // namespace rowstone
