// The personal centre with its recharge, the withdrawal dialog and the data
// purchase dialog, against the local game service.
#include "CBuyData.h"
#include "CDialogPersonal.h"
#include "CHtmlCtrl.h"
#include "CTesselDlg.h"
#include "CTixian.h"
#include "DesktopFixture.h"
#include "ScriptedMessageBoxes.h"
#include "WebPageServer.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

using namespace rowstone;
using namespace rowstone::test;

namespace {

const QString kNotice = QStringLiteral("温馨提示");
const QString kSessionRefused = QStringLiteral("请退出该客户端并重新登录");
const QString kPassword = QStringLiteral("secret");
constexpr int kLoadTimeout = 15000;

void Click(ui::CDialogEx* dialog, int id) {
    QTest::mouseClick(dialog->Item<QPushButton>(id), Qt::LeftButton);
}

// Runs dialog modally; steps act on it once it is open, and the dialog is
// then closed with its cancel button unless a step closed it. Returns what
// DoModal returned.
int RunModal(ui::CDialogEx& dialog, int cancelButton,
             const std::function<void(ui::CDialogEx*)>& steps) {
    WhenModalOpens([&dialog, cancelButton, steps](QWidget* open) {
        if (open != &dialog)
            return;
        steps(&dialog);
        if (dialog.isVisible())
            Click(&dialog, cancelButton);
    });
    return dialog.DoModal();
}

struct ExpectedBox {
    const char* text;
    QString caption;
};

} // namespace

class AccountPagesTest : public QObject {
    Q_OBJECT
public:
    static void initMain() { UseXDisplayWhenThere(); }

private:
    std::unique_ptr<ModelFolder> models;
    std::unique_ptr<ServiceFixture> service;
    std::unique_ptr<ScriptedMessageBoxes> boxes;
    std::unique_ptr<RecordingBrowser> browser;
    int userCount = 0;

    // A fresh account with the given balance, logged in.
    Account NewAccount(int points) {
        const QString name = QStringLiteral("saver%1").arg(++userCount);
        if (service->AddUser(name, kPassword, points) < 0)
            return {};
        return LoginDirect(service->Url(), name, kPassword);
    }

    int PointsOf(const Account& account) const {
        const QStringList rows = service->Query(
            QStringLiteral("SELECT COALESCE(SUM(delta), 0) FROM ledger WHERE account_id = %1")
                .arg(account.userId));
        return rows.isEmpty() ? -1 : rows.first().toInt();
    }

    QStringList WithdrawalsOf(const Account& account) const {
        return service->Query(QStringLiteral("SELECT alipay_account, amount_yuan, status FROM "
                                             "withdrawals WHERE account_id = %1 ORDER BY id")
                                  .arg(account.userId));
    }

    QStringList OrdersOf(const Account& account) const {
        return service->Query(QStringLiteral("SELECT email, total, quantities FROM orders WHERE "
                                             "account_id = %1 ORDER BY id")
                                  .arg(account.userId));
    }

    void ExpectBoxes(std::initializer_list<ExpectedBox> expected) {
        QCOMPARE(boxes->shown.size(), expected.size());
        size_t i = 0;
        for (const ExpectedBox& box : expected) {
            QCOMPARE(boxes->shown[i].text, QString::fromUtf8(box.text));
            QCOMPARE(boxes->shown[i].caption, box.caption);
            QCOMPARE(boxes->shown[i].buttons, ui::MessageButtons::Ok);
            QCOMPARE(boxes->shown[i].icon, ui::MessageIcon::Information);
            ++i;
        }
    }

    // --- Withdrawal ---

    static void Withdraw(ui::CDialogEx* dialog, const QString& account) {
        dialog->Item<QLineEdit>(CTixian::kAccountEdit)->setText(account);
        Click(dialog, CTixian::kConfirmButton);
    }

    int RunWithdrawal(const QString& url, const Account& account,
                      const std::function<void(ui::CDialogEx*)>& steps) {
        CTixian dialog(url);
        dialog.userId = account.userId;
        dialog.sessionKey = account.sessionKey;
        return RunModal(dialog, CTixian::kCancelButton, steps);
    }

    // --- Data purchase ---

