#include "StoneSound.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>
#include <memory>

namespace rowstone::ui {

namespace {

class ResourceSound final : public SoundService {
public:
    void PlayStone() override {
        if (!prepared)
            Prepare();
        if (!effect)
            return;
        effect->stop();
        effect->play();
    }

private:
    void Prepare() {
        prepared = true;
        if (QMediaDevices::audioOutputs().isEmpty())
            return;
        effect = std::make_unique<QSoundEffect>();
        effect->setSource(QUrl(QStringLiteral("qrc:/res/stone.wav")));
    }

    bool prepared = false;
    std::unique_ptr<QSoundEffect> effect;
};

SoundService* installed = nullptr;

ResourceSound& DefaultSound() {
    // Built on first use, after the application object exists.
    static ResourceSound sound;
    return sound;
}

} // namespace

void InstallSoundService(SoundService* service) {
    installed = service;
}

void PlayStoneSound() {
    if (installed != nullptr)
        installed->PlayStone();
    else
        DefaultSound().PlayStone();
}

} // namespace rowstone::ui
