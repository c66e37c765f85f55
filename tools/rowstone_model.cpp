// rowstone-model: inspects model files and asks their networks for moves.
#include "ModelCommands.h"

#include <iostream>
#include <map>
#include <string>
#include <vector>

namespace {

using Command = int (*)(const std::vector<std::string>&, std::ostream&, std::ostream&);

int RunBrainOnStandardInput(const std::vector<std::string>& args, std::ostream& out,
                            std::ostream& err) {
    return rowstone::tools::RunBrain(args, std::cin, out, err);
}

const std::map<std::string, Command>& Commands() {
    using namespace rowstone::tools;
    static const std::map<std::string, Command> commands = {
        {"info", RunInfo},
        {"dump", RunDump},
        {"move", RunMove},
        {"learn", RunLearn},
        {"build", RunBuild},
        {"duel", RunDuel},
        {"brain", RunBrainOnStandardInput},
    };
    return commands;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        rowstone::tools::PrintUsage(std::cerr);
        return rowstone::tools::kExitUsage;
    }
    const auto command = Commands().find(argv[1]);
    if (command == Commands().end()) {
        std::cerr << "rowstone-model: unknown subcommand '" << argv[1] << "'\n";
        rowstone::tools::PrintUsage(std::cerr);
        return rowstone::tools::kExitUsage;
    }
    const std::vector<std::string> args(argv + 2, argv + argc);
    return command->second(args, std::cout, std::cerr);
}
