// The news, ranking and contact pages against the local game service: what
// each page loads when it is shown or resized, the contact page's sections,
// and the feedback form with its round trip to the service.
#include "CDialogContactUs.h"
#include "CDialogMain.h"
#include "CDialogPaiMing.h"
#include "CHtmlCtrl.h"
#include "DesktopFixture.h"
#include "ScriptedMessageBoxes.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QWebEnginePage>
#include <memory>

using namespace rowstone;
using namespace rowstone::test;

namespace {

const QString kNotice = QStringLiteral("温馨提示");
constexpr int kLoadTimeout = 15000;

bool TitleStartsWith(CHtmlCtrl& view, const QString& title) {
    return QTest::qWaitFor([&] { return view.title().startsWith(title); }, kLoadTimeout);
}

void FollowLink(CHtmlCtrl& view, const QString& address) {
    view.page()->runJavaScript(QStringLiteral("location.href = '%1'").arg(address));
}

// Shows a page again, as a tab switch away and back does.
void ShowAgain(QWidget& page) {
    page.hide();
    page.show();
}

} // namespace

class InfoPagesTest : public QObject {
    Q_OBJECT
public:
    static void initMain() { UseXDisplayWhenThere(); }

private:
    std::unique_ptr<ModelFolder> models;
    std::unique_ptr<ServiceFixture> service;
    std::unique_ptr<ScriptedMessageBoxes> boxes;

    QString Address(const char* path) const { return service->Url() + QLatin1String(path); }

    template <typename Page> std::unique_ptr<Page> OpenPage(const QString& url, QSize size) {
        auto page = std::make_unique<Page>(url);
        page->Create(nullptr);
        page->resize(size);
        page->show();
        return page;
    }

    std::unique_ptr<CDialogContactUs> OpenContactPage(const QString& url) {
        return OpenPage<CDialogContactUs>(url, QSize(620, 360));
    }

    static void Click(ui::CDialogEx& page, int id) {
        QTest::mouseClick(page.Item<QPushButton>(id), Qt::LeftButton);
    }

    // The rows of the feedback table, "account|text", oldest first.
    QStringList FeedbackRows() const {
        return service->Query(QStringLiteral("SELECT account_id, text FROM feedback ORDER BY id"));
    }

    void SendReport(CDialogContactUs& page, const QString& text) {
        Click(page, CDialogContactUs::kFeedbackButton);
        page.Item<QPlainTextEdit>(CDialogContactUs::kFeedbackEdit)->setPlainText(text);
        Click(page, CDialogContactUs::kSubmitButton);
    }

private slots:
    void initTestCase() {
        models = std::make_unique<ModelFolder>();
        service = std::make_unique<ServiceFixture>(models->Path());
        QVERIFY2(service->Running(), "the local game service did not start");
    }
    void init() { boxes = std::make_unique<ScriptedMessageBoxes>(); }
    void cleanup() { boxes.reset(); }
    void cleanupTestCase() { service.reset(); }

    void newsPageShowsTheNewsThenWhatWasFollowed() {
        auto page = OpenPage<CDialogMain>(service->Url(), QSize(600, 400));
        CHtmlCtrl& view = page->View();
        QCOMPARE(page->GetDlgItem(CDialogMain::kView), &view);
        QCOMPARE(view.geometry(), page->rect());
        QVERIFY(TitleStartsWith(view, QStringLiteral("新闻活动")));
        QCOMPARE(view.LastAddress(), Address("/app/pento/news.php"));

        FollowLink(view, Address("/app/pento/company.php"));
        QVERIFY(TitleStartsWith(view, QStringLiteral("公司简介")));
        service->StartCounting();
        ShowAgain(*page);
        QTRY_COMPARE_WITH_TIMEOUT(service->RequestsTo("/app/pento/company.php"), 1, kLoadTimeout);
        QCOMPARE(service->RequestsTo("/app/pento/news.php"), 0);
        QCOMPARE(view.LastAddress(), Address("/app/pento/company.php"));
        QVERIFY(boxes->shown.empty());
    }

    void newsPageKeepsRefusingAFollowedAppLink() {
        auto page = OpenPage<CDialogMain>(service->Url(), QSize(600, 400));
        CHtmlCtrl& view = page->View();
        QVERIFY(TitleStartsWith(view, QStringLiteral("新闻活动")));
        FollowLink(view, QStringLiteral("app:open"));
        QTRY_COMPARE_WITH_TIMEOUT(view.LastAddress(), QStringLiteral("app:open"), kLoadTimeout);
        service->StartCounting();
        ShowAgain(*page);
        page->resize(640, 420);
        QTest::qWait(300);
        QCOMPARE(view.LastAddress(), QStringLiteral("app:open"));
        QCOMPARE(view.url().toString(), Address("/app/pento/news.php"));
        QCOMPARE(service->RequestsTo("/app/pento/"), 0);
    }

