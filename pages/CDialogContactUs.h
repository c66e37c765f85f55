#pragma once

#include "CDialogEx.h"

#include <QString>
#include <utility>

namespace rowstone {

// The contact page: a child page of the main window, still empty.
class CDialogContactUs : public ui::CDialogEx {
public:
    explicit CDialogContactUs(QString serviceUrl, QWidget* parent = nullptr)
        : ui::CDialogEx(137, parent), serviceUrl(std::move(serviceUrl)) {}

    // The logged-in player, handed over by the main window after a login.
    int userId = 0;

private:
    QString serviceUrl;
};

} // namespace rowstone
