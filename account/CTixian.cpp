#include "CTixian.h"

#include "CHttpClient.h"
#include "FailureTables.h"
#include "FormBody.h"
#include "MessageBoxes.h"
#include "OrderSubmission.h"
#include "QtUtf8.h"
#include "ServiceAddress.h"
#include "ServicePaths.h"
#include "TypedText.h"

#include <QLineEdit>
#include <QPushButton>

namespace rowstone {

using ui::FromUtf8;

CTixian::CTixian(QString serviceUrl, QWidget* parent)
    : ui::CDialogEx(144, parent), serviceUrl(std::move(serviceUrl)),
      httpClient(std::make_unique<CHttpClient>()) {}

CTixian::~CTixian() = default;

bool CTixian::OnInitDialog() {
    accountEdit = Item<QLineEdit>(kAccountEdit);
    accountEdit->setMaxLength(kMaxAccountLength);
    accountEdit->clear();
    // The default button answers Enter anywhere in the dialog.
    connect(Item<QPushButton>(kConfirmButton), &QPushButton::clicked, this, &CTixian::OnConfirm);
    connect(Item<QPushButton>(kCancelButton), &QPushButton::clicked, this,
            [this] { EndDialog(Rejected); });
    accountEdit->setFocus();
    return true;
}

// Esc leaves the dialog open; only "取消" closes it without a request.
void CTixian::reject() {}

void CTixian::OnConfirm() {
    const QByteArray typed = accountEdit->text().toUtf8();
    const std::string_view account = TrimTypedText(ui::Utf8View(typed));
    if (account.empty() || ContainsReservedCharacter(account)) {
        ui::ShowInfo(this, QStringLiteral("支付宝账号无效"), FromUtf8(kNoticeCaption));
        accountEdit->setFocus();
        return;
    }
    FormBody form;
    form.AddNumber("id", userId).AddText("zfb", account).AddText("ses", sessionKey.toStdString());
    const std::string address =
        ServiceAddress(serviceUrl.toStdString(), service_paths::kWithdrawal);
    if (SubmitOrder(this, *httpClient, address, form.Text(),
                    QStringLiteral("您的提现申请已提交，我们将在3个工作日内完成处理，请耐心等待"),
                    kWithdrawalFailures)) {
        EndDialog(Accepted);
        return;
    }
    accountEdit->setFocus();
}

} // namespace rowstone
