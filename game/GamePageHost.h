#pragma once

#include <QString>

class QWidget;

namespace rowstone {

class DrawSurface;

// What the game's rules need from the page that shows them: its timers,
// its controls and its board view. The page implements it; the rules never
// touch a widget themselves.
class GamePageHost {
public:
    virtual ~GamePageHost() = default;

    virtual void SetTimer(int id, int milliseconds) = 0;
    virtual void KillTimer(int id) = 0;

    virtual DrawSurface* BoardView() = 0;
    // Lays the page out again, which redraws the grid and the stones.
    virtual void RedrawPage() = 0;
    virtual void EnableStartButton(bool enable) = 0;
    virtual void EnableResignButton(bool enable) = 0;
    virtual void ShowCountdown(int seconds) = 0;
    // The board cursor follows whether the player may place a stone.
    virtual void UpdateBoardCursor() = 0;

    virtual void ShowBoardSize(int width, int height) = 0;
    virtual void ClearBoardSize() = 0;
    // Thirteen game types with position select, or the single entry
    // "无法识别" when recognised is false.
    virtual void FillGameTypeBox(bool recognised, int select) = 0;
    virtual void SelectGameType(int index) = 0;
    virtual void EnableGameTypeBox(bool enable) = 0;
    // Entries for the layer values firstValue .. lastValue (none when
    // lastValue < firstValue), with entry select chosen.
    virtual void FillLayerBox(int firstValue, int lastValue, int select) = 0;
    virtual void SelectLayer(int index) = 0;

    // The window that owns message boxes and waits for service requests.
    virtual QWidget* Window() = 0;
};

} // namespace rowstone
