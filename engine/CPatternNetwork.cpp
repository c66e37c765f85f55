#include "CPatternNetwork.h"

namespace rowstone {

namespace {

template <typename T> void FreeVector(std::vector<T>& v) {
    v.clear();
    v.shrink_to_fit();
}

} // namespace

bool CPatternNetwork::EnsureBuffers(int W, int H) {
    if (W < 1 || H < 1 || W > kMaxGridSide || H > kMaxGridSide || W * H < 2) {
        return false;
    }
    ReleaseBuffers();
    const size_t n = static_cast<size_t>(W) * static_cast<size_t>(H);
    bufferWidth = W;
    bufferHeight = H;
    scoreMap.assign(n, 0);
    replayBoard.assign(n, 0);
    templateMap.assign(2 * n, 0);
    voteMap.assign(2 * n, 0);
    regionGrid.assign(2 * n, 0);
    scratch.assign(6 * n, 0);
    return true;
}

bool CPatternNetwork::EnsureBuffersFor(int W, int H) {
    if (W < 1 || H < 1 || W > kMaxGridSide || H > kMaxGridSide) {
        return false;
    }
    if (int64_t{W} * H > int64_t{bufferWidth} * bufferHeight) {
        return EnsureBuffers(W, H);
    }
    return true;
}

void CPatternNetwork::ReleaseBuffers() {
    FreeVector(scoreMap);
    FreeVector(replayBoard);
    FreeVector(templateMap);
    FreeVector(voteMap);
    FreeVector(regionGrid);
    FreeVector(scratch);
    bufferWidth = bufferHeight = 0;
}

void CPatternNetwork::ReleaseLayers() {
    FreeVector(layers);
}

bool CPatternNetwork::CreateLayers(int count) {
    if (count < 1) {
        return false;
    }
    ReleaseLayers();
    layers.resize(static_cast<size_t>(count));
    return true;
}

CPatternLayer& CPatternNetwork::AppendLayer() {
    return layers.emplace_back();
}

bool CPatternNetwork::BuildLineLayer(int N) {
    if (layers.empty() || N < 2 || N > CStonePattern::kMaxSide) {
        return false;
    }
    CPatternLayer& lines = layers[0];
    lines.Allocate(4);
    CStonePattern& horizontal = lines.patterns[0];
    CStonePattern& antiDiagonal = lines.patterns[1];
    CStonePattern& vertical = lines.patterns[2];
    CStonePattern& diagonal = lines.patterns[3];
    horizontal.Allocate(N, 1, 2);
    antiDiagonal.Allocate(N, N, 2);
    vertical.Allocate(1, N, 2);
    diagonal.Allocate(N, N, 2);
    for (int i = 0; i < N; ++i) {
        horizontal.At(0, 0, i) = 1;
        antiDiagonal.At(0, i, N - 1 - i) = 1;
        vertical.At(0, i, 0) = 1;
        diagonal.At(0, i, i) = 1;
    }
    connectLength = N;
    return true;
}

bool CPatternNetwork::ComputeThresholds() {
    if (layers.empty()) {
        return false;
    }
    for (CPatternLayer& layer : layers) {
        for (CStonePattern& pattern : layer.patterns) {
            pattern.ComputeThreshold();
        }
    }
    return true;
}

} // namespace rowstone
