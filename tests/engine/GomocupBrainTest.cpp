#include "GomocupBrain.h"
#include "Random.h"
#include "TestModels.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace rowstone::tools {
namespace {

std::vector<uint8_t> ShippedModel() {
    std::ifstream file(ROWSTONE_MODELS_DIR "/model_5.mod", std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// A model for rows of five whose only pattern never fits a 15x15 board: a
// brain without knowledge, which plays at random until it learns.
std::vector<uint8_t> BlankModel() {
    CStonePattern tooWide = test::Pattern({std::string(20, 'x') + "*"});
    return test::ModelBytes(15, 15, 5, {{tooWide}});
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::stringstream split(text);
    for (std::string line; std::getline(split, line);) {
        lines.push_back(line);
    }
    return lines;
}

struct Point {
    int x;
    int y;
    friend bool operator==(const Point&, const Point&) = default;
};

// "x,y" as a point; (-1, -1) for anything else.
Point ParsePoint(const std::string& text) {
    int x = -1, y = -1;
    char comma = 0;
    std::stringstream in(text);
    if (!(in >> x >> comma >> y) || comma != ',' || !in.eof()) {
        return {-1, -1};
    }
    return {x, y};
}

class Brain : public testing::Test {
protected:
    void Load(const std::vector<uint8_t>& bytes) {
        ASSERT_TRUE(test::Load(board_, bytes));
        board_.learningEnabled = false;
        SeedRandom(3);
    }

    // Sends the commands (one per line) and returns the answer lines.
    std::vector<std::string> Session(const std::string& commands) {
        std::istringstream in(commands);
        std::ostringstream out;
        brain_.Run(in, out);
        return Lines(out.str());
    }

    CGameBoard board_;
    GomocupBrain brain_{board_};
};

TEST_F(Brain, PlaysAGameOfTheProtocol) {
    Load(ShippedModel());
    const auto answers = Session("ABOUT\nINFO timeout_turn 5000\nSTART 15\nBEGIN\nTURN 8,8\n"
                                 "turn 9,9\nEND\nTURN 1,1\n");
    ASSERT_EQ(answers.size(), 5u) << "INFO is silent and nothing is read after END";
    EXPECT_TRUE(answers[0].starts_with("name=\"Rowstone\"")) << answers[0];
    EXPECT_EQ(answers[1], "OK");
    EXPECT_EQ(answers[2], "7,7") << "the first stone goes to the centre";
    std::vector<Point> seen = {{7, 7}, {8, 8}, {9, 9}};
    for (size_t i = 3; i < answers.size(); ++i) {
        const Point p = ParsePoint(answers[i]);
        EXPECT_TRUE(p.x >= 0 && p.x < 15 && p.y >= 0 && p.y < 15) << answers[i];
        EXPECT_EQ(std::count(seen.begin(), seen.end(), p), 0) << answers[i] << " is taken";
        seen.push_back(p);
    }
}

TEST_F(Brain, AnswersBadCommandsWithoutLosingItsPlace) {
    Load(ShippedModel());
    struct Case {
        std::string commands;
        std::vector<std::string> answers;
    };
    const Case cases[] = {
        {"TURN 3,3\n", {"ERROR no board yet: send START first"}},
        {"BOARD\n1,1,1\nDONE\nABOUT\n", {"ERROR no board yet: send START first", "ABOUT"}},
        {"START 4\n", {"ERROR"}},
        {"START 101\n", {"ERROR"}},
        {"START 15x\n", {"ERROR"}},
        {"RECTSTART 20,3\n", {"ERROR"}},
        {"START 15\nTURN 15,0\n", {"OK", "ERROR"}},
        {"START 15\nTURN 3,-1\n", {"OK", "ERROR"}},
        {"START 15\nTURN 99999999999999999999,1\n", {"OK", "ERROR"}},
        {"START 15\nBEGIN\nTURN 7,7\n", {"OK", "7,7", "ERROR"}},
        {"START 15\nBOARD\n1,1,1\n1,1,2\nDONE\n", {"OK", "ERROR"}},
        {"START 15\nBOARD\n1,1,3\n2,2,1\nDONE\n", {"OK", "ERROR"}},
        {"START 15\n" + std::string(300, '7') + "\n", {"OK", "ERROR"}},
        {"SWAP2BOARD\nHELLO\n", {"UNKNOWN", "UNKNOWN"}},
        {"START 15\nTAKEBACK 1,1\n", {"OK", "ERROR"}},
    };
    for (const Case& c : cases) {
        CGameBoard board;
        ASSERT_TRUE(test::Load(board, ShippedModel()));
        GomocupBrain brain(board);
        std::istringstream in(c.commands);
        std::ostringstream out;
        brain.Run(in, out);
        const auto answers = Lines(out.str());
        ASSERT_EQ(answers.size(), c.answers.size()) << c.commands << "\n" << out.str();
        for (size_t i = 0; i < answers.size(); ++i) {
            if (c.answers[i] == "ABOUT") {
                EXPECT_TRUE(answers[i].starts_with("name=")) << c.commands;
            } else {
                EXPECT_TRUE(answers[i].starts_with(c.answers[i])) << c.commands << answers[i];
            }
        }
    }
}

TEST_F(Brain, BoardPositionsAreItsOwnStonesAndTheOpponents) {
    Load(ShippedModel());
    // Own stones (1) in a row of four with one end open: the brain wins.
    auto answers = Session("START 15\nBOARD\n3,5,1\n4,5,1\n5,5,1\n6,5,1\n2,5,2\n9,9,2\n10,10,2\n"
                           "DONE\n");
    ASSERT_EQ(answers.size(), 2u);
    EXPECT_EQ(answers[1], "7,5");
    // The opponent's (2) four: the brain blocks it.
    answers = Session("RESTART\nBOARD\n3,5,2\n4,5,2\n5,5,2\n6,5,2\n7,5,1\n9,9,1\nDONE\n");
    ASSERT_EQ(answers.size(), 2u);
    EXPECT_EQ(answers[0], "OK");
    EXPECT_EQ(answers[1], "2,5");
}

TEST_F(Brain, LearnsFromALostGameAndKeepsItAcrossRestart) {
    Load(BlankModel());
    // The opponent builds an open four on row 2; the brain, knowing
    // nothing, answers at random, and the opponent completes five at
    // whichever end is still open.
    auto answers = Session("START 15\nBOARD\n4,2,2\n0,14,1\n5,2,2\n2,14,1\n6,2,2\n4,14,1\n"
                           "7,2,2\nDONE\n");
    ASSERT_EQ(answers.size(), 2u);
    const Point reply = ParsePoint(answers[1]);
    const std::string winning = reply == Point{3, 2} ? "TURN 8,2\n" : "TURN 3,2\n";
    answers = Session(winning);
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(brain_.GamesLearned(), 1);
    EXPECT_GT(board_.network.layers[1].patternCount(), 1);

    // A new game: the brain's own four on column 10 is now completed.
    answers = Session("RESTART\nBOARD\n10,3,1\n0,0,2\n10,4,1\n2,0,2\n10,5,1\n4,0,2\n10,6,1\n"
                      "14,14,2\nDONE\n");
    ASSERT_EQ(answers.size(), 2u);
    EXPECT_EQ(answers[0], "OK");
    const Point win = ParsePoint(answers[1]);
    EXPECT_TRUE(win == (Point{10, 2}) || win == (Point{10, 7})) << answers[1];
}

TEST(BrainProcess, SpeaksTheProtocolOnStandardInputAndOutput) {
    namespace fs = std::filesystem;
    const fs::path folder =
        fs::temp_directory_path() / ("rowstone-brain-test-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    std::ofstream(folder / "in.txt") << "START 15\r\nBEGIN\r\nTURN 0,0\r\nRESTART\r\nEND\r\n";
    const std::string command = std::string(ROWSTONE_MODEL_TOOL) + " brain " +
                                ROWSTONE_MODELS_DIR "/model_5.mod <" +
                                (folder / "in.txt").string() + " >" + (folder / "out.txt").string();
    const int status = std::system(command.c_str());
    std::ifstream out(folder / "out.txt");
    const std::string text{std::istreambuf_iterator<char>(out), std::istreambuf_iterator<char>()};
    fs::remove_all(folder);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    const auto answers = Lines(text);
    ASSERT_EQ(answers.size(), 4u) << text;
    EXPECT_EQ(answers[0], "OK");
    EXPECT_EQ(answers[1], "7,7");
    EXPECT_NE(ParsePoint(answers[2]).x, -1) << answers[2];
    EXPECT_EQ(answers[3], "OK");
}

} // namespace
} // namespace rowstone::tools
