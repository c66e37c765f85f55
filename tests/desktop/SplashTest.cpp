// The splash window: its template and picture, closing it, and its place
// in the program's start: on screen and animating before and during the
// first service request, gone before the main window can be used and
// before the network failure's message.
#include "CPictureEx.h"
#include "CSplashDlg.h"
#include "CSplashThread.h"
#include "CTesselApp.h"
#include "CTesselDlg.h"
#include "DesktopFixture.h"
#include "ScriptedMessageBoxes.h"

#include <QApplication>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <functional>
#include <httplib.h>
#include <memory>
#include <thread>

using namespace rowstone;
using namespace rowstone::test;

namespace {

CSplashDlg* VisibleSplash() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* splash = dynamic_cast<CSplashDlg*>(widget);
        if (splash != nullptr && splash->isVisible())
            return splash;
    }
    return nullptr;
}

// Watches the whole program start: when the splash and the main window
// are shown, and how often the splash picture paints.
class StartWatcher : public QObject {
public:
    explicit StartWatcher(std::function<int()> requestsSoFar)
        : requestsSoFar(std::move(requestsSoFar)) {
        qApp->installEventFilter(this);
    }
    ~StartWatcher() override { qApp->removeEventFilter(this); }

    int requestsWhenSplashShown = -1;
    bool mainWindowShown = false;
    bool splashWithMainWindow = true;
    int pictureShowingPaints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && dynamic_cast<CSplashDlg*>(watched) != nullptr)
            requestsWhenSplashShown = requestsSoFar();
        if (event->type() == QEvent::Show && dynamic_cast<CTesselDlg*>(watched) != nullptr) {
            mainWindowShown = true;
            splashWithMainWindow = VisibleSplash() != nullptr;
            auto* window = static_cast<CTesselDlg*>(watched);
            QTimer::singleShot(0, window, [window] { window->reject(); });
        }
        if (event->type() == QEvent::Paint && dynamic_cast<CPictureEx*>(watched) != nullptr)
            ++pictureShowingPaints;
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<int()> requestsSoFar;
};

// A stand-in service whose model download is held until the test lets it
// go (or five seconds have passed), so that start-up stays in its first
// request for as long as the test looks.
class HeldService {
public:
    explicit HeldService(std::vector<uint8_t> model) {
        server.set_pre_routing_handler([this](const httplib::Request&, httplib::Response&) {
            ++requests;
            return httplib::Server::HandlerResponse::Unhandled;
        });
        server.Get(
            "/app/pento/model/model_5.mod",
            [this, model = std::move(model)](const httplib::Request&, httplib::Response& response) {
                modelAsked = true;
                for (int i = 0; i < 500 && !release; ++i)
                    std::this_thread::sleep_for(std::chrono::milliseconds(10));
                response.set_content(std::string(model.begin(), model.end()),
                                     "application/octet-stream");
            });
        port = server.bind_to_any_port("127.0.0.1");
        thread = std::thread([this] { server.listen_after_bind(); });
    }
    ~HeldService() {
        release = true;
        server.stop();
        thread.join();
    }
    QString Url() const { return QStringLiteral("http://127.0.0.1:%1").arg(port); }

    std::atomic<int> requests{0};
    std::atomic<bool> modelAsked{false};
    std::atomic<bool> release{false};

private:
    httplib::Server server;
    std::thread thread;
    int port = 0;
};

} // namespace

class SplashTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<ScriptedMessageBoxes> boxes;
    std::unique_ptr<RecordingBrowser> browser;

