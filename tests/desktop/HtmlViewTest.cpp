// The web view: taking a placeholder's place, the last address of every
// navigation in any frame, refusal of "app:" addresses, and the hidden
// context menu, against a small web server on loopback.
#include "CDialogEx.h"
#include "CHtmlCtrl.h"
#include "DesktopFixture.h"
#include "WebPageServer.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QTest>
#include <QWebEnginePage>
#include <memory>

using namespace rowstone;
using namespace rowstone::test;

namespace {

constexpr int kNewsTemplate = 130;
constexpr int kPlaceholder = 1017;

// Counts the right-button events the document sees in its title.
const char* const kCountingDocument = R"(<!doctype html>
<html><head><title>0 0 0</title></head>
<body style="margin:0"><div style="width:100%;height:600px">content</div>
<script>
let downs = 0, ups = 0, menus = 0;
function show() { document.title = downs + " " + ups + " " + menus; }
document.addEventListener("mousedown", e => { if (e.button == 2) { downs++; show(); } });
document.addEventListener("mouseup", e => { if (e.button == 2) { ups++; show(); } });
document.addEventListener("contextmenu", e => { menus++; e.preventDefault(); show(); });
</script></body></html>)";

const char* const kLinksDocument = R"(<!doctype html>
<html><head><title>links</title></head><body>
<a id="upper" href="APP:Open?x=1">upper</a>
<a id="lower" href="app:close">lower</a>
<a id="mixed" href="aPp:Mixed/Case">mixed</a>
<a id="plain" href="/plain.html">plain</a>
</body></html>)";

// A view that records what reaches the command hook.
class RecordingView : public CHtmlCtrl {
public:
    QStringList commands;

protected:
    void OnAppCommand(const QString& command) override { commands << command; }
};

// A page that counts the context-menu events it is sent.
class ContextMenuCounter : public QObject {
public:
    int count = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ContextMenu)
            ++count;
        return QObject::eventFilter(watched, event);
    }
};

bool LoadedTitle(CHtmlCtrl& view, const QString& title) {
    return QTest::qWaitFor([&] { return view.title() == title; }, 15000);
}

void RunScript(CHtmlCtrl& view, const QString& script) {
    view.page()->runJavaScript(script);
}

} // namespace

class HtmlViewTest : public QObject {
    Q_OBJECT
public:
    static void initMain() { UseXDisplayWhenThere(); }

private:
    std::unique_ptr<WebPageServer> server;
    std::unique_ptr<ui::CDialogEx> host;

    // A news-page template shown on screen, with its placeholder still in place.
    void OpenHost() {
        host = std::make_unique<ui::CDialogEx>(kNewsTemplate);
        host->Create(nullptr);
        host->resize(500, 400);
        host->show();
    }

private slots:
    void initTestCase() {
        server = std::make_unique<WebPageServer>(std::map<std::string, std::string>{
            {"/counting.html", kCountingDocument},
            {"/links.html", kLinksDocument},
            {"/plain.html", "<!doctype html><title>plain</title>"},
            {"/inner.html", "<!doctype html><title>inner</title>"},
            {"/frames.html",
             "<!doctype html><title>frames</title><iframe src=\"/inner.html\"></iframe>"},
        });
    }
    void cleanup() { host.reset(); }
    void cleanupTestCase() { server.reset(); }

    void takesThePlaceholdersPlaceAndId() {
        OpenHost();
        QWidget* placeholder = host->GetDlgItem(kPlaceholder);
        QVERIFY(placeholder != nullptr);
        const QRect rectangle = placeholder->geometry();
        CHtmlCtrl view;
        QVERIFY(!view.CreateOverPlaceholder(4242, host.get()));
        QCOMPARE(host->GetDlgItem(kPlaceholder), placeholder);
        QVERIFY(view.CreateOverPlaceholder(kPlaceholder, host.get()));
        QCOMPARE(host->GetDlgItem(kPlaceholder), &view);
        QCOMPARE(view.parentWidget(), host.get());
        QCOMPARE(view.geometry(), rectangle);
        QVERIFY(view.isVisible());
        QVERIFY(view.LastAddress().isEmpty());
    }

    void remembersTheLastNavigationInAnyFrame() {
        OpenHost();
        CHtmlCtrl view;
        QVERIFY(view.CreateOverPlaceholder(kPlaceholder, host.get()));
        view.Navigate2(server->Url("/plain.html"));
        QVERIFY(LoadedTitle(view, "plain"));
        QCOMPARE(view.LastAddress(), server->Url("/plain.html"));
        view.Navigate2(server->Url("/frames.html"));
        QVERIFY(LoadedTitle(view, "frames"));
        QTRY_COMPARE_WITH_TIMEOUT(view.LastAddress(), server->Url("/inner.html"), 10000);
        QCOMPARE(view.url().toString(), server->Url("/frames.html"));
    }

