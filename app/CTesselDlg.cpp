#include "CTesselDlg.h"

#include "CAboutDlg.h"
#include "CLogin.h"
#include "CSplashThread.h"
#include "CTabCtrl.h"
#include "LoginResult.h"
#include "MessageBoxes.h"

#include <QAction>
#include <QIcon>
#include <QTabBar>

namespace rowstone {

namespace {

const QString kReminder = QStringLiteral("温馨提醒");

struct TabInfo {
    const char* caption;
    bool needsLogin;
};

constexpr TabInfo kTabs[CTesselDlg::kPageCount] = {
    {"新闻活动", false}, {"Rowstone挑战", true}, {"个人中心", true},
    {"挑战排名", false}, {"联系我们", false},
};

} // namespace

CTesselDlg::CTesselDlg(QString serviceUrl, QWidget* parent)
    : ui::CDialogEx(102, parent), serviceUrl(std::move(serviceUrl)), newsPage(this->serviceUrl),
      gamePage(this->serviceUrl), personalPage(this->serviceUrl), rankingPage(this->serviceUrl),
      contactPage(this->serviceUrl) {
    setWindowIcon(QIcon(QStringLiteral(":/res/rowstone.png")));
}

CTesselDlg::~CTesselDlg() = default;

bool CTesselDlg::OnInitDialog() {
    tabControl = Item<ui::CTabCtrl>(kTabControl);

    // The window system offers no menu of the window that a program may
    // extend, so the About item goes, below a separator, into the menu the
    // tab strip opens.
    const QString aboutText = QString::fromUtf8(ui::FindResourceString(101));
    if (!aboutText.isEmpty()) {
        QTabBar* strip = tabControl->Strip();
        auto* separator = new QAction(strip);
        separator->setSeparator(true);
        auto* about = new QAction(aboutText, strip);
        connect(about, &QAction::triggered, this, [this] { OnSysCommand(kAboutCommand); });
        strip->addAction(separator);
        strip->addAction(about);
        strip->setContextMenuPolicy(Qt::ActionsContextMenu);
    }

    for (int i = 0; i < kPageCount; ++i)
        tabControl->InsertItem(i, QString::fromUtf8(kTabs[i].caption));

    pages = {&newsPage, &gamePage, &personalPage, &rankingPage, &contactPage};
    for (ui::CDialogEx* page : pages) {
        page->Create(tabControl);
        page->hide();
    }
    currentPage = 0;
    connect(tabControl, &ui::CTabCtrl::SelectionChanged, this, &CTesselDlg::OnTabSelected);
    OnLayout();

    userId = -1;
    sessionKey.clear();
    idage = 0;

    if (splashThread != nullptr)
        splashThread->Stop();

    if (!gamePage.modelLoaded()) {
        startedWithoutModel = true;
        ui::ShowMessage(this, QStringLiteral("请保持网络通畅，然后重新打开软件"),
                        QStringLiteral("网络异常"), ui::MessageButtons::Ok, ui::MessageIcon::Error);
        EndBeforeShowing(Rejected);
    }
    return true;
}

void CTesselDlg::OnSysCommand(int command) {
    if ((command & ~0xF) == kAboutCommand) {
        CAboutDlg about(this);
        about.DoModal();
    }
}

void CTesselDlg::OnLayout() {
    if (tabControl == nullptr)
        return;
    tabControl->setGeometry(rect());
    PlacePages();
    for (int i = 0; i < kPageCount; ++i)
        pages[static_cast<size_t>(i)]->setVisible(i == currentPage);
    tabControl->SetCurSel(currentPage);
}

void CTesselDlg::PlacePages() {
    QRect area = tabControl->rect();
    area.setTop(area.top() + kTabStripHeight);
    for (ui::CDialogEx* page : pages)
        page->setGeometry(area);
}

void CTesselDlg::SwitchToSelectedPage() {
    pages[static_cast<size_t>(currentPage)]->hide();
    currentPage = tabControl->GetCurSel();
    pages[static_cast<size_t>(currentPage)]->show();
}

bool CTesselDlg::RunLogin() {
    CLogin login(serviceUrl, this);
    if (login.DoModal() != Accepted)
        return false;
    ui::ShowMessage(this, QStringLiteral("登录成功"), kReminder, ui::MessageButtons::Ok,
                    ui::MessageIcon::None);
    SwitchToSelectedPage();
    const LoginResult result = ParseLoginResult(login.ReplyTail());
    userId = result.userId;
    sessionKey = QString::fromStdString(result.sessionKey);
    gamePage.SetAccount(userId, QString::fromStdString(result.loginExtra), result.points,
                        sessionKey, idage);
    personalPage.userId = userId;
    personalPage.sessionKey = sessionKey;
    personalPage.idage = idage;
    personalPage.mainWindow = this;
    contactPage.userId = userId;
    return true;
}

void CTesselDlg::OnTabSelected(int index) {
    if (index < 0 || index >= kPageCount)
        return;
    if (kTabs[index].needsLogin && userId < 0) {
        if (!RunLogin()) {
            tabControl->SetCurSel(currentPage);
            ui::ShowMessage(this, QStringLiteral("请先登录"), kReminder, ui::MessageButtons::Ok,
                            ui::MessageIcon::None);
        }
        return;
    }
    SwitchToSelectedPage();
}

} // namespace rowstone
