// The animated picture control on hand-made GIFs and on the splash picture:
// the waits it asks for, the frames it composes (checked against
// ImageMagick's coalesced frames), stopping and resuming, still pictures,
// and data that is cut short or corrupted.
#include "CFramePlayer.h"
#include "CPictureEx.h"
#include "GifBlockScanner.h"
#include "TestGif.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <condition_variable>
#include <memory>
#include <mutex>

using namespace rowstone;
using namespace rowstone::test;

namespace {

using Bytes = std::vector<uint8_t>;

QByteArray ToQt(const Bytes& bytes) {
    return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<qsizetype>(bytes.size()));
}

// Lets a test run the animation thread one frame at a time: every wait is
// recorded and held until the test releases it, or until the event is set.
// A stubborn one ignores being set, like a thread that hangs.
struct StepState {
    std::mutex lock;
    std::condition_variable changed;
    std::vector<uint32_t> waits;
    size_t released = 0;
    bool set = false;
    bool stubborn = false;
};

class SteppedEvent final : public CExitEvent {
public:
    explicit SteppedEvent(std::shared_ptr<StepState> state) : state(std::move(state)) {}
    void WaitFor(std::chrono::milliseconds duration) override {
        std::unique_lock<std::mutex> guard(state->lock);
        state->waits.push_back(static_cast<uint32_t>(duration.count()));
        const size_t number = state->waits.size();
        state->changed.notify_all();
        state->changed.wait(guard, [this, number] {
            return (state->set && !state->stubborn) || state->released >= number;
        });
    }
    void Set() override {
        const std::lock_guard<std::mutex> guard(state->lock);
        state->set = true;
        state->changed.notify_all();
    }
    void Reset() override {
        const std::lock_guard<std::mutex> guard(state->lock);
        state->set = false;
    }

private:
    std::shared_ptr<StepState> state;
};

class Stepper {
public:
    explicit Stepper(CPictureEx& picture) : state(std::make_shared<StepState>()) {
        picture.SetExitEvent(std::make_unique<SteppedEvent>(state));
    }
    // Waits until the thread has asked for `count` waits in all.
    bool ReachWait(size_t count) {
        std::unique_lock<std::mutex> guard(state->lock);
        return state->changed.wait_for(guard, std::chrono::seconds(10),
                                       [&] { return state->waits.size() >= count; });
    }
    void Release() {
        const std::lock_guard<std::mutex> guard(state->lock);
        ++state->released;
        state->changed.notify_all();
    }
    std::vector<uint32_t> Waits() {
        const std::lock_guard<std::mutex> guard(state->lock);
        return state->waits;
    }
    void MakeStubborn() {
        const std::lock_guard<std::mutex> guard(state->lock);
        state->stubborn = true;
    }
    void ReleaseAll() {
        const std::lock_guard<std::mutex> guard(state->lock);
        state->released = 1000000;
        state->changed.notify_all();
    }
    std::shared_ptr<StepState> state;
};

// The composed frames of `count` steps of the animation thread.
std::vector<QImage> PlayFrames(CPictureEx& picture, int count, std::vector<uint32_t>* waits) {
    Stepper stepper(picture);
    picture.Draw();
    std::vector<QImage> frames;
    for (int i = 0; i < count; ++i) {
        if (!stepper.ReachWait(static_cast<size_t>(i + 1)))
            break;
        frames.push_back(picture.Snapshot());
        // The last wait is left to the stop.
        if (i + 1 < count)
            stepper.Release();
    }
    picture.Stop();
    if (waits != nullptr)
        *waits = stepper.Waits();
    return frames;
}

std::vector<QImage> Coalesced(const QByteArray& gif, QString& problem) {
    std::vector<QImage> frames;
    const QString convert = QStandardPaths::findExecutable(QStringLiteral("convert"));
    if (convert.isEmpty()) {
        problem = QStringLiteral("no convert");
        return frames;
    }
    QTemporaryDir folder;
    QFile file(folder.filePath(QStringLiteral("in.gif")));
    if (!file.open(QIODevice::WriteOnly) || file.write(gif) != gif.size())
        return frames;
    file.close();
    QProcess run;
    run.start(convert, {file.fileName(), QStringLiteral("-coalesce"),
                        folder.filePath(QStringLiteral("frame-%03d.png"))});
    if (!run.waitForFinished(30000) || run.exitCode() != 0) {
        problem = QString::fromUtf8(run.readAllStandardError());
        return frames;
    }
    for (int i = 0;; ++i) {
        const QImage frame(
            folder.filePath(QStringLiteral("frame-%1.png").arg(i, 3, 10, QChar('0'))));
        if (frame.isNull())
            break;
        frames.push_back(frame.convertToFormat(QImage::Format_ARGB32));
    }
    return frames;
}

