#include "CDialogEx.h"

#include "CTabCtrl.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QTimerEvent>

namespace rowstone::ui {

CDialogEx::CDialogEx(int templateId, QWidget* parent)
    : QDialog(parent), templateId(templateId), dialogTemplate(FindDialogTemplate(templateId)) {}

bool CDialogEx::Create(QWidget* parent) {
    setParent(parent);
    setWindowFlags(Qt::Widget);
    if (!BuildControls())
        return false;
    return OnInitDialog();
}

int CDialogEx::DoModal() {
    if (!BuildControls())
        return QDialog::Rejected;
    if (!OnInitDialog())
        return QDialog::Rejected;
    if (endedBeforeShowing)
        return earlyResult;
    return exec();
}

bool CDialogEx::BuildControls() {
    if (built)
        return true;
    if (dialogTemplate == nullptr)
        return false;
    built = true;

    const QFont font = DialogFontOf(*dialogTemplate);
    setFont(font);
    units = BaseUnitsOf(font);
    if (dialogTemplate->caption[0] != '\0')
        setWindowTitle(QString::fromUtf8(dialogTemplate->caption));
    if ((dialogTemplate->styles & kPopup) != 0) {
        Qt::WindowFlags flags = Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
        if ((dialogTemplate->styles & kMinMaxBoxes) != 0)
            flags = Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint;
        if ((dialogTemplate->styles & kSystemMenu) == 0)
            flags &= ~Qt::WindowCloseButtonHint;
        if ((dialogTemplate->styles & kNoBorder) != 0)
            flags = Qt::Dialog | Qt::FramelessWindowHint;
        setWindowFlags(flags);
    }
    resize(DluToPixelsX(dialogTemplate->width, units), DluToPixelsY(dialogTemplate->height, units));

    for (const ControlTemplate& control : dialogTemplate->controls) {
        QWidget* widget = CreateControl(control);
        if (widget == nullptr)
            widget = CreateStandardControl(control);
        widget->setParent(this);
        widget->setGeometry(DluToPixels(control.rect, units));
        if (control.kind == ControlKind::ComboBox)
            widget->resize(widget->width(), widget->sizeHint().height());
        widget->setEnabled((control.styles & kDisabled) == 0);
        widget->setVisible((control.styles & kHidden) == 0);
        controls[control.id] = widget;
    }
    return true;
}

QWidget* CDialogEx::CreateStandardControl(const ControlTemplate& control) {
    const QString text = QString::fromUtf8(control.text);
    switch (control.kind) {
    case ControlKind::Label: {
        auto* label = new QLabel(text);
        if ((control.styles & kCentre) != 0)
            label->setAlignment(Qt::AlignCenter);
        return label;
    }
    case ControlKind::Frame: {
        auto* frame = new QFrame;
        frame->setFrameShape(QFrame::Box);
        frame->setStyleSheet(QStringLiteral("QFrame { border: 1px solid black; }"));
        return frame;
    }
    case ControlKind::Icon: {
        auto* label = new QLabel;
        label->setPixmap(QApplication::windowIcon().pixmap(32, 32));
        return label;
    }
    case ControlKind::GroupBox:
        return new QGroupBox(text);
    case ControlKind::PushButton:
    case ControlKind::DefPushButton: {
        auto* button = new QPushButton(text);
        button->setAutoDefault(false);
        button->setDefault(control.kind == ControlKind::DefPushButton);
        return button;
    }
    case ControlKind::Edit: {
        if ((control.styles & kMultiLine) != 0) {
            auto* edit = new QPlainTextEdit(text);
            if ((control.styles & kVScroll) != 0)
                edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            return edit;
        }
        auto* edit = new QLineEdit(text);
        if ((control.styles & kPassword) != 0)
            edit->setEchoMode(QLineEdit::Password);
        if ((control.styles & kDigitsOnly) != 0)
            edit->setValidator(new QRegularExpressionValidator(
                QRegularExpression(QStringLiteral("[0-9]*")), edit));
        return edit;
    }
    case ControlKind::ComboBox:
        return new QComboBox;
    case ControlKind::CheckBox:
        return new QCheckBox(text);
    case ControlKind::TabControl:
        return new CTabCtrl;
    }
    return new QWidget;
}

QWidget* CDialogEx::GetDlgItem(int id) const {
    const auto found = controls.find(id);
    return found == controls.end() ? nullptr : found->second;
}

bool CDialogEx::ReplaceDlgItem(int id, QWidget* replacement) {
    const auto found = controls.find(id);
    if (found == controls.end() || replacement == nullptr)
        return false;
    QWidget* placeholder = found->second;
    replacement->setParent(this);
    replacement->setGeometry(placeholder->geometry());
    replacement->setVisible(!placeholder->isHidden());
    found->second = replacement;
    delete placeholder;
    return true;
}

void CDialogEx::SetTimer(int id, int milliseconds) {
    KillTimer(id);
    const int qtId = startTimer(milliseconds);
    if (qtId == 0)
        return;
    timers[id] = qtId;
    timerOwners[qtId] = id;
}

void CDialogEx::KillTimer(int id) {
    const auto found = timers.find(id);
    if (found == timers.end())
        return;
    killTimer(found->second);
    timerOwners.erase(found->second);
    timers.erase(found);
}

void CDialogEx::timerEvent(QTimerEvent* event) {
    const auto found = timerOwners.find(event->timerId());
    if (found == timerOwners.end()) {
        QDialog::timerEvent(event);
        return;
    }
    OnTimer(found->second);
}

void CDialogEx::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    OnLayout();
}

void CDialogEx::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (isVisible())
        OnLayout();
}

void CDialogEx::keyPressEvent(QKeyEvent* event) {
    // A page inside another window neither closes on Esc nor accepts on Enter.
    if (dialogTemplate != nullptr && (dialogTemplate->styles & kChild) != 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace rowstone::ui
