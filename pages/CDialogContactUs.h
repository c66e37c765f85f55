#pragma once

#include "CDialogEx.h"
#include "CHtmlCtrl.h"

#include <QString>
#include <memory>

class QPlainTextEdit;

namespace rowstone {

class CHttpClient;

// The contact page: four section buttons on the left; on the right a web
// view with the product, company or cooperation page of the service, or the
// feedback form that sends the player's problem report.
class CDialogContactUs : public ui::CDialogEx {
public:
    enum ControlId {
        kCompanyButton = 1009,
        kProductButton = 1010,
        kCooperationButton = 1011,
        kFeedbackButton = 1012,
        kView = 1013,
        kFeedbackLabel = 1014,
        kFeedbackEdit = 1015,
        kSubmitButton = 1016,
    };
    enum Section { kProductSection = 0, kCompanySection, kCooperationSection, kFeedbackSection };
    static constexpr int kSectionCount = 4;
    // The longest report the edit takes, in UTF-16 units.
    static constexpr int kMaxFeedbackLength = 500;

    explicit CDialogContactUs(QString serviceUrl, QWidget* parent = nullptr);
    ~CDialogContactUs() override;

    CHtmlCtrl& View() { return view; }
    int CurrentSection() const { return currentSection; }

    // The logged-in player, handed over by the main window after a login;
    // 0 while nobody has logged in.
    int userId = 0;

protected:
    bool OnInitDialog() override;
    void OnLayout() override;

private:
    void ShowWebSection(int section);
    void ShowFeedbackForm();
    void SendFeedback();
    void LayoutAndShow();
    void ShowForm(bool show);
    QString SectionAddress(int section) const;

    QString serviceUrl;
    CHtmlCtrl view;
    std::unique_ptr<CHttpClient> httpClient;
    int currentSection = kProductSection;
    QPlainTextEdit* feedbackEdit = nullptr;
};

} // namespace rowstone
