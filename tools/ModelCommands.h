#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// The subcommands of rowstone-model. Each takes its arguments (after the
// subcommand's name), writes its report to out and its complaints to err,
// and returns the process exit code: 0 done, 1 the input was refused,
// 2 the command line was wrong.
namespace rowstone::tools {

inline constexpr int kExitOk = 0;
inline constexpr int kExitRefused = 1;
inline constexpr int kExitUsage = 2;

// Model files larger than this are refused before they are read.
inline constexpr std::size_t kMaxModelFileSize = 64u * 1024u * 1024u;

int RunInfo(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunDump(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunMove(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunLearn(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunBuild(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunDuel(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// Plays as a Gomocup protocol brain on in and out until END.
int RunBrain(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
             std::ostream& err);

void PrintUsage(std::ostream& err);

} // namespace rowstone::tools
