#include "CLogin.h"

#include "Browser.h"
#include "CHttpClient.h"
#include "FailureTables.h"
#include "FormBody.h"
#include "MessageBoxes.h"
#include "QtUtf8.h"
#include "ServiceAddress.h"
#include "ServicePaths.h"
#include "TypedText.h"
#include "WaitForRequest.h"

#include <QLineEdit>
#include <QPushButton>

namespace rowstone {

namespace {

const QString kNotice = QStringLiteral("温馨提示");

// The typed text without the white space around it; empty texts and texts
// with a reserved character are refused.
bool AcceptTyped(const QString& typed, std::string& accepted) {
    const QByteArray utf8 = typed.toUtf8();
    accepted = std::string(TrimTypedText(ui::Utf8View(utf8)));
    return !accepted.empty() && !ContainsReservedCharacter(accepted);
}

} // namespace

CLogin::CLogin(QString serviceUrl, QWidget* parent)
    : ui::CDialogEx(142, parent), serviceUrl(std::move(serviceUrl)),
      httpClient(std::make_unique<CHttpClient>()) {}

CLogin::~CLogin() = default;

const std::string& CLogin::ReplyTail() const {
    return httpClient->replyTail();
}

bool CLogin::OnInitDialog() {
    nameEdit = Item<QLineEdit>(kNameEdit);
    passwordEdit = Item<QLineEdit>(kPasswordEdit);
    nameEdit->setMaxLength(kMaxInputLength);
    passwordEdit->setMaxLength(kMaxInputLength);
    nameEdit->clear();
    passwordEdit->clear();
    // Enter in either edit starts the login, like the default button.
    connect(nameEdit, &QLineEdit::returnPressed, this, &CLogin::OnLogin);
    connect(passwordEdit, &QLineEdit::returnPressed, this, &CLogin::OnLogin);
    auto* login = Item<QPushButton>(kLoginButton);
    login->setAutoDefault(false);
    login->setDefault(false);
    connect(login, &QPushButton::clicked, this, &CLogin::OnLogin);
    connect(Item<QPushButton>(kRegisterButton), &QPushButton::clicked, this, &CLogin::OnRegister);
    connect(Item<QPushButton>(kCancelButton), &QPushButton::clicked, this,
            [this] { EndDialog(Rejected); });
    nameEdit->setFocus();
    return true;
}

// Esc does not close the dialog; only "取消" leaves it without a login.
void CLogin::reject() {}

void CLogin::OnLogin() {
    std::string name;
    std::string password;
    if (!AcceptTyped(nameEdit->text(), name)) {
        ui::ShowInfo(this, QStringLiteral("用户名错误"), kNotice);
        return;
    }
    if (!AcceptTyped(passwordEdit->text(), password)) {
        ui::ShowInfo(this, QStringLiteral("密码错误"), kNotice);
        return;
    }
    const std::string address = ServiceAddress(serviceUrl.toStdString(), service_paths::kLogin);
    FormBody form;
    form.AddText("name", name).AddText("psw", password);
    const std::string& body = form.Text();
    RequestResult result = RequestResult::Failed;
    ui::WaitForRequest(this, [&] { result = httpClient->PostForm(address, body); });
    if (result == RequestResult::Ok) {
        EndDialog(Accepted);
        return;
    }
    const FailureMessage message = ReadFailure(kLoginFailures, httpClient->replyTail());
    ui::ShowInfo(this, ui::FromUtf8(message.text), ui::FromUtf8(message.caption));
}

void CLogin::OnRegister() {
    ui::OpenInBrowser(
        QString::fromStdString(ServiceAddress(serviceUrl.toStdString(), service_paths::kRegister)));
}

} // namespace rowstone
