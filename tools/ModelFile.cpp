#include "ModelFile.h"

#include "ModelCommands.h"

#include <fstream>
#include <ostream>

namespace rowstone::tools {

bool ReadWholeFile(const std::string& path, std::size_t maxSize, std::vector<uint8_t>& bytes,
                   std::string& reason) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) {
        reason = "cannot open the file";
        return false;
    }
    const std::streamoff size = in.tellg();
    if (size < 0) {
        reason = "cannot read the file";
        return false;
    }
    if (static_cast<std::size_t>(size) > maxSize) {
        reason = "file of " + std::to_string(size) + " bytes is larger than the limit of " +
                 std::to_string(maxSize) + " bytes";
        return false;
    }
    bytes.resize(static_cast<std::size_t>(size));
    in.seekg(0);
    if (size > 0 && !in.read(reinterpret_cast<char*>(bytes.data()), size)) {
        reason = "cannot read the file";
        return false;
    }
    return true;
}

bool LoadModelFile(const std::string& path, CGameBoard& board, std::ostream& err) {
    std::vector<uint8_t> bytes;
    std::string reason;
    if (!ReadWholeFile(path, kMaxModelFileSize, bytes, reason)) {
        err << "rowstone-model: " << path << ": " << reason << "\n";
        return false;
    }
    int width = 0;
    int height = 0;
    int connect = 0;
    ModelError error;
    if (!board.LoadModel(width, height, connect, bytes.data(), bytes.size(), &error)) {
        err << "rowstone-model: " << path << ": not a valid model: " << error.reason << " at byte "
            << error.offset << "\n";
        return false;
    }
    return true;
}

void PrintModelInfo(const CGameBoard& board, std::ostream& out) {
    const CPatternNetwork& network = board.network;
    out << "grid " << board.width << "x" << board.height << " connect " << board.connectLength
        << " layers " << network.layerCount() - 1 << "\n";
    for (int k = 1; k < network.layerCount(); ++k) {
        out << "layer " << k << ": " << network.layers[static_cast<size_t>(k)].patternCount()
            << " patterns\n";
    }
}

namespace {

void PrintPlaneRow(const CStonePattern& p, int plane, int row, std::ostream& out) {
    for (int c = 0; c < p.width; ++c) {
        out << (plane < p.planeCount && p.At(plane, row, c) != 0 ? '1' : '.');
    }
}

} // namespace

void PrintModelDump(const CGameBoard& board, std::ostream& out) {
    PrintModelInfo(board, out);
    const CPatternNetwork& network = board.network;
    for (int k = 0; k < network.layerCount(); ++k) {
        const CPatternLayer& layer = network.layers[static_cast<size_t>(k)];
        for (int i = 0; i < layer.patternCount(); ++i) {
            const CStonePattern& p = layer.patterns[static_cast<size_t>(i)];
            out << "layer " << k << " pattern " << i << ": " << p.width << "x" << p.height
                << " threshold " << p.threshold << "\n";
            for (int r = 0; r < p.height; ++r) {
                PrintPlaneRow(p, 0, r, out);
                out << ' ';
                PrintPlaneRow(p, 1, r, out);
                out << ' ';
                PrintPlaneRow(p, 2, r, out);
                out << "\n";
            }
        }
    }
}

} // namespace rowstone::tools
