#pragma once

#include "CGameBoard.h"
#include "CPatternNetwork.h"
#include "ModelWriter.h"

#include <cstdint>
#include <string>
#include <vector>

namespace rowstone::test {

// A pattern drawn as rows of cells:
//   'x' a stone of the tested side (plane 0)
//   '.' an empty intersection (plane 1)
//   '*' an empty intersection to play on (planes 1 and 2)
//   'm' a move mark alone (plane 2)
//   '-' anything
inline CStonePattern Pattern(const std::vector<std::string>& rows) {
    CStonePattern p;
    p.Allocate(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()), 3);
    for (int r = 0; r < p.height; ++r) {
        for (int c = 0; c < p.width; ++c) {
            const char cell = rows[static_cast<size_t>(r)][static_cast<size_t>(c)];
            p.At(0, r, c) = cell == 'x';
            p.At(1, r, c) = cell == '.' || cell == '*';
            p.At(2, r, c) = cell == '*' || cell == 'm';
        }
    }
    p.ComputeThreshold();
    return p;
}

using LayerList = std::vector<std::vector<CStonePattern>>;

// The bytes of a model file holding the given layers 1..L.
inline std::vector<uint8_t> ModelBytes(int width, int height, int connect,
                                       const LayerList& layers) {
    CPatternNetwork network;
    network.CreateLayers(static_cast<int>(layers.size()) + 1);
    for (size_t k = 0; k < layers.size(); ++k) {
        network.layers[k + 1].patterns = layers[k];
    }
    std::vector<uint8_t> bytes;
    WriteModel(network, width, height, connect, bytes);
    return bytes;
}

// A position drawn as rows: 'x' side -1, 'o' side +1, '.' empty.
inline std::vector<int8_t> Cells(const std::vector<std::string>& rows) {
    std::vector<int8_t> cells;
    for (const std::string& row : rows) {
        for (char c : row) {
            cells.push_back(c == 'x' ? -1 : c == 'o' ? 1 : 0);
        }
    }
    return cells;
}

inline std::vector<std::string> EmptyRows(int width, int height) {
    return std::vector<std::string>(static_cast<size_t>(height),
                                    std::string(static_cast<size_t>(width), '.'));
}

// Loads a model into a board; the test fails when it is refused.
inline bool Load(CGameBoard& board, const std::vector<uint8_t>& bytes) {
    int w = 0;
    int h = 0;
    int n = 0;
    return board.LoadModel(w, h, n, bytes.data(), bytes.size());
}

} // namespace rowstone::test
