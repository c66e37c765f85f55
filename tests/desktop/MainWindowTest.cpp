// The application shell against the local game service: the single running
// copy, the main window with its tabs and login gate, the login dialog, the
// network check at start and the About box.
#include "CAboutDlg.h"
#include "CHtmlCtrl.h"
#include "CLogin.h"
#include "CSingleInstance.h"
#include "CTabCtrl.h"
#include "CTesselApp.h"
#include "CTesselDlg.h"
#include "DesktopFixture.h"
#include "ScriptedMessageBoxes.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <csignal>
#include <httplib.h>
#include <memory>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace rowstone;
using namespace rowstone::test;

namespace {

const QString kReminder = QStringLiteral("温馨提醒");
const QString kPassword = QStringLiteral("secret");

// Fills the login dialog and presses one of its buttons.
void AnswerLogin(QWidget* dialog, const QString& name, const QString& password, int button) {
    auto* login = dynamic_cast<CLogin*>(dialog);
    if (login == nullptr)
        return;
    login->Item<QLineEdit>(CLogin::kNameEdit)->setText(name);
    login->Item<QLineEdit>(CLogin::kPasswordEdit)->setText(password);
    QTest::mouseClick(login->Item<QPushButton>(button), Qt::LeftButton);
}

// A stand-in service with one scripted login reply and the start-up model,
// for replies the real service never gives.
class ScriptedService {
public:
    ScriptedService(std::string loginReply, std::vector<uint8_t> model) {
        server.Post(
            "/app/pento/denglu.php",
            [reply = std::move(loginReply)](const httplib::Request&, httplib::Response& response) {
                response.set_content(reply, "text/plain");
            });
        server.Get(
            "/app/pento/model/model_5.mod",
            [model = std::move(model)](const httplib::Request&, httplib::Response& response) {
                response.set_content(std::string(model.begin(), model.end()),
                                     "application/octet-stream");
            });
        port = server.bind_to_any_port("127.0.0.1");
        thread = std::thread([this] { server.listen_after_bind(); });
    }
    ~ScriptedService() {
        server.stop();
        thread.join();
    }
    QString Url() const { return QStringLiteral("http://127.0.0.1:%1").arg(port); }

private:
    httplib::Server server;
    std::thread thread;
    int port = 0;
};

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<ModelFolder> models;
    std::unique_ptr<ServiceFixture> service;
    std::unique_ptr<ScriptedMessageBoxes> boxes;
    std::unique_ptr<RecordingBrowser> browser;
    std::unique_ptr<CTesselDlg> window;
    QString name;
    int userId = -1;

    void OpenWindow(const QString& url) {
        window = std::make_unique<CTesselDlg>(url);
        window->Create(nullptr);
        window->resize(800, 560);
        window->show();
    }
    void SelectTab(int index) { window->TabControl()->Strip()->setCurrentIndex(index); }
    bool PageVisible(int index) const {
        for (int i = 0; i < CTesselDlg::kPageCount; ++i) {
            if (window->PageAt(i)->isVisible() != (i == index))
                return false;
        }
        return window->TabControl()->GetCurSel() == index && window->CurrentPage() == index;
    }

private slots:
    void initTestCase() {
        models = std::make_unique<ModelFolder>();
        models->Write(5, RandomPlayerModel(15, 15, 5, 4));
        service = std::make_unique<ServiceFixture>(models->Path());
        QVERIFY2(service->Running(), "the local game service did not start");
        name = QStringLiteral("ann");
        userId = service->AddUser(name, kPassword, 120);
        QVERIFY(userId > 0);
    }
    void init() {
        boxes = std::make_unique<ScriptedMessageBoxes>();
        browser = std::make_unique<RecordingBrowser>();
    }
    void cleanup() {
        window.reset();
        browser.reset();
        boxes.reset();
    }
    void cleanupTestCase() { service.reset(); }

    void tabsAndCaptions() {
        OpenWindow(service->Url());
        const QStringList captions{QStringLiteral("新闻活动"), QStringLiteral("Rowstone挑战"),
                                   QStringLiteral("个人中心"), QStringLiteral("挑战排名"),
                                   QStringLiteral("联系我们")};
        QCOMPARE(window->TabControl()->GetItemCount(), 5);
        for (int i = 0; i < 5; ++i)
            QCOMPARE(window->TabControl()->GetItemText(i), captions[i]);
        QVERIFY(PageVisible(0));
        QCOMPARE(window->windowTitle(), QStringLiteral("Rowstone"));
        QVERIFY(!window->windowIcon().pixmap(32, 32).isNull());
        QVERIFY(boxes->shown.empty());
    }

