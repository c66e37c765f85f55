#pragma once

#include "CGameBoard.h"

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

namespace rowstone::tools {

// Reads a whole file of at most maxSize bytes; false with a reason otherwise.
bool ReadWholeFile(const std::string& path, std::size_t maxSize, std::vector<uint8_t>& bytes,
                   std::string& reason);

// Reads a model file and loads it into board. On refusal prints
// "rowstone-model: FILE: ..." to err and returns false.
bool LoadModelFile(const std::string& path, CGameBoard& board, std::ostream& err);

// The summary line and one line per layer, as `info` prints them.
void PrintModelInfo(const CGameBoard& board, std::ostream& out);
// The summary followed by every pattern of every layer, as `dump` prints them.
void PrintModelDump(const CGameBoard& board, std::ostream& out);

} // namespace rowstone::tools