    static QLineEdit* Quantity(ui::CDialogEx* dialog, int rowLength) {
        return dialog->Item<QLineEdit>(CBuyData::QuantityEditId(rowLength - 3));
    }
    static QCheckBox* Box(ui::CDialogEx* dialog, int rowLength) {
        return dialog->Item<QCheckBox>(CBuyData::CheckBoxId(rowLength - 3));
    }
    static QString TotalShown(ui::CDialogEx* dialog) {
        return dialog->Item<QLabel>(CBuyData::kTotalLabel)->text();
    }
    // Ticks a row's box and types its quantity over the selected "0".
    static void Order(ui::CDialogEx* dialog, int rowLength, const QString& quantity) {
        QTest::mouseClick(Box(dialog, rowLength), Qt::LeftButton, {}, QPoint(4, 4));
        QTest::keyClicks(Quantity(dialog, rowLength), quantity);
    }
    static void SetEmail(ui::CDialogEx* dialog, const QString& email) {
        dialog->Item<QLineEdit>(CBuyData::kEmailEdit)->setText(email);
    }

    int RunPurchase(const QString& url, const Account& account,
                    const std::function<void(ui::CDialogEx*)>& steps, int* total = nullptr) {
        CBuyData dialog(url);
        dialog.userId = account.userId;
        dialog.sessionKey = account.sessionKey;
        const int result = RunModal(dialog, CBuyData::kCancelButton, steps);
        if (total != nullptr)
            *total = dialog.Total();
        return result;
    }

    // A main window with the account handed over as a login does.
    std::unique_ptr<CTesselDlg> OpenLoggedInWindow(const Account& account) {
        auto window = std::make_unique<CTesselDlg>(service->Url());
        window->Create(nullptr);
        window->GamePage().SetAccount(account.userId, account.loginExtra, account.points,
                                      account.sessionKey, 0);
        CDialogPersonal& personal = window->PersonalPage();
        personal.userId = account.userId;
        personal.sessionKey = account.sessionKey;
        personal.idage = 0;
        personal.mainWindow = window.get();
        return window;
    }

private slots:
    void initTestCase() {
        models = std::make_unique<ModelFolder>();
        models->Write(5, RandomPlayerModel(15, 15, 5, 4));
        service = std::make_unique<ServiceFixture>(models->Path());
        QVERIFY2(service->Running(), "the local game service did not start");
    }
    void init() {
        boxes = std::make_unique<ScriptedMessageBoxes>();
        browser = std::make_unique<RecordingBrowser>();
    }
    void cleanup() {
        browser.reset();
        boxes.reset();
    }
    void cleanupTestCase() { service.reset(); }

    void personalCentreLayoutAndAddress() {
        const Account account = NewAccount(50);
        CDialogPersonal page(service->Url());
        page.Create(nullptr);
        page.resize(640, 380);
        page.show();
        QTRY_COMPARE_WITH_TIMEOUT(page.View().LastAddress(),
                                  service->Url() + "/app/pento/personal_center.php?id=0",
                                  kLoadTimeout);
        page.userId = account.userId;
        page.resize(720, 420);
        QWidget* recharge = page.GetDlgItem(CDialogPersonal::kRechargeButton);
        const int w = recharge->width();
        const int h = recharge->height();
        const int ids[] = {CDialogPersonal::kRechargeButton, CDialogPersonal::kWithdrawalButton,
                           CDialogPersonal::kBuyDataButton};
        for (int i = 0; i < 3; ++i)
            QCOMPARE(page.GetDlgItem(ids[i])->geometry(), QRect(w / 4, (2 * i + 1) * h, w, h));
        const int v = w * 3 / 2;
        QCOMPARE(page.GetDlgItem(CDialogPersonal::kView), &page.View());
        QCOMPARE(page.View().geometry(), QRect(v, 0, 720 - v, 420));
        QTRY_COMPARE_WITH_TIMEOUT(
            page.View().LastAddress(),
            service->Url() +
                QStringLiteral("/app/pento/personal_center.php?id=%1").arg(account.userId),
            kLoadTimeout);
        QTRY_VERIFY_WITH_TIMEOUT(page.View().title().startsWith(QStringLiteral("个人中心")),
                                 kLoadTimeout);
        QCOMPARE(page.Item<QPushButton>(CDialogPersonal::kRechargeButton)->text(),
                 QStringLiteral("积分充值"));
        QCOMPARE(page.Item<QPushButton>(CDialogPersonal::kWithdrawalButton)->text(),
                 QStringLiteral("红包提现"));
        QCOMPARE(page.Item<QPushButton>(CDialogPersonal::kBuyDataButton)->text(),
                 QStringLiteral("购买数据"));
    }

