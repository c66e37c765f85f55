#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace rowstone {

// A manual-reset event: once set, every wait returns at once until it is
// reset. The animation thread waits on one between frames, so that a stop
// cuts the wait short. Virtual so that tests can step an animation frame
// by frame instead of waiting.
class CExitEvent {
public:
    virtual ~CExitEvent() = default;

    // Waits until the event is set or the time is up.
    virtual void WaitFor(std::chrono::milliseconds duration);
    virtual void Set();
    virtual void Reset();

private:
    std::mutex lock;
    std::condition_variable changed;
    bool signalled = false;
};

} // namespace rowstone
