#include "MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace rowstone::ui {

namespace {

class QtMessageBoxService final : public MessageBoxService {
public:
    MessageAnswer Show(QWidget* owner, const MessageRequest& request) override {
        QMessageBox box(owner);
        box.setWindowTitle(request.caption);
        box.setText(request.text);
        switch (request.icon) {
        case MessageIcon::None:
            box.setIcon(QMessageBox::NoIcon);
            break;
        case MessageIcon::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case MessageIcon::Question:
            box.setIcon(QMessageBox::Question);
            break;
        case MessageIcon::Warning:
            box.setIcon(QMessageBox::Warning);
            break;
        case MessageIcon::Error:
            box.setIcon(QMessageBox::Critical);
            break;
        }
        QPushButton* ok = nullptr;
        QPushButton* cancel = nullptr;
        QPushButton* yes = nullptr;
        QPushButton* no = nullptr;
        switch (request.buttons) {
        case MessageButtons::Ok:
            ok = box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
            box.setEscapeButton(ok);
            break;
        case MessageButtons::OkCancel:
            ok = box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
            cancel = box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole);
            box.setEscapeButton(cancel);
            break;
        case MessageButtons::YesNo:
            yes = box.addButton(QStringLiteral("是"), QMessageBox::YesRole);
            no = box.addButton(QStringLiteral("否"), QMessageBox::NoRole);
            box.setEscapeButton(no);
            break;
        }
        box.exec();
        const QAbstractButton* clicked = box.clickedButton();
        if (clicked == yes && yes != nullptr)
            return MessageAnswer::Yes;
        if (clicked == no && no != nullptr)
            return MessageAnswer::No;
        if (clicked == cancel && cancel != nullptr)
            return MessageAnswer::Cancel;
        if (clicked == ok && ok != nullptr)
            return MessageAnswer::Ok;
        return request.buttons == MessageButtons::YesNo      ? MessageAnswer::No
               : request.buttons == MessageButtons::OkCancel ? MessageAnswer::Cancel
                                                             : MessageAnswer::Ok;
    }
};

QtMessageBoxService qtService;
MessageBoxService* installed = &qtService;

} // namespace

void InstallMessageBoxService(MessageBoxService* service) {
    installed = service != nullptr ? service : &qtService;
}

MessageAnswer ShowMessage(QWidget* owner, const QString& text, const QString& caption,
                          MessageButtons buttons, MessageIcon icon) {
    return installed->Show(owner, MessageRequest{text, caption, buttons, icon});
}

void ShowInfo(QWidget* owner, const QString& text, const QString& caption) {
    ShowMessage(owner, text, caption, MessageButtons::Ok, MessageIcon::Information);
}

QString ApplicationCaption() {
    const QString name = QApplication::applicationName();
    return name.isEmpty() ? QStringLiteral("rowstone") : name;
}

} // namespace rowstone::ui
