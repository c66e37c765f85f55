#pragma once

#include "CDialogEx.h"

#include <QString>
#include <utility>

namespace rowstone {

// The news page: a child page of the main window, still empty.
class CDialogMain : public ui::CDialogEx {
public:
    explicit CDialogMain(QString serviceUrl, QWidget* parent = nullptr)
        : ui::CDialogEx(130, parent), serviceUrl(std::move(serviceUrl)) {}

private:
    QString serviceUrl;
};

} // namespace rowstone
