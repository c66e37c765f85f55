#include "Duel.h"

#include "CGameBoard.h"
#include "Random.h"

namespace rowstone::tools {

DuelScore Duel::Play(int width, int height, int connectLength, int games, uint32_t seed) {
    SeedRandom(seed);
    a_.layerLimit = layersA_;
    b_.layerLimit = layersB_;
    DuelScore score;
    for (int game = 0; game < games; ++game) {
        const int result = PlayOneGame(width, height, connectLength, game % 2 == 0);
        if (result > 0) {
            ++score.aWins;
        } else if (result < 0) {
            ++score.bWins;
        } else {
            ++score.draws;
        }
    }
    return score;
}

int Duel::PlayOneGame(int width, int height, int connectLength, bool aFirst) {
    // The referee board keeps the position and the rules; its own network
    // only holds the line layer for the win test.
    CGameBoard board;
    board.learningEnabled = false;
    board.network.CreateLayers(1);
    board.network.BuildLineLayer(connectLength);
    board.network.ComputeThresholds();
    board.width = width;
    board.height = height;
    board.connectLength = connectLength;
    board.cells.assign(static_cast<size_t>(width * height), 0);
    board.moves.assign(static_cast<size_t>(width * height), Move{});
    board.NewGame();

    // Side -1 always moves first.
    CPatternNetwork& first = aFirst ? a_ : b_;
    CPatternNetwork& second = aFirst ? b_ : a_;
    while (!board.gameOver) {
        CPatternNetwork& mover = board.sideToMove == -1 ? first : second;
        int x = 0;
        int y = 0;
        if (!mover.FindMove(board.cells.data(), board.sideToMove, width, height, x, y) &&
            !board.ChooseRandomMove(x, y)) {
            break;
        }
        board.PlaceStone(nullptr, x, y);
    }
    if (board.sideToMove == 0 || !board.gameOver) {
        return 0;
    }
    const bool firstWon = board.sideToMove == -1;
    return firstWon == aFirst ? 1 : -1;
}

} // namespace rowstone::tools