    void webPagesShareOneProfileKeptInMemory() {
        OpenWindow(service->Url());
        QWebEngineProfile* profile = window->ContactPage().View().page()->profile();
        QVERIFY(profile->isOffTheRecord());
        QCOMPARE(profile->httpCacheType(), QWebEngineProfile::MemoryHttpCache);
        for (int index :
             {CTesselDlg::kNewsPage, CTesselDlg::kPersonalPage, CTesselDlg::kRankingPage}) {
            auto* view = window->PageAt(index)->findChild<CHtmlCtrl*>();
            QVERIFY(view != nullptr);
            QCOMPARE(view->page()->profile(), profile);
            QVERIFY(view->hideContextMenu);
        }
    }

    void openTabsNeverAskForALogin() {
        OpenWindow(service->Url());
        for (int tab : {3, 4, 0}) {
            SelectTab(tab);
            QVERIFY(PageVisible(tab));
        }
        QVERIFY(boxes->shown.empty());
    }

    void cancelledLoginKeepsThePreviousPage() {
        OpenWindow(service->Url());
        SelectTab(3);
        WhenModalOpens([](QWidget* dialog) { AnswerLogin(dialog, {}, {}, CLogin::kCancelButton); });
        SelectTab(1);
        QVERIFY(PageVisible(3));
        QCOMPARE(boxes->Texts(), QStringList{QStringLiteral("请先登录")});
        QCOMPARE(boxes->Last()->caption, kReminder);
        QCOMPARE(boxes->Last()->icon, ui::MessageIcon::None);
        QCOMPARE(window->userId, -1);
    }

    void loginHandsTheValuesToThePages() {
        OpenWindow(service->Url());
        WhenModalOpens([this](QWidget* dialog) {
            AnswerLogin(dialog, name, kPassword, CLogin::kLoginButton);
        });
        SelectTab(1);
        QVERIFY(PageVisible(1));
        QCOMPARE(boxes->Texts(), QStringList{QStringLiteral("登录成功")});
        QCOMPARE(boxes->Last()->caption, kReminder);
        QCOMPARE(window->userId, userId);
        QVERIFY(!window->sessionKey.isEmpty());
        const CGameFlow& flow = window->GamePage().Flow();
        QCOMPARE(flow.userId, userId);
        QCOMPARE(flow.sessionKey, window->sessionKey);
        QCOMPARE(flow.points, 120);
        QCOMPARE(flow.idage, 0);
        QCOMPARE(window->PersonalPage().userId, userId);
        QCOMPARE(window->PersonalPage().sessionKey, window->sessionKey);
        QCOMPARE(window->PersonalPage().mainWindow, window.get());
        QCOMPARE(window->ContactPage().userId, userId);
        // Logged in: the gated tabs open without asking again.
        boxes->Clear();
        for (int tab : {2, 0, 1}) {
            SelectTab(tab);
            QVERIFY(PageVisible(tab));
        }
        QVERIFY(boxes->shown.empty());
        // Shown after the login, the personal centre is the player's own.
        QTRY_COMPARE_WITH_TIMEOUT(
            window->PersonalPage().View().LastAddress(),
            service->Url() + QStringLiteral("/app/pento/personal_center.php?id=%1").arg(userId),
            15000);
    }

    void userIdZeroCountsAsLoggedIn() {
        ScriptedService scripted("1&id=0&ex=e&pt=30&ses=k=0&1", RandomPlayerModel(15, 15, 5, 4));
        OpenWindow(scripted.Url());
        WhenModalOpens([](QWidget* dialog) {
            AnswerLogin(dialog, QStringLiteral("zero"), QStringLiteral("pw"), CLogin::kLoginButton);
        });
        SelectTab(2);
        QVERIFY(PageVisible(2));
        QCOMPARE(window->userId, 0);
        QCOMPARE(window->sessionKey, QStringLiteral("k=0&1"));
        QCOMPARE(window->GamePage().Flow().points, 30);
        boxes->Clear();
        SelectTab(1);
        QVERIFY(PageVisible(1));
        QVERIFY(boxes->shown.empty());
    }

