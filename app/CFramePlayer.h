#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <cstdint>
#include <vector>

namespace rowstone {

// One decoded frame of an animation and where and how long it shows.
struct AnimationFrame {
    QImage picture; // the frame's own area only
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    uint32_t delay = 0; // hundredths of a second
    int disposal = 0;   // 2: clear to the background, 3: restore what was under it

    QRect Area() const { return QRect(left, top, width, height); }
};

// Composes the frames of an animation into one image of the picture's size,
// a frame at a time, the way the picture control shows them: each frame is
// drawn over what is there, then disposed of after its delay; before every
// new loop the whole image is cleared. Not thread-aware: the owner locks.
class CFramePlayer {
public:
    static constexpr uint32_t kShortestDelayMs = 100;

    // Makes the image, filled with initialFill; the background is what areas
    // are cleared to later. Keeps the frames and the still picture. False
    // when no image of that size can be made.
    bool Prepare(QSize size, QColor initialFill, QColor background);
    // Drops the image, the frames and the still picture.
    void Clear();

    void SetFrames(std::vector<AnimationFrame> frames);
    void SetStill(QImage still) { this->still = std::move(still); }
    int FrameCount() const { return static_cast<int>(frames.size()); }
    const AnimationFrame& Frame(int index) const { return frames[static_cast<size_t>(index)]; }
    bool HasStill() const { return !still.isNull(); }

    // Draws the still picture over the whole image, or the only frame.
    bool RenderStill();

    // One run of the animation: BeginRun once, then per frame ShowFrame,
    // wait FrameWaitMs, EndFrame.
    void BeginRun();
    bool ShowFrame();
    uint32_t FrameWaitMs() const { return WaitMsForDelay(frames[current].delay); }
    void EndFrame();

    // How long a frame of this delay (hundredths) stays: at least 100 ms.
    static uint32_t WaitMsForDelay(uint32_t delay);

    int CurrentFrame() const { return static_cast<int>(current); }
    const QImage& Image() const { return image; }
    QColor Background() const { return background; }

private:
    void Dispose();
    void FillArea(const QRect& area, QColor colour);

    QImage image;
    QImage saved; // under the current frame, for disposal 3
    QImage still;
    QColor background = Qt::white;
    std::vector<AnimationFrame> frames;
    size_t current = 0;
};

} // namespace rowstone
