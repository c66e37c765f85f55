#pragma once

#include "CDialogEx.h"

#include <QString>
#include <utility>

namespace rowstone {

class CTesselDlg;

// The personal centre: a child page of the main window, still empty. It
// keeps the account values the main window hands over after a login.
class CDialogPersonal : public ui::CDialogEx {
public:
    explicit CDialogPersonal(QString serviceUrl, QWidget* parent = nullptr)
        : ui::CDialogEx(135, parent), serviceUrl(std::move(serviceUrl)) {}

    int userId = 0;
    QString sessionKey;
    int idage = 0;
    CTesselDlg* mainWindow = nullptr; // reaches the game page's points

private:
    QString serviceUrl;
};

} // namespace rowstone