// Where ImageMagick shows the GIF's background colour (nothing drawn there
// yet) or leaves a pixel transparent (cleared by disposal 2), the control
// shows one of its own clearing colours.
QString Difference(const QImage& ours, const QImage& theirs, QRgb gifBackground,
                   const QList<QColor>& cleared) {
    if (ours.size() != theirs.size())
        return QStringLiteral("size %1x%2 against %3x%4")
            .arg(ours.width())
            .arg(ours.height())
            .arg(theirs.width())
            .arg(theirs.height());
    for (int y = 0; y < ours.height(); ++y) {
        for (int x = 0; x < ours.width(); ++x) {
            const QColor mine = ours.pixelColor(x, y);
            const QColor other = theirs.pixelColor(x, y);
            const bool clearedThere = other.alpha() == 0 || other.rgb() == gifBackground;
            const bool same = clearedThere ? cleared.contains(mine) : mine.rgb() == other.rgb();
            if (!same)
                return QStringLiteral("pixel (%1, %2): %3 against %4 (alpha %5)")
                    .arg(x)
                    .arg(y)
                    .arg(mine.name(), other.name())
                    .arg(other.alpha());
        }
    }
    return {};
}

// The last colour is the GIF's background colour, used for nothing else.
const std::vector<Rgb> kColours = {{250, 250, 250}, {200, 0, 0},   {0, 160, 0},   {0, 0, 220},
                                   {90, 60, 30},    {30, 90, 200}, {120, 0, 120}, {255, 0, 255}};
const QRgb kGifBackground = qRgb(255, 0, 255);

TestGifFrame Frame(int left, int top, int width, int height, uint8_t index, int disposal,
                   uint16_t delay = 10) {
    TestGifFrame frame = SolidFrame(left, top, width, height, index);
    frame.disposal = disposal;
    frame.delay = delay;
    return frame;
}

// A frame whose pixels alternate between a colour and the transparent index.
TestGifFrame Checkered(int left, int top, int width, int height, uint8_t index, int disposal) {
    TestGifFrame frame = Frame(left, top, width, height, index, disposal);
    frame.transparent = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            frame.pixels[static_cast<size_t>(y * width + x)] = (x + y) % 2 == 0 ? index : 0;
    return frame;
}

TestGif Gif(int width, int height, std::vector<TestGifFrame> frames) {
    TestGif gif;
    gif.width = width;
    gif.height = height;
    gif.palette = kColours;
    gif.backgroundIndex = 7; // never shown: the control clears to its own colours
    gif.frames = std::move(frames);
    return gif;
}

