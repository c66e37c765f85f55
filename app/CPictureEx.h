#pragma once

#include "CExitEvent.h"

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QWidget>
#include <chrono>
#include <memory>
#include <thread>

namespace rowstone {

// A picture control that shows a still picture or plays an animated GIF.
// A GIF is split into its frames, each rebuilt as a GIF of its own and
// decoded by the image reader; the frames then play on a thread of their
// own, composed into an off-screen image of the picture's size, which the
// control copies to the screen when it paints. Anything that is not a GIF
// is shown as a still picture.
class CPictureEx : public QWidget {
public:
    static constexpr std::chrono::milliseconds kStopWait{5000};
    // Frames times the screen's area that one GIF may decode to.
    static constexpr qint64 kMaxDecodedPixels = 32 * 1024 * 1024;

    explicit CPictureEx(QWidget* parent = nullptr);
    ~CPictureEx() override;
    CPictureEx(const CPictureEx&) = delete;
    CPictureEx& operator=(const CPictureEx&) = delete;

    // Loads one of the program's resources; the type is matched without
    // regard to letter case.
    bool Load(int resourceId, const char* resourceType);
    // True when there is something to show; the control is empty otherwise.
    bool Load(const QByteArray& data);
    // Starts the animation, or shows the still picture.
    void Draw();
    // Ends the animation thread, waiting for it at most `wait`; the frame
    // that was showing stays the current one. False when the thread did
    // not end in time: the control then lets it go and is left empty.
    bool Stop(std::chrono::milliseconds wait = kStopWait);
    void UnLoad();
    // Asks the animation thread to leave after its current wait.
    void SetStopFlag();

    // Replaces the event the animation waits on between frames; only while
    // no animation runs.
    void SetExitEvent(std::unique_ptr<CExitEvent> event);

    QSize PictureSize() const { return pictureSize; }
    QColor BackgroundColour() const;
    bool IsGif() const { return isGif; }
    bool IsInitialised() const { return initialised; }
    bool IsPlaying() const;
    int FrameCount() const;
    int CurrentFrame() const;
    // A copy of the off-screen image.
    QImage Snapshot() const;

    // The colours the control clears with, taken from the style.
    static QColor ButtonFaceColour();
    static QColor MenuColour();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Animation;

    bool LoadGif(const QByteArray& data);
    bool LoadStill(const QByteArray& data, const char* format);
    bool PrepareImage(QSize size);
    bool ReapFinishedThread();
    void LetThreadGo();
    static void Animate(std::shared_ptr<Animation> shared);

    std::shared_ptr<Animation> animation;
    std::thread thread;
    QSize pictureSize;
    bool isGif = false;
    bool initialised = false;
};

} // namespace rowstone
