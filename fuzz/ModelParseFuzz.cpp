// Feeds arbitrary bytes to the model loader, then plays a few moves on
// whatever loaded, so matching and learning see every shape a file can hold.
#include "CGameBoard.h"
#include "Random.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    rowstone::CGameBoard board;
    rowstone::SeedRandom(1);
    int width = 0, height = 0, connect = 0;
    if (!board.LoadModel(width, height, connect, data, size) || width * height > 400) {
        return 0;
    }
    board.NewGame();
    for (int turn = 0; turn < 12 && !board.gameOver; ++turn) {
        int x = 0, y = 0;
        if (!board.ChooseMove(x, y) || !board.PlaceStone(nullptr, x, y)) {
            break;
        }
    }
    return 0;
}
