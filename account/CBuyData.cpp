#include "CBuyData.h"

#include "CHttpClient.h"
#include "FailureTables.h"
#include "FormBody.h"
#include "MessageBoxes.h"
#include "OrderSubmission.h"
#include "QtUtf8.h"
#include "ReplyNumber.h"
#include "ServiceAddress.h"
#include "ServicePaths.h"
#include "TypedText.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <string>

namespace rowstone {

using ui::FromUtf8;

int CBuyData::CheckBoxId(int row) {
    // 1052 is not used: the fifteen-in-a-row box is 1053.
    return row < 12 ? 1040 + row : 1053;
}

int CBuyData::QuantityEditId(int row) {
    return 1056 + row;
}

CBuyData::CBuyData(QString serviceUrl, QWidget* parent)
    : ui::CDialogEx(149, parent), serviceUrl(std::move(serviceUrl)),
      httpClient(std::make_unique<CHttpClient>()) {}

CBuyData::~CBuyData() = default;

bool CBuyData::OnInitDialog() {
    emailEdit = Item<QLineEdit>(kEmailEdit);
    totalLabel = Item<QLabel>(kTotalLabel);
    emailEdit->setMaxLength(kMaxEmailLength);
    for (int row = 0; row < kRowCount; ++row) {
        QCheckBox* box = Item<QCheckBox>(CheckBoxId(row));
        QLineEdit* quantity = Item<QLineEdit>(QuantityEditId(row));
        checkBoxes[static_cast<size_t>(row)] = box;
        quantityEdits[static_cast<size_t>(row)] = quantity;
        box->setChecked(false);
        quantity->setMaxLength(kMaxQuantityLength);
        quantity->setText(QStringLiteral("0"));
        quantity->setEnabled(false);
        connect(box, &QCheckBox::clicked, this, [this, row] { OnRowSwitched(row); });
        connect(quantity, &QLineEdit::textChanged, this, &CBuyData::UpdateTotal);
    }
    connect(Item<QPushButton>(kOrderButton), &QPushButton::clicked, this, &CBuyData::OnOrder);
    connect(Item<QPushButton>(kCancelButton), &QPushButton::clicked, this,
            [this] { EndDialog(Rejected); });
    UpdateTotal();
    return true;
}

void CBuyData::OnRowSwitched(int row) {
    const bool checked = checkBoxes[static_cast<size_t>(row)]->isChecked();
    QLineEdit* quantity = quantityEdits[static_cast<size_t>(row)];
    quantity->setEnabled(checked);
    quantity->setText(QStringLiteral("0"));
    UpdateTotal();
    if (checked) {
        // Typing then replaces the "0".
        quantity->setFocus();
        quantity->selectAll();
    }
}

int CBuyData::RowQuantity(int row) const {
    const QByteArray text = quantityEdits[static_cast<size_t>(row)]->text().toUtf8();
    return ReadReplyNumber(ui::Utf8View(text));
}

void CBuyData::UpdateTotal() {
    total = 0;
    for (int row = 0; row < kRowCount; ++row)
        if (checkBoxes[static_cast<size_t>(row)]->isChecked())
            total += RowQuantity(row);
    totalLabel->setText(QString::number(total));
}

void CBuyData::OnOrder() {
    const QByteArray typed = emailEdit->text().toUtf8();
    const std::string_view email = TrimTypedText(ui::Utf8View(typed));
    if (email.empty() || email.find('@') == std::string_view::npos ||
        ContainsReservedCharacter(email)) {
        ui::ShowInfo(this, QStringLiteral("email地址无效"), FromUtf8(kNoticeCaption));
        emailEdit->setFocus();
        return;
    }
    UpdateTotal();
    if (total <= 0) {
        ui::ShowInfo(this, QStringLiteral("请先选择要购买的数据，并填写购买数量"),
                     FromUtf8(kNoticeCaption));
        return;
    }
    FormBody form;
    form.AddNumber("id", userId)
        .AddText("ema", email)
        .AddText("ses", sessionKey.toStdString())
        .AddNumber("pri", total);
    for (int row = 0; row < kRowCount; ++row) {
        const bool checked = checkBoxes[static_cast<size_t>(row)]->isChecked();
        form.AddNumber("l" + std::to_string(kFirstRowLength + row), checked ? RowQuantity(row) : 0);
    }
    const std::string address =
        ServiceAddress(serviceUrl.toStdString(), service_paths::kDataPurchase);
    if (SubmitOrder(this, *httpClient, address, form.Text(),
                    QStringLiteral("您的采购单已提交，我们会尽快完成处理，请关注您的邮箱"),
                    kDataPurchaseFailures)) {
        EndDialog(Accepted);
    }
}

} // namespace rowstone
