#pragma once

#include "CDialogEx.h"

#include <QString>
#include <utility>

namespace rowstone {

// The ranking page: a child page of the main window, still empty.
class CDialogPaiMing : public ui::CDialogEx {
public:
    explicit CDialogPaiMing(QString serviceUrl, QWidget* parent = nullptr)
        : ui::CDialogEx(139, parent), serviceUrl(std::move(serviceUrl)) {}

private:
    QString serviceUrl;
};

} // namespace rowstone
