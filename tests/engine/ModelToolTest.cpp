#include "ModelCommands.h"
#include "TestModels.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

namespace rowstone::tools {
namespace {

namespace fs = std::filesystem;

// A small example model: four own stones then an empty intersection.
const std::vector<uint8_t> kExample = {0x6D, 0x6F, 0x64, 0x0F, 0x0F, 0x05, 0x01, 0x01, 0x00,
                                       0x00, 0x00, 0x01, 0x01, 0x05, 0x1E, 0x01, 0x01};

class ModelTool : public testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("rowstone-model-test-" + std::to_string(::getpid()) + "-" +
                   testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
        const fs::path path = folder_ / name;
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return path.string();
    }

    int Run(int (*command)(const std::vector<std::string>&, std::ostream&, std::ostream&),
            const std::vector<std::string>& args) {
        out_.str("");
        err_.str("");
        return command(args, out_, err_);
    }

    fs::path folder_;
    std::ostringstream out_;
    std::ostringstream err_;
};

std::string EmptyBoard(int width, int height) {
    std::string rows;
    for (int y = 0; y < height; ++y) {
        rows += (y > 0 ? "/" : "") + std::string(static_cast<size_t>(width), '.');
    }
    return rows;
}

TEST_F(ModelTool, InfoSummarisesTheLayers) {
    const std::string file = Write("example.mod", kExample);
    EXPECT_EQ(Run(RunInfo, {file}), kExitOk);
    EXPECT_EQ(out_.str(), "grid 15x15 connect 5 layers 1\nlayer 1: 1 patterns\n");
}

TEST_F(ModelTool, InfoNamesTheReasonAndOffsetOfARefusal) {
    std::vector<uint8_t> truncated(kExample.begin(), kExample.end() - 2);
    const std::string file = Write("cut.mod", truncated);
    EXPECT_EQ(Run(RunInfo, {file}), kExitRefused);
    EXPECT_EQ(err_.str(), "rowstone-model: " + file +
                              ": not a valid model: file ends before the 1 patterns the layer "
                              "declares (3 bytes remain, a pattern takes at least 5) at byte 8\n");

    // A 5x5 record cut inside its bit-packed plane 1.
    std::vector<uint8_t> cutInPlane(kExample.begin(), kExample.begin() + 12);
    cutInPlane.insert(cutInPlane.end(), {0x05, 0x05, 0x19, 0xFF, 0x00});
    const std::string plane = Write("plane.mod", cutInPlane);
    EXPECT_EQ(Run(RunInfo, {plane}), kExitRefused);
    EXPECT_EQ(err_.str(),
              "rowstone-model: " + plane +
                  ": not a valid model: file ends inside a bit-packed plane at byte 16\n");
    EXPECT_TRUE(out_.str().empty());

    std::vector<uint8_t> tooWide = kExample;
    tooWide[3] = 101; // a grid the board refuses
    const std::string wide = Write("wide.mod", tooWide);
    EXPECT_EQ(Run(RunInfo, {wide}), kExitRefused);
    EXPECT_NE(err_.str().find("not a valid model: grid 101x15"), std::string::npos) << err_.str();

    EXPECT_EQ(Run(RunInfo, {(folder_ / "missing.mod").string()}), kExitRefused);
}

TEST_F(ModelTool, DumpPrintsEveryPlaneRow) {
    const std::string file = Write("example.mod", kExample);
    EXPECT_EQ(Run(RunDump, {file}), kExitOk);
    const std::string dump = out_.str();
    EXPECT_EQ(dump.rfind("grid 15x15 connect 5 layers 1\nlayer 1: 1 patterns\n"
                         "layer 0 pattern 0: 5x1 threshold 5\n11111 ..... .....\n"
                         "layer 0 pattern 1: 5x5 threshold 5\n....1 ..... .....\n",
                         0),
              0u)
        << dump;
    EXPECT_NE(dump.find("layer 0 pattern 2: 1x5 threshold 5\n1 . .\n"), std::string::npos);
    EXPECT_TRUE(dump.ends_with("layer 1 pattern 0: 5x1 threshold 5\n1111. ....1 ....1\n")) << dump;
}

TEST_F(ModelTool, MoveReportsWhereTheChoiceCameFrom) {
    const std::string file = Write("example.mod", kExample);
    std::string board = EmptyBoard(15, 15);
    board.replace(0, 4, "oooo");
    EXPECT_EQ(Run(RunMove, {file, "--board", board, "--side", "o"}), kExitOk);
    EXPECT_EQ(out_.str(), "4 0 network\n");
    // The player's four is blocked by the computer.
    board.replace(0, 4, "xxxx");
    EXPECT_EQ(Run(RunMove, {file, "--board", board, "--side", "1"}), kExitOk);
    EXPECT_EQ(out_.str(), "4 0 network\n");

    EXPECT_EQ(Run(RunMove, {file, "--board", EmptyBoard(15, 15), "--side", "o", "--seed", "3"}),
              kExitOk);
    const std::string first = out_.str();
    EXPECT_TRUE(first.ends_with(" random\n")) << first;
    EXPECT_EQ(Run(RunMove, {file, "--board", EmptyBoard(15, 15), "--side", "o", "--seed", "3"}),
              kExitOk);
    EXPECT_EQ(out_.str(), first); // the seed makes the fallback repeatable
}

TEST_F(ModelTool, MoveRefusesBoardsThatDoNotFitTheModel) {
    const std::string file = Write("example.mod", kExample);
    EXPECT_EQ(Run(RunMove, {file, "--board", EmptyBoard(15, 14), "--side", "o"}), kExitRefused);
    EXPECT_EQ(Run(RunMove, {file, "--board", EmptyBoard(14, 15), "--side", "o"}), kExitRefused);
    std::string board = EmptyBoard(15, 15);
    board[3] = 'z';
    EXPECT_EQ(Run(RunMove, {file, "--board", board, "--side", "o"}), kExitRefused);
    EXPECT_EQ(Run(RunMove, {file, "--board", EmptyBoard(15, 15), "--side", "q"}), kExitUsage);
    EXPECT_EQ(Run(RunMove, {file, "--side", "o"}), kExitUsage);
    EXPECT_EQ(Run(RunMove, {file, "--board", EmptyBoard(15, 15), "--side", "o", "--layers", "two"}),
              kExitUsage);
}

TEST_F(ModelTool, LearnPrintsTheNetworkAfterTheWin) {
    const std::string file = Write("example.mod", kExample);
    EXPECT_EQ(
        Run(RunLearn, {file, "--moves", "0,0 0,5 1,0 1,5 2,0 2,5 3,0 3,5 4,0", "--layers", "1"}),
        kExitOk)
        << err_.str();
    const std::string dump = out_.str();
    EXPECT_EQ(dump.rfind("grid 15x15 connect 5 layers 1\nlayer 1: 4 patterns\n", 0), 0u) << dump;
    EXPECT_NE(dump.find("layer 1 pattern 2: 5x1 threshold 5\n.1111 1.... 1....\n"),
              std::string::npos)
        << dump;
}

TEST_F(ModelTool, LearnRefusesIllegalAndUnfinishedGames) {
    const std::string file = Write("example.mod", kExample);
    struct Case {
        const char* moves;
        int code;
    };
    const Case cases[] = {
        {"0,0 0,0", kExitRefused},                                 // on a stone
        {"0,0 15,0", kExitRefused},                                // off the grid
        {"0,0 0,5 1,0", kExitRefused},                             // no win
        {"0,0 0,5 1,0 1,5 2,0 2,5 3,0 3,5 4,0 9,9", kExitRefused}, // after the win
        {"0,0 1", kExitUsage},
        {"", kExitUsage},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Run(RunLearn, {file, "--moves", c.moves}), c.code) << c.moves;
        EXPECT_FALSE(err_.str().empty());
    }
}

TEST(ModelToolCommandLine, UnknownSubcommandsAndMissingArgumentsAreUsageErrors) {
    const std::string tool = ROWSTONE_MODEL_TOOL;
    for (const char* arguments : {"", " frobnicate", " info", " info a b"}) {
        const int status = std::system((tool + arguments + " >/dev/null 2>&1").c_str());
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), kExitUsage) << arguments;
    }
}

} // namespace
} // namespace rowstone::tools
