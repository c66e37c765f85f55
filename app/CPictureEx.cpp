#include "CPictureEx.h"

#include "CFramePlayer.h"
#include "DialogTemplate.h"
#include "GifBlockScanner.h"

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <system_error>

namespace rowstone {

// What the animation thread shares with the control. The thread holds it
// too, so that a thread the control had to let go never outlives it.
struct CPictureEx::Animation {
    mutable std::mutex lock; // the player and the repaint target
    CFramePlayer player;
    QWidget* repaintTarget = nullptr;

    std::unique_ptr<CExitEvent> exitEvent = std::make_unique<CExitEvent>();
    std::atomic<bool> stop{false};
    std::atomic<bool> playing{false};

    std::mutex endLock;
    std::condition_variable ended;
    bool finished = false;
};

namespace {

const uint8_t* Bytes(const QByteArray& data) {
    return reinterpret_cast<const uint8_t*>(data.constData());
}

bool FitsOnScreen(QSize size) {
    return size.width() <= gif_limits::kMaxScreenSide &&
           size.height() <= gif_limits::kMaxScreenSide;
}

// The frame's own area out of what the reader decoded: a whole logical
// screen with the frame in its place, or the frame alone.
QImage FrameArea(const QImage& decoded, const GifFrameBlock& block, QSize screen) {
    const QRect area(block.left, block.top, block.width, block.height);
    if (decoded.size() == area.size() && decoded.size() != screen)
        return decoded;
    return decoded.copy(area.intersected(decoded.rect()));
}

} // namespace

CPictureEx::CPictureEx(QWidget* parent)
    : QWidget(parent), animation(std::make_shared<Animation>()) {
    animation->repaintTarget = this;
}

CPictureEx::~CPictureEx() {
    UnLoad();
    const std::lock_guard<std::mutex> guard(animation->lock);
    animation->repaintTarget = nullptr;
}

QColor CPictureEx::ButtonFaceColour() {
    return QApplication::palette().color(QPalette::Button);
}

QColor CPictureEx::MenuColour() {
    return QApplication::palette("QMenu").color(QPalette::Window);
}

bool CPictureEx::Load(int resourceId, const char* resourceType) {
    const char* path = ui::FindResourcePath(resourceId, resourceType);
    if (path[0] == '\0') {
        UnLoad();
        return false;
    }
    QFile resource(QString::fromUtf8(path));
    if (!resource.open(QIODevice::ReadOnly) ||
        resource.size() > static_cast<qint64>(gif_limits::kMaxDataBytes)) {
        UnLoad();
        return false;
    }
    return Load(resource.readAll());
}

bool CPictureEx::Load(const QByteArray& data) {
    UnLoad();
    if (data.isEmpty() || static_cast<size_t>(data.size()) > gif_limits::kMaxDataBytes)
        return false;
    const bool loaded =
        GifBlockScanner::StartsLikeGif(Bytes(data), static_cast<size_t>(data.size()))
            ? LoadGif(data)
            : LoadStill(data, nullptr);
    if (!loaded)
        UnLoad();
    return loaded;
}

bool CPictureEx::LoadGif(const QByteArray& data) {
    isGif = true;
    GifBlockScanner scanner(Bytes(data), static_cast<size_t>(data.size()));
    if (scanner.ReadScreen() != GifScreenResult::Ok)
        return false;
    const QSize screen(scanner.ScreenWidth(), scanner.ScreenHeight());
    const int count = scanner.CountFrames();
    if (count == 0 || count > gif_limits::kMaxFrames)
        return false;
    if (count == 1) {
        if (!LoadStill(data, "GIF"))
            return false;
        pictureSize = screen;
        return PrepareImage(screen);
    }
    if (static_cast<qint64>(count) * screen.width() * screen.height() > kMaxDecodedPixels)
        return false;

    std::vector<AnimationFrame> frames;
    scanner.Rewind();
    GifFrameBlock block;
    while (scanner.ExtractNextFrame(block)) {
        const QImage decoded = QImage::fromData(
            QByteArrayView(block.gif.data(), static_cast<qsizetype>(block.gif.size())), "GIF");
        if (decoded.isNull())
            continue;
        AnimationFrame frame;
        frame.picture =
            FrameArea(decoded, block, screen).convertToFormat(QImage::Format_ARGB32_Premultiplied);
        frame.left = block.left;
        frame.top = block.top;
        frame.width = block.width;
        frame.height = block.height;
        frame.delay = block.delay;
        frame.disposal = block.disposal;
        frames.push_back(std::move(frame));
    }
    if (frames.empty())
        return false;
    pictureSize = screen;
    if (!PrepareImage(screen))
        return false;
    const std::lock_guard<std::mutex> guard(animation->lock);
    animation->player.SetFrames(std::move(frames));
    return true;
}

bool CPictureEx::LoadStill(const QByteArray& data, const char* format) {
    QBuffer buffer;
    buffer.setData(data);
    if (!buffer.open(QIODevice::ReadOnly))
        return false;
    QImageReader reader(&buffer, format);
    const QSize size = reader.size();
    if (!size.isValid() || !FitsOnScreen(size))
        return false;
    QImage still = reader.read();
    if (still.isNull())
        return false;
    if (format == nullptr) {
        pictureSize = still.size();
        if (!PrepareImage(pictureSize))
            return false;
    }
    const std::lock_guard<std::mutex> guard(animation->lock);
    animation->player.SetStill(std::move(still));
    return true;
}

bool CPictureEx::PrepareImage(QSize size) {
    if (!FitsOnScreen(size))
        return false;
    resize(size);
    {
        const std::lock_guard<std::mutex> guard(animation->lock);
        if (!animation->player.Prepare(size, MenuColour(), ButtonFaceColour()))
            return false;
    }
    initialised = true;
    setAttribute(Qt::WA_OpaquePaintEvent, true);
    return true;
}

void CPictureEx::Draw() {
    if (!initialised)
        return;
    if (thread.joinable() && !ReapFinishedThread())
        return; // already playing
    bool animated = false;
    {
        const std::lock_guard<std::mutex> guard(animation->lock);
        animated = isGif && animation->player.FrameCount() > 1;
        if (!animated && !animation->player.RenderStill())
            return;
    }
    if (!animated) {
        update();
        return;
    }
    {
        const std::lock_guard<std::mutex> guard(animation->endLock);
        animation->finished = false;
    }
    // A stop asked for while nothing ran has nothing left to stop.
    animation->stop = false;
    try {
        thread = std::thread(&CPictureEx::Animate, animation);
    } catch (const std::system_error&) {
        // Without a thread the control keeps showing its first fill.
    }
}

void CPictureEx::Animate(std::shared_ptr<Animation> shared) {
    Animation& a = *shared;
    a.playing = true;
    {
        const std::lock_guard<std::mutex> guard(a.lock);
        a.player.BeginRun();
    }
    while (!a.stop) {
        uint32_t waitMs = 0;
        {
            const std::lock_guard<std::mutex> guard(a.lock);
            if (a.player.ShowFrame() && a.repaintTarget != nullptr) {
                QWidget* target = a.repaintTarget;
                QMetaObject::invokeMethod(
                    target, [target] { target->update(); }, Qt::QueuedConnection);
            }
            waitMs = a.player.FrameWaitMs();
        }
        if (a.stop)
            break;
        a.exitEvent->WaitFor(std::chrono::milliseconds(waitMs));
        if (a.stop)
            break;
        const std::lock_guard<std::mutex> guard(a.lock);
        a.player.EndFrame();
    }
    {
        const std::lock_guard<std::mutex> guard(a.endLock);
        a.finished = true;
    }
    // Cleared after `finished`, so that whoever sees the thread no longer
    // playing finds it ready to be joined.
    a.playing = false;
    a.ended.notify_all();
}

// Joins a thread that has left its loop on its own (after SetStopFlag);
// false while it still runs.
bool CPictureEx::ReapFinishedThread() {
    {
        const std::lock_guard<std::mutex> guard(animation->endLock);
        if (!animation->finished)
            return false;
    }
    thread.join();
    animation->exitEvent->Reset();
    animation->stop = false;
    return true;
}

bool CPictureEx::Stop(std::chrono::milliseconds wait) {
    animation->playing = false;
    if (!thread.joinable()) {
        animation->stop = false;
        return true;
    }
    animation->stop = true;
    animation->exitEvent->Set();
    bool ended = false;
    {
        std::unique_lock<std::mutex> guard(animation->endLock);
        ended = animation->ended.wait_for(guard, wait, [this] { return animation->finished; });
    }
    if (!ended) {
        LetThreadGo();
        return false;
    }
    thread.join();
    animation->exitEvent->Reset();
    animation->stop = false;
    return true;
}

// The thread keeps its own share of the animation and frees it when it
// ends; the control starts again from nothing.
void CPictureEx::LetThreadGo() {
    thread.detach();
    {
        const std::lock_guard<std::mutex> guard(animation->lock);
        animation->repaintTarget = nullptr;
    }
    animation = std::make_shared<Animation>();
    animation->repaintTarget = this;
    pictureSize = QSize();
    isGif = false;
    initialised = false;
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void CPictureEx::UnLoad() {
    Stop();
    {
        const std::lock_guard<std::mutex> guard(animation->lock);
        animation->player.Clear();
    }
    pictureSize = QSize();
    isGif = false;
    initialised = false;
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void CPictureEx::SetStopFlag() {
    animation->stop = true;
}

void CPictureEx::SetExitEvent(std::unique_ptr<CExitEvent> event) {
    if (event == nullptr || thread.joinable())
        return;
    animation->exitEvent = std::move(event);
}

QColor CPictureEx::BackgroundColour() const {
    const std::lock_guard<std::mutex> guard(animation->lock);
    return animation->player.Background();
}

bool CPictureEx::IsPlaying() const {
    return animation->playing;
}

int CPictureEx::FrameCount() const {
    const std::lock_guard<std::mutex> guard(animation->lock);
    return animation->player.FrameCount();
}

int CPictureEx::CurrentFrame() const {
    const std::lock_guard<std::mutex> guard(animation->lock);
    return animation->player.CurrentFrame();
}

QImage CPictureEx::Snapshot() const {
    const std::lock_guard<std::mutex> guard(animation->lock);
    return animation->player.Image().copy();
}

void CPictureEx::paintEvent(QPaintEvent* /*event*/) {
    if (!initialised)
        return;
    QPainter painter(this);
    const std::lock_guard<std::mutex> guard(animation->lock);
    painter.drawImage(QPoint(0, 0), animation->player.Image());
}

} // namespace rowstone