    void rechargeOpensTheBrowserThenShowsTheCentreAgain() {
        const Account account = NewAccount(50);
        CDialogPersonal page(service->Url());
        page.userId = account.userId;
        page.idage = 0;
        page.Create(nullptr);
        page.resize(640, 380);
        page.show();
        QTRY_VERIFY_WITH_TIMEOUT(page.View().title().startsWith(QStringLiteral("个人中心")),
                                 kLoadTimeout);
        int openedBeforeTheBox = -1;
        boxes->onShow = [&](const ShownBox&) {
            openedBeforeTheBox = static_cast<int>(browser->opened.size());
            service->StartCounting();
        };
        Click(&page, CDialogPersonal::kRechargeButton);
        QCOMPARE(openedBeforeTheBox, 1);
        QCOMPARE(
            browser->opened,
            QStringList{
                service->Url() +
                QStringLiteral("/app/pento/chongzhi.php?idus=%1&idage=0").arg(account.userId)});
        ExpectBoxes(
            {{"充值过程中请不要关闭浏览器，充值完成后关闭浏览器并点击此处的 确定 按钮", kNotice}});
        QTRY_COMPARE_WITH_TIMEOUT(service->RequestsTo("/app/pento/personal_center.php"), 1,
                                  kLoadTimeout);
    }

    void withdrawalRefusesBadAccounts_data() {
        QTest::addColumn<QString>("typed");
        QTest::newRow("blanks") << "   ";
        QTest::newRow("empty") << "";
        QTest::newRow("leading plus") << "+8613800000000";
        QTest::newRow("ampersand") << "pay&me";
        QTest::newRow("equals") << "a=b";
    }
    void withdrawalRefusesBadAccounts() {
        QFETCH(QString, typed);
        const Account account = NewAccount(50);
        service->StartCounting();
        bool focusInEdit = false;
        RunWithdrawal(service->Url(), account, [&](ui::CDialogEx* dialog) {
            Withdraw(dialog, typed);
            focusInEdit = dialog->focusWidget() == dialog->GetDlgItem(CTixian::kAccountEdit);
        });
        ExpectBoxes({{"支付宝账号无效", kNotice}});
        QVERIFY(focusInEdit);
        QCOMPARE(service->RequestsTo("/app/pento/app_tixian.php"), 0);
    }

