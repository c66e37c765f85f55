#include "ModelCommands.h"

#include "CommandLine.h"
#include "ModelFile.h"
#include "Random.h"

#include <climits>
#include <ostream>
#include <sstream>

namespace rowstone::tools {

namespace {

int UsageError(std::ostream& err, const std::string& problem) {
    err << "rowstone-model: " << problem << "\n";
    PrintUsage(err);
    return kExitUsage;
}

bool ParseSide(const std::string& text, int& side) {
    if (text == "x" || text == "-1") {
        side = -1;
        return true;
    }
    if (text == "o" || text == "1" || text == "+1") {
        side = 1;
        return true;
    }
    return false;
}

// Sets the position given as rows from the top separated by '/', each cell
// 'x' (side -1), 'o' (side +1) or '.' (empty). The stones are recorded as
// moves in row-major order so that the board's move count stays right.
bool SetPosition(CGameBoard& board, const std::string& rows, std::string& problem) {
    std::vector<std::string> lines;
    std::stringstream split(rows);
    for (std::string line; std::getline(split, line, '/');) {
        lines.push_back(line);
    }
    if (!rows.empty() && rows.back() == '/') {
        lines.emplace_back();
    }
    if (static_cast<int>(lines.size()) != board.height) {
        problem = "the board has " + std::to_string(lines.size()) + " rows, the model's grid " +
                  std::to_string(board.height);
        return false;
    }
    board.NewGame();
    for (int y = 0; y < board.height; ++y) {
        const std::string& line = lines[static_cast<size_t>(y)];
        if (static_cast<int>(line.size()) != board.width) {
            problem = "row " + std::to_string(y) + " has " + std::to_string(line.size()) +
                      " cells, the model's grid " + std::to_string(board.width);
            return false;
        }
        for (int x = 0; x < board.width; ++x) {
            int side = 0;
            if (line[static_cast<size_t>(x)] == 'x') {
                side = -1;
            } else if (line[static_cast<size_t>(x)] == 'o') {
                side = 1;
            } else if (line[static_cast<size_t>(x)] != '.') {
                problem = std::string("cell '") + line[static_cast<size_t>(x)] + "' in row " +
                          std::to_string(y) + " is not x, o or .";
                return false;
            }
            if (side != 0) {
                board.cells[static_cast<size_t>(y * board.width + x)] = static_cast<int8_t>(side);
                board.moves[static_cast<size_t>(board.moveCount++)] = Move{x, y, side};
            }
        }
    }
    return true;
}

bool ApplyLayerLimit(const CommandLine& line, CGameBoard& board, std::ostream& err, int& exitCode) {
    if (const auto layers = line.Option("layers")) {
        long long limit = 0;
        if (!ParseInteger(*layers, INT_MIN, INT_MAX, limit)) {
            exitCode = UsageError(err, "--layers needs an integer");
            return false;
        }
        board.network.layerLimit = static_cast<int32_t>(limit);
    }
    return true;
}

struct PlannedMove {
    int x;
    int y;
};

bool ParseMoveList(const std::string& text, std::vector<PlannedMove>& planned) {
    std::stringstream words(text);
    for (std::string word; words >> word;) {
        const size_t comma = word.find(',');
        long long x = 0;
        long long y = 0;
        if (comma == std::string::npos || !ParseInteger(word.substr(0, comma), 0, INT_MAX, x) ||
            !ParseInteger(word.substr(comma + 1), 0, INT_MAX, y)) {
            return false;
        }
        planned.push_back({static_cast<int>(x), static_cast<int>(y)});
    }
    return !planned.empty();
}

} // namespace

void PrintUsage(std::ostream& err) {
    err << "usage: rowstone-model info FILE\n"
           "       rowstone-model dump FILE\n"
           "       rowstone-model move FILE --board ROWS --side S [--layers L] [--seed N]\n"
           "       rowstone-model learn FILE --moves \"X,Y X,Y ...\" [--layers L]\n"
           "  ROWS: rows from the top separated by '/', cells x (side -1), o (side +1), . empty\n"
           "  S: x or -1, o or 1\n";
}

int RunInfo(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() != 1) {
        return UsageError(err, "info takes exactly one FILE");
    }
    CGameBoard board;
    if (!LoadModelFile(args[0], board, err)) {
        return kExitRefused;
    }
    PrintModelInfo(board, out);
    return kExitOk;
}

