#include "CDialogGame.h"

#include "Cursors.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalBlocker>

namespace rowstone {

namespace {

const char* const kGameTypeNames[CGameFlow::kGameTypeCount] = {
    "三连子", "四连子",   "五连子",   "六连子",   "七连子",   "八连子",   "九连子",
    "十连子", "十一连子", "十二连子", "十三连子", "十四连子", "十五连子",
};

} // namespace

CDialogGame::CDialogGame(QString serviceUrl, QWidget* parent)
    : ui::CDialogEx(129, parent), flow(*this, std::move(serviceUrl)) {
    setMouseTracking(true);
}

CDialogGame::~CDialogGame() {
    ui::CDialogEx::KillTimer(CGameFlow::kCountdownTimer);
    ui::CDialogEx::KillTimer(CGameFlow::kComputerTimer);
    flow.TearDown();
}

QWidget* CDialogGame::CreateControl(const ui::ControlTemplate& control) {
    if (control.id != kBoardView)
        return nullptr;
    boardView = new CBoardView;
    return boardView;
}

QFont CDialogGame::CountdownFont() {
    QFont font;
    const QStringList families = QFontDatabase::families();
    QString chosen = QStringLiteral("华文行楷");
    if (!families.contains(chosen)) {
        static const char* const kaiFaces[] = {"STXingkai",     "STKaiti",       "KaiTi",
                                               "AR PL UKai CN", "AR PL UKai TW", "AR PL KaitiM GB"};
        for (const char* face : kaiFaces) {
            if (families.contains(QString::fromUtf8(face))) {
                chosen = QString::fromUtf8(face);
                break;
            }
        }
        if (!families.contains(chosen)) {
            for (const QString& family : families) {
                if (family.contains(QStringLiteral("Kai"), Qt::CaseInsensitive) ||
                    family.contains(QStringLiteral("楷"))) {
                    chosen = family;
                    break;
                }
            }
        }
    }
    font.setFamily(chosen);
    font.setPointSize(15);
    return font;
}

bool CDialogGame::OnInitDialog() {
    startButton = Item<QPushButton>(kStartButton);
    resignButton = Item<QPushButton>(kResignButton);
    countdownLabel = Item<QLabel>(kCountdownLabel);
    boardSizeCombo = Item<QComboBox>(kBoardSizeBox);
    gameTypeCombo = Item<QComboBox>(kGameTypeBox);
    layerCombo = Item<QComboBox>(kLayerBox);
    layerLabel = Item<QLabel>(kLayerLabel);
    if (boardView != nullptr)
        boardView->setMouseTracking(true);

    countdownLabel->setFont(CountdownFont());
    countdownLabel->setStyleSheet(
        QStringLiteral("QLabel { background-color: rgb(0, 255, 0); color: rgb(255, 0, 0); }"));

    connect(startButton, &QPushButton::clicked, this, [this] { flow.StartGame(); });
    connect(resignButton, &QPushButton::clicked, this, [this] { flow.Resign(); });
    connect(gameTypeCombo, &QComboBox::activated, this,
            [this](int index) { flow.OnGameTypeSelected(index); });
    connect(layerCombo, &QComboBox::activated, this,
            [this](int index) { flow.OnLayerSelected(index); });

    flow.Init();
    return true;
}

void CDialogGame::SetAccount(int userId, const QString& loginExtra, int points,
                             const QString& sessionKey, int idage) {
    flow.userId = userId;
    flow.loginExtra = loginExtra;
    flow.points = points;
    flow.sessionKey = sessionKey;
    flow.idage = idage;
}

void CDialogGame::OnLayout() {
    LayoutControls();
}

void CDialogGame::LayoutControls() {
    const int W = width();
    const int H = height();
    int bw = 0;
    if (startButton != nullptr) {
        bw = startButton->width();
        const int bh = startButton->height();
        const int ch = boardSizeCombo->height();
        const int lw = layerLabel->width();
        const int lh = layerLabel->height();
        const int x0 = static_cast<int>(W - 1.25 * bw);
        const int x1 = static_cast<int>(W - 0.25 * bw);
        const int cw = x1 - x0;
        startButton->setGeometry(x0, bh, cw, bh);
        resignButton->setGeometry(x0, 3 * bh, cw, bh);
        countdownLabel->setGeometry(x0, 5 * bh, cw, bh);
        boardSizeCombo->setGeometry(x0, 7 * bh, cw, ch);
        gameTypeCombo->setGeometry(x0, 7 * bh + 2 * ch, cw, ch);
        const int yL = 7 * bh + 4 * ch;
        layerLabel->move(x0, yL);
        layerCombo->move(x0 + lw / 4, yL + lh + lh / 2);
    }
    if (boardView != nullptr)
        boardView->setGeometry(0, 0, static_cast<int>(W - 1.5 * bw), H);
    flow.DrawBoard();
}

void CDialogGame::RedrawPage() {
    LayoutControls();
}

void CDialogGame::OnTimer(int id) {
    flow.OnTimer(id);
}

bool CDialogGame::InBoardView(const QPoint& point) const {
    return boardView != nullptr && boardView->geometry().contains(point);
}

void CDialogGame::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        ui::CDialogEx::mousePressEvent(event);
        return;
    }
    const QPoint point = event->position().toPoint();
    if (!InBoardView(point))
        return;
    const QPoint local = point - boardView->geometry().topLeft();
    flow.OnBoardClick(local.x(), local.y());
}

