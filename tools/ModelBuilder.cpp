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

std::vector<std::string> ShapesOfLayer(int connectLength, int layer) {
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
    for (int k = 1; k <= layers; ++k) {
        CPatternLayer& layer = network.layers[static_cast<size_t>(k)];
        for (Direction direction : kDirections) {
            for (const std::string& shape : ShapesOfLayer(connectLength, k)) {
                AppendLineShape(shape, direction, layer);
            }
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
