#pragma once

namespace rowstone::ui {

// The sound of a stone set on the board, played without waiting; a new
// sound cuts the one still playing. Where the machine has no audio output
// it stays silent. Tests install a counter instead.
class SoundService {
public:
    virtual ~SoundService() = default;
    virtual void PlayStone() = 0;
};

void InstallSoundService(SoundService* service);
void PlayStoneSound();

} // namespace rowstone::ui
