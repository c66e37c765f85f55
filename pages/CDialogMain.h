#pragma once

#include "CDialogEx.h"
#include "CHtmlCtrl.h"

#include <QString>

namespace rowstone {

// The news page: one web view filling the page. Whenever the page is shown
// or resized it loads again what it last started to load, so that a link
// the player followed is still shown after a tab switch; the news address
// the first time.
class CDialogMain : public ui::CDialogEx {
public:
    static constexpr int kView = 1017;

    explicit CDialogMain(QString serviceUrl, QWidget* parent = nullptr);

    CHtmlCtrl& View() { return view; }

protected:
    bool OnInitDialog() override;
    void OnLayout() override;

private:
    void FitAndShow();

    QString serviceUrl;
    CHtmlCtrl view;
};

} // namespace rowstone
