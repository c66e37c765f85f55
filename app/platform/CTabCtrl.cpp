#include "CTabCtrl.h"

#include <QTabBar>

namespace rowstone::ui {

CTabCtrl::CTabCtrl(QWidget* parent) : QWidget(parent), strip(new QTabBar(this)) {
    strip->setExpanding(false);
    strip->setDrawBase(true);
    connect(strip, &QTabBar::currentChanged, this, [this](int index) {
        if (!silent)
            emit SelectionChanged(index);
    });
}

void CTabCtrl::InsertItem(int index, const QString& text) {
    silent = true;
    strip->insertTab(index, text);
    silent = false;
}

int CTabCtrl::GetCurSel() const {
    return strip->currentIndex();
}

void CTabCtrl::SetCurSel(int index) {
    silent = true;
    strip->setCurrentIndex(index);
    silent = false;
}

int CTabCtrl::GetItemCount() const {
    return strip->count();
}

QString CTabCtrl::GetItemText(int index) const {
    return strip->tabText(index);
}

void CTabCtrl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    strip->setGeometry(0, 0, width(), strip->sizeHint().height());
    strip->raise();
}

} // namespace rowstone::ui
