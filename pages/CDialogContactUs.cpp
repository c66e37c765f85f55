#include "CDialogContactUs.h"

#include "CHttpClient.h"
#include "FormBody.h"
#include "MessageBoxes.h"
#include "QtUtf8.h"
#include "ServiceAddress.h"
#include "ServicePageAddress.h"
#include "ServicePaths.h"
#include "TextLimit.h"
#include "TypedText.h"
#include "WaitForRequest.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <array>
#include <cmath>

namespace rowstone {

namespace {

const QString kNotice = QStringLiteral("温馨提示");

struct SectionInfo {
    int button;
    std::string_view path; // empty for the feedback form
};

constexpr std::array<SectionInfo, CDialogContactUs::kSectionCount> kSections{{
    {CDialogContactUs::kProductButton, service_paths::kProduct},
    {CDialogContactUs::kCompanyButton, service_paths::kCompany},
    {CDialogContactUs::kCooperationButton, service_paths::kCooperation},
    {CDialogContactUs::kFeedbackButton, {}},
}};

int Truncated(double value) {
    return static_cast<int>(std::trunc(value));
}

} // namespace

CDialogContactUs::CDialogContactUs(QString serviceUrl, QWidget* parent)
    : ui::CDialogEx(137, parent), serviceUrl(std::move(serviceUrl)),
      httpClient(std::make_unique<CHttpClient>()) {}

CDialogContactUs::~CDialogContactUs() = default;

bool CDialogContactUs::OnInitDialog() {
    view.hideContextMenu = true;
    view.CreateOverPlaceholder(kView, this);
    feedbackEdit = Item<QPlainTextEdit>(kFeedbackEdit);
    for (int section = 0; section < kSectionCount; ++section) {
        auto* button = Item<QPushButton>(kSections[static_cast<size_t>(section)].button);
        if (button == nullptr)
            continue;
        if (section == kFeedbackSection)
            connect(button, &QPushButton::clicked, this, &CDialogContactUs::ShowFeedbackForm);
        else
            connect(button, &QPushButton::clicked, this,
                    [this, section] { ShowWebSection(section); });
    }
    if (auto* submit = Item<QPushButton>(kSubmitButton))
        connect(submit, &QPushButton::clicked, this, &CDialogContactUs::SendFeedback);
    if (auto* product = GetDlgItem(kProductButton))
        product->setEnabled(false);
    currentSection = kProductSection;
    LayoutAndShow();
    if (feedbackEdit != nullptr)
        ui::LimitTextLength(feedbackEdit, kMaxFeedbackLength);
    userId = 0;
    return true;
}

void CDialogContactUs::OnLayout() {
    LayoutAndShow();
}

QString CDialogContactUs::SectionAddress(int section) const {
    return ServicePageAddress(serviceUrl, kSections[static_cast<size_t>(section)].path);
}

void CDialogContactUs::ShowForm(bool show) {
    for (int id : {kFeedbackLabel, kFeedbackEdit, kSubmitButton})
        if (QWidget* control = GetDlgItem(id))
            control->setVisible(show);
    if (QWidget* shown = GetDlgItem(kView))
        shown->setVisible(!show);
}

void CDialogContactUs::ShowWebSection(int section) {
    if (QWidget* button = GetDlgItem(kSections[static_cast<size_t>(currentSection)].button))
        button->setEnabled(true);
    if (currentSection == kFeedbackSection)
        ShowForm(false);
    if (QWidget* button = GetDlgItem(kSections[static_cast<size_t>(section)].button))
        button->setEnabled(false);
    currentSection = section;
    if (auto* shown = Item<CHtmlCtrl>(kView))
        shown->Navigate2(SectionAddress(section));
}

void CDialogContactUs::ShowFeedbackForm() {
    if (QWidget* button = GetDlgItem(kSections[static_cast<size_t>(currentSection)].button))
        button->setEnabled(true);
    if (QWidget* button = GetDlgItem(kFeedbackButton))
        button->setEnabled(false);
    currentSection = kFeedbackSection;
    ShowForm(true);
    if (feedbackEdit != nullptr)
        feedbackEdit->setFocus();
}

void CDialogContactUs::LayoutAndShow() {
    QWidget* first = GetDlgItem(kProductButton);
    if (first == nullptr)
        return;
    const QRect r = rect();
    const int left = r.left();
    const int top = r.top();
    const int right = left + r.width();
    const int bottom = top + r.height();
    const int bw = first->width();
    const int bh = first->height();

    const int x = Truncated(left + 0.25 * bw);
    const int buttons[] = {kProductButton, kCompanyButton, kCooperationButton, kFeedbackButton};
    for (int i = 0; i < 4; ++i)
        if (QWidget* button = GetDlgItem(buttons[i]))
            button->setGeometry(x, top + (2 * i + 1) * bh, bw, bh);

    const int vx = Truncated(left + 1.5 * bw);
    if (QWidget* shown = GetDlgItem(kView))
        shown->setGeometry(vx, top, right - vx, bottom - top);

    if (currentSection != kFeedbackSection) {
        if (auto* shown = Item<CHtmlCtrl>(kView))
            shown->Navigate2(SectionAddress(currentSection));
        return;
    }
    QWidget* label = GetDlgItem(kFeedbackLabel);
    if (label == nullptr)
        return;
    const int lw = label->width();
    const int lh = label->height();
    const int y1 = Truncated(top + 0.5 * lh);
    label->setGeometry(vx, y1, lw, lh);
    const int y2 = Truncated(1.5 * (y1 + lh));
    if (feedbackEdit != nullptr)
        feedbackEdit->setGeometry(vx, y2, Truncated(right - 0.25 * bw) - vx, bottom - 2 * bh - y2);
    const int ys = Truncated(bottom - 1.5 * bh);
    if (QWidget* submit = GetDlgItem(kSubmitButton))
        submit->setGeometry(vx + bw, ys, bw, Truncated(bottom - 0.5 * bh) - ys);
}

void CDialogContactUs::SendFeedback() {
    if (feedbackEdit == nullptr)
        return;
    const QByteArray typed = feedbackEdit->toPlainText().toUtf8();
    const std::string_view trimmed = TrimTypedText(ui::Utf8View(typed));
    if (trimmed.empty()) {
        ui::ShowInfo(this, QStringLiteral("请先填写要反馈的问题"), kNotice);
        return;
    }
    FormBody form;
    form.AddNumber("id", userId).AddText("probs", BlankOutSeparators(trimmed));
    const std::string address = ServiceAddress(serviceUrl.toStdString(), service_paths::kFeedback);
    const std::string& body = form.Text();
    RequestResult result = RequestResult::Failed;
    ui::WaitForRequest(this, [&] { result = httpClient->PostForm(address, body); });
    if (result == RequestResult::Ok) {
        ui::ShowInfo(this,
                     QStringLiteral("您反馈的问题已经提交成功，我们将会尽快解决，感谢您的支持！"),
                     kNotice);
        feedbackEdit->clear();
        return;
    }
    ui::ShowInfo(this, QStringLiteral("网络故障，请确保网络畅通"), kNotice);
}

} // namespace rowstone
