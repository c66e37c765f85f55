#include "BoardUploadCheck.h"

#include "CGameBoard.h"
#include "FormFields.h"

#include <vector>

namespace rowstone::service {

bool BoardUploadCheck::Check(std::string_view data, int declaredLength, BoardUpload& upload,
                             std::string& reason) const {
    const std::optional<std::vector<uint8_t>> model = models_.Read(upload.connectLength);
    CGameBoard board;
    int width = 0;
    int height = 0;
    int connect = 0;
    if (!model || !board.LoadModel(width, height, connect, model->data(), model->size())) {
        reason = "no model for this game type";
        return false;
    }
    if (upload.width != width) {
        reason = "the grid of this game type is " + std::to_string(width) + " wide";
        return false;
    }
    upload.cells.clear();
    std::vector<bool> taken(static_cast<size_t>(width * height), false);
    size_t start = 0;
    while (start < data.size()) {
        size_t end = data.find(' ', start);
        if (end == std::string_view::npos) {
            end = data.size();
        }
        if (end > start) {
            int64_t cell = 0;
            if (static_cast<int>(upload.cells.size()) >= declaredLength ||
                !ParseDecimal(data.substr(start, end - start), 0, int64_t{width} * height - 1,
                              cell)) {
                reason = "move " + std::to_string(upload.cells.size() + 1) +
                         " is not a cell of the grid";
                return false;
            }
            if (taken[static_cast<size_t>(cell)]) {
                reason = "cell " + std::to_string(cell) + " is played twice";
                return false;
            }
            taken[static_cast<size_t>(cell)] = true;
            upload.cells.push_back(static_cast<int>(cell));
        }
        start = end + 1;
    }
    if (static_cast<int>(upload.cells.size()) != declaredLength) {
        reason = "the list holds " + std::to_string(upload.cells.size()) + " moves, not " +
                 std::to_string(declaredLength);
        return false;
    }
    board.learningEnabled = false;
    board.NewGame();
    board.sideToMove = upload.firstSide;
    for (int cell : upload.cells) {
        if (board.gameOver || !board.PlaceStone(nullptr, cell % width, cell / width)) {
            upload.verifiedWin = false;
            return true;
        }
    }
    upload.verifiedWin = board.gameOver && board.sideToMove == upload.firstSide;
    return true;
}

} // namespace rowstone::service
