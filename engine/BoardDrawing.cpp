// Board geometry and drawing: the grid, the stones with the last-move
// cross, and the hover marker.
#include "BoardColours.h"
#include "CGameBoard.h"

#include <algorithm>

namespace rowstone {

namespace {

constexpr int kMinViewSide = 10;

// Holds the surface for the duration of one drawing operation.
class DrawingScope {
public:
    explicit DrawingScope(DrawSurface& view) : view_(view), active_(view.BeginDrawing()) {}
    ~DrawingScope() {
        if (active_) {
            view_.EndDrawing();
        }
    }
    DrawingScope(const DrawingScope&) = delete;
    DrawingScope& operator=(const DrawingScope&) = delete;
    bool Active() const { return active_; }

private:
    DrawSurface& view_;
    bool active_;
};

bool ViewLargeEnough(const DrawSurface& view) {
    const ClientSize size = view.GetClientSize();
    return size.width >= kMinViewSide && size.height >= kMinViewSide;
}

int StoneRadius(int c) {
    return static_cast<int>(0.4 * c);
}

void DrawHoverBrackets(DrawSurface& view, int X, int Y, int s, Rgb colour) {
    const int g = s / 2;
    view.DrawLine(X - s, Y - g, X - s, Y - s, colour);
    view.DrawLine(X - s, Y - s, X - g, Y - s, colour);
    view.DrawLine(X + s, Y - g, X + s, Y - s, colour);
    view.DrawLine(X + s, Y - s, X + g, Y - s, colour);
    view.DrawLine(X - s, Y + g, X - s, Y + s, colour);
    view.DrawLine(X - s, Y + s, X - g, Y + s, colour);
    view.DrawLine(X + s, Y + g, X + s, Y + s, colour);
    view.DrawLine(X + s, Y + s, X + g, Y + s, colour);
}

} // namespace

bool CGameBoard::LayoutAndDrawGrid(DrawSurface* view) {
    if (view == nullptr || width < 2 || height < 2) {
        return false;
    }
    const ClientSize client = view->GetClientSize();
    if (client.width < kMinViewSide || client.height < kMinViewSide) {
        return false;
    }
    cellSize = std::min(client.width, client.height) / (width + 1);
    if (cellSize < 1) {
        return false;
    }
    DrawingScope scope(*view);
    if (!scope.Active()) {
        return false;
    }
    const int c = cellSize;
    view->FillRect(1, 1, client.width - 1, client.height - 1, board_colours::kBoard);
    for (int x = 0; x < width; ++x) {
        view->DrawLine(c * (x + 1), c, c * (x + 1), c * height, board_colours::kGridLine);
    }
    for (int y = 0; y < height; ++y) {
        view->DrawLine(c, c * (y + 1), c * width, c * (y + 1), board_colours::kGridLine);
    }
    return true;
}

bool CGameBoard::DrawStones(DrawSurface* view) {
    if (view == nullptr || width < 2 || height < 2 || cells.empty() || !ViewLargeEnough(*view)) {
        return false;
    }
    if (moveCount == 0) {
        return true;
    }
    DrawingScope scope(*view);
    if (!scope.Active()) {
        return false;
    }
    const int c = cellSize;
    const int r = StoneRadius(c);
    for (int side : {-1, 1}) {
        const Rgb fill = side < 0 ? board_colours::kPlayerStone : board_colours::kComputerStone;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                if (cells[static_cast<size_t>(y * width + x)] == side) {
                    const int X = c * (x + 1);
                    const int Y = c * (y + 1);
                    view->DrawEllipse(X - r, Y - r, X + r, Y + r, fill, board_colours::kOutline);
                }
            }
        }
    }
    const Move& last = moves[static_cast<size_t>(moveCount - 1)];
    const int X = c * (last.x + 1);
    const int Y = c * (last.y + 1);
    const int q = c / 4;
    view->DrawLine(X, Y - q, X, Y + q, board_colours::kMarker);
    view->DrawLine(X - q, Y, X + q, Y, board_colours::kMarker);
    return true;
}

bool CGameBoard::DrawHover(DrawSurface* view, int px, int py) {
    if (view == nullptr || width < 2 || height < 2 || cells.empty() || !ViewLargeEnough(*view)) {
        return false;
    }
    int x = 0;
    int y = 0;
    if (!PixelToIntersection(px, py, x, y) || x < 0 || x >= width || y < 0 || y >= height) {
        return false;
    }
    if (cells[static_cast<size_t>(y * width + x)] != 0 || (x == hoverX && y == hoverY)) {
        return true;
    }
    DrawingScope scope(*view);
    if (!scope.Active()) {
        return false;
    }
    const int c = cellSize;
    const int s = StoneRadius(c);
    DrawHoverBrackets(*view, c * (x + 1), c * (y + 1), s, board_colours::kMarker);
    if (hoverX >= 0) {
        DrawHoverBrackets(*view, c * (hoverX + 1), c * (hoverY + 1), s, board_colours::kBoard);
    }
    hoverX = x;
    hoverY = y;
    return true;
}

} // namespace rowstone
