// Wave sounds on the real desktop through SDL2's audio: the device opens on
// the first sound; a sound starts and plays on while the caller goes on; with
// SND_NOSTOP a request while a sound still plays is dropped. Whatever cannot
// be played is silence, never a message.
#pragma once

#include "platform/drivers.h"

#include <chrono>
#include <cstdint>
#include <string_view>

namespace wt {

class WaveSound : public SoundDriver {
public:
    // Longest file name accepted (the add-in's name buffer holds 99 characters).
    static constexpr std::size_t MaxNameLength = 99;

    WaveSound();
    ~WaveSound() override;
    WaveSound(const WaveSound&) = delete;
    WaveSound& operator=(const WaveSound&) = delete;

    // Flags as PlaySound takes them. True when the sound was started.
    bool Play(std::string_view fileName, unsigned flags);
    bool PlaySound(std::string_view fileName, unsigned flags) override {
        return Play(fileName, flags);
    }
    // A sound is queued or has not yet had its own duration.
    bool Busy() const;
    // Waits until the sound that plays has ended (at most its duration and a little).
    void WaitUntilQuiet() const;

private:
    bool OpenDevice(const void* format);
    void Close();

    enum class State { Unopened, Open, Unavailable };
    State state_ = State::Unopened;
    std::uint32_t device_ = 0;
    int frequency_ = 0;
    std::uint16_t format_ = 0;
    std::uint8_t channels_ = 0;
    std::chrono::steady_clock::time_point playingUntil_{};
};

} // namespace wt