    void withdrawalDialogControls() {
        const Account account = NewAccount(50);
        bool stayedOpen = false;
        const int result = RunWithdrawal(service->Url(), account, [&](ui::CDialogEx* dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("红包提现"));
            QCOMPARE(dialog->Item<QLabel>(CTixian::kPromptLabel)->text(),
                     QStringLiteral("请输入要提现到的支付宝账号："));
            QCOMPARE(dialog->Item<QPushButton>(CTixian::kConfirmButton)->text(),
                     QStringLiteral("确认提现"));
            QVERIFY(dialog->Item<QPushButton>(CTixian::kConfirmButton)->isDefault());
            auto* edit = dialog->Item<QLineEdit>(CTixian::kAccountEdit);
            QCOMPARE(edit->maxLength(), 32);
            QVERIFY(edit->text().isEmpty());
            QTest::keyClick(dialog, Qt::Key_Escape);
            stayedOpen = dialog->isVisible();
        });
        QVERIFY(stayedOpen);
        QCOMPARE(result, int(QDialog::Rejected));
        QVERIFY(boxes->shown.empty());
    }

    void withdrawalRefusedThenPending() {
        const Account account = NewAccount(50);
        // Nothing won yet: the service has no envelope to pay.
        int result = RunWithdrawal(service->Url(), account, [](ui::CDialogEx* dialog) {
            Withdraw(dialog, QStringLiteral("  zfb@example.cn "));
        });
        QCOMPARE(result, int(QDialog::Rejected));
        ExpectBoxes({{"抱歉，没有可提现红包", kNotice}});
        QVERIFY(WithdrawalsOf(account).isEmpty());

        QVERIFY(WinChallenge(service->Url(), account));
        boxes->Clear();
        result = RunWithdrawal(service->Url(), account, [](ui::CDialogEx* dialog) {
            Withdraw(dialog, QStringLiteral("  zfb@example.cn "));
        });
        QCOMPARE(result, int(QDialog::Accepted));
        ExpectBoxes({{"您的提现申请已提交，我们将在3个工作日内完成处理，请耐心等待", kNotice}});
        QCOMPARE(WithdrawalsOf(account), QStringList{"zfb@example.cn|1|pending"});

        // A second request while the first is pending; the dialog stays open.
        boxes->Clear();
        QString typedAfter;
        result = RunWithdrawal(service->Url(), account, [&](ui::CDialogEx* dialog) {
            Withdraw(dialog, QStringLiteral("zfb@example.cn"));
            typedAfter = dialog->Item<QLineEdit>(CTixian::kAccountEdit)->text();
        });
        QCOMPARE(result, int(QDialog::Rejected));
        ExpectBoxes({{"您的提现申请已提交，请勿重复提交", kNotice}});
        QCOMPARE(typedAfter, QStringLiteral("zfb@example.cn"));
        QCOMPARE(WithdrawalsOf(account).size(), 1);
    }

    void withdrawalFailures_data() {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("caption");
        QTest::newRow("session") << "0&v=ses"
                                 << "非法提取，请勿在不同设备同时登录，也勿在不同软件同时多端登录"
                                 << kSessionRefused;
        QTest::newRow("service") << "0&v=app"
                                 << "服务器出错，请稍后再试" << kNotice;
        QTest::newRow("unknown code") << "0&v=xyz"
                                      << "网络故障，请确保网络畅通" << kNotice;
        QTest::newRow("no code") << "0"
                                 << "网络故障，请确保网络畅通" << kNotice;
    }
    void withdrawalFailures() {
        QFETCH(QString, reply);
        QFETCH(QString, text);
        QFETCH(QString, caption);
        WebPageServer scripted({}, {{"/app/pento/app_tixian.php", reply.toStdString()}});
        const QString url = scripted.Url({});
        bool focusInEdit = false;
        RunWithdrawal(url, Account{5, {}, 0, QStringLiteral("key")}, [&](ui::CDialogEx* dialog) {
            Withdraw(dialog, QStringLiteral("zfb"));
            focusInEdit = dialog->focusWidget() == dialog->GetDlgItem(CTixian::kAccountEdit);
        });
        QCOMPARE(boxes->Texts(), QStringList{text});
        QCOMPARE(boxes->Last()->caption, caption);
        QVERIFY(focusInEdit);
    }

    void withdrawalWithAStaleSessionOrNoNetwork() {
        Account account = NewAccount(50);
        account.sessionKey = QStringLiteral("0123456789abcdef0123456789abcdef");
        RunWithdrawal(service->Url(), account,
                      [](ui::CDialogEx* dialog) { Withdraw(dialog, QStringLiteral("zfb")); });
        RunWithdrawal(UnusedAddress(), account,
                      [](ui::CDialogEx* dialog) { Withdraw(dialog, QStringLiteral("zfb")); });
        ExpectBoxes(
            {{"非法提取，请勿在不同设备同时登录，也勿在不同软件同时多端登录", kSessionRefused},
             {"网络故障，请确保网络畅通", kNotice}});
    }

    void purchaseRowSwitchAndTotal() {
        const Account account = NewAccount(50);
        RunPurchase(service->Url(), account, [](ui::CDialogEx* dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("购买数据"));
            QCOMPARE(TotalShown(dialog), QStringLiteral("0"));
            QCOMPARE(Box(dialog, 11)->text(), QStringLiteral("十一连子  数据文件购买数量："));
            QCOMPARE(Box(dialog, 15)->text(), QStringLiteral("十五连子  数据文件购买数量："));
            QCOMPARE(Box(dialog, 3)->text(), QStringLiteral("三连子      数据文件购买数量："));
            QVERIFY(dialog->GetDlgItem(1052) == nullptr);
            for (int length = 3; length <= 15; ++length) {
                QVERIFY(!Box(dialog, length)->isChecked());
                QVERIFY(!Quantity(dialog, length)->isEnabled());
                QCOMPARE(Quantity(dialog, length)->text(), QStringLiteral("0"));
            }
            QTest::mouseClick(Box(dialog, 7), Qt::LeftButton, {}, QPoint(4, 4));
            QLineEdit* seven = Quantity(dialog, 7);
            QVERIFY(seven->isEnabled());
            QCOMPARE(seven->selectedText(), QStringLiteral("0"));
            QCOMPARE(dialog->focusWidget(), seven);
            QTest::keyClicks(seven, QStringLiteral("12"));
            QCOMPARE(TotalShown(dialog), QStringLiteral("12"));
            // Letters are not taken; nine digits are cut to eight.
            QTest::keyClicks(seven, QStringLiteral("ab"));
            QCOMPARE(seven->text(), QStringLiteral("12"));
            QTest::mouseClick(Box(dialog, 7), Qt::LeftButton, {}, QPoint(4, 4));
            QVERIFY(!seven->isEnabled());
            QCOMPARE(seven->text(), QStringLiteral("0"));
            QCOMPARE(TotalShown(dialog), QStringLiteral("0"));
            // Every row at the largest quantity still fits the total.
            for (int length = 3; length <= 15; ++length)
                Order(dialog, length, QStringLiteral("999999999"));
            QCOMPARE(Quantity(dialog, 15)->text(), QStringLiteral("99999999"));
            QCOMPARE(TotalShown(dialog), QStringLiteral("1299999987"));
        });
        QVERIFY(boxes->shown.empty());
    }

    void purchaseRefusesBadAddressesAndEmptyOrders_data() {
        QTest::addColumn<QString>("email");
        QTest::addColumn<int>("quantity"); // of five in a row; 0: box left unticked
        QTest::addColumn<QString>("text");
        const QString badAddress = QStringLiteral("email地址无效");
        const QString nothing = QStringLiteral("请先选择要购买的数据，并填写购买数量");
        QTest::newRow("empty address") << "" << 2 << badAddress;
        QTest::newRow("blank address") << "   " << 2 << badAddress;
        QTest::newRow("no at sign") << "player.example.cn" << 2 << badAddress;
        QTest::newRow("plus") << "a+b@example.cn" << 2 << badAddress;
        QTest::newRow("ampersand") << "a&b@example.cn" << 2 << badAddress;
        QTest::newRow("equals") << "a=b@example.cn" << 2 << badAddress;
        QTest::newRow("nothing ticked") << "@" << 0 << nothing;
        QTest::newRow("ticked at zero") << "@" << -1 << nothing;
    }
    void purchaseRefusesBadAddressesAndEmptyOrders() {
        QFETCH(QString, email);
        QFETCH(int, quantity);
        QFETCH(QString, text);
        const Account account = NewAccount(50);
        service->StartCounting();
        bool focusInEmail = false;
        const int result = RunPurchase(service->Url(), account, [&](ui::CDialogEx* dialog) {
            if (quantity > 0)
                Order(dialog, 5, QString::number(quantity));
            else if (quantity < 0)
                QTest::mouseClick(Box(dialog, 5), Qt::LeftButton, {}, QPoint(4, 4));
            SetEmail(dialog, email);
            Click(dialog, CBuyData::kOrderButton);
            focusInEmail = dialog->focusWidget() == dialog->GetDlgItem(CBuyData::kEmailEdit);
        });
        QCOMPARE(result, int(QDialog::Rejected));
        QCOMPARE(boxes->Texts(), QStringList{text});
        QCOMPARE(boxes->Last()->caption, kNotice);
        QCOMPARE(focusInEmail, text == QStringLiteral("email地址无效"));
        QCOMPARE(service->RequestsTo("/app/pento/app_buydata.php"), 0);
    }

    void purchaseAcceptedLowersTheGamePagesPoints() {
        const Account account = NewAccount(50);
        auto window = OpenLoggedInWindow(account);
        QCOMPARE(window->GamePage().Flow().points, 50);
        CDialogPersonal& personal = window->PersonalPage();
        WhenModalOpens([](QWidget* open) {
            auto* dialog = dynamic_cast<CBuyData*>(open);
            if (dialog == nullptr)
                return;
            Order(dialog, 3, QStringLiteral("1"));
            Order(dialog, 5, QStringLiteral("2"));
            Order(dialog, 15, QStringLiteral("30"));
            QCOMPARE(TotalShown(dialog), QStringLiteral("33"));
            SetEmail(dialog, QStringLiteral(" player@example.cn "));
            QTest::keyClick(dialog->GetDlgItem(CBuyData::kEmailEdit), Qt::Key_Return);
        });
        service->StartCounting();
        Click(&personal, CDialogPersonal::kBuyDataButton);
        ExpectBoxes({{"您的采购单已提交，我们会尽快完成处理，请关注您的邮箱", kNotice}});
        QCOMPARE(window->GamePage().Flow().points, 17);
        QCOMPARE(PointsOf(account), 17);
        QCOMPARE(OrdersOf(account),
                 QStringList{"player@example.cn|33|l3=1 l4=0 l5=2 l6=0 l7=0 l8=0 l9=0 l10=0 "
                             "l11=0 l12=0 l13=0 l14=0 l15=30"});
        QTRY_VERIFY_WITH_TIMEOUT(service->RequestsTo("/app/pento/personal_center.php") >= 1,
                                 kLoadTimeout);
    }

    void purchaseRefusedOrCancelledKeepsThePoints() {
        const Account account = NewAccount(20);
        auto window = OpenLoggedInWindow(account);
        CDialogPersonal& personal = window->PersonalPage();
        QString totalAfter;
        bool stillOpen = false;
        WhenModalOpens([&](QWidget* open) {
            auto* dialog = dynamic_cast<CBuyData*>(open);
            if (dialog == nullptr)
                return;
            Order(dialog, 9, QStringLiteral("25"));
            SetEmail(dialog, QStringLiteral("player@example.cn"));
            Click(dialog, CBuyData::kOrderButton);
            totalAfter = TotalShown(dialog);
            stillOpen = dialog->isVisible();
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        Click(&personal, CDialogPersonal::kBuyDataButton);
        ExpectBoxes({{"积分不足，请充值", kNotice}});
        QVERIFY(stillOpen);
        QCOMPARE(totalAfter, QStringLiteral("25"));
        QCOMPARE(window->GamePage().Flow().points, 20);
        QCOMPARE(PointsOf(account), 20);
        QVERIFY(OrdersOf(account).isEmpty());
    }

    void purchaseFailures_data() {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("caption");
        QTest::newRow("session") << "0&v=ses"
                                 << "非法购买，请勿在不同设备同时登录，也勿在不同软件同时多端登录"
                                 << kSessionRefused;
        QTest::newRow("points") << "0&v=jf"
                                << "积分不足，请充值" << kNotice;
        QTest::newRow("service") << "0&v=app"
                                 << "服务器出错，请稍后再试" << kNotice;
        QTest::newRow("unknown code") << "0&v=hb"
                                      << "网络故障，请确保网络畅通" << kNotice;
    }
    void purchaseFailures() {
        QFETCH(QString, reply);
        QFETCH(QString, text);
        QFETCH(QString, caption);
        WebPageServer scripted({}, {{"/app/pento/app_buydata.php", reply.toStdString()}});
        bool focusStayed = false;
        RunPurchase(scripted.Url({}), Account{5, {}, 0, QStringLiteral("key")},
                    [&](ui::CDialogEx* dialog) {
                        SetEmail(dialog, QStringLiteral("p@q"));
                        Order(dialog, 4, QStringLiteral("3"));
                        // Enter in the quantity orders; the focus stays there.
                        QTest::keyClick(Quantity(dialog, 4), Qt::Key_Return);
                        focusStayed = dialog->focusWidget() == Quantity(dialog, 4);
                    });
        QCOMPARE(boxes->Texts(), QStringList{text});
        QCOMPARE(boxes->Last()->caption, caption);
        QCOMPARE(boxes->Last()->icon, ui::MessageIcon::Information);
        QVERIFY(focusStayed);
    }

    void purchaseWithNoNetwork() {
        RunPurchase(UnusedAddress(), Account{5, {}, 0, QStringLiteral("key")},
                    [](ui::CDialogEx* dialog) {
                        Order(dialog, 6, QStringLiteral("1"));
                        SetEmail(dialog, QStringLiteral("p@q"));
                        Click(dialog, CBuyData::kOrderButton);
                    });
        ExpectBoxes({{"网络故障，请确保网络畅通", kNotice}});
    }
};

QTEST_MAIN(AccountPagesTest)
#include "AccountPagesTest.moc"
