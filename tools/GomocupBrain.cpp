#include "GomocupBrain.h"

#include "CommandLine.h"

#include <istream>
#include <ostream>
#include <sstream>

namespace rowstone::tools {

namespace {

constexpr int kOwnSide = 1;
constexpr int kOpponentSide = -1;
// Field values of BOARD lines.
constexpr long long kOwnStone = 1;
constexpr long long kOpponentStone = 2;

// Reads one line of at most limit characters (without the line end, and
// without a carriage return before it). False at the end of the input;
// tooLong is set when the line was longer and has been skipped.
bool ReadLine(std::istream& in, std::string& line, size_t limit, bool& tooLong) {
    line.clear();
    tooLong = false;
    char c = 0;
    bool any = false;
    while (in.get(c)) {
        any = true;
        if (c == '\n') {
            break;
        }
        if (line.size() < limit + 1) {
            line.push_back(c);
        }
    }
    if (!any) {
        return false;
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    if (line.size() > limit) {
        tooLong = true;
        line.clear();
    }
    return true;
}

std::string Trim(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return "";
    }
    const size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::string Upper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return text;
}

// Splits "a,b,c" into numbers, each within [0, high]; false unless there
// are exactly count of them.
bool ParseNumbers(const std::string& text, size_t count, long long high,
                  std::vector<long long>& numbers) {
    numbers.clear();
    std::stringstream parts(text);
    for (std::string part; std::getline(parts, part, ',');) {
        long long value = 0;
        if (numbers.size() == count || !ParseInteger(Trim(part), 0, high, value)) {
            return false;
        }
        numbers.push_back(value);
    }
    return numbers.size() == count && (text.empty() || text.back() != ',');
}

} // namespace

void GomocupBrain::Run(std::istream& in, std::ostream& out) {
    std::string line;
    bool tooLong = false;
    while (ReadLine(in, line, kMaxLineLength, tooLong)) {
        if (tooLong) {
            out << "ERROR line longer than " << kMaxLineLength << " characters" << std::endl;
            continue;
        }
        if (!Handle(line, in, out)) {
            return;
        }
    }
}

bool GomocupBrain::Handle(const std::string& line, std::istream& in, std::ostream& out) {
    const std::string trimmed = Trim(line);
    if (trimmed.empty()) {
        return true;
    }
    const size_t space = trimmed.find_first_of(" \t");
    const std::string command = Upper(trimmed.substr(0, space));
    const std::string arguments = space == std::string::npos ? "" : Trim(trimmed.substr(space));
    std::vector<long long> numbers;
    if (command == "END") {
        return false;
    }
    if (command == "ABOUT") {
        out << "name=\"Rowstone\", version=\"0.1.0\", author=\"Rowstone\", country=\"-\""
            << std::endl;
    } else if (command == "INFO") {
        // Time and memory limits do not matter to a pattern network's reply.
    } else if (command == "START") {
        if (!ParseNumbers(arguments, 1, kMaxBoardSide, numbers)) {
            out << "ERROR START needs a board size from " << board_.connectLength << " to "
                << kMaxBoardSide << std::endl;
        } else {
            Start(static_cast<int>(numbers[0]), static_cast<int>(numbers[0]), out);
        }
    } else if (command == "RECTSTART") {
        if (!ParseNumbers(arguments, 2, kMaxBoardSide, numbers)) {
            out << "ERROR RECTSTART needs a width and a height from " << board_.connectLength
                << " to " << kMaxBoardSide << std::endl;
        } else {
            Start(static_cast<int>(numbers[0]), static_cast<int>(numbers[1]), out);
        }
    } else if (!HasBoard() && (command == "RESTART" || command == "BEGIN" || command == "TURN" ||
                               command == "BOARD" || command == "TAKEBACK")) {
        if (command == "BOARD") {
            // Skip the position up to its DONE so that its lines are not
            // read as commands.
            std::string skipped;
            bool tooLong = false;
            while (ReadLine(in, skipped, kMaxLineLength, tooLong) &&
                   Upper(Trim(skipped)) != "DONE") {
            }
        }
        out << "ERROR no board yet: send START first" << std::endl;
    } else if (command == "RESTART") {
        ClearBoard();
        out << "OK" << std::endl;
    } else if (command == "BEGIN") {
        if (board_.moveCount != 0) {
            out << "ERROR BEGIN on a board that already holds stones" << std::endl;
        } else {
            Reply(out);
        }
    } else if (command == "TURN") {
        Turn(arguments, out);
    } else if (command == "BOARD") {
        Board(in, out);
    } else if (command == "TAKEBACK") {
        TakeBack(arguments, out);
    } else {
        out << "UNKNOWN" << std::endl;
    }
    return true;
}

void GomocupBrain::Start(int width, int height, std::ostream& out) {
    if (!board_.network.layers.empty() && width >= board_.connectLength &&
        height >= board_.connectLength && width <= kMaxBoardSide && height <= kMaxBoardSide &&
        board_.connectLength >= CGameBoard::kMinConnectLength) {
        width_ = width;
        height_ = height;
        ClearBoard();
        out << "OK" << std::endl;
        return;
    }
    out << "ERROR the model plays rows of " << board_.connectLength << " on boards of "
        << board_.connectLength << " to " << kMaxBoardSide << " intersections a side, not " << width
        << "x" << height << std::endl;
}

void GomocupBrain::ClearBoard() {
    const size_t cells = static_cast<size_t>(width_) * static_cast<size_t>(height_);
    board_.width = width_;
    board_.height = height_;
    board_.cells.assign(cells, 0);
    board_.moves.assign(cells, Move{});
    board_.moveCount = 0;
    board_.sideToMove = kOwnSide;
    board_.gameOver = false;
    gameOver_ = false;
}

bool GomocupBrain::Put(int x, int y, int side) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || board_.moveCount >= width_ * height_) {
        return false;
    }
    int8_t& cell = board_.cells[static_cast<size_t>(y * width_ + x)];
    if (cell != 0) {
        return false;
    }
    cell = static_cast<int8_t>(side);
    board_.moves[static_cast<size_t>(board_.moveCount++)] = Move{x, y, side};
    return true;
}

