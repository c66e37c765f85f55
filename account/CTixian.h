#pragma once

#include "CDialogEx.h"

#include <QString>
#include <memory>

class QLineEdit;

namespace rowstone {

class CHttpClient;

// The withdrawal dialog: asks for the Alipay account to which the player's
// red envelopes are paid and sends the request. It closes with Accepted once
// the service has taken the request and with Rejected on "取消"; Esc does
// nothing. Refusals and failures leave it open with the account as typed.
class CTixian : public ui::CDialogEx {
public:
    enum ControlId {
        kConfirmButton = 1028,
        kCancelButton = 1029,
        kPromptLabel = 1030,
        kAccountEdit = 1031,
    };
    static constexpr int kMaxAccountLength = 32;

    explicit CTixian(QString serviceUrl, QWidget* parent = nullptr);
    ~CTixian() override;

    int userId = 0;
    QString sessionKey;

protected:
    bool OnInitDialog() override;
    void reject() override;

private:
    void OnConfirm();

    QString serviceUrl;
    std::unique_ptr<CHttpClient> httpClient;
    QLineEdit* accountEdit = nullptr;
};

} // namespace rowstone
