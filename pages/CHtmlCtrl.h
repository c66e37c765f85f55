#pragma once

#include <QString>
#include <QWebEngineView>

namespace rowstone {

namespace ui {
class CDialogEx;
}

// A web view that a page places over one of its placeholder controls. It
// remembers the address of the last navigation that started in it, in any
// frame; it refuses "app:" addresses (in any letter case), leaving the
// current document on screen; and, when asked to, it keeps every context
// menu away: right-button presses, releases and double clicks over the
// document are swallowed, and the page is sent a context-menu event on the
// release instead.
class CHtmlCtrl : public QWebEngineView {
    Q_OBJECT

public:
    static constexpr const char* kCommandScheme = "app:";

    CHtmlCtrl();
    ~CHtmlCtrl() override;

    // Set by every page before CreateOverPlaceholder.
    bool hideContextMenu = false;

    // Takes the place, rectangle and id of the parent's control controlId;
    // false when the parent has no such control.
    bool CreateOverPlaceholder(int controlId, ui::CDialogEx* parent);

    // Starts loading address in the top frame.
    void Navigate2(const QString& address);

    // The address of the most recent navigation that started; empty until
    // the first one.
    const QString& LastAddress() const { return lastAddress; }

    // Runs before every navigation, in the top frame or a sub-frame, whether
    // the program or the document started it; false cancels it.
    bool OnBeforeNavigate2(const QString& address);

protected:
    // Receives what follows "app:" in a refused address. Does nothing here.
    virtual void OnAppCommand(const QString& command);

    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void WatchDocumentWidget(QObject* child);
    bool SwallowContextMenuEvent(QEvent* event);

    QString lastAddress;
    QWebEnginePage* document = nullptr; // owned; made by CreateOverPlaceholder
};

} // namespace rowstone
