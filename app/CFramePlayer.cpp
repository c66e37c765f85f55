#include "CFramePlayer.h"

#include <QPainter>

namespace rowstone {

namespace {

constexpr uint32_t kShortDelayBelow = 5; // hundredths
constexpr int kDisposeToBackground = 2;
constexpr int kDisposeToPrevious = 3;

} // namespace

bool CFramePlayer::Prepare(QSize size, QColor initialFill, QColor background) {
    image = QImage();
    saved = QImage();
    current = 0;
    if (size.isEmpty())
        return false;
    image = QImage(size, QImage::Format_RGB32);
    if (image.isNull())
        return false;
    image.fill(initialFill);
    this->background = background;
    return true;
}

void CFramePlayer::Clear() {
    image = QImage();
    saved = QImage();
    still = QImage();
    frames.clear();
    current = 0;
    background = Qt::white;
}

void CFramePlayer::SetFrames(std::vector<AnimationFrame> frames) {
    this->frames = std::move(frames);
    current = 0;
}

bool CFramePlayer::RenderStill() {
    // An animation of which one frame decoded shows that frame.
    if (still.isNull() && frames.size() == 1)
        return ShowFrame();
    if (image.isNull() || still.isNull())
        return false;
    QPainter painter(&image);
    painter.drawImage(image.rect(), still);
    return true;
}

uint32_t CFramePlayer::WaitMsForDelay(uint32_t delay) {
    // Wraps for the largest delays, as 32-bit milliseconds do.
    return delay < kShortDelayBelow ? kShortestDelayMs : delay * 10u;
}

void CFramePlayer::BeginRun() {
    if (current >= frames.size())
        current = 0;
    if (!frames.empty())
        Dispose();
}

bool CFramePlayer::ShowFrame() {
    if (image.isNull() || current >= frames.size())
        return false;
    const AnimationFrame& frame = frames[current];
    if (frame.disposal == kDisposeToPrevious)
        saved = image.copy(frame.Area());
    QPainter painter(&image);
    painter.drawImage(QPoint(frame.left, frame.top), frame.picture);
    return true;
}

void CFramePlayer::EndFrame() {
    if (current >= frames.size())
        return;
    Dispose();
    ++current;
    if (current == frames.size()) {
        current = 0;
        image.fill(background);
    }
}

void CFramePlayer::Dispose() {
    const AnimationFrame& frame = frames[current];
    if (frame.disposal == kDisposeToBackground) {
        FillArea(frame.Area(), background);
    } else if (frame.disposal == kDisposeToPrevious && !saved.isNull()) {
        QPainter painter(&image);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(QPoint(frame.left, frame.top), saved);
        saved = QImage();
    }
}

void CFramePlayer::FillArea(const QRect& area, QColor colour) {
    QPainter painter(&image);
    painter.fillRect(area, colour);
}

} // namespace rowstone
