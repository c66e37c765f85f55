#pragma once

#include "CDialogEx.h"
#include "CHtmlCtrl.h"

#include <QString>

namespace rowstone {

// The ranking page: one web view filling the page. Whenever the page is
// shown or resized it loads the ranking afresh, telling the service the
// view's width and height in pixels.
class CDialogPaiMing : public ui::CDialogEx {
public:
    static constexpr int kView = 1008;

    explicit CDialogPaiMing(QString serviceUrl, QWidget* parent = nullptr);

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
