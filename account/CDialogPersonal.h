#pragma once

#include "CDialogEx.h"
#include "CHtmlCtrl.h"

#include <QString>

namespace rowstone {

class CTesselDlg;

// The personal centre: the player's page of the service in a web view, and
// beside it the buttons for a points recharge (in the system's browser), a
// red-envelope withdrawal and a data purchase. The main window hands over
// the account values after a login.
class CDialogPersonal : public ui::CDialogEx {
public:
    enum ControlId {
        kRechargeButton = 1018,
        kWithdrawalButton = 1019,
        kView = 1020,
        kBuyDataButton = 1038,
    };

    explicit CDialogPersonal(QString serviceUrl, QWidget* parent = nullptr);

    CHtmlCtrl& View() { return view; }

    int userId = 0;
    int idage = 0;
    QString sessionKey;
    CTesselDlg* mainWindow = nullptr; // reaches the game page's points

protected:
    bool OnInitDialog() override;
    void OnLayout() override;

private:
    void LayoutAndNavigate();
    void ShowPersonalCentre();
    void OnRecharge();
    void OnWithdrawal();
    void OnBuyData();

    CHtmlCtrl view;
    QString serviceUrl;
};

} // namespace rowstone