    void missingModelEndsTheProgramAtStart() {
        CTesselDlg unreachable(UnusedAddress());
        QCOMPARE(unreachable.DoModal(), int(QDialog::Rejected));
        QVERIFY(unreachable.StartedWithoutModel());
        QVERIFY(!unreachable.isVisible());
        QCOMPARE(boxes->Texts(), QStringList{QStringLiteral("请保持网络通畅，然后重新打开软件")});
        QCOMPARE(boxes->Last()->caption, QStringLiteral("网络异常"));
        QCOMPARE(boxes->Last()->icon, ui::MessageIcon::Error);
    }

    void resizingKeepsTheTabStripVisible_data() {
        QTest::addColumn<QSize>("size");
        QTest::newRow("small") << QSize(420, 300);
        QTest::newRow("large") << QSize(1200, 900);
    }
    void resizingKeepsTheTabStripVisible() {
        QFETCH(QSize, size);
        OpenWindow(service->Url());
        window->resize(size);
        QTest::qWait(20);
        QWidget* page = window->PageAt(window->CurrentPage());
        QCOMPARE(window->TabControl()->geometry(), window->rect());
        QCOMPARE(page->geometry(), QRect(0, 30, size.width(), size.height() - 30));
    }

    void aboutItemBelowASeparator() {
        OpenWindow(service->Url());
        const QList<QAction*> actions = window->TabControl()->Strip()->actions();
        QCOMPARE(actions.size(), 2);
        QVERIFY(actions[0]->isSeparator());
        QCOMPARE(actions[1]->text(), QStringLiteral("关于 Tessel(&A)..."));
        QString caption;
        WhenModalOpens([&caption](QWidget* dialog) {
            caption = dialog->windowTitle();
            auto* about = dynamic_cast<CAboutDlg*>(dialog);
            if (about != nullptr)
                QTest::mouseClick(about->Item<QPushButton>(CAboutDlg::kOkButton), Qt::LeftButton);
        });
        actions[1]->trigger();
        QCOMPARE(caption, QStringLiteral("关于 Rowstone"));
    }

    // --- The login dialog ---

    void loginRefusesBadInputWithoutSending_data() {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty name") << ""
                                    << "pw" << QStringLiteral("用户名错误");
        QTest::newRow("blank name") << "   \t"
                                    << "pw" << QStringLiteral("用户名错误");
        QTest::newRow("plus in name") << "a+b"
                                      << "pw" << QStringLiteral("用户名错误");
        QTest::newRow("ampersand in name") << "a&b"
                                           << "pw" << QStringLiteral("用户名错误");
        QTest::newRow("empty password") << "ann"
                                        << " " << QStringLiteral("密码错误");
        QTest::newRow("equals in password") << "ann"
                                            << "p=w" << QStringLiteral("密码错误");
    }
    void loginRefusesBadInputWithoutSending() {
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(QString, message);
        CLogin login(service->Url());
        login.Create(nullptr);
        login.show();
        service->StartCounting();
        AnswerLogin(&login, user, password, CLogin::kLoginButton);
        QCOMPARE(boxes->Texts(), QStringList{message});
        QCOMPARE(boxes->Last()->caption, QStringLiteral("温馨提示"));
        QCOMPARE(boxes->Last()->icon, ui::MessageIcon::Information);
        QCOMPARE(service->RequestsTo(QStringLiteral("denglu.php")), 0);
        QVERIFY(login.isVisible());
        QCOMPARE(login.Item<QLineEdit>(CLogin::kNameEdit)->text(), user);
    }

    void loginShowsTheServicesRefusal_data() {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("serviceDown");
        QTest::addColumn<QString>("message");
        QTest::newRow("no such user") << "nobody"
                                      << "pw" << false << QStringLiteral("用户不存在");
        QTest::newRow("wrong password") << "ann"
                                        << "wrong" << false << QStringLiteral("用户名或密码错误");
        QTest::newRow("no service")
            << "ann"
            << "secret" << true << QStringLiteral("网络故障，请确保网络畅通");
    }
    void loginShowsTheServicesRefusal() {
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(bool, serviceDown);
        QFETCH(QString, message);
        CLogin login(serviceDown ? UnusedAddress() : service->Url());
        login.Create(nullptr);
        login.show();
        AnswerLogin(&login, user, password, CLogin::kLoginButton);
        QCOMPARE(boxes->Texts(), QStringList{message});
        QVERIFY(login.isVisible());
        QCOMPARE(login.Item<QLineEdit>(CLogin::kPasswordEdit)->text(), password);
    }

