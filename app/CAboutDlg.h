#pragma once

#include "CDialogEx.h"

#include <QPushButton>

namespace rowstone {

// The About box: the icon, two lines about the product and "确定".
class CAboutDlg : public ui::CDialogEx {
public:
    static constexpr int kOkButton = 1;

    explicit CAboutDlg(QWidget* parent = nullptr) : ui::CDialogEx(100, parent) {}

protected:
    bool OnInitDialog() override {
        connect(Item<QPushButton>(kOkButton), &QPushButton::clicked, this,
                [this] { EndDialog(Accepted); });
        return true;
    }
};

} // namespace rowstone