    void rankingPageAsksForTheViewSize() {
        auto page = OpenPage<CDialogPaiMing>(service->Url(), QSize(600, 400));
        CHtmlCtrl& view = page->View();
        QCOMPARE(page->GetDlgItem(CDialogPaiMing::kView), &view);
        QCOMPARE(view.geometry(), QRect(0, 0, 600, 400));
        QTRY_COMPARE_WITH_TIMEOUT(view.LastAddress(), Address("/app/pento/paiming.php?w=600&h=400"),
                                  kLoadTimeout);
        QVERIFY(TitleStartsWith(view, QStringLiteral("挑战排名")));

        service->StartCounting();
        page->resize(700, 450);
        QCOMPARE(view.geometry(), QRect(0, 0, 700, 450));
        QTRY_COMPARE_WITH_TIMEOUT(view.LastAddress(), Address("/app/pento/paiming.php?w=700&h=450"),
                                  kLoadTimeout);
        QTRY_VERIFY_WITH_TIMEOUT(service->RequestsTo("/app/pento/paiming.php") >= 1, kLoadTimeout);

        // A link followed inside the ranking is left at the next showing.
        FollowLink(view, Address("/app/pento/news.php"));
        QVERIFY(TitleStartsWith(view, QStringLiteral("新闻活动")));
        ShowAgain(*page);
        QVERIFY(TitleStartsWith(view, QStringLiteral("挑战排名")));
        QCOMPARE(view.LastAddress(), Address("/app/pento/paiming.php?w=700&h=450"));
    }

    void contactSections_data() {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("section");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("title");
        QTest::newRow("company") << int(CDialogContactUs::kCompanyButton) << 1
                                 << "/app/pento/company.php"
                                 << "公司简介";
        QTest::newRow("cooperation")
            << int(CDialogContactUs::kCooperationButton) << 2 << "/app/pento/hezuo.php"
            << "联系合作";
        QTest::newRow("product") << int(CDialogContactUs::kProductButton) << 0
                                 << "/app/pento/chanping.php"
                                 << "产品简介";
    }
    void contactSections() {
        QFETCH(int, button);
        QFETCH(int, section);
        QFETCH(QString, path);
        QFETCH(QString, title);
        auto page = OpenContactPage(service->Url());
        // Leave the starting section first, through the form.
        Click(*page, CDialogContactUs::kFeedbackButton);
        Click(*page, button);
        QCOMPARE(page->CurrentSection(), section);
        for (int id : {1010, 1009, 1011, 1012})
            QCOMPARE(page->GetDlgItem(id)->isEnabled(), id != button);
        QVERIFY(page->View().isVisible());
        for (int id : {1014, 1015, 1016})
            QVERIFY(!page->GetDlgItem(id)->isVisible());
        QVERIFY(TitleStartsWith(page->View(), title));
        QCOMPARE(page->View().LastAddress(), service->Url() + path);
    }

    void contactPageStartsWithTheProductPage() {
        auto page = OpenContactPage(service->Url());
        QCOMPARE(page->CurrentSection(), 0);
        QVERIFY(!page->GetDlgItem(CDialogContactUs::kProductButton)->isEnabled());
        QVERIFY(TitleStartsWith(page->View(), QStringLiteral("产品简介")));
        QCOMPARE(page->userId, 0);
        QCOMPARE(page->Item<QLabel>(CDialogContactUs::kFeedbackLabel)->text(),
                 QStringLiteral("请输入您要反馈的问题："));
        QCOMPARE(page->Item<QPushButton>(CDialogContactUs::kSubmitButton)->text(),
                 QStringLiteral("提交问题"));
    }

    void contactLayoutFollowsTheButtonSize() {
        auto page = OpenContactPage(service->Url());
        QWidget* first = page->GetDlgItem(CDialogContactUs::kProductButton);
        const int bw = first->width();
        const int bh = first->height();
        const int x = bw / 4;
        const int buttons[] = {1010, 1009, 1011, 1012};
        for (int i = 0; i < 4; ++i)
            QCOMPARE(page->GetDlgItem(buttons[i])->geometry(), QRect(x, (2 * i + 1) * bh, bw, bh));
        const int vx = bw * 3 / 2;
        QCOMPARE(page->View().geometry(), QRect(vx, 0, 620 - vx, 360));

        Click(*page, CDialogContactUs::kFeedbackButton);
        page->resize(640, 400);
        QWidget* label = page->GetDlgItem(CDialogContactUs::kFeedbackLabel);
        const int lh = label->height();
        const int y1 = lh / 2;
        QCOMPARE(label->pos(), QPoint(vx, y1));
        const int y2 = static_cast<int>(1.5 * (y1 + lh));
        QCOMPARE(page->GetDlgItem(CDialogContactUs::kFeedbackEdit)->geometry(),
                 QRect(vx, y2, static_cast<int>(640 - 0.25 * bw) - vx, 400 - 2 * bh - y2));
        const int ys = static_cast<int>(400 - 1.5 * bh);
        QCOMPARE(page->GetDlgItem(CDialogContactUs::kSubmitButton)->geometry(),
                 QRect(vx + bw, ys, bw, static_cast<int>(400 - 0.5 * bh) - ys));
    }

