#include "CHtmlCtrl.h"

#include "CDialogEx.h"
#include "SharedWebProfile.h"

#include <QChildEvent>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QWebEnginePage>

namespace rowstone {

namespace {

// The document of a view: hands the start of every navigation to its view.
class ViewPage final : public QWebEnginePage {
public:
    ViewPage(QWebEngineProfile* profile, CHtmlCtrl* view)
        : QWebEnginePage(profile, view), view(view) {}

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type,
                                 bool /*isMainFrame*/) override {
        // A redirect continues a navigation that has started already.
        if (type == NavigationTypeRedirect)
            return !HasCommandScheme(url.toString());
        return view->OnBeforeNavigate2(url.toString());
    }

private:
    static bool HasCommandScheme(const QString& address) {
        return address.startsWith(QLatin1String(CHtmlCtrl::kCommandScheme), Qt::CaseInsensitive);
    }

    CHtmlCtrl* view;
};

bool IsRightButton(const QEvent* event) {
    return static_cast<const QMouseEvent*>(event)->button() == Qt::RightButton;
}

} // namespace

CHtmlCtrl::CHtmlCtrl() = default;

CHtmlCtrl::~CHtmlCtrl() {
    // The document goes before the view it reports to.
    delete document;
}

bool CHtmlCtrl::CreateOverPlaceholder(int controlId, ui::CDialogEx* parent) {
    if (parent == nullptr || parent->GetDlgItem(controlId) == nullptr)
        return false;
    if (hideContextMenu)
        setContextMenuPolicy(Qt::NoContextMenu);
    document = new ViewPage(SharedWebProfile(), this);
    setPage(document);
    for (QObject* child : children())
        WatchDocumentWidget(child);
    if (!parent->ReplaceDlgItem(controlId, this))
        return false;
    show();
    return true;
}

void CHtmlCtrl::Navigate2(const QString& address) {
    load(QUrl(address));
}

bool CHtmlCtrl::OnBeforeNavigate2(const QString& address) {
    lastAddress = address;
    const QLatin1String scheme(kCommandScheme);
    if (!address.startsWith(scheme, Qt::CaseInsensitive))
        return true;
    OnAppCommand(address.mid(scheme.size()));
    return false;
}

void CHtmlCtrl::OnAppCommand(const QString& /*command*/) {}

bool CHtmlCtrl::event(QEvent* event) {
    // The document is drawn by a child widget that the view creates with
    // its page; its mouse events are the ones to watch.
    if (event->type() == QEvent::ChildAdded)
        WatchDocumentWidget(static_cast<QChildEvent*>(event)->child());
    return QWebEngineView::event(event);
}

void CHtmlCtrl::WatchDocumentWidget(QObject* child) {
    if (child != nullptr && child->isWidgetType())
        child->installEventFilter(this);
}

bool CHtmlCtrl::eventFilter(QObject* watched, QEvent* event) {
    if (watched != this && hideContextMenu && SwallowContextMenuEvent(event))
        return true;
    return QWebEngineView::eventFilter(watched, event);
}

bool CHtmlCtrl::SwallowContextMenuEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::ContextMenu:
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        return IsRightButton(event);
    case QEvent::MouseButtonRelease: {
        if (!IsRightButton(event))
            return false;
        QWidget* page = parentWidget();
        if (page != nullptr) {
            const auto* mouse = static_cast<const QMouseEvent*>(event);
            const QPoint global = mouse->globalPosition().toPoint();
            QContextMenuEvent menu(QContextMenuEvent::Mouse, page->mapFromGlobal(global), global);
            QCoreApplication::sendEvent(page, &menu);
        }
        return true;
    }
    default:
        return false;
    }
}

} // namespace rowstone
