#include "CDialogPaiMing.h"

#include "ServicePageAddress.h"
#include "ServicePaths.h"

namespace rowstone {

CDialogPaiMing::CDialogPaiMing(QString serviceUrl, QWidget* parent)
    : ui::CDialogEx(139, parent), serviceUrl(std::move(serviceUrl)) {}

bool CDialogPaiMing::OnInitDialog() {
    view.hideContextMenu = true;
    view.CreateOverPlaceholder(kView, this);
    FitAndShow();
    return true;
}

void CDialogPaiMing::OnLayout() {
    FitAndShow();
}

void CDialogPaiMing::FitAndShow() {
    const QRect client = rect();
    auto* shown = Item<CHtmlCtrl>(kView);
    if (shown == nullptr)
        return;
    shown->setGeometry(client);
    shown->Navigate2(
        ServicePageAddress(serviceUrl, service_paths::kRanking, {client.width(), client.height()}));
}

} // namespace rowstone