    void feedbackFormKeepsItsTextAndLoadsNothing() {
        auto page = OpenContactPage(service->Url());
        QVERIFY(TitleStartsWith(page->View(), QStringLiteral("产品简介")));
        Click(*page, CDialogContactUs::kFeedbackButton);
        auto* edit = page->Item<QPlainTextEdit>(CDialogContactUs::kFeedbackEdit);
        QCOMPARE(page->CurrentSection(), 3);
        QVERIFY(!page->View().isVisible());
        for (int id : {1014, 1015, 1016})
            QVERIFY(page->GetDlgItem(id)->isVisible());
        QVERIFY(!page->GetDlgItem(CDialogContactUs::kFeedbackButton)->isEnabled());
        QVERIFY(page->GetDlgItem(CDialogContactUs::kProductButton)->isEnabled());
        QCOMPARE(page->focusWidget(), edit);

        service->StartCounting();
        ShowAgain(*page);
        page->resize(700, 420);
        QTest::qWait(300);
        QCOMPARE(service->RequestsTo("/app/pento/"), 0);

        edit->setPlainText(QStringLiteral("棋盘不显示"));
        Click(*page, CDialogContactUs::kCompanyButton);
        QVERIFY(!edit->isVisible());
        Click(*page, CDialogContactUs::kFeedbackButton);
        QCOMPARE(edit->toPlainText(), QStringLiteral("棋盘不显示"));
    }

    void feedbackEditTakesAtMost500Characters() {
        auto page = OpenContactPage(service->Url());
        Click(*page, CDialogContactUs::kFeedbackButton);
        auto* edit = page->Item<QPlainTextEdit>(CDialogContactUs::kFeedbackEdit);
        edit->setPlainText(QString(600, QLatin1Char('x')));
        QCOMPARE(edit->toPlainText(), QString(500, QLatin1Char('x')));
        edit->setPlainText(QString(498, QLatin1Char('x')));
        edit->moveCursor(QTextCursor::Start);
        QTest::keyClicks(edit, QStringLiteral("abcd"));
        QCOMPARE(edit->toPlainText(), QStringLiteral("ab") + QString(498, QLatin1Char('x')));
    }

    void blankReportsAreRefused_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << "";
        QTest::newRow("blanks and line breaks") << "  \n\t \r\n  ";
        QTest::newRow("ideographic spaces") << "\u3000\u3000";
    }
    void blankReportsAreRefused() {
        QFETCH(QString, text);
        auto page = OpenContactPage(service->Url());
        service->StartCounting();
        SendReport(*page, text);
        QCOMPARE(boxes->Texts(), QStringList{QStringLiteral("请先填写要反馈的问题")});
        QCOMPARE(boxes->Last()->caption, kNotice);
        QCOMPARE(boxes->Last()->icon, ui::MessageIcon::Information);
        QCOMPARE(service->RequestsTo("/app/pento/fankui.php"), 0);
    }

    void reportsReachTheService_data() {
        QTest::addColumn<int>("userId");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("separators become blanks") << 0 << "  a=b&c \n"
                                                  << "a b c";
        QTest::newRow("logged in") << 7 << "登录后反馈"
                                   << "登录后反馈";
        QTest::newRow("plus and percent stay") << 3 << "1+1=2 100%"
                                               << "1+1 2 100%";
        QTest::newRow("lines stay") << 0 << "第一行\n第二行"
                                    << "第一行\n第二行";
    }
    void reportsReachTheService() {
        QFETCH(int, userId);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        auto page = OpenContactPage(service->Url());
        page->userId = userId;
        const qsizetype before = FeedbackRows().size();
        SendReport(*page, typed);
        QCOMPARE(boxes->Texts(),
                 QStringList{
                     QStringLiteral("您反馈的问题已经提交成功，我们将会尽快解决，感谢您的支持！")});
        QCOMPARE(boxes->Last()->caption, kNotice);
        QCOMPARE(boxes->Last()->icon, ui::MessageIcon::Information);
        QVERIFY(
            page->Item<QPlainTextEdit>(CDialogContactUs::kFeedbackEdit)->toPlainText().isEmpty());
        QCOMPARE(page->CurrentSection(), 3);
        const QStringList rows = FeedbackRows();
        QCOMPARE(rows.size(), before + 1);
        QCOMPARE(rows.last(), QStringLiteral("%1|%2").arg(userId).arg(stored));
    }

    void failedReportStaysForAnotherTry() {
        auto page = OpenContactPage(UnusedAddress());
        SendReport(*page, QStringLiteral("网络断了"));
        QCOMPARE(boxes->Texts(), QStringList{QStringLiteral("网络故障，请确保网络畅通")});
        QCOMPARE(boxes->Last()->caption, kNotice);
        QCOMPARE(boxes->Last()->icon, ui::MessageIcon::Information);
        QCOMPARE(page->Item<QPlainTextEdit>(CDialogContactUs::kFeedbackEdit)->toPlainText(),
                 QStringLiteral("网络断了"));
    }
};

QTEST_MAIN(InfoPagesTest)
#include "InfoPagesTest.moc"
