#include "CDialogMain.h"

#include "ServicePageAddress.h"
#include "ServicePaths.h"

namespace rowstone {

CDialogMain::CDialogMain(QString serviceUrl, QWidget* parent)
    : ui::CDialogEx(130, parent), serviceUrl(std::move(serviceUrl)) {}

bool CDialogMain::OnInitDialog() {
    view.hideContextMenu = true;
    view.CreateOverPlaceholder(kView, this);
    FitAndShow();
    return true;
}

void CDialogMain::OnLayout() {
    FitAndShow();
}

void CDialogMain::FitAndShow() {
    auto* shown = Item<CHtmlCtrl>(kView);
    if (shown == nullptr)
        return;
    shown->setGeometry(rect());
    const QString& last = shown->LastAddress();
    shown->Navigate2(last.isEmpty() ? ServicePageAddress(serviceUrl, service_paths::kNews) : last);
}

} // namespace rowstone
