#pragma once

#include "CDialogEx.h"

#include <chrono>

namespace rowstone {

class CPictureEx;

// The small window shown while the program starts: an animated picture
// and two lines of text, without caption or border.
class CSplashDlg : public ui::CDialogEx {
public:
    static constexpr int kTemplate = 146;
    static constexpr int kPicture = 1033;
    static constexpr int kPleaseWait = 1034;
    static constexpr int kNetworkHint = 1035;
    static constexpr int kPictureResource = 148;
    static constexpr const char* kPictureType = "Gif";

    explicit CSplashDlg(QWidget* parent = nullptr);
    ~CSplashDlg() override;

    CPictureEx* Picture() const { return picture; }
    // Stops the animation, waiting for it at most `wait`; true when it ended.
    bool EndAnimation(std::chrono::milliseconds wait);

protected:
    bool OnInitDialog() override;
    QWidget* CreateControl(const ui::ControlTemplate& control) override;
    void closeEvent(QCloseEvent* event) override;

private:
    CPictureEx* picture = nullptr;
};

} // namespace rowstone
