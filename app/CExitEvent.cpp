#include "CExitEvent.h"

namespace rowstone {

void CExitEvent::WaitFor(std::chrono::milliseconds duration) {
    std::unique_lock<std::mutex> guard(lock);
    changed.wait_for(guard, duration, [this] { return signalled; });
}

void CExitEvent::Set() {
    {
        const std::lock_guard<std::mutex> guard(lock);
        signalled = true;
    }
    changed.notify_all();
}

void CExitEvent::Reset() {
    const std::lock_guard<std::mutex> guard(lock);
    signalled = false;
}

} // namespace rowstone
