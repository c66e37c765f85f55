#include "WaitForRequest.h"

#include <QApplication>
#include <QEventLoop>
#include <QThread>
#include <QWidget>
#include <memory>

namespace rowstone::ui {

void WaitForRequest(QWidget* waiter, const std::function<void()>& request) {
    if (QApplication::instance() == nullptr) {
        request();
        return;
    }
    QEventLoop loop;
    std::unique_ptr<QThread> worker(QThread::create(request));
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    const bool busyCursor = waiter != nullptr;
    if (busyCursor)
        QApplication::setOverrideCursor(QCursor(Qt::BusyCursor));
    worker->start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker->wait();
    if (busyCursor)
        QApplication::restoreOverrideCursor();
}

} // namespace rowstone::ui
