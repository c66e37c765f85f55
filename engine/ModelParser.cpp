// Reading model files into a CPatternNetwork.
#include "CPatternNetwork.h"
#include "ModelFormat.h"

#include <cstring>
#include <string>

namespace rowstone {

namespace {

using namespace model_format;

// Reads bytes front to back and never past the end of the data. The first
// refusal is kept with the offset at which it happened.
class ModelReader {
public:
    ModelReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    size_t Offset() const { return offset_; }
    size_t Remaining() const { return size_ - offset_; }
    bool AtEnd() const { return offset_ >= size_; }

    bool ReadByte(uint8_t& value, const char* what) {
        if (offset_ >= size_) {
            return Fail(std::string("file ends inside ") + what);
        }
        value = data_[offset_++];
        return true;
    }

    bool ReadInt32(int32_t& value, const char* what) {
        if (Remaining() < 4) {
            return Fail(std::string("file ends inside ") + what);
        }
        const uint32_t raw = uint32_t{data_[offset_]} << 24 | uint32_t{data_[offset_ + 1]} << 16 |
                             uint32_t{data_[offset_ + 2]} << 8 | uint32_t{data_[offset_ + 3]};
        value = static_cast<int32_t>(raw);
        offset_ += 4;
        return true;
    }

    const uint8_t* Take(size_t count, const char* what) {
        if (Remaining() < count) {
            Fail(std::string("file ends inside ") + what);
            return nullptr;
        }
        const uint8_t* start = data_ + offset_;
        offset_ += count;
        return start;
    }

    bool Fail(std::string reason) { return FailAt(offset_, std::move(reason)); }

    bool FailAt(size_t offset, std::string reason) {
        errorOffset_ = offset;
        reason_ = std::move(reason);
        return false;
    }

