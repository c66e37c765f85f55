#pragma once

#include <QString>

class QWidget;

namespace rowstone::ui {

enum class MessageButtons { Ok, OkCancel, YesNo };
enum class MessageIcon { None, Information, Question, Warning, Error };
enum class MessageAnswer { Ok, Cancel, Yes, No };

struct MessageRequest {
    QString text;
    QString caption;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
};

// Every message box of the program goes through the installed service: the
// program shows them with QMessageBox, tests answer them by script.
class MessageBoxService {
public:
    virtual ~MessageBoxService() = default;
    virtual MessageAnswer Show(QWidget* owner, const MessageRequest& request) = 0;
};

// Installs a service (nullptr puts the QMessageBox one back); the caller
// keeps ownership and uninstalls it before destroying it.
void InstallMessageBoxService(MessageBoxService* service);

MessageAnswer ShowMessage(QWidget* owner, const QString& text, const QString& caption,
                          MessageButtons buttons, MessageIcon icon);

// The common service message: OK button and the information icon.
void ShowInfo(QWidget* owner, const QString& text, const QString& caption);

// The caption of application-level boxes: the program's name.
QString ApplicationCaption();

} // namespace rowstone::ui
