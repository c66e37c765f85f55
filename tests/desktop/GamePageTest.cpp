// The game page against the local game service: set-up, paid starts with
// their balance cases, whole games by scripted clicks, resignation,
// time-out, the game-type and layer changes, and the board view.
#include "CDialogGame.h"
#include "CHttpClient.h"
#include "DesktopFixture.h"
#include "Random.h"
#include "ScriptedMessageBoxes.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <memory>

using namespace rowstone;
using namespace rowstone::test;

namespace {

const QString kNotice = QStringLiteral("温馨提示");

// A 5 x 5 model (three in a row) of 22 bytes with one 5 x 5 pattern whose
// move list ends at the end of the file, proposing the centre only. Read
// beyond its end, into what a larger earlier download left in the block,
// the list would run on.
const std::vector<uint8_t> kListToTheEnd = {
    'm',  'o',  'd',  5,    5, 3, 1, // header: 5 x 5, N 3, one layer
    1,    0,    0,    0,    1,       // layer 1, one pattern
    5,    5,                         // 5 rows, 5 columns
    0x19, 0xFF,                      // stones: 25 empty cells
    0xFF, 0xFF, 0xFF, 0x01,          // empties: all 25
    2,    2,                         // move list: the centre, then the end of the file
};

// Connect length -> model served for it. 5: the start-up model, 15 x 15
// with 6 file layers. 3: 3 x 3 for a drawn game. 4: a 4 x 3 grid (three in
// a row) for a lost game. 6 is missing; 7 is not a model; 8 ends its move
// list at the end of the file.
void WriteModels(const ModelFolder& models) {
    models.Write(5, RandomPlayerModel(15, 15, 5, 7));
    models.Write(3, RandomPlayerModel(3, 3, 3, 4));
    models.Write(4, RandomPlayerModel(4, 3, 3, 11));
    models.Write(7, {'n', 'o', 't', ' ', 'a', ' ', 'm', 'o', 'd', 'e', 'l'});
    models.Write(8, kListToTheEnd);
}

bool WaitFor(const std::function<bool()>& condition, int ms = 3000) {
    return QTest::qWaitFor(condition, ms);
}

} // namespace

class GamePageTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<ModelFolder> models;
    std::unique_ptr<ServiceFixture> service;
    std::unique_ptr<ScriptedMessageBoxes> boxes;
    std::unique_ptr<RecordingBrowser> browser;
    std::unique_ptr<CountingSound> sound;
    std::unique_ptr<CDialogGame> page;
    int userCount = 0;

    // A fresh account with the given balance, logged in on a fresh page.
    Account OpenPage(int points) {
        const QString name = QStringLiteral("player%1").arg(++userCount);
        const int id = service->AddUser(name, QStringLiteral("secret"), points);
        const Account account = LoginDirect(service->Url(), name, QStringLiteral("secret"));
        if (id < 0 || account.userId != id)
            return {};
        page = std::make_unique<CDialogGame>(service->Url());
        page->Create(nullptr);
        page->resize(600, 350);
        page->show();
        page->SetAccount(account.userId, account.loginExtra, account.points, account.sessionKey, 0);
        boxes->Clear();
        service->StartCounting();
        return account;
    }

    CGameFlow& Flow() { return page->Flow(); }
    QPushButton* Button(int id) { return page->Item<QPushButton>(id); }
    QComboBox* Box(int id) { return page->Item<QComboBox>(id); }

    QPoint PixelOf(int x, int y) {
        const int c = Flow().board->cellSize;
        return QPoint(c * (x + 1), c * (y + 1));
    }
    void ClickAt(int x, int y) {
        QTest::mouseClick(page->View(), Qt::LeftButton, {}, PixelOf(x, y));
    }
    // Places stones for both sides in turn, without the page's turn flow.
    void SetUp(const std::vector<QPoint>& stones) {
        for (const QPoint& p : stones)
            Flow().board->PlaceStone(page->View(), p.x(), p.y());
    }
    bool WaitForTurnOrEnd() {
        return WaitFor([this] { return !Flow().gameInProgress || Flow().playerTurn; });
    }
    bool StartPaidGame() {
        QTest::mouseClick(Button(CDialogGame::kStartButton), Qt::LeftButton);
        return Flow().gameInProgress;
    }
    // The state the service stored for the running or last challenge.
    QString StoredState() {
        const QStringList rows = service->Query(
            QStringLiteral("SELECT state FROM challenges WHERE id = %1").arg(Flow().gameId));
        return rows.isEmpty() ? QStringLiteral("(none)") : rows.first();
    }
    // Chooses a game type or layer entry as the player does.
    static void Choose(QComboBox* box, int index) {
        box->setCurrentIndex(index);
        emit box->activated(index);
    }
    int BoxIndexOf(const QString& text) const {
        int index = 0;
        for (const ShownBox& box : boxes->shown) {
            if (box.text == text)
                return index;
            ++index;
        }
        return -1;
    }
    // The next stone of a player who builds a row of N where the computer
    // has no stone yet, the longest first.
    QPoint NextWinningMove() {
        const CGameBoard& b = *Flow().board;
        QPoint best(-1, -1);
        int bestCount = -1;
        for (int y = 0; y < b.height; ++y) {
            for (int x0 = 0; x0 + b.connectLength <= b.width; ++x0) {
                int own = 0;
                bool blocked = false;
                QPoint empty(-1, -1);
                for (int k = 0; k < b.connectLength; ++k) {
                    const int cell = b.cells[static_cast<size_t>(y * b.width + x0 + k)];
                    blocked |= cell == 1;
                    own += cell == -1;
                    if (cell == 0 && empty.x() < 0)
                        empty = QPoint(x0 + k, y);
                }
                if (!blocked && empty.x() >= 0 && own > bestCount) {
                    bestCount = own;
                    best = empty;
                }
            }
        }
        return best;
    }

