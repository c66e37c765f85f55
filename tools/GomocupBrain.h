#pragma once

#include "CGameBoard.h"

#include <iosfwd>
#include <string>

namespace rowstone::tools {

// A Gomocup (piskvork) protocol brain: reads one command per line and
// answers on its own line. The brain's stones are the engine's computer
// (side +1), the manager's other player is side -1. It chooses its moves
// from the model's network and learns from every game it loses; what it
// learned stays across RESTART and new boards until the program ends.
//
// Commands: START n, RECTSTART w,h, RESTART, BEGIN, TURN x,y, BOARD (lines
// "x,y,who" with who 1 for the brain's stones and 2 for the opponent's,
// ended by DONE), TAKEBACK x,y, INFO key value, ABOUT, END. Anything else
// is answered "UNKNOWN", a command that cannot be carried out "ERROR ...".
class GomocupBrain {
public:
    // Longest command line read; longer lines are refused.
    static constexpr size_t kMaxLineLength = 256;
    // Board sides accepted by START: at least the model's row length, at
    // most what the board plays.
    static constexpr int kMaxBoardSide = CGameBoard::kMaxGridSide;

    // board holds the loaded model; the brain plays on it.
    explicit GomocupBrain(CGameBoard& board) : board_(board) {}

    // Answers commands from in until END or the end of the input.
    void Run(std::istream& in, std::ostream& out);

    // Games the brain has lost and learned from.
    int GamesLearned() const { return gamesLearned_; }

private:
    // False after END.
    bool Handle(const std::string& line, std::istream& in, std::ostream& out);
    void Start(int width, int height, std::ostream& out);
    void Turn(const std::string& arguments, std::ostream& out);
    void Board(std::istream& in, std::ostream& out);
    void TakeBack(const std::string& arguments, std::ostream& out);
    // Chooses, places and prints the brain's move.
    void Reply(std::ostream& out);
    void ClearBoard();
    // Places a stone without passing the turn; false off the board or on a stone.
    bool Put(int x, int y, int side);
    bool HasBoard() const { return board_.HasGrid() && width_ > 0; }

    CGameBoard& board_;
    int width_ = 0;
    int height_ = 0;
    bool gameOver_ = false;
    int gamesLearned_ = 0;
};

} // namespace rowstone::tools
