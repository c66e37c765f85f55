#include "ModelCommands.h"

#include "CommandLine.h"
#include "Duel.h"
#include "GomocupBrain.h"
#include "ModelBuilder.h"
#include "ModelFile.h"
#include "Random.h"

#include <climits>
#include <fstream>
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
           "       rowstone-model build --connect N --width W --height H [--layers L] -o FILE\n"
           "       rowstone-model duel A.mod B.mod [--layers-a L] [--layers-b L] [--games G] "
           "[--seed S]\n"
           "    (B may be the word random: a computer that always plays at random)\n"
           "       rowstone-model brain FILE\n"
           "    (a Gomocup protocol brain on standard input and output)\n"
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

namespace {

constexpr int kMaxDuelGames = 100000;
constexpr const char* kRandomOpponent = "random";

// Reads an integer option in [low, high], or leaves value as it is when the
// option is absent. False (with a usage message printed) when it is malformed.
bool IntegerOption(const CommandLine& line, const char* name, long long low, long long high,
                   long long& value, std::ostream& err) {
    const auto text = line.Option(name);
    if (text && !ParseInteger(*text, low, high, value)) {
        UsageError(err, std::string("--") + name + " needs an integer from " + std::to_string(low) +
                            " to " + std::to_string(high));
        return false;
    }
    return true;
}

} // namespace

int RunBuild(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CommandLine line;
    if (!line.Parse(args, {"connect", "width", "height", "layers", "o"})) {
        return UsageError(err, line.Error());
    }
    const auto output = line.Option("o");
    if (!line.Positional().empty() || !output || !line.Option("connect") || !line.Option("width") ||
        !line.Option("height")) {
        return UsageError(err, "build takes --connect, --width, --height and -o");
    }
    long long connect = 0, width = 0, height = 0;
    if (!IntegerOption(line, "connect", 3, 15, connect, err) ||
        !IntegerOption(line, "width", 3, 100, width, err) ||
        !IntegerOption(line, "height", 3, 100, height, err)) {
        return kExitUsage;
    }
    long long layers = ModelBuilder::DefaultLayers(static_cast<int>(connect));
    if (!IntegerOption(line, "layers", 1, ModelBuilder::kMaxLayers, layers, err)) {
        return kExitUsage;
    }
    std::vector<uint8_t> bytes;
    std::string reason;
    if (!ModelBuilder::BuildFile(static_cast<int>(connect), static_cast<int>(width),
                                 static_cast<int>(height), static_cast<int>(layers), bytes,
                                 reason)) {
        err << "rowstone-model: cannot build the model: " << reason << "\n";
        return kExitRefused;
    }
    std::ofstream file(*output, std::ios::binary | std::ios::trunc);
    if (!file.write(reinterpret_cast<const char*>(bytes.data()),
                    static_cast<std::streamsize>(bytes.size())) ||
        !file.flush()) {
        err << "rowstone-model: " << *output << ": cannot write the file\n";
        return kExitRefused;
    }
    out << "wrote " << *output << ": grid " << width << "x" << height << " connect " << connect
        << " layers " << layers << ", " << bytes.size() << " bytes\n";
    return kExitOk;
}

int RunDuel(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CommandLine line;
    if (!line.Parse(args, {"layers-a", "layers-b", "games", "seed"})) {
        return UsageError(err, line.Error());
    }
    if (line.Positional().size() != 2) {
        return UsageError(err, "duel takes two model files");
    }
    long long layersA = 0, layersB = 0, games = 100, seed = 1;
    if (!IntegerOption(line, "layers-a", 0, 200, layersA, err) ||
        !IntegerOption(line, "layers-b", 0, 200, layersB, err) ||
        !IntegerOption(line, "games", 1, kMaxDuelGames, games, err) ||
        !IntegerOption(line, "seed", 0, UINT32_MAX, seed, err)) {
        return kExitUsage;
    }
    CGameBoard a;
    CGameBoard b;
    if (!LoadModelFile(line.Positional()[0], a, err)) {
        return kExitRefused;
    }
    // "random" stands for a computer without patterns: it always plays the
    // random fallback.
    if (line.Positional()[1] == kRandomOpponent) {
        b.network.CreateLayers(1);
    } else if (!LoadModelFile(line.Positional()[1], b, err)) {
        return kExitRefused;
    }
    Duel duel(a.network, static_cast<int>(layersA), b.network, static_cast<int>(layersB));
    const DuelScore score = duel.Play(a.width, a.height, a.connectLength, static_cast<int>(games),
                                      static_cast<uint32_t>(seed));
    out << "A wins " << score.aWins << ", B wins " << score.bWins << ", draws " << score.draws
        << "\n";
    return kExitOk;
}

int RunBrain(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
             std::ostream& err) {
    if (args.size() != 1) {
        return UsageError(err, "brain takes exactly one FILE");
    }
    CGameBoard board;
    if (!LoadModelFile(args[0], board, err)) {
        return kExitRefused;
    }
    board.learningEnabled = false;
    GomocupBrain brain(board);
    brain.Run(in, out);
    return kExitOk;
}

} // namespace rowstone::tools
