#pragma once

#include "Browser.h"
#include "MessageBoxes.h"
#include "StoneSound.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

namespace rowstone::test {

struct ShownBox {
    QString text;
    QString caption;
    ui::MessageButtons buttons = ui::MessageButtons::Ok;
    ui::MessageIcon icon = ui::MessageIcon::None;
};

// Answers every message box by script while installed, and records what
// was shown. A box with only OK is answered OK; a question takes the next
// scripted answer, or Cancel / No when the script has run out (and counts
// as unexpected). onShow runs while the box is "open", as the player would
// be looking at it.
class ScriptedMessageBoxes final : public ui::MessageBoxService {
public:
    ScriptedMessageBoxes() { ui::InstallMessageBoxService(this); }
    ~ScriptedMessageBoxes() override { ui::InstallMessageBoxService(nullptr); }

    ui::MessageAnswer Show(QWidget* owner, const ui::MessageRequest& request) override;

    QStringList Texts() const;
    const ShownBox* Last() const { return shown.empty() ? nullptr : &shown.back(); }
    void Clear() { shown.clear(); }

    std::vector<ShownBox> shown;
    std::deque<ui::MessageAnswer> answers;
    std::function<void(const ShownBox&)> onShow;
    int unexpectedQuestions = 0;
};

// Records the addresses the program would open in the browser.
class RecordingBrowser final : public ui::BrowserService {
public:
    RecordingBrowser() { ui::InstallBrowserService(this); }
    ~RecordingBrowser() override { ui::InstallBrowserService(nullptr); }
    bool Open(const QString& address) override {
        opened.push_back(address);
        if (onOpen)
            onOpen(address);
        return true;
    }
    QStringList opened;
    std::function<void(const QString&)> onOpen;
};

// Counts stone sounds instead of playing them.
class CountingSound final : public ui::SoundService {
public:
    CountingSound() { ui::InstallSoundService(this); }
    ~CountingSound() override { ui::InstallSoundService(nullptr); }
    void PlayStone() override { ++plays; }
    int plays = 0;
};

} // namespace rowstone::test
