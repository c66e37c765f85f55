#include "ModelBuilder.h"

#include "ModelWriter.h"

#include <algorithm>

namespace rowstone::tools {

namespace {

enum class Direction { Horizontal, Vertical, Diagonal, AntiDiagonal };

constexpr Direction kDirections[] = {Direction::Horizontal, Direction::Vertical,
                                     Direction::Diagonal, Direction::AntiDiagonal};

// A line shape: 'x' a stone, '.' an empty intersection, '*' an empty
// intersection to play on.
void AppendLineShape(const std::string& shape, Direction direction, CPatternLayer& layer) {
    const int length = static_cast<int>(shape.size());
    CStonePattern& p = layer.AppendPattern();
    switch (direction) {
    case Direction::Horizontal:
        p.Allocate(length, 1, 3);
        break;
    case Direction::Vertical:
        p.Allocate(1, length, 3);
        break;
    case Direction::Diagonal:
    case Direction::AntiDiagonal:
        p.Allocate(length, length, 3);
        break;
    }
    for (int i = 0; i < length; ++i) {
        int row = 0;
        int column = 0;
        switch (direction) {
        case Direction::Horizontal:
            column = i;
            break;
        case Direction::Vertical:
            row = i;
            break;
        case Direction::Diagonal:
            row = column = i;
            break;
        case Direction::AntiDiagonal:
            row = i;
            column = length - 1 - i;
            break;
        }
        const char cell = shape[static_cast<size_t>(i)];
        p.At(0, row, column) = cell == 'x';
        p.At(1, row, column) = cell == '.' || cell == '*';
        p.At(2, row, column) = cell == '*';
    }
    p.ComputeThreshold();
}

// Every arrangement of `stones` stones among `cells` cells, in lexicographic
// order of the strings (stones 'x', the rest `other`).
std::vector<std::string> Arrangements(int cells, int stones, char other) {
    std::string shape(static_cast<size_t>(cells - stones), other);
    shape.append(static_cast<size_t>(stones), 'x');
    std::vector<std::string> all;
    do {
        all.push_back(shape);
    } while (std::next_permutation(shape.begin(), shape.end()));
    return all;
}

long long Binomial(int n, int k) {
    long long result = 1;
    for (int i = 1; i <= k; ++i) {
        result = result * (n - k + i) / i;
    }
    return result;
}

// Contiguous runs of `stones` stones among `cells` empty cells, each with
// the empty cells next to it to play on.
std::vector<std::string> Runs(int cells, int stones) {
    std::vector<std::string> all;
    for (int start = 0; start + stones <= cells; ++start) {
        std::string shape(static_cast<size_t>(cells), '.');
        for (int i = start; i < start + stones; ++i) {
            shape[static_cast<size_t>(i)] = 'x';
        }
        if (start > 0) {
            shape[static_cast<size_t>(start - 1)] = '*';
        }
        if (start + stones < cells) {
            shape[static_cast<size_t>(start + stones)] = '*';
        }
        all.push_back(shape);
    }
    return all;
}

// The line shapes of layer k of the plain ladder described in the header.
std::vector<std::string> LadderShapes(int connectLength, int layer) {
    if (layer == 1) {
        return Arrangements(connectLength, connectLength - 1, '*');
    }
    const int inner = connectLength - 1;
    const int stones = connectLength - layer;
    const bool everyArrangement = 4 * Binomial(inner, stones) <= ModelBuilder::kMaxArrangedPatterns;
    std::vector<std::string> shapes;
    for (const std::string& middle :
         everyArrangement ? Arrangements(inner, stones, '*') : Runs(inner, stones)) {
        shapes.push_back("." + middle + ".");
    }
    return shapes;
}

struct Step {
    int column;
    int row;
};

Step StepOf(Direction direction) {
    switch (direction) {
    case Direction::Horizontal:
        return {1, 0};
    case Direction::Vertical:
        return {0, 1};
    case Direction::Diagonal:
        return {1, 1};
    case Direction::AntiDiagonal:
        return {-1, 1};
    }
    return {1, 0};
}

// A line shape with exactly one move: '*' at index move, every other empty
// intersection '.'.
struct OneMove {
    std::string shape;
    int move;
};

// Each shape once for every move it offers.
std::vector<OneMove> SplitMoves(const std::vector<std::string>& shapes) {
    std::vector<OneMove> split;
    for (const std::string& shape : shapes) {
        for (size_t i = 0; i < shape.size(); ++i) {
            if (shape[i] != '*') {
                continue;
            }
            std::string one = shape;
            for (char& cell : one) {
                cell = cell == '*' ? '.' : cell;
            }
            one[i] = '*';
            split.push_back({one, static_cast<int>(i)});
        }
    }
    return split;
}

// Two line shapes crossing at their move, drawn as one pattern.
void AppendCrossing(const OneMove& first, Direction firstDirection, const OneMove& second,
                    Direction secondDirection, CPatternLayer& layer) {
    struct Placed {
        int column;
        int row;
        char cell;
    };
    std::vector<Placed> cells;
    int left = 0, right = 0, top = 0, bottom = 0;
    auto draw = [&](const OneMove& line, Direction direction) {
        const Step step = StepOf(direction);
        for (int i = 0; i < static_cast<int>(line.shape.size()); ++i) {
            const Placed placed{(i - line.move) * step.column, (i - line.move) * step.row,
                                line.shape[static_cast<size_t>(i)]};
            cells.push_back(placed);
            left = std::min(left, placed.column);
            right = std::max(right, placed.column);
            top = std::min(top, placed.row);
            bottom = std::max(bottom, placed.row);
        }
    };
    draw(first, firstDirection);
    draw(second, secondDirection);
    CStonePattern& p = layer.AppendPattern();
    p.Allocate(right - left + 1, bottom - top + 1, 3);
    for (const Placed& placed : cells) {
        const int row = placed.row - top;
        const int column = placed.column - left;
        p.At(0, row, column) = placed.cell == 'x';
        p.At(1, row, column) = placed.cell == '.' || placed.cell == '*';
        p.At(2, row, column) = placed.cell == '*';
    }
    p.ComputeThreshold();
}

// Moves that make two open threes at once (open rows of connectLength - 2,
// each a shape of the plain layer 3 played), along two different lines:
// the opponent can stop only one of them.
void AppendForks(int connectLength, CPatternLayer& layer) {
    const std::vector<OneMove> threes = SplitMoves(LadderShapes(connectLength, 3));
    for (size_t a = 0; a < std::size(kDirections); ++a) {
        for (size_t b = a + 1; b < std::size(kDirections); ++b) {
            for (const OneMove& one : threes) {
                for (const OneMove& other : threes) {
                    AppendCrossing(one, kDirections[a], other, kDirections[b], layer);
                }
            }
        }
    }
}

void AppendLadderLayer(int connectLength, int ladderLayer, CPatternLayer& layer) {
    for (Direction direction : kDirections) {
        for (const std::string& shape : LadderShapes(connectLength, ladderLayer)) {
            AppendLineShape(shape, direction, layer);
        }
    }
}

} // namespace

int ModelBuilder::DefaultLayers(int connectLength) {
    return connectLength - 1;
}

bool ModelBuilder::Build(int connectLength, int layers, CPatternNetwork& network,
                         std::string& reason) {
    if (connectLength < 3 || connectLength > 15) {
        reason = "connect length must be 3 to 15";
        return false;
    }
    if (layers < 1 || layers > connectLength - 1 || layers > kMaxLayers) {
        reason = "layers must be 1 to " + std::to_string(std::min(connectLength - 1, kMaxLayers)) +
                 " for connect " + std::to_string(connectLength);
        return false;
    }
    network.CreateLayers(layers + 1);
    network.BuildLineLayer(connectLength);
    const bool forks = connectLength == kForkConnect;
    for (int k = 1; k <= layers; ++k) {
        CPatternLayer& layer = network.layers[static_cast<size_t>(k)];
        if (!forks || k < kForkLayer) {
            AppendLadderLayer(connectLength, k, layer);
        } else if (k == kForkLayer) {
            AppendForks(connectLength, layer);
        } else if (k == kForkLayer + 1) {
            AppendLadderLayer(connectLength, kForkLayer, layer);
            AppendLadderLayer(connectLength, kForkLayer + 1, layer);
        } else {
            AppendLadderLayer(connectLength, k, layer);
        }
    }
    network.ComputeThresholds();
    return true;
}

bool ModelBuilder::BuildFile(int connectLength, int width, int height, int layers,
                             std::vector<uint8_t>& bytes, std::string& reason) {
    if (width < connectLength || height < connectLength || width > 100 || height > 100) {
        reason = "the grid must be connect to 100 intersections in each direction";
        return false;
    }
    CPatternNetwork network;
    if (!Build(connectLength, layers, network, reason)) {
        return false;
    }
    return WriteModel(network, width, height, connectLength, bytes, &reason);
}

} // namespace rowstone::tools