private slots:
    void initTestCase() {
        models = std::make_unique<ModelFolder>();
        WriteModels(*models);
        service = std::make_unique<ServiceFixture>(models->Path());
        QVERIFY2(service->Running(), "the local game service did not start");
    }
    void init() {
        boxes = std::make_unique<ScriptedMessageBoxes>();
        browser = std::make_unique<RecordingBrowser>();
        sound = std::make_unique<CountingSound>();
    }
    void cleanup() {
        page.reset();
        sound.reset();
        browser.reset();
        boxes.reset();
    }
    void cleanupTestCase() { service.reset(); }

    void setUpLoadsTheFiveInARowModel() {
        QVERIFY(OpenPage(100).userId > 0);
        QVERIFY(page->modelLoaded());
        QCOMPARE(Box(CDialogGame::kBoardSizeBox)->currentText(), QStringLiteral("15 x 15"));
        QVERIFY(!Box(CDialogGame::kBoardSizeBox)->isEnabled());
        QCOMPARE(Box(CDialogGame::kGameTypeBox)->count(), 13);
        QCOMPARE(Box(CDialogGame::kGameTypeBox)->currentText(), QStringLiteral("五连子"));
        QVERIFY(Box(CDialogGame::kGameTypeBox)->isEnabled());
        QCOMPARE(Flow().gameTypeIndex, 2);
        // Six file layers: values 2 to 6, the default 5.
        QComboBox* layers = Box(CDialogGame::kLayerBox);
        QCOMPARE(layers->count(), 5);
        QCOMPARE(layers->itemText(0), QStringLiteral("2"));
        QCOMPARE(layers->itemText(4), QStringLiteral("6"));
        QCOMPARE(layers->currentText(), QStringLiteral("5"));
        QCOMPARE(Flow().board->network.layerLimit, 5);
        QVERIFY(!Button(CDialogGame::kResignButton)->isEnabled());
        QVERIFY(boxes->shown.empty());
    }

    void layoutPlacesTheRightColumnAndTheBoard() {
        QVERIFY(OpenPage(100).userId > 0);
        QPushButton* start = Button(CDialogGame::kStartButton);
        start->resize(75, start->height());
        page->resize(600, 350);
        page->LayoutControls();
        QCOMPARE(start->x(), 506);
        QCOMPARE(start->width(), 75);
        QCOMPARE(page->View()->geometry(), QRect(0, 0, 487, 350));
        QCOMPARE(Flow().board->cellSize, 350 / 16);
    }

    void clickBeforeAnyGameAsksToStart() {
        QVERIFY(OpenPage(100).userId > 0);
        ClickAt(7, 7);
        QCOMPARE(boxes->shown.size(), size_t{1});
        QCOMPARE(boxes->Last()->text, QStringLiteral("请先点击开始游戏"));
        QCOMPARE(boxes->Last()->caption, kNotice);
        QCOMPARE(boxes->Last()->icon, ui::MessageIcon::Error);
        // Right of the board view nothing happens.
        QTest::mouseClick(page.get(), Qt::LeftButton, {},
                          QPoint(page->width() - 5, page->height() - 5));
        QCOMPARE(boxes->shown.size(), size_t{1});
        QCOMPARE(page->View()->cursor().shape(), Qt::ForbiddenCursor);
    }

    void paidStartWithEnoughPointsPaysAtOnce() {
        QVERIFY(OpenPage(100).userId > 0);
        QVERIFY(StartPaidGame());
        QCOMPARE(service->RequestsTo(QStringLiteral("get_point.php")), 0);
        QCOMPARE(Flow().points, 80);
        QVERIFY(Flow().gameId > 0);
        QVERIFY(!Button(CDialogGame::kStartButton)->isEnabled());
        QVERIFY(Button(CDialogGame::kResignButton)->isEnabled());
        QCOMPARE(page->View()->cursor().shape(), Qt::PointingHandCursor);
        QVERIFY(boxes->shown.empty());
    }

    void lowCachedBalanceIsRefreshedBeforePaying() {
        QVERIFY(OpenPage(25).userId > 0);
        Flow().points = 19;
        QVERIFY(StartPaidGame());
        QCOMPARE(service->RequestsTo(QStringLiteral("get_point.php")), 1);
        QCOMPARE(service->RequestsTo(QStringLiteral("sub_point.php")), 1);
        QCOMPARE(Flow().points, 5);
    }

    void shortBalanceOffersTheRecharge_data() {
        QTest::addColumn<bool>("recharge");
        QTest::newRow("declined") << false;
        QTest::newRow("recharge") << true;
    }
    void shortBalanceOffersTheRecharge() {
        QFETCH(bool, recharge);
        const Account account = OpenPage(19);
        QVERIFY(account.userId > 0);
        boxes->answers.push_back(recharge ? ui::MessageAnswer::Yes : ui::MessageAnswer::No);
        QVERIFY(!StartPaidGame());
        QCOMPARE(boxes->shown.front().text, QStringLiteral("积分不足，请充值"));
        QCOMPARE(boxes->shown.front().buttons, ui::MessageButtons::YesNo);
        QCOMPARE(boxes->shown.front().icon, ui::MessageIcon::Question);
        QCOMPARE(service->RequestsTo(QStringLiteral("sub_point.php")), 0);
        if (!recharge) {
            QCOMPARE(boxes->shown.size(), size_t{1});
            QVERIFY(browser->opened.isEmpty());
            QCOMPARE(service->RequestsTo(QStringLiteral("get_point.php")), 1);
            return;
        }
        QCOMPARE(
            browser->opened,
            QStringList{
                service->Url() +
                QStringLiteral("/app/pento/chongzhi.php?idus=%1&idage=0").arg(account.userId)});
        QCOMPARE(boxes->shown.size(), size_t{2});
        QCOMPARE(boxes->shown[1].text,
                 QStringLiteral(
                     "充值过程中请不要关闭浏览器，充值完成后关闭浏览器并点击此处的 确定 按钮"));
        // One more balance query after the browser, and still no game.
        QCOMPARE(service->RequestsTo(QStringLiteral("get_point.php")), 2);
        QVERIFY(!Flow().gameInProgress);
    }

    void refusedSessionShowsTheTwoDeviceMessage() {
        QVERIFY(OpenPage(100).userId > 0);
        // Logging in elsewhere replaces the page's session key.
        LoginDirect(service->Url(), QStringLiteral("player%1").arg(userCount),
                    QStringLiteral("secret"));
        QVERIFY(!StartPaidGame());
        QCOMPARE(boxes->shown.size(), size_t{1});
        QCOMPARE(boxes->Last()->text,
                 QStringLiteral("非法操作，请勿在不同设备同时登录，也勿在不同软件同时多端登录"));
        QCOMPARE(boxes->Last()->caption, QStringLiteral("请退出该客户端并重新登录"));
        QCOMPARE(Flow().points, 100);
    }

    void wholeGameWonByClicksIsReportedAndUploaded() {
        QVERIFY(OpenPage(100).userId > 0);
        QVERIFY(StartPaidGame());
        SeedRandom(7);
        int clicks = 0;
        while (Flow().gameInProgress && clicks < 60) {
            const QPoint move = NextWinningMove();
            QVERIFY(move.x() >= 0);
            ClickAt(move.x(), move.y());
            ++clicks;
            QCOMPARE(page->View()->cursor().shape(), Qt::ForbiddenCursor);
            QVERIFY(WaitForTurnOrEnd());
        }
        QVERIFY(!Flow().gameInProgress);
        QCOMPARE(Flow().board->sideToMove, -1);
        QCOMPARE(sound->plays, Flow().board->moveCount);
        const int won = BoxIndexOf(QStringLiteral("恭喜，您赢了"));
        QVERIFY(won >= 0);
        QCOMPARE(boxes->shown[static_cast<size_t>(won)].caption, kNotice);
        // The service rewards every win with one yuan; its message comes first.
        QCOMPARE(boxes->Texts(), (QStringList{QStringLiteral("恭喜您获得1元红包"),
                                              QStringLiteral("恭喜，您赢了")}));
        QCOMPARE(boxes->shown.front().caption, kNotice);
        QCOMPARE(service->RequestsTo(QStringLiteral("challenge_update.php")), 1);
        QCOMPARE(service->RequestsTo(QStringLiteral("send_board_n.php")), 1);
        QCOMPARE(StoredState(), QStringLiteral("1"));
        // The game as the service stored it, move by move.
        const CGameBoard& b = *Flow().board;
        QStringList cells;
        for (int i = 0; i < b.moveCount; ++i)
            cells << QString::number(b.moves[size_t(i)].y * b.width + b.moves[size_t(i)].x);
        const QStringList uploads = service->Query(
            QStringLiteral(
                "SELECT connect_length, width, first_side, move_count, verified_win FROM uploads "
                "WHERE account_id = %1")
                .arg(Flow().userId));
        QCOMPARE(uploads, QStringList{QStringLiteral("5|15|-1|%1|1").arg(b.moveCount)});
        const QStringList stored = service->Query(
            QStringLiteral("SELECT cells FROM uploads WHERE account_id = %1").arg(Flow().userId));
        QCOMPARE(stored.size(), 1);
        QCOMPARE(stored.first().simplified().split(QRegularExpression(QStringLiteral("[ ,]+"))),
                 cells);
        QVERIFY(Button(CDialogGame::kStartButton)->isEnabled());
        QVERIFY(!Button(CDialogGame::kResignButton)->isEnabled());
    }

    void lostGameIsReported() {
        QVERIFY(OpenPage(100).userId > 0);
        Choose(Box(CDialogGame::kGameTypeBox), 1); // the 4 x 3 grid
        boxes->answers.push_back(ui::MessageAnswer::Ok);
        Choose(Box(CDialogGame::kGameTypeBox), 1);
        QCOMPARE(Box(CDialogGame::kBoardSizeBox)->currentText(), QStringLiteral("4 x 3"));
        QVERIFY(StartPaidGame());
        boxes->Clear();
        // x x o x / o o x . / x o o .  : the player's (3, 1) leaves only (3, 2),
        // which gives the computer three in the bottom row.
        SetUp({{0, 0}, {2, 0}, {1, 0}, {0, 1}, {3, 0}, {1, 1}, {2, 1}, {1, 2}, {0, 2}, {2, 2}});
        ClickAt(3, 1);
        QVERIFY(WaitFor([this] { return !Flow().gameInProgress; }));
        QCOMPARE(Flow().board->sideToMove, 1);
        QCOMPARE(boxes->Texts().last(), QStringLiteral("很遗憾，您输了"));
        QCOMPARE(StoredState(), QStringLiteral("-1"));
        QCOMPARE(service->RequestsTo(QStringLiteral("send_board_n.php")), 0);
    }

    void drawnGameIsReported() {
        QVERIFY(OpenPage(100).userId > 0);
        boxes->answers.push_back(ui::MessageAnswer::Ok);
        Choose(Box(CDialogGame::kGameTypeBox), 0); // 3 x 3
        QVERIFY(StartPaidGame());
        boxes->Clear();
        // x o x / x o o / o x . : the player's last stone fills the board.
        SetUp({{0, 0}, {1, 0}, {2, 0}, {1, 1}, {0, 1}, {2, 1}, {1, 2}, {0, 2}});
        ClickAt(2, 2);
        QVERIFY(!Flow().gameInProgress);
        QCOMPARE(Flow().board->sideToMove, 0);
        QCOMPARE(boxes->Texts(), QStringList{QStringLiteral("平局")});
        QCOMPARE(StoredState(), QStringLiteral("0"));
        QCOMPARE(service->RequestsTo(QStringLiteral("challenge_update.php")), 1);
    }

    void resignationDuringTheComputersHalfSecond() {
        QVERIFY(OpenPage(100).userId > 0);
        QVERIFY(StartPaidGame());
        ClickAt(7, 7);
        QVERIFY(!Flow().playerTurn);
        QCOMPARE(page->View()->cursor().shape(), Qt::ForbiddenCursor);
        boxes->answers.push_back(ui::MessageAnswer::Yes);
        QTest::mouseClick(Button(CDialogGame::kResignButton), Qt::LeftButton);
        QCOMPARE(boxes->Texts(), QStringList{QStringLiteral("确定要认输吗？")});
        QCOMPARE(boxes->Last()->buttons, ui::MessageButtons::YesNo);
        QTest::qWait(800);
        QCOMPARE(Flow().board->moveCount, 1);
        QCOMPARE(sound->plays, 1);
        QCOMPARE(StoredState(), QStringLiteral("-2"));
        QVERIFY(!Flow().gameInProgress);
        QCOMPARE(service->RequestsTo(QStringLiteral("challenge_update.php")), 1);
        // No result message follows a resignation.
        QCOMPARE(boxes->shown.size(), size_t{1});
    }

    void resignationNotConfirmedKeepsPlaying() {
        QVERIFY(OpenPage(100).userId > 0);
        QVERIFY(StartPaidGame());
        boxes->answers.push_back(ui::MessageAnswer::No);
        QTest::mouseClick(Button(CDialogGame::kResignButton), Qt::LeftButton);
        QVERIFY(Flow().gameInProgress);
        QCOMPARE(service->RequestsTo(QStringLiteral("challenge_update.php")), 0);
    }

    void countdownRunsOut() {
        QVERIFY(OpenPage(100).userId > 0);
        QVERIFY(StartPaidGame());
        Flow().secondsLeft = 2;
        QVERIFY(WaitFor([this] { return !Flow().gameInProgress; }, 4000));
        QCOMPARE(page->Item<QLabel>(CDialogGame::kCountdownLabel)->text(), QStringLiteral("0"));
        QCOMPARE(boxes->Last()->text, QStringLiteral("抱歉，您思考得太久了"));
        QCOMPARE(boxes->Last()->caption, QStringLiteral("超时提示"));
        QCOMPARE(StoredState(), QStringLiteral("-3"));
        QCOMPARE(service->RequestsTo(QStringLiteral("challenge_update.php")), 1);
        QVERIFY(Button(CDialogGame::kStartButton)->isEnabled());
    }

    // The countdown ends the game while the resignation box is open: the
    // confirmation afterwards must not report the game a second time.
    void resignationConfirmedAfterTheGameEnded() {
        QVERIFY(OpenPage(100).userId > 0);
        QVERIFY(StartPaidGame());
        Flow().secondsLeft = 1;
        boxes->answers.push_back(ui::MessageAnswer::Yes);
        boxes->onShow = [this](const ShownBox& box) {
            if (box.text == QStringLiteral("确定要认输吗？"))
                WaitFor([this] { return !Flow().gameInProgress; }, 3000);
        };
        QTest::mouseClick(Button(CDialogGame::kResignButton), Qt::LeftButton);
        QCOMPARE(boxes->Texts(), (QStringList{QStringLiteral("确定要认输吗？"),
                                              QStringLiteral("抱歉，您思考得太久了")}));
        QCOMPARE(service->RequestsTo(QStringLiteral("challenge_update.php")), 1);
    }

    void gameTypeChangeAskedAndCancelled() {
        QVERIFY(OpenPage(100).userId > 0);
        QVERIFY(StartPaidGame());
        boxes->answers.push_back(ui::MessageAnswer::Cancel);
        Choose(Box(CDialogGame::kGameTypeBox), 0);
        QCOMPARE(
            boxes->Last()->text,
            QStringLiteral("确定要更改游戏类型吗？这将需要一些时间加载和初始化新的神经网络模型"));
        QCOMPARE(boxes->Last()->buttons, ui::MessageButtons::OkCancel);
        QCOMPARE(Box(CDialogGame::kGameTypeBox)->currentIndex(), 2);
        QVERIFY(Flow().gameInProgress);
        QCOMPARE(service->RequestsTo(QStringLiteral("model_")), 0);
        // Choosing the type that is selected already asks nothing.
        Choose(Box(CDialogGame::kGameTypeBox), 2);
        QCOMPARE(boxes->shown.size(), size_t{1});
    }

    void gameTypeChangeConfirmedStopsTheGameAndLoadsTheModel() {
        QVERIFY(OpenPage(100).userId > 0);
        QVERIFY(StartPaidGame());
        ClickAt(7, 7); // the computer's reply is pending
        boxes->answers.push_back(ui::MessageAnswer::Ok);
        Choose(Box(CDialogGame::kGameTypeBox), 0);
        QVERIFY(!Flow().gameInProgress);
        QCOMPARE(Flow().gameTypeIndex, 0);
        QCOMPARE(Box(CDialogGame::kBoardSizeBox)->currentText(), QStringLiteral("3 x 3"));
        // Three file layers: values 2 and 3, the default 3.
        QCOMPARE(Box(CDialogGame::kLayerBox)->count(), 2);
        QCOMPARE(Box(CDialogGame::kLayerBox)->currentText(), QStringLiteral("3"));
        QTest::qWait(700);
        QCOMPARE(Flow().board->moveCount, 0); // new model, and no computer stone came
        QCOMPARE(service->RequestsTo(QStringLiteral("challenge_update.php")), 0);
        QVERIFY(Button(CDialogGame::kStartButton)->isEnabled());
    }

    // A model that cannot be fetched leaves the previous model loaded, and
    // the selection goes back to the game type that model belongs to.
    void failedModelFetchPutsThePreviousTypeBack() {
        QVERIFY(OpenPage(100).userId > 0);
        boxes->answers.push_back(ui::MessageAnswer::Ok);
        Choose(Box(CDialogGame::kGameTypeBox), 3); // model_6 is missing
        QCOMPARE(boxes->Last()->text, QStringLiteral("模型加载失败！"));
        QCOMPARE(boxes->Last()->icon, ui::MessageIcon::Warning);
        QCOMPARE(Flow().gameTypeIndex, 2);
        QCOMPARE(Box(CDialogGame::kGameTypeBox)->currentIndex(), 2);
        QVERIFY(page->modelLoaded());
        QCOMPARE(Box(CDialogGame::kBoardSizeBox)->currentText(), QStringLiteral("15 x 15"));
        QVERIFY(StartPaidGame());
    }

    // A model that arrives but does not load cannot be played: starting
    // refuses and charges nothing.
    void unloadableModelRefusesToStart() {
        QVERIFY(OpenPage(100).userId > 0);
        boxes->answers.push_back(ui::MessageAnswer::Ok);
        Choose(Box(CDialogGame::kGameTypeBox), 4); // model_7 is not a model
        QVERIFY(!page->modelLoaded());
        boxes->Clear();
        QVERIFY(!StartPaidGame());
        QCOMPARE(boxes->Texts(), QStringList{QStringLiteral("模型加载失败！")});
        QCOMPARE(service->RequestsTo(QStringLiteral("sub_point.php")), 0);
        QCOMPARE(Flow().points, 100);
    }

    // The download block still holds the larger start-up model behind the
    // small file: the loader must be given the file's own size.
    void smallModelAfterALargeOneLoadsAsIfAlone() {
        QVERIFY(OpenPage(100).userId > 0);
        QVERIFY(Flow().HttpClient().downloadCapacity() > kListToTheEnd.size());
        boxes->answers.push_back(ui::MessageAnswer::Ok);
        Choose(Box(CDialogGame::kGameTypeBox), 5);
        QVERIFY(page->modelLoaded());
        QCOMPARE(Box(CDialogGame::kBoardSizeBox)->currentText(), QStringLiteral("5 x 5"));
        const CStonePattern& pattern = Flow().board->network.layers[1].patterns[0];
        int moves = 0;
        for (int r = 0; r < 5; ++r) {
            for (int c = 0; c < 5; ++c)
                moves += pattern.At(2, r, c);
        }
        QCOMPARE(moves, 1);
        QCOMPARE(int(pattern.At(2, 2, 2)), 1);
    }

    void layerChange_data() {
        QTest::addColumn<bool>("confirm");
        QTest::newRow("confirmed") << true;
        QTest::newRow("cancelled") << false;
    }
    void layerChange() {
        QFETCH(bool, confirm);
        QVERIFY(OpenPage(100).userId > 0);
        QVERIFY(StartPaidGame());
        ClickAt(7, 7);
        boxes->answers.push_back(confirm ? ui::MessageAnswer::Ok : ui::MessageAnswer::Cancel);
        Choose(Box(CDialogGame::kLayerBox), 0);
        QCOMPARE(boxes->Last()->text,
                 QStringLiteral(
                     "确定要更改所挑战的网络层数吗？这将改变挑战的难度，终止当前的挑战并重新开局"));
        QCOMPARE(Flow().gameInProgress, !confirm);
        QCOMPARE(Flow().board->network.layerLimit, confirm ? 2 : 5);
        QCOMPARE(Box(CDialogGame::kLayerBox)->currentText(),
                 confirm ? QStringLiteral("2") : QStringLiteral("5"));
        QTest::qWait(700);
        // Stopped during the computer's turn: its reply never comes.
        QCOMPARE(Flow().board->moveCount, confirm ? 1 : 2);
        QCOMPARE(service->RequestsTo(QStringLiteral("challenge_update.php")), 0);
    }

    void boardViewShowsWhatTheEngineDraws() {
        QVERIFY(OpenPage(100).userId > 0);
        CBoardView* view = page->View();
        view->resize(200, 150);
        Flow().DrawBoard();
        const QImage& image = view->Image();
        QCOMPARE(Flow().board->cellSize, 9);
        QCOMPARE(QColor(image.pixel(2, 2)), QColor(254, 215, 130));
        QCOMPARE(QColor(image.pixel(9, 9)), QColor(Qt::black));    // first intersection
        QCOMPARE(QColor(image.pixel(135, 40)), QColor(Qt::black)); // last column's line
        QCOMPARE(QColor(image.pixel(136, 40)), QColor(254, 215, 130));
        QVERIFY(StartPaidGame());
        view->resize(200, 150);
        Flow().DrawBoard();
        ClickAt(0, 0);
        // The stone (radius 3) with the red cross of the last move at its centre.
        QCOMPARE(QColor(view->Image().pixel(9, 9)), QColor(255, 0, 0));
        QCOMPARE(QColor(view->Image().pixel(8, 10)), QColor(Qt::black));
    }

    void hoverMarksTheIntersectionOnlyOnThePlayersTurn() {
        QVERIFY(OpenPage(100).userId > 0);
        CBoardView* view = page->View();
        view->resize(200, 150);
        Flow().DrawBoard();
        // c = 9, marker half-size 3: the top-left bracket of (3, 3) starts at (33, 33).
        const auto hoverAt = [view](QPoint point) {
            QMouseEvent move(QEvent::MouseMove, point, view->mapToGlobal(point), Qt::NoButton,
                             Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(view, &move);
        };
        const QColor board(254, 215, 130);
        hoverAt(QPoint(36, 36));
        QCOMPARE(QColor(view->Image().pixel(33, 33)), board); // no game yet
        QVERIFY(StartPaidGame());
        view->resize(200, 150);
        Flow().DrawBoard();
        hoverAt(QPoint(36, 36));
        QCOMPARE(QColor(view->Image().pixel(33, 33)), QColor(255, 0, 0));
        hoverAt(QPoint(45, 36)); // the neighbour: the old marker is erased
        QCOMPARE(QColor(view->Image().pixel(42, 33)), QColor(255, 0, 0));
        QCOMPARE(QColor(view->Image().pixel(33, 33)), board);
    }
};

QTEST_MAIN(GamePageTest)
#include "GamePageTest.moc"
