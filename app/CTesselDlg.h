#pragma once

#include "CDialogContactUs.h"
#include "CDialogEx.h"
#include "CDialogGame.h"
#include "CDialogMain.h"
#include "CDialogPaiMing.h"
#include "CDialogPersonal.h"

#include <QString>
#include <array>
#include <functional>

namespace rowstone {

namespace ui {
class CTabCtrl;
}
class CSplashThread;

// The main window: five tab pages below a tab strip, the login gate in
// front of the game and personal-centre pages, and the hand-over of the
// login values to the pages.
class CTesselDlg : public ui::CDialogEx {
public:
    static constexpr int kTabControl = 1000;
    static constexpr int kAboutCommand = 16;
    static constexpr int kTabStripHeight = 30;
    static constexpr int kPageCount = 5;
    enum Page {
        kNewsPage = 0,
        kGamePage = 1,
        kPersonalPage = 2,
        kRankingPage = 3,
        kContactPage = 4
    };

    explicit CTesselDlg(QString serviceUrl, QWidget* parent = nullptr);
    ~CTesselDlg() override;

    CDialogGame& GamePage() { return gamePage; }
    CDialogPersonal& PersonalPage() { return personalPage; }
    CDialogContactUs& ContactPage() { return contactPage; }
    ui::CTabCtrl* TabControl() const { return tabControl; }
    QWidget* PageAt(int index) const { return pages[static_cast<size_t>(index)]; }
    int CurrentPage() const { return currentPage; }
    bool StartedWithoutModel() const { return startedWithoutModel; }
    // The splash to take down once the pages exist (none by default).
    void SetSplashThread(CSplashThread* splash) { splashThread = splash; }

    int userId = -1;
    QString sessionKey;
    int idage = 0;

    // The window's own commands (the About item among them).
    void OnSysCommand(int command);
    // What the tab strip reports after its selection changed.
    void OnTabSelected(int index);

protected:
    bool OnInitDialog() override;
    void OnLayout() override;

private:
    void PlacePages();
    void SwitchToSelectedPage();
    bool RunLogin();

    QString serviceUrl;
    ui::CTabCtrl* tabControl = nullptr;
    int currentPage = 0;
    bool startedWithoutModel = false;
    CSplashThread* splashThread = nullptr;
    CDialogMain newsPage;
    CDialogGame gamePage;
    CDialogPersonal personalPage;
    CDialogPaiMing rankingPage;
    CDialogContactUs contactPage;
    std::array<ui::CDialogEx*, kPageCount> pages{};
};

} // namespace rowstone