void CDialogGame::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    if (InBoardView(point)) {
        const QPoint local = point - boardView->geometry().topLeft();
        flow.OnBoardHover(local.x(), local.y());
    }
    ui::CDialogEx::mouseMoveEvent(event);
}

void CDialogGame::EnableStartButton(bool enable) {
    startButton->setEnabled(enable);
}

void CDialogGame::EnableResignButton(bool enable) {
    resignButton->setEnabled(enable);
}

void CDialogGame::ShowCountdown(int seconds) {
    countdownLabel->setText(QString::number(seconds));
}

void CDialogGame::UpdateBoardCursor() {
    if (boardView != nullptr)
        boardView->setCursor(flow.PlayerMayMove() ? ui::HandCursor() : ui::ForbiddenCursor());
}

void CDialogGame::ShowBoardSize(int width, int height) {
    boardSizeCombo->clear();
    boardSizeCombo->addItem(QStringLiteral("%1 x %2").arg(width).arg(height));
    boardSizeCombo->setCurrentIndex(0);
}

void CDialogGame::ClearBoardSize() {
    boardSizeCombo->clear();
}

void CDialogGame::FillGameTypeBox(bool recognised, int select) {
    const QSignalBlocker blocker(gameTypeCombo);
    gameTypeCombo->clear();
    if (!recognised) {
        gameTypeCombo->addItem(QStringLiteral("无法识别"));
        gameTypeCombo->setCurrentIndex(0);
        return;
    }
    for (const char* name : kGameTypeNames)
        gameTypeCombo->addItem(QString::fromUtf8(name));
    gameTypeCombo->setCurrentIndex(select);
}

void CDialogGame::SelectGameType(int index) {
    const QSignalBlocker blocker(gameTypeCombo);
    gameTypeCombo->setCurrentIndex(index);
}

void CDialogGame::EnableGameTypeBox(bool enable) {
    gameTypeCombo->setEnabled(enable);
}

void CDialogGame::FillLayerBox(int firstValue, int lastValue, int select) {
    const QSignalBlocker blocker(layerCombo);
    layerCombo->clear();
    for (int value = firstValue; value <= lastValue; ++value)
        layerCombo->addItem(QString::number(value));
    if (layerCombo->count() > 0)
        layerCombo->setCurrentIndex(std::min(select, layerCombo->count() - 1));
}

void CDialogGame::SelectLayer(int index) {
    const QSignalBlocker blocker(layerCombo);
    layerCombo->setCurrentIndex(index);
}

} // namespace rowstone
