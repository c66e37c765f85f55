#include "CDialogPersonal.h"

#include "Browser.h"
#include "CBuyData.h"
#include "CTesselDlg.h"
#include "CTixian.h"
#include "MessageBoxes.h"
#include "ServicePageAddress.h"
#include "ServicePaths.h"

#include <QPushButton>
#include <cmath>

namespace rowstone {

CDialogPersonal::CDialogPersonal(QString serviceUrl, QWidget* parent)
    : ui::CDialogEx(135, parent), serviceUrl(std::move(serviceUrl)) {}

bool CDialogPersonal::OnInitDialog() {
    connect(Item<QPushButton>(kRechargeButton), &QPushButton::clicked, this,
            &CDialogPersonal::OnRecharge);
    connect(Item<QPushButton>(kWithdrawalButton), &QPushButton::clicked, this,
            &CDialogPersonal::OnWithdrawal);
    connect(Item<QPushButton>(kBuyDataButton), &QPushButton::clicked, this,
            &CDialogPersonal::OnBuyData);
    view.hideContextMenu = true;
    view.CreateOverPlaceholder(kView, this);
    LayoutAndNavigate();
    return true;
}

void CDialogPersonal::OnLayout() {
    LayoutAndNavigate();
}

void CDialogPersonal::LayoutAndNavigate() {
    QWidget* recharge = GetDlgItem(kRechargeButton);
    if (recharge == nullptr)
        return;
    const QRect client = rect();
    const int w = recharge->width();
    const int h = recharge->height();
    const int x = static_cast<int>(std::trunc(client.left() + w * 0.25));
    const int buttons[] = {kRechargeButton, kWithdrawalButton, kBuyDataButton};
    for (int i = 0; i < 3; ++i)
        if (QWidget* button = GetDlgItem(buttons[i]))
            button->setGeometry(x, client.top() + (2 * i + 1) * h, w, h);
    const int v = static_cast<int>(std::trunc(client.left() + w * 1.5));
    if (QWidget* shown = GetDlgItem(kView))
        shown->setGeometry(v, client.top(), client.left() + client.width() - v, client.height());
    ShowPersonalCentre();
}

void CDialogPersonal::ShowPersonalCentre() {
    if (auto* shown = Item<CHtmlCtrl>(kView))
        shown->Navigate2(ServicePageAddress(serviceUrl, service_paths::kPersonalCentre, {userId}));
}

void CDialogPersonal::OnRecharge() {
    ui::OpenInBrowser(ServicePageAddress(serviceUrl, service_paths::kRecharge, {userId, idage}));
    // The box waits while the player pays in the browser.
    ui::ShowInfo(
        this,
        QStringLiteral("充值过程中请不要关闭浏览器，充值完成后关闭浏览器并点击此处的 确定 按钮"),
        QStringLiteral("温馨提示"));
    ShowPersonalCentre();
}

void CDialogPersonal::OnWithdrawal() {
    CTixian withdrawal(serviceUrl, this);
    withdrawal.userId = userId;
    withdrawal.sessionKey = sessionKey;
    withdrawal.DoModal();
}

void CDialogPersonal::OnBuyData() {
    CBuyData purchase(serviceUrl, this);
    purchase.userId = userId;
    purchase.sessionKey = sessionKey;
    if (purchase.DoModal() != Accepted)
        return;
    if (mainWindow != nullptr)
        mainWindow->GamePage().Flow().points -= purchase.Total();
    ShowPersonalCentre();
}

} // namespace rowstone
