#pragma once

#include "CBoardView.h"
#include "CDialogEx.h"
#include "CGameFlow.h"
#include "GamePageHost.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace rowstone {

// The game page: the board view, the start and resign buttons, the
// countdown, and the boxes for the board size, the game type and the layer
// count. It places its controls, paints and forwards the player's actions
// to its CGameFlow, which holds the rules.
class CDialogGame : public ui::CDialogEx, private GamePageHost {
public:
    enum ControlId {
        kBoardView = 1001,
        kHiddenGroup = 1002,
        kStartButton = 1003,
        kResignButton = 1004,
        kCountdownLabel = 1005,
        kBoardSizeBox = 1006,
        kGameTypeBox = 1007,
        kLayerBox = 1036,
        kLayerLabel = 1037,
    };

    explicit CDialogGame(QString serviceUrl, QWidget* parent = nullptr);
    ~CDialogGame() override;

    CGameFlow& Flow() { return flow; }
    const CGameFlow& Flow() const { return flow; }
    CBoardView* View() const { return boardView; }
    bool modelLoaded() const { return flow.modelLoaded; }

    // The account values of a successful login.
    void SetAccount(int userId, const QString& loginExtra, int points, const QString& sessionKey,
                    int idage);

    void LayoutControls();

    // The countdown's font: "华文行楷", or an installed Kai-style face.
    static QFont CountdownFont();

protected:
    bool OnInitDialog() override;
    void OnTimer(int id) override;
    void OnLayout() override;
    QWidget* CreateControl(const ui::ControlTemplate& control) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    // GamePageHost
    void SetTimer(int id, int milliseconds) override { ui::CDialogEx::SetTimer(id, milliseconds); }
    void KillTimer(int id) override { ui::CDialogEx::KillTimer(id); }
    DrawSurface* BoardView() override { return boardView; }
    void RedrawPage() override;
    void EnableStartButton(bool enable) override;
    void EnableResignButton(bool enable) override;
    void ShowCountdown(int seconds) override;
    void UpdateBoardCursor() override;
    void ShowBoardSize(int width, int height) override;
    void ClearBoardSize() override;
    void FillGameTypeBox(bool recognised, int select) override;
    void SelectGameType(int index) override;
    void EnableGameTypeBox(bool enable) override;
    void FillLayerBox(int firstValue, int lastValue, int select) override;
    void SelectLayer(int index) override;
    QWidget* Window() override { return this; }

    bool InBoardView(const QPoint& point) const;

    CGameFlow flow;
    CBoardView* boardView = nullptr;
    QPushButton* startButton = nullptr;
    QPushButton* resignButton = nullptr;
    QLabel* countdownLabel = nullptr;
    QComboBox* boardSizeCombo = nullptr;
    QComboBox* gameTypeCombo = nullptr;
    QComboBox* layerCombo = nullptr;
    QLabel* layerLabel = nullptr;
};

} // namespace rowstone
