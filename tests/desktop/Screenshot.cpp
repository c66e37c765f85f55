// Plays the opening of a game in the real main window against a running
// service and saves a picture of the window: the README's screenshot.
//   desktop_screenshot SERVICE_URL NAME PASSWORD OUTPUT.png
#include "CLogin.h"
#include "CTabCtrl.h"
#include "CTesselDlg.h"
#include "DesktopFixture.h"
#include "DialogUnits.h"
#include "ScriptedMessageBoxes.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <cstdio>

using namespace rowstone;

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    if (argc != 5) {
        std::fprintf(stderr, "usage: desktop_screenshot SERVICE_URL NAME PASSWORD OUTPUT.png\n");
        return 2;
    }
    QApplication::setFont(ui::WithUiFallback(QApplication::font()));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/res/rowstone.png")));
    const QString name = QString::fromLocal8Bit(argv[2]);
    const QString password = QString::fromLocal8Bit(argv[3]);
    test::ScriptedMessageBoxes boxes;
    test::CountingSound sound;

    CTesselDlg window(QString::fromLocal8Bit(argv[1]));
    window.Create(nullptr);
    window.resize(900, 620);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window) || !window.GamePage().modelLoaded()) {
        std::fprintf(stderr, "desktop_screenshot: the game did not start\n");
        return 1;
    }
    test::WhenModalOpens([&](QWidget* dialog) {
        auto* login = dynamic_cast<CLogin*>(dialog);
        login->Item<QLineEdit>(CLogin::kNameEdit)->setText(name);
        login->Item<QLineEdit>(CLogin::kPasswordEdit)->setText(password);
        QTest::mouseClick(login->Item<QPushButton>(CLogin::kLoginButton), Qt::LeftButton);
    });
    window.TabControl()->Strip()->setCurrentIndex(CTesselDlg::kGamePage);
    CDialogGame& page = window.GamePage();
    QTest::mouseClick(page.Item<QPushButton>(CDialogGame::kStartButton), Qt::LeftButton);
    CGameFlow& flow = page.Flow();
    if (!flow.gameInProgress) {
        std::fprintf(stderr, "desktop_screenshot: no game started\n");
        return 1;
    }
    const int c = flow.board->cellSize;
    const QPoint moves[] = {{7, 7}, {8, 8}, {6, 8}, {7, 9}};
    for (const QPoint& move : moves) {
        if (!flow.gameInProgress)
            break;
        const int x = move.x();
        const int y = move.y();
        if (flow.board->cells[static_cast<size_t>(y * flow.board->width + x)] != 0)
            continue;
        QTest::mouseClick(page.View(), Qt::LeftButton, {}, QPoint(c * (x + 1), c * (y + 1)));
        if (!QTest::qWaitFor([&flow] { return !flow.gameInProgress || flow.playerTurn; }, 3000))
            break;
    }
    QTest::qWait(1500); // a tick or two of the countdown
    QTest::mouseMove(page.View(), QPoint(c * 10, c * 5));
    QTest::qWait(100);
    if (!window.grab().save(QString::fromLocal8Bit(argv[4]))) {
        std::fprintf(stderr, "desktop_screenshot: cannot write %s\n", argv[4]);
        return 1;
    }
    return 0;
}
