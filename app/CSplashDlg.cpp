#include "CSplashDlg.h"

#include "CPictureEx.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

namespace rowstone {

CSplashDlg::CSplashDlg(QWidget* parent) : ui::CDialogEx(kTemplate, parent) {}

CSplashDlg::~CSplashDlg() = default;

QWidget* CSplashDlg::CreateControl(const ui::ControlTemplate& control) {
    if (control.id != kPicture)
        return nullptr;
    picture = new CPictureEx;
    return picture;
}

bool CSplashDlg::OnInitDialog() {
    if (picture != nullptr && picture->Load(kPictureResource, kPictureType))
        picture->Draw();
    // Placed in the middle of the screen, as dialogs without an owner are.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect area = rect();
        area.moveCenter(screen->availableGeometry().center());
        move(area.topLeft());
    }
    return true;
}

bool CSplashDlg::EndAnimation(std::chrono::milliseconds wait) {
    return picture == nullptr || picture->Stop(wait);
}

void CSplashDlg::closeEvent(QCloseEvent* event) {
    // The animation leaves its loop after the frame it is showing; closing
    // only hides the window, which its owner destroys later.
    if (picture != nullptr)
        picture->SetStopFlag();
    ui::CDialogEx::closeEvent(event);
}

} // namespace rowstone
