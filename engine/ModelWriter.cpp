#include "ModelWriter.h"

#include "ModelFormat.h"

namespace rowstone {

namespace {

using namespace model_format;

bool Refuse(std::string* error, std::string reason) {
    if (error != nullptr) {
        *error = std::move(reason);
    }
    return false;
}

void AppendPackedPlane(const CStonePattern& p, int plane, std::vector<uint8_t>& out) {
    const int cells = p.width * p.height;
    const int8_t* values =
        p.values.data() + static_cast<size_t>(plane) * static_cast<size_t>(cells);
    const int fullBytes = cells / 8;
    for (int b = 0; b < fullBytes; ++b) {
        uint8_t byte = 0;
        for (int bit = 0; bit < 8; ++bit) {
            byte = static_cast<uint8_t>(byte | (values[b * 8 + bit] << (7 - bit)));
        }
        out.push_back(byte);
    }
    const int rest = cells % 8;
    if (rest != 0) {
        uint8_t byte = 0;
        for (int j = 0; j < rest; ++j) {
            byte = static_cast<uint8_t>(byte | (values[fullBytes * 8 + j] << (rest - 1 - j)));
        }
        out.push_back(byte);
    }
}

void AppendRunLengthStonePlane(const CStonePattern& p, std::vector<uint8_t>& out) {
    const int cells = p.width * p.height;
    int zeros = 0;
    auto flushZeros = [&] {
        while (zeros >= 2) {
            const int run = zeros < kLongestZeroRun ? zeros : kLongestZeroRun;
            out.push_back(static_cast<uint8_t>(run));
            zeros -= run;
        }
        if (zeros == 1) {
            out.push_back(0x00);
            zeros = 0;
        }
    };
    for (int i = 0; i < cells; ++i) {
        if (p.values[static_cast<size_t>(i)] == 0) {
            ++zeros;
            continue;
        }
        flushZeros();
        out.push_back(0x01);
    }
    flushZeros();
    out.push_back(kRunEnd);
}

void AppendMoveList(const CStonePattern& p, std::vector<uint8_t>& out) {
    for (int r = 0; r < p.height; ++r) {
        for (int c = 0; c < p.width; ++c) {
            if (p.At(2, r, c) != 0) {
                out.push_back(static_cast<uint8_t>(r));
                out.push_back(static_cast<uint8_t>(c));
            }
        }
    }
    out.push_back(kListEnd);
}

bool CheckPattern(const CStonePattern& p, std::string* error) {
    if (p.planeCount != 3 || p.width < 1 || p.height < 1 || p.width > CStonePattern::kMaxSide ||
        p.height > CStonePattern::kMaxSide || p.width * p.height < 2 ||
        p.values.size() != static_cast<size_t>(3 * p.width * p.height)) {
        return Refuse(error, "pattern is not a three-plane window of 2 to 255x255 cells");
    }
    for (int8_t v : p.values) {
        if (v != 0 && v != 1) {
            return Refuse(error, "pattern holds a cell value other than 0 and 1");
        }
    }
    return true;
}

void AppendPattern(const CStonePattern& p, std::vector<uint8_t>& out) {
    out.push_back(static_cast<uint8_t>(p.height));
    out.push_back(static_cast<uint8_t>(p.width));
    if (p.width * p.height <= kMaxPackedCells) {
        AppendPackedPlane(p, 0, out);
        AppendPackedPlane(p, 1, out);
        AppendPackedPlane(p, 2, out);
    } else {
        AppendRunLengthStonePlane(p, out);
        AppendPackedPlane(p, 1, out);
        AppendMoveList(p, out);
    }
}

void AppendLayerBlock(const CPatternLayer& layer, int number, std::vector<uint8_t>& out) {
    out.push_back(static_cast<uint8_t>(number));
    const uint32_t count = static_cast<uint32_t>(layer.patternCount());
    out.push_back(static_cast<uint8_t>(count >> 24));
    out.push_back(static_cast<uint8_t>(count >> 16));
    out.push_back(static_cast<uint8_t>(count >> 8));
    out.push_back(static_cast<uint8_t>(count));
    for (const CStonePattern& p : layer.patterns) {
        AppendPattern(p, out);
    }
}

} // namespace

bool WriteModel(const CPatternNetwork& network, int width, int height, int connectLength,
                std::vector<uint8_t>& out, std::string* error) {
    const int layerTotal = network.layerCount() - 1;
    if (width < 1 || width > 255 || height < 1 || height > 255) {
        return Refuse(error, "grid size must be 1 to 255 in each direction");
    }
    if (connectLength < 3 || connectLength > 255) {
        return Refuse(error, "connect length must be 3 to 255");
    }
    if (layerTotal < 1 || layerTotal > 255) {
        return Refuse(error, "a model holds 1 to 255 layers besides the line layer");
    }
    int lastFilled = 0;
    for (int k = 1; k <= layerTotal; ++k) {
        const CPatternLayer& layer = network.layers[static_cast<size_t>(k)];
        for (const CStonePattern& p : layer.patterns) {
            if (!CheckPattern(p, error)) {
                return false;
            }
        }
        if (layer.patternCount() > 0) {
            lastFilled = k;
        }
    }
    if (lastFilled == 0) {
        return Refuse(error, "no layer holds a pattern");
    }
    out.clear();
    for (uint8_t magicByte : kMagic) {
        out.push_back(magicByte);
    }
    out.push_back(static_cast<uint8_t>(width));
    out.push_back(static_cast<uint8_t>(height));
    out.push_back(static_cast<uint8_t>(connectLength));
    out.push_back(static_cast<uint8_t>(layerTotal));
    int blocks = 0;
    for (int k = 1; k <= layerTotal; ++k) {
        const CPatternLayer& layer = network.layers[static_cast<size_t>(k)];
        if (layer.patternCount() > 0) {
            AppendLayerBlock(layer, k, out);
            ++blocks;
        }
    }
    for (; blocks < layerTotal; ++blocks) {
        AppendLayerBlock(network.layers[static_cast<size_t>(lastFilled)], lastFilled, out);
    }
    return true;
}

} // namespace rowstone