    void loginAcceptsTrimmedNamesAndEnter() {
        CLogin login(service->Url());
        login.Create(nullptr);
        login.show();
        login.Item<QLineEdit>(CLogin::kNameEdit)->setText(QStringLiteral("  ann "));
        login.Item<QLineEdit>(CLogin::kPasswordEdit)->setText(kPassword);
        QTest::keyClick(login.Item<QLineEdit>(CLogin::kPasswordEdit), Qt::Key_Return);
        QCOMPARE(login.result(), int(QDialog::Accepted));
        QVERIFY(boxes->shown.empty());
        QVERIFY(QString::fromStdString(login.ReplyTail()).contains(QString::number(userId)));
    }

    void loginEditsHoldThirtyTwoCharacters() {
        CLogin login(service->Url());
        login.Create(nullptr);
        login.show();
        for (int id : {int(CLogin::kNameEdit), int(CLogin::kPasswordEdit)}) {
            auto* edit = login.Item<QLineEdit>(id);
            QTest::keyClicks(edit, QString(33, QLatin1Char('a')));
            QCOMPARE(edit->text().size(), 32);
        }
    }

    void escapeDoesNothingAndRegistrationOpensTheBrowser() {
        CLogin login(service->Url());
        login.Create(nullptr);
        login.show();
        QTest::keyClick(&login, Qt::Key_Escape);
        QVERIFY(login.isVisible());
        QTest::mouseClick(login.Item<QPushButton>(CLogin::kRegisterButton), Qt::LeftButton);
        QCOMPARE(browser->opened,
                 QStringList{service->Url() + QStringLiteral("/app/pento/register.php")});
        QVERIFY(login.isVisible());
        QTest::mouseClick(login.Item<QPushButton>(CLogin::kCancelButton), Qt::LeftButton);
        QCOMPARE(login.result(), int(QDialog::Rejected));
        QVERIFY(!login.isVisible());
    }

    // --- A single running copy ---

    void markerAllowsOneCopyAtATime() {
        QTemporaryDir folder;
        {
            const CSingleInstance first(folder.path(), QStringLiteral("morvane_tsl"));
            QVERIFY(first.Acquired());
            const CSingleInstance second(folder.path(), QStringLiteral("morvane_tsl"));
            QVERIFY(!second.Acquired());
            QVERIFY(second.AlreadyRunning());
        }
        const CSingleInstance after(folder.path(), QStringLiteral("morvane_tsl"));
        QVERIFY(after.Acquired());
    }

    void markerOfACrashedCopyIsReleased() {
        QTemporaryDir folder;
        const QString path = folder.path();
        const pid_t child = fork();
        if (child == 0) {
            const CSingleInstance held(path, QStringLiteral("morvane_tsl"));
            if (!held.Acquired())
                _exit(3);
            // Killed outright, as by a crash: nothing gets to clean up.
            kill(getpid(), SIGKILL);
        }
        QVERIFY(child > 0);
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY(WIFSIGNALED(status));
        const CSingleInstance next(path, QStringLiteral("morvane_tsl"));
        QVERIFY(next.Acquired());
    }

    void secondCopyIsRefused() {
        QTemporaryDir folder;
        const CSingleInstance running(folder.path(), QString::fromUtf8(CTesselApp::kMarkerName));
        QVERIFY(running.Acquired());
        CTesselApp second(service->Url(), folder.path());
        QCOMPARE(second.Run(), 0);
        QCOMPARE(boxes->Texts(), QStringList{QStringLiteral("该应用程序已经运行！")});
        QCOMPARE(boxes->Last()->caption, ui::ApplicationCaption());
        QCOMPARE(boxes->Last()->icon, ui::MessageIcon::Warning);
        QCOMPARE(boxes->Last()->buttons, ui::MessageButtons::Ok);
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
