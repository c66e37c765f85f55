#pragma once

#include "CDialogEx.h"

#include <QString>
#include <memory>
#include <string>

class QLineEdit;

namespace rowstone {

class CHttpClient;

// The login dialog. It closes with Accepted only after the service has
// accepted the user name and password; the caller then reads the login
// values from ReplyTail(). "取消" closes it with Rejected; Esc does nothing.
class CLogin : public ui::CDialogEx {
public:
    enum ControlId {
        kNameLabel = 1021,
        kPasswordLabel = 1022,
        kNameEdit = 1023,
        kPasswordEdit = 1024,
        kLoginButton = 1025,
        kRegisterButton = 1026,
        kCancelButton = 1027,
    };
    static constexpr int kMaxInputLength = 32;

    explicit CLogin(QString serviceUrl, QWidget* parent = nullptr);
    ~CLogin() override;

    // The tail of the service's last reply, read after a successful login.
    const std::string& ReplyTail() const;

protected:
    bool OnInitDialog() override;
    void reject() override;

private:
    void OnLogin();
    void OnRegister();

    QString serviceUrl;
    std::unique_ptr<CHttpClient> httpClient;
    QLineEdit* nameEdit = nullptr;
    QLineEdit* passwordEdit = nullptr;
};

} // namespace rowstone
