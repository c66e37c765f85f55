#pragma once

#include "ModelLibrary.h"
#include "Storage.h"

#include <string>
#include <string_view>

namespace rowstone::service {

// Reads and checks the move list of an uploaded game: "len" indices
// y * w + x separated by blanks, each on the grid of the game type's model,
// none twice. Then replays the game with the engine's rules to tell whether
// it really ends in a win of the first side.
class BoardUploadCheck {
public:
    static constexpr int kMaxMoves = 100 * 100;

    explicit BoardUploadCheck(const ModelLibrary& models) : models_(models) {}

    // Fills upload.cells and upload.verifiedWin; false with a reason when the
    // list is malformed or does not fit the grid.
    bool Check(std::string_view data, int declaredLength, BoardUpload& upload,
               std::string& reason) const;

private:
    const ModelLibrary& models_;
};

} // namespace rowstone::service