    void refusesAppAddressesInAnyLetterCase_data() {
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("command");
        QTest::newRow("capitals") << "upper"
                                  << "app:Open?x=1"
                                  << "Open?x=1";
        QTest::newRow("small") << "lower"
                               << "app:close"
                               << "close";
        QTest::newRow("mixed") << "mixed"
                               << "app:Mixed/Case"
                               << "Mixed/Case";
    }
    void refusesAppAddressesInAnyLetterCase() {
        QFETCH(QString, link);
        QFETCH(QString, address);
        QFETCH(QString, command);
        OpenHost();
        RecordingView view;
        QVERIFY(view.CreateOverPlaceholder(kPlaceholder, host.get()));
        view.Navigate2(server->Url("/links.html"));
        QVERIFY(LoadedTitle(view, "links"));
        RunScript(view, QStringLiteral("document.getElementById('%1').click()").arg(link));
        QTRY_COMPARE_WITH_TIMEOUT(view.commands, QStringList{command}, 10000);
        QCOMPARE(view.LastAddress(), address);
        // The document stays on screen.
        QTest::qWait(200);
        QCOMPARE(view.url().toString(), server->Url("/links.html"));
        QCOMPARE(view.title(), QStringLiteral("links"));
    }

    void refusesAppAddressesTheProgramAsksFor() {
        OpenHost();
        RecordingView view;
        QVERIFY(view.CreateOverPlaceholder(kPlaceholder, host.get()));
        view.Navigate2(server->Url("/plain.html"));
        QVERIFY(LoadedTitle(view, "plain"));
        view.Navigate2(QStringLiteral("APP:again"));
        QTRY_COMPARE_WITH_TIMEOUT(view.commands, QStringList{"again"}, 10000);
        QCOMPARE(view.LastAddress(), QStringLiteral("app:again"));
        QCOMPARE(view.url().toString(), server->Url("/plain.html"));
        // Other addresses still load.
        RunScript(view, "location.href = '/links.html'");
        QVERIFY(LoadedTitle(view, "links"));
        RunScript(view, "document.getElementById('plain').click()");
        QVERIFY(LoadedTitle(view, "plain"));
        QCOMPARE(view.commands, QStringList{"again"});
    }

    void hiddenContextMenuSwallowsTheRightButton() {
        OpenHost();
        CHtmlCtrl view;
        view.hideContextMenu = true;
        QVERIFY(view.CreateOverPlaceholder(kPlaceholder, host.get()));
        ContextMenuCounter page;
        host->installEventFilter(&page);
        view.Navigate2(server->Url("/counting.html"));
        QVERIFY(LoadedTitle(view, "0 0 0"));
        QWidget* document = view.focusProxy();
        QVERIFY(document != nullptr);
        const QPoint inside(40, 40);
        QTest::mousePress(document, Qt::RightButton, {}, inside);
        QTest::mouseRelease(document, Qt::RightButton, {}, inside);
        QTest::mouseDClick(document, Qt::RightButton, {}, inside);
        QTest::mouseRelease(document, Qt::RightButton, {}, inside);
        QContextMenuEvent keyboardMenu(QContextMenuEvent::Keyboard, inside,
                                       document->mapToGlobal(inside));
        QCoreApplication::sendEvent(document, &keyboardMenu);
        // A left click still reaches the document; its title shows what it saw.
        QTest::mouseClick(document, Qt::LeftButton, {}, inside);
        QTest::qWait(500);
        QCOMPARE(view.title(), QStringLiteral("0 0 0"));
        // Press, release and double click: two releases told to the page.
        QCOMPARE(page.count, 2);
        QVERIFY(QApplication::activePopupWidget() == nullptr);
        host->removeEventFilter(&page);
    }

    void shownContextMenuLetsTheRightButtonThrough() {
        OpenHost();
        CHtmlCtrl view;
        QVERIFY(view.CreateOverPlaceholder(kPlaceholder, host.get()));
        view.Navigate2(server->Url("/counting.html"));
        QVERIFY(LoadedTitle(view, "0 0 0"));
        QWidget* document = view.focusProxy();
        QVERIFY(document != nullptr);
        QTest::mousePress(document, Qt::RightButton, {}, QPoint(40, 40));
        QTest::mouseRelease(document, Qt::RightButton, {}, QPoint(40, 40));
        QTRY_VERIFY_WITH_TIMEOUT(view.title().startsWith(QStringLiteral("1 1")), 10000);
    }
};

QTEST_MAIN(HtmlViewTest)
#include "HtmlViewTest.moc"