int RunDump(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() != 1) {
        return UsageError(err, "dump takes exactly one FILE");
    }
    CGameBoard board;
    if (!LoadModelFile(args[0], board, err)) {
        return kExitRefused;
    }
    PrintModelDump(board, out);
    return kExitOk;
}

int RunMove(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CommandLine line;
    if (!line.Parse(args, {"board", "side", "layers", "seed"})) {
        return UsageError(err, line.Error());
    }
    const auto rows = line.Option("board");
    const auto sideText = line.Option("side");
    if (line.Positional().size() != 1 || !rows || !sideText) {
        return UsageError(err, "move takes FILE, --board and --side");
    }
    int side = 0;
    if (!ParseSide(*sideText, side)) {
        return UsageError(err, "--side must be x, o, -1 or 1");
    }
    long long seed = 0;
    const auto seedText = line.Option("seed");
    if (seedText && !ParseInteger(*seedText, 0, UINT32_MAX, seed)) {
        return UsageError(err, "--seed needs an integer from 0 to 4294967295");
    }
    const std::string& path = line.Positional()[0];
    CGameBoard board;
    if (seedText) {
        SeedRandom(static_cast<uint32_t>(seed));
    }
    if (!LoadModelFile(path, board, err)) {
        return kExitRefused;
    }
    int exitCode = kExitOk;
    if (!ApplyLayerLimit(line, board, err, exitCode)) {
        return exitCode;
    }
    std::string problem;
    if (!SetPosition(board, *rows, problem)) {
        err << "rowstone-model: " << path << ": " << problem << "\n";
        return kExitRefused;
    }
    board.sideToMove = side;
    int x = 0;
    int y = 0;
    bool fromNetwork = false;
    if (!board.ChooseMove(x, y, &fromNetwork)) {
        err << "rowstone-model: " << path << ": the board has no empty intersection\n";
        return kExitRefused;
    }
    out << x << " " << y << " " << (fromNetwork ? "network" : "random") << "\n";
    return kExitOk;
}

int RunLearn(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CommandLine line;
    if (!line.Parse(args, {"moves", "layers"})) {
        return UsageError(err, line.Error());
    }
    const auto movesText = line.Option("moves");
    if (line.Positional().size() != 1 || !movesText) {
        return UsageError(err, "learn takes FILE and --moves");
    }
    std::vector<PlannedMove> planned;
    if (!ParseMoveList(*movesText, planned)) {
        return UsageError(err, "--moves needs a list of X,Y pairs separated by blanks");
    }
    const std::string& path = line.Positional()[0];
    CGameBoard board;
    if (!LoadModelFile(path, board, err)) {
        return kExitRefused;
    }
    int exitCode = kExitOk;
    if (!ApplyLayerLimit(line, board, err, exitCode)) {
        return exitCode;
    }
    board.NewGame();
    for (size_t i = 0; i < planned.size(); ++i) {
        const PlannedMove& m = planned[i];
        if (board.gameOver) {
            err << "rowstone-model: move " << i + 1 << " (" << m.x << "," << m.y
                << ") comes after the game has ended\n";
            return kExitRefused;
        }
        if (!board.PlaceStone(nullptr, m.x, m.y)) {
            err << "rowstone-model: move " << i + 1 << " (" << m.x << "," << m.y << ") is off the "
                << board.width << "x" << board.height << " grid or on a stone\n";
            return kExitRefused;
        }
    }
    if (!board.gameOver || board.sideToMove == 0) {
        err << "rowstone-model: the moves end without a win\n";
        return kExitRefused;
    }
    PrintModelDump(board, out);
    return kExitOk;
}

} // namespace rowstone::tools