    void Report(ModelError* error) const {
        if (error != nullptr) {
            error->reason = reason_;
            error->offset = errorOffset_;
        }
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t offset_ = 0;
    size_t errorOffset_ = 0;
    std::string reason_;
};

std::string Numbered(const char* what, int index) {
    return std::string(what) + " " + std::to_string(index);
}

void UnpackPlane(const uint8_t* bytes, int cells, CStonePattern& p, int plane) {
    int8_t* out = p.values.data() + static_cast<size_t>(plane) * static_cast<size_t>(cells);
    const int fullBytes = cells / 8;
    for (int b = 0; b < fullBytes; ++b) {
        for (int bit = 0; bit < 8; ++bit) {
            out[b * 8 + bit] = static_cast<int8_t>((bytes[b] >> (7 - bit)) & 1);
        }
    }
    const int rest = cells % 8;
    for (int j = 0; j < rest; ++j) {
        out[fullBytes * 8 + j] = static_cast<int8_t>((bytes[fullBytes] >> (rest - 1 - j)) & 1);
    }
}

bool ReadPackedPlane(ModelReader& reader, CStonePattern& p, int plane) {
    const int cells = p.width * p.height;
    const uint8_t* bytes = reader.Take(PackedPlaneSize(cells), "a bit-packed plane");
    if (bytes == nullptr) {
        return false;
    }
    UnpackPlane(bytes, cells, p, plane);
    return true;
}

bool ReadRunLengthStonePlane(ModelReader& reader, CStonePattern& p) {
    const int cells = p.width * p.height;
    int filled = 0;
    for (;;) {
        const size_t codeOffset = reader.Offset();
        uint8_t code = 0;
        if (!reader.ReadByte(code, "a run-length plane")) {
            return false;
        }
        if (code == kRunEnd) {
            if (filled != cells) {
                return reader.FailAt(codeOffset, "run-length plane holds " +
                                                     std::to_string(filled) + " of " +
                                                     std::to_string(cells) + " cells");
            }
            return true;
        }
        const int run = code <= 1 ? 1 : code;
        if (filled + run > cells) {
            return reader.FailAt(codeOffset, "run-length plane overflows its " +
                                                 std::to_string(cells) + " cells");
        }
        if (code == 1) {
            p.values[static_cast<size_t>(filled)] = 1;
        }
        filled += run;
    }
}

bool ReadMoveList(ModelReader& reader, CStonePattern& p) {
    for (;;) {
        if (reader.AtEnd()) {
            return true; // the list may end with the file at a pair boundary
        }
        const size_t pairOffset = reader.Offset();
        uint8_t row = 0;
        reader.ReadByte(row, "a move list");
        if (row == kListEnd) {
            return true;
        }
        uint8_t column = 0;
        if (!reader.ReadByte(column, "a move-list pair")) {
            return false;
        }
        if (column == kListEnd) {
            return reader.FailAt(pairOffset + 1, "move-list column byte is 0xFF");
        }
        if (row >= p.height || column >= p.width) {
            return reader.FailAt(pairOffset, "move at row " + std::to_string(row) + " column " +
                                                 std::to_string(column) + " lies outside the " +
                                                 std::to_string(p.width) + "x" +
                                                 std::to_string(p.height) + " window");
        }
        p.At(2, row, column) = 1;
    }
}

bool ReadPattern(ModelReader& reader, CStonePattern& p) {
    const size_t recordOffset = reader.Offset();
    uint8_t rows = 0;
    uint8_t columns = 0;
    if (!reader.ReadByte(rows, "a pattern header") ||
        !reader.ReadByte(columns, "a pattern header")) {
        return false;
    }
    if (rows == 0 || columns == 0 || rows * columns < 2) {
        return reader.FailAt(recordOffset, "pattern of " + std::to_string(columns) + "x" +
                                               std::to_string(rows) + " cells is too small");
    }
    p.Allocate(columns, rows, 3);
    if (rows * columns <= kMaxPackedCells) {
        return ReadPackedPlane(reader, p, 0) && ReadPackedPlane(reader, p, 1) &&
               ReadPackedPlane(reader, p, 2);
    }
    return ReadRunLengthStonePlane(reader, p) && ReadPackedPlane(reader, p, 1) &&
           ReadMoveList(reader, p);
}

bool ReadLayerBlock(ModelReader& reader, CPatternNetwork& network, int layerTotal) {
    const size_t blockOffset = reader.Offset();
    uint8_t k = 0;
    if (!reader.ReadByte(k, "a layer header")) {
        return false;
    }
    if (k == 0 || k > layerTotal) {
        return reader.FailAt(blockOffset, "layer number " + std::to_string(k) + " is outside 1.." +
                                              std::to_string(layerTotal));
    }
    const size_t countOffset = reader.Offset();
    int32_t count = 0;
    if (!reader.ReadInt32(count, "a layer header")) {
        return false;
    }
    if (count < 1) {
        return reader.FailAt(countOffset, Numbered("pattern count", count) + " is not positive");
    }
    if (static_cast<size_t>(count) > reader.Remaining() / kMinRecordSize) {
        return reader.FailAt(countOffset, "file ends before the " + std::to_string(count) +
                                              " patterns the layer declares (" +
                                              std::to_string(reader.Remaining()) +
                                              " bytes remain, a pattern takes at least " +
                                              std::to_string(kMinRecordSize) + ")");
    }
    CPatternLayer& layer = network.layers[k];
    layer.Allocate(count);
    for (CStonePattern& pattern : layer.patterns) {
        if (!ReadPattern(reader, pattern)) {
            return false;
        }
    }
    return true;
}

} // namespace

bool CPatternNetwork::Parse(const uint8_t* data, size_t size, int& width, int& height,
                            int& connectLengthOut, ModelError* error) {
    ModelReader reader(data, data == nullptr ? 0 : size);
    const uint8_t* header = reader.Take(kHeaderSize, "the header");
    if (header == nullptr) {
        reader.Report(error);
        return false;
    }
    if (std::memcmp(header, kMagic, sizeof kMagic) != 0) {
        reader.FailAt(0, "magic is not \"mod\"");
        reader.Report(error);
        return false;
    }
    const int gridWidth = header[3];
    const int gridHeight = header[4];
    const int n = header[5];
    const int layerTotal = header[6];
    if (gridWidth == 0 || gridHeight == 0) {
        reader.FailAt(gridWidth == 0 ? 3 : 4, "grid size is zero");
    } else if (n < 3) {
        reader.FailAt(5, "connect length " + std::to_string(n) + " is below 3");
    } else if (layerTotal == 0) {
        reader.FailAt(6, "layer count is zero");
    } else {
        width = gridWidth;
        height = gridHeight;
        connectLengthOut = n;
        CreateLayers(layerTotal + 1);
        BuildLineLayer(n);
        for (int block = 0; block < layerTotal; ++block) {
            if (!ReadLayerBlock(reader, *this, layerTotal)) {
                reader.Report(error);
                return false;
            }
        }
        return true;
    }
    reader.Report(error);
    return false;
}

} // namespace rowstone
