#pragma once

#include <functional>

class QWidget;

namespace rowstone::ui {

// Runs one service request on a worker thread while the window that asked
// waits for it: the window keeps painting (and timers and other windows'
// painting go on) but takes none of the player's input until the request
// has finished. To the caller the request stays one synchronous step.
// The request must not touch any widget.
void WaitForRequest(QWidget* waiter, const std::function<void()>& request);

} // namespace rowstone::ui
