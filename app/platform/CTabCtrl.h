#pragma once

#include <QWidget>

class QTabBar;

namespace rowstone::ui {

// A tab control: a strip of tabs across the top, with the pages as child
// windows that their owner places below the strip. Selecting a tab with the
// mouse or keyboard emits SelectionChanged after the selection has moved;
// SetCurSel moves it silently.
class CTabCtrl : public QWidget {
    Q_OBJECT
public:
    explicit CTabCtrl(QWidget* parent = nullptr);

    void InsertItem(int index, const QString& text);
    int GetCurSel() const;
    void SetCurSel(int index);
    int GetItemCount() const;
    QString GetItemText(int index) const;
    QTabBar* Strip() const { return strip; }

signals:
    void SelectionChanged(int index);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QTabBar* strip;
    bool silent = false;
};

} // namespace rowstone::ui
