#include "BoardColours.h"
#include "CGameBoard.h"
#include "RecordingSurface.h"
#include "TestModels.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace rowstone {
namespace {

using test::RecordingSurface;
using namespace board_colours;

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};

CGameBoard BoardWithGrid(int width, int height) {
    CGameBoard board;
    const auto bytes = test::ModelBytes(width, height, 3, {{test::Pattern({"xx*"})}});
    EXPECT_TRUE(test::Load(board, bytes));
    EXPECT_TRUE(board.NewGame());
    return board;
}

TEST(BoardDrawing, LaysOutTheGridFromTheColumnCount) {
    CGameBoard board = BoardWithGrid(15, 15);
    RecordingSurface view(200, 150);
    ASSERT_TRUE(board.LayoutAndDrawGrid(&view));
    EXPECT_EQ(board.cellSize, 9);
    ASSERT_EQ(view.calls.size(), 1u + 15u + 15u);
    EXPECT_EQ(view.calls[0], RecordingSurface::Fill(1, 1, 199, 149, kBoard));
    EXPECT_EQ(view.calls[1], RecordingSurface::Line(9, 9, 9, 135, kBlack));
    EXPECT_EQ(view.calls[15], RecordingSurface::Line(135, 9, 135, 135, kBlack));
    EXPECT_EQ(view.calls[16], RecordingSurface::Line(9, 9, 135, 9, kBlack));
    EXPECT_EQ(view.calls[30], RecordingSurface::Line(9, 135, 135, 135, kBlack));
    EXPECT_EQ(view.openScopes, 0);
}

TEST(BoardDrawing, MoreRowsThanColumnsRunPastTheView) {
    CGameBoard board = BoardWithGrid(5, 9);
    RecordingSurface view(60, 60);
    ASSERT_TRUE(board.LayoutAndDrawGrid(&view));
    EXPECT_EQ(board.cellSize, 10);
    EXPECT_EQ(view.calls[1], RecordingSurface::Line(10, 10, 10, 90, kBlack));
    EXPECT_EQ(view.calls.back(), RecordingSurface::Line(10, 90, 50, 90, kBlack));
}

TEST(BoardDrawing, RefusesViewsTooSmallToDrawOn) {
    CGameBoard board = BoardWithGrid(15, 15);
    RecordingSurface wide(200, 150);
    ASSERT_TRUE(board.LayoutAndDrawGrid(&wide));
    RecordingSurface narrow(9, 150);
    EXPECT_FALSE(board.LayoutAndDrawGrid(&narrow));
    EXPECT_EQ(board.cellSize, 9); // unchanged
    EXPECT_TRUE(narrow.calls.empty());

    RecordingSurface tiny(10, 10); // 10 div 16 is 0: no pixel per cell
    EXPECT_FALSE(board.LayoutAndDrawGrid(&tiny));
    EXPECT_EQ(board.cellSize, 0);
    EXPECT_TRUE(tiny.calls.empty());
    EXPECT_FALSE(board.LayoutAndDrawGrid(nullptr));

    RecordingSurface busy(200, 150);
    busy.available = false;
    EXPECT_FALSE(board.LayoutAndDrawGrid(&busy));
    EXPECT_TRUE(busy.calls.empty());
}

TEST(BoardDrawing, DrawsBlackThenWhiteStonesAndCrossesTheLastMove) {
    CGameBoard board = BoardWithGrid(15, 15);
    RecordingSurface view(200, 150);
    ASSERT_TRUE(board.LayoutAndDrawGrid(&view));
    view.calls.clear();
    ASSERT_TRUE(board.DrawStones(&view));
    EXPECT_TRUE(view.calls.empty()); // no moves yet

    ASSERT_TRUE(board.PlaceStone(&view, 2, 0)); // player, black
    ASSERT_TRUE(board.PlaceStone(&view, 0, 1)); // computer, white
    ASSERT_TRUE(board.PlaceStone(&view, 0, 0)); // player
    view.calls.clear();
    ASSERT_TRUE(board.DrawStones(&view));
    // radius trunc(0.4 * 9) = 3, cross half-length 9 div 4 = 2
    EXPECT_EQ(view.calls, (std::vector<std::string>{
                              RecordingSurface::Ellipse(6, 6, 12, 12, kBlack, kBlack),
                              RecordingSurface::Ellipse(24, 6, 30, 12, kBlack, kBlack),
                              RecordingSurface::Ellipse(6, 15, 12, 21, kWhite, kBlack),
                              RecordingSurface::Line(9, 7, 9, 11, kMarker),
                              RecordingSurface::Line(7, 9, 11, 9, kMarker),
                          }));
}

TEST(BoardDrawing, HoverMarksEmptyIntersectionsAndErasesThePreviousMarker) {
    CGameBoard board = BoardWithGrid(9, 9);
    RecordingSurface view(100, 100); // c = 10, marker half-size 4, arms from 2
    ASSERT_TRUE(board.LayoutAndDrawGrid(&view));
    view.calls.clear();

    ASSERT_TRUE(board.DrawHover(&view, 21, 19)); // intersection (1, 1) at (20, 20)
    ASSERT_EQ(view.calls.size(), 8u);
    EXPECT_EQ(view.calls[0], RecordingSurface::Line(16, 18, 16, 16, kMarker));
    EXPECT_EQ(view.calls[1], RecordingSurface::Line(16, 16, 18, 16, kMarker));
    EXPECT_EQ(view.calls[7], RecordingSurface::Line(24, 24, 22, 24, kMarker));
    EXPECT_EQ(board.hoverX, 1);
    EXPECT_EQ(board.hoverY, 1);

    view.calls.clear();
    ASSERT_TRUE(board.DrawHover(&view, 20, 20)); // the same intersection: nothing to do
    EXPECT_TRUE(view.calls.empty());

    ASSERT_TRUE(board.PlaceStone(&view, 2, 1));
    view.calls.clear();
    ASSERT_TRUE(board.DrawHover(&view, 30, 20)); // on the stone: the old marker stays
    EXPECT_TRUE(view.calls.empty());
    EXPECT_EQ(board.hoverX, 1);

    ASSERT_TRUE(board.DrawHover(&view, 20, 30)); // the neighbour below
    ASSERT_EQ(view.calls.size(), 16u);
    EXPECT_EQ(view.calls[0], RecordingSurface::Line(16, 28, 16, 26, kMarker));
    EXPECT_EQ(view.calls[8], RecordingSurface::Line(16, 18, 16, 16, kBoard));
    EXPECT_EQ(board.hoverY, 2);

    EXPECT_FALSE(board.DrawHover(&view, 200, 20)); // off the grid
}

TEST(BoardDrawing, NothingIsDrawnWithoutAGrid) {
    CGameBoard board;
    RecordingSurface view(200, 200);
    EXPECT_FALSE(board.LayoutAndDrawGrid(&view));
    EXPECT_FALSE(board.DrawStones(&view));
    EXPECT_FALSE(board.DrawHover(&view, 50, 50));
    EXPECT_TRUE(view.calls.empty());
}

} // namespace
} // namespace rowstone