QByteArray SplashGif() {
    QFile file(QStringLiteral(":/res/splash.gif"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class PictureTest : public QObject {
    Q_OBJECT
private slots:
    void composedFramesMatchTheCoalescedOnes_data() {
        QTest::addColumn<QByteArray>("gif");
        QTest::newRow("every disposal")
            << ToQt(Gif(8, 6,
                        {Frame(0, 0, 8, 6, 1, 1), Frame(2, 1, 3, 3, 2, 2), Frame(1, 1, 2, 2, 3, 3),
                         Checkered(4, 2, 4, 4, 3, 1), Frame(0, 0, 2, 2, 2, 0),
                         Checkered(3, 0, 3, 3, 2, 3), Frame(6, 4, 2, 2, 1, 2)})
                        .Bytes());
        QTest::newRow("first frame leaves the screen uncovered")
            << ToQt(Gif(6, 6,
                        {Frame(1, 1, 2, 2, 1, 1), Checkered(2, 2, 4, 4, 3, 2),
                         Frame(0, 4, 6, 2, 2, 3), Frame(4, 0, 2, 2, 3, 1)})
                        .Bytes());
        TestGif local = Gif(5, 5, {Frame(0, 0, 5, 5, 0, 1), Checkered(1, 1, 3, 3, 1, 3)});
        local.frames[1].localPalette = {{0, 0, 0}, {10, 200, 250}};
        local.frames.push_back(Frame(2, 0, 3, 2, 3, 2));
        QTest::newRow("local colour table") << ToQt(local.Bytes());
        QTest::newRow("splash picture") << SplashGif();
    }
    void composedFramesMatchTheCoalescedOnes() {
        QFETCH(QByteArray, gif);
        QString problem;
        const std::vector<QImage> expected = Coalesced(gif, problem);
        if (problem == QStringLiteral("no convert"))
            QSKIP("ImageMagick's convert is not installed (scripts/install-deps.sh installs it)");
        QVERIFY2(!expected.empty(), qPrintable(problem));

        CPictureEx picture;
        QVERIFY(picture.Load(gif));
        QCOMPARE(picture.FrameCount(), int(expected.size()));
        const QList<QColor> cleared{CPictureEx::MenuColour(), CPictureEx::ButtonFaceColour()};
        // Two loops: the second starts from an image cleared to the
        // button-face colour.
        const int count = 2 * int(expected.size());
        const std::vector<QImage> frames = PlayFrames(picture, count, nullptr);
        QCOMPARE(int(frames.size()), count);
        for (int i = 0; i < count; ++i) {
            const QList<QColor> clearedNow =
                i < int(expected.size()) ? cleared : QList<QColor>{CPictureEx::ButtonFaceColour()};
            const QString difference =
                Difference(frames[size_t(i)], expected[size_t(i) % expected.size()], kGifBackground,
                           clearedNow);
            QVERIFY2(difference.isEmpty(),
                     qPrintable(QStringLiteral("frame %1: %2").arg(i).arg(difference)));
        }
    }

    void clearingUsesTheControlsColours() {
        // The GIF's own background colour (green here) never shows: the
        // first fill is the menu colour, disposal 2 and the start of a new
        // loop clear to the button face.
        const Bytes bytes = Gif(4, 4, {Frame(0, 0, 2, 2, 1, 2), Frame(2, 2, 2, 2, 3, 1)}).Bytes();
        CPictureEx picture;
        QVERIFY(picture.Load(ToQt(bytes)));
        const QColor menu(0, 0, 255);
        const QColor face(255, 255, 0);
        CFramePlayer player;
        QVERIFY(player.Prepare(QSize(4, 4), menu, face));
        std::vector<AnimationFrame> frames;
        for (int i = 0; i < 2; ++i) {
            AnimationFrame frame;
            frame.left = frame.top = 2 * i;
            frame.width = frame.height = 2;
            frame.disposal = i == 0 ? 2 : 1;
            frame.picture = QImage(2, 2, QImage::Format_ARGB32);
            frame.picture.fill(i == 0 ? Qt::red : Qt::darkBlue);
            frames.push_back(frame);
        }
        player.SetFrames(frames);
        player.BeginRun();
        QVERIFY(player.ShowFrame());
        QCOMPARE(player.Image().pixelColor(0, 0), QColor(Qt::red));
        QCOMPARE(player.Image().pixelColor(3, 0), menu);
        player.EndFrame();
        QCOMPARE(player.Image().pixelColor(0, 0), face);
        QVERIFY(player.ShowFrame());
        QCOMPARE(player.Image().pixelColor(3, 3), QColor(Qt::darkBlue));
        QCOMPARE(player.Image().pixelColor(3, 0), menu);
        player.EndFrame();
        QCOMPARE(player.CurrentFrame(), 0);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x)
                QCOMPARE(player.Image().pixelColor(x, y), face);
        QCOMPARE(picture.BackgroundColour(), CPictureEx::ButtonFaceColour());
    }

    void waitsFollowTheFrameDelays() {
        TestGifFrame noControl = Frame(0, 0, 2, 2, 2, 0);
        noControl.control = false;
        TestGif gif =
            Gif(2, 2,
                {Frame(0, 0, 2, 2, 1, 0, 0), Frame(0, 0, 2, 2, 2, 0, 4), Frame(0, 0, 2, 2, 3, 0, 5),
                 Frame(0, 0, 2, 2, 1, 0, 10), Frame(0, 0, 2, 2, 2, 0, 250), noControl});
        // Asks to be played once; the control loops all the same.
        gif.loopCount = 1;
        CPictureEx picture;
        QVERIFY(picture.Load(ToQt(gif.Bytes())));
        std::vector<uint32_t> waits;
        PlayFrames(picture, 8, &waits);
        // No graphic control extension: all bits set, times ten in 32 bits.
        const std::vector<uint32_t> expected{100, 100, 50, 100, 2500, 4294967286u, 100, 100};
        QCOMPARE(waits, expected);
    }

    void splashPicturePlaysTenFramesATenthEachAndLoops() {
        CPictureEx picture;
        QVERIFY(picture.Load(148, "gif"));
        QVERIFY(picture.IsGif());
        QCOMPARE(picture.PictureSize(), QSize(108, 114));
        QCOMPARE(picture.size(), QSize(108, 114));
        QCOMPARE(picture.FrameCount(), 10);
        std::vector<uint32_t> waits;
        const std::vector<QImage> frames = PlayFrames(picture, 12, &waits);
        QCOMPARE(waits, std::vector<uint32_t>(12, 100));
        QCOMPARE(frames[10], frames[0]);
        QVERIFY(frames[1] != frames[0]);
        QVERIFY(!picture.Load(147, "Gif"));
        QVERIFY(!picture.Load(148, "Png"));
    }

    void stopAndDrawResumeAtTheFrameShowing() {
        const Bytes bytes = Gif(3, 1,
                                {Frame(0, 0, 1, 1, 1, 1, 10), Frame(1, 0, 1, 1, 2, 1, 20),
                                 Frame(2, 0, 1, 1, 3, 1, 30), Frame(0, 0, 3, 1, 0, 1, 40)})
                                .Bytes();
        CPictureEx picture;
        QVERIFY(picture.Load(ToQt(bytes)));
        Stepper stepper(picture);
        picture.Draw();
        for (size_t wait = 1; wait < 3; ++wait) {
            QVERIFY(stepper.ReachWait(wait));
            stepper.Release();
        }
        QVERIFY(stepper.ReachWait(3));
        QVERIFY(picture.IsPlaying());
        const QImage stopped = picture.Snapshot();
        QVERIFY(picture.Stop());
        QVERIFY(!picture.IsPlaying());
        QCOMPARE(picture.CurrentFrame(), 2);
        picture.Draw();
        QVERIFY(stepper.ReachWait(4));
        QCOMPARE(picture.Snapshot(), stopped);
        stepper.Release();
        stepper.Release();
        QVERIFY(stepper.ReachWait(5));
        QCOMPARE(stepper.Waits(), (std::vector<uint32_t>{100, 200, 300, 300, 400}));
        QVERIFY(picture.Stop());
    }

    void stopCutsEvenTheLongestWaitShort() {
        TestGifFrame held = Frame(0, 0, 1, 1, 1, 0);
        held.control = false; // about 49.7 days
        CPictureEx picture;
        QVERIFY(picture.Load(ToQt(Gif(1, 1, {held, Frame(0, 0, 1, 1, 2, 0)}).Bytes())));
        picture.Draw();
        QTRY_VERIFY(picture.IsPlaying());
        QVERIFY(picture.Stop());
        QCOMPARE(picture.CurrentFrame(), 0);
    }

    void stopFlagEndsTheThreadAfterItsCurrentWait() {
        CPictureEx picture;
        QVERIFY(picture.Load(
            ToQt(Gif(1, 1, {Frame(0, 0, 1, 1, 1, 0), Frame(0, 0, 1, 1, 2, 0)}).Bytes())));
        Stepper stepper(picture);
        picture.Draw();
        QVERIFY(stepper.ReachWait(1));
        picture.SetStopFlag();
        stepper.Release();
        QTRY_VERIFY(!picture.IsPlaying());
        QCOMPARE(stepper.Waits().size(), size_t(1));
        QCOMPARE(picture.CurrentFrame(), 0);
        // Drawing again plays on.
        picture.Draw();
        QVERIFY(stepper.ReachWait(2));
        QVERIFY(picture.Stop());
    }

    void aThreadThatWillNotEndIsLetGo() {
        CPictureEx picture;
        QVERIFY(picture.Load(
            ToQt(Gif(1, 1, {Frame(0, 0, 1, 1, 1, 0), Frame(0, 0, 1, 1, 2, 0)}).Bytes())));
        Stepper stepper(picture);
        stepper.MakeStubborn();
        picture.Draw();
        QVERIFY(stepper.ReachWait(1));
        QVERIFY(!picture.Stop(std::chrono::milliseconds(20)));
        QVERIFY(!picture.IsInitialised());
        QCOMPARE(picture.FrameCount(), 0);
        picture.Draw();
        QCOMPARE(stepper.Waits().size(), size_t(1));
        // The thread it let go ends on its own and frees what it shared.
        stepper.ReleaseAll();
        QTRY_COMPARE(stepper.state.use_count(), 1L);
    }

    void singleImageIsAStillPicture() {
        const Bytes bytes = Gif(3, 2, {Frame(1, 0, 2, 2, 3, 0)}).Bytes();
        CPictureEx picture;
        Stepper stepper(picture);
        QVERIFY(picture.Load(ToQt(bytes)));
        QVERIFY(picture.IsGif());
        QCOMPARE(picture.FrameCount(), 0);
        QCOMPARE(picture.PictureSize(), QSize(3, 2));
        picture.Draw();
        QVERIFY(!picture.IsPlaying());
        QCOMPARE(picture.Snapshot().pixelColor(2, 1), QColor(0, 0, 220));
        QTest::qWait(20);
        QVERIFY(stepper.Waits().empty());
    }

    void anyVersionIsAGifAndOtherDataAStill() {
        TestGif odd = Gif(2, 2, {Frame(0, 0, 2, 2, 1, 0), Frame(0, 0, 1, 1, 2, 0)});
        odd.version = "00z";
        CPictureEx picture;
        QVERIFY(picture.Load(ToQt(odd.Bytes())));
        QVERIFY(picture.IsGif());
        QCOMPARE(picture.FrameCount(), 2);

        QImage image(7, 3, QImage::Format_RGB32);
        image.fill(QColor(10, 20, 30));
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(image.save(&buffer, "PNG"));
        QVERIFY(picture.Load(png));
        QVERIFY(!picture.IsGif());
        QCOMPARE(picture.PictureSize(), QSize(7, 3));
        QCOMPARE(picture.size(), QSize(7, 3));
        picture.Draw();
        QVERIFY(!picture.IsPlaying());
        QCOMPARE(picture.Snapshot().pixelColor(6, 2), QColor(10, 20, 30));

        QVERIFY(!picture.Load(QByteArray("not a picture at all")));
        QVERIFY(!picture.IsInitialised());
        QVERIFY(!picture.Load(QByteArray()));
    }

    void cutShortGifsKeepTheirWholeFrames() {
        const Bytes full =
            Gif(4, 4, {Frame(0, 0, 4, 4, 1, 1), Frame(1, 1, 2, 2, 2, 1), Frame(2, 2, 2, 2, 3, 1)})
                .Bytes();
        std::vector<size_t> ends;
        {
            GifBlockScanner scanner(full.data(), full.size());
            QCOMPARE(scanner.ReadScreen(), GifScreenResult::Ok);
            GifFrameBlock frame;
            while (scanner.ExtractNextFrame(frame))
                ends.push_back(scanner.Offset());
        }
        QCOMPARE(ends.size(), size_t(3));
        for (size_t length = 0; length < full.size(); ++length) {
            int whole = 0;
            for (size_t end : ends)
                whole += end <= length ? 1 : 0;
            CPictureEx picture;
            const bool loaded =
                picture.Load(ToQt(Bytes(full.begin(), full.begin() + long(length))));
            QCOMPARE(loaded, whole > 0);
            QCOMPARE(picture.FrameCount(), whole > 1 ? whole : 0);
            picture.Draw();
            QVERIFY(picture.Stop());
        }
    }

    void undecodableFramesAreDropped() {
        Bytes bytes =
            Gif(2, 2, {Frame(0, 0, 2, 2, 1, 0), Frame(0, 0, 2, 2, 2, 0), Frame(0, 0, 2, 2, 3, 0)})
                .Bytes();
        // LZW codes wider than GIF allows in the second and third images.
        std::vector<size_t> images;
        for (size_t i = 25; i + 10 < bytes.size(); ++i) {
            if (bytes[i] == 0x2C && bytes[i - 1] == 0 && bytes[i - 8] == 0x21)
                images.push_back(i);
        }
        QCOMPARE(images.size(), size_t(3));
        for (size_t i : {images[1], images[2]})
            bytes[i + 10] = 13;
        CPictureEx picture;
        QVERIFY(picture.Load(ToQt(bytes)));
        QCOMPARE(picture.FrameCount(), 1);
        picture.Draw();
        QVERIFY(!picture.IsPlaying());
        QCOMPARE(picture.Snapshot().pixelColor(1, 1), QColor(200, 0, 0));

        bytes[images[0] + 10] = 13;
        QVERIFY(!picture.Load(ToQt(bytes)));
    }

    void oversizedPicturesAreRefused() {
        TestGif wide = Gif(gif_limits::kMaxScreenSide + 1, 1,
                           {Frame(0, 0, 1, 1, 1, 0), Frame(0, 0, 1, 1, 2, 0)});
        CPictureEx picture;
        QVERIFY(!picture.Load(ToQt(wide.Bytes())));
        // Within the side limit, but too many pixels to decode in all.
        TestGif many = Gif(2048, 2048, {});
        many.frames.assign(9, Frame(0, 0, 1, 1, 1, 0));
        QVERIFY(!picture.Load(ToQt(many.Bytes())));
    }
};

QTEST_MAIN(PictureTest)
#include "PictureTest.moc"