void GomocupBrain::Turn(const std::string& arguments, std::ostream& out) {
    std::vector<long long> numbers;
    if (!ParseNumbers(arguments, 2, kMaxBoardSide, numbers) ||
        !Put(static_cast<int>(numbers[0]), static_cast<int>(numbers[1]), kOpponentSide)) {
        out << "ERROR TURN needs x,y of an empty intersection of the " << width_ << "x" << height_
            << " board" << std::endl;
        return;
    }
    if (!gameOver_ && board_.network.IsWin(board_.cells.data(), kOpponentSide, width_, height_)) {
        // The opponent's stone has won: the game is lost, and learned from.
        gameOver_ = true;
        if (board_.network.LearnFromGame(board_.moves.data(), board_.moveCount, width_, height_)) {
            ++gamesLearned_;
        }
    }
    Reply(out);
}

void GomocupBrain::Board(std::istream& in, std::ostream& out) {
    ClearBoard();
    std::string problem;
    std::string line;
    bool tooLong = false;
    std::vector<long long> numbers;
    while (ReadLine(in, line, kMaxLineLength, tooLong)) {
        const std::string entry = Trim(line);
        if (Upper(entry) == "DONE") {
            if (!problem.empty()) {
                ClearBoard();
                out << "ERROR " << problem << std::endl;
            } else {
                Reply(out);
            }
            return;
        }
        if (!problem.empty()) {
            continue;
        }
        if (tooLong || !ParseNumbers(entry, 3, kMaxBoardSide, numbers) ||
            (numbers[2] != kOwnStone && numbers[2] != kOpponentStone)) {
            problem = "BOARD lines are x,y,1 (own stone) or x,y,2 (opponent's), then DONE";
        } else if (!Put(static_cast<int>(numbers[0]), static_cast<int>(numbers[1]),
                        numbers[2] == kOwnStone ? kOwnSide : kOpponentSide)) {
            problem = "BOARD stone " + entry + " is off the board or on another stone";
        }
    }
    // The input ended inside the position: nothing to answer.
    ClearBoard();
}

void GomocupBrain::TakeBack(const std::string& arguments, std::ostream& out) {
    std::vector<long long> numbers;
    if (!ParseNumbers(arguments, 2, kMaxBoardSide, numbers) || board_.moveCount == 0) {
        out << "ERROR TAKEBACK needs x,y of the last stone played" << std::endl;
        return;
    }
    const Move last = board_.moves[static_cast<size_t>(board_.moveCount - 1)];
    if (last.x != numbers[0] || last.y != numbers[1]) {
        out << "ERROR TAKEBACK needs x,y of the last stone played" << std::endl;
        return;
    }
    board_.cells[static_cast<size_t>(last.y * width_ + last.x)] = 0;
    --board_.moveCount;
    gameOver_ = false;
    out << "OK" << std::endl;
}

void GomocupBrain::Reply(std::ostream& out) {
    int x = width_ / 2;
    int y = height_ / 2;
    board_.sideToMove = kOwnSide;
    // An empty board gets the centre; otherwise the network's move or the
    // board's random fallback.
    if (board_.moveCount > 0 && !board_.ChooseMove(x, y)) {
        out << "ERROR the board is full" << std::endl;
        return;
    }
    if (!Put(x, y, kOwnSide)) {
        out << "ERROR the board is full" << std::endl;
        return;
    }
    if (board_.network.IsWin(board_.cells.data(), kOwnSide, width_, height_)) {
        gameOver_ = true;
    }
    out << x << "," << y << std::endl;
}

} // namespace rowstone::tools