private slots:
    void init() {
        boxes = std::make_unique<ScriptedMessageBoxes>();
        browser = std::make_unique<RecordingBrowser>();
    }
    void cleanup() {
        browser.reset();
        boxes.reset();
    }

    void splashShowsItsTextsAndPlaysItsPicture() {
        CSplashThread splash;
        QVERIFY(splash.SplashWindow() == nullptr);
        QVERIFY(splash.Start());
        CSplashDlg* window = splash.SplashWindow();
        QVERIFY(window != nullptr);
        QVERIFY(window->isVisible());
        QVERIFY(window->isWindow());
        QVERIFY(window->windowFlags().testFlag(Qt::FramelessWindowHint));
        QCOMPARE(window->Item<QLabel>(CSplashDlg::kPleaseWait)->text(),
                 QStringLiteral("软件启动中，请稍等......"));
        QCOMPARE(window->Item<QLabel>(CSplashDlg::kNetworkHint)->text(),
                 QStringLiteral("启动时间跟网络有关，请在网络良好时使用"));
        CPictureEx* picture = window->Picture();
        QVERIFY(picture != nullptr);
        QCOMPARE(window->GetDlgItem(CSplashDlg::kPicture), picture);
        QCOMPARE(picture->size(), QSize(108, 114));
        QCOMPARE(picture->pos(), QPoint(ui::DluToPixelsX(54, window->BaseUnits()),
                                        ui::DluToPixelsY(40, window->BaseUnits())));
        QTRY_VERIFY(picture->CurrentFrame() >= 2);
        QVERIFY(splash.Stop());
        QVERIFY(splash.SplashWindow() == nullptr);
        QVERIFY(VisibleSplash() == nullptr);
    }

    void closingHidesTheSplashAndEndsItsAnimation() {
        CSplashThread splash;
        QVERIFY(splash.Start());
        CPictureEx* picture = splash.SplashWindow()->Picture();
        QTRY_VERIFY(picture->IsPlaying());
        splash.SplashWindow()->close();
        QVERIFY(!splash.SplashWindow()->isVisible());
        // The thread leaves after the frame it is showing, on its own.
        QTRY_VERIFY(!picture->IsPlaying());
        const int frame = picture->CurrentFrame();
        QTest::qWait(250);
        QCOMPARE(picture->CurrentFrame(), frame);
        QVERIFY(splash.Stop());
    }

    void splashCoversTheStartUpRequestsAndGoesBeforeTheMainWindow() {
        HeldService service(RandomPlayerModel(15, 15, 5, 4));
        QTemporaryDir markers;
        StartWatcher watcher([&service] { return service.requests.load(); });
        bool splashDuringModelRequest = false;
        int paintsAtModelRequest = -1;
        int paintsWhileHeld = -1;

        // Lets the model go once the picture has been repainted a few times
        // while start-up waited for it.
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            if (service.release)
                return;
            if (service.modelAsked && paintsAtModelRequest < 0) {
                splashDuringModelRequest = VisibleSplash() != nullptr;
                paintsAtModelRequest = watcher.pictureShowingPaints;
            }
            if (paintsAtModelRequest >= 0 &&
                watcher.pictureShowingPaints >= paintsAtModelRequest + 3) {
                paintsWhileHeld = watcher.pictureShowingPaints - paintsAtModelRequest;
                service.release = true;
            }
        });
        poll.start(5);

        CTesselApp app(service.Url(), markers.path());
        QCOMPARE(app.Run(), 0);
        // The splash showed before start-up asked the service anything...
        QCOMPARE(watcher.requestsWhenSplashShown, 0);
        // ...was still there and repainting while the model downloaded...
        QVERIFY(splashDuringModelRequest);
        QVERIFY2(paintsWhileHeld >= 3, "the splash did not repaint during the request");
        // ...and had gone when the main window came up.
        QVERIFY(watcher.mainWindowShown);
        QVERIFY(!watcher.splashWithMainWindow);
        QVERIFY(boxes->shown.empty());
    }

    void splashHasGoneWhenTheNetworkFailureIsShown() {
        QTemporaryDir markers;
        bool splashWithBox = true;
        boxes->onShow = [&](const ShownBox&) { splashWithBox = VisibleSplash() != nullptr; };
        CTesselApp app(UnusedAddress(), markers.path());
        QCOMPARE(app.Run(), 0);
        QCOMPARE(boxes->Texts(), QStringList{QStringLiteral("请保持网络通畅，然后重新打开软件")});
        QVERIFY(!splashWithBox);
        QVERIFY(VisibleSplash() == nullptr);
    }
};

QTEST_MAIN(SplashTest)
#include "SplashTest.moc"
