#include "platform/sound.h"

#include "platform/types.h"

#include <SDL2/SDL.h>

#include <string>
#include <thread>
#include <vector>

namespace wt {

namespace {

using Clock = std::chrono::steady_clock;

struct LoadedWave {
    SDL_AudioSpec Format{};
    Uint8* Data = nullptr;
    Uint32 Length = 0;
    ~LoadedWave() {
        if (Data)
            SDL_FreeWAV(Data);
    }
};

std::chrono::microseconds DurationOf(std::size_t bytes, int frequency, SDL_AudioFormat format,
                                     int channels) {
    const std::size_t frameBytes = static_cast<std::size_t>(SDL_AUDIO_BITSIZE(format) / 8) *
                                   static_cast<std::size_t>(channels);
    if (frameBytes == 0 || frequency <= 0)
        return {};
    const double seconds = static_cast<double>(bytes / frameBytes) / frequency;
    return std::chrono::microseconds(static_cast<std::int64_t>(seconds * 1e6));
}

} // namespace

WaveSound::WaveSound() = default;

WaveSound::~WaveSound() { Close(); }

void WaveSound::Close() {
    if (state_ == State::Open) {
        SDL_CloseAudioDevice(device_);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    state_ = State::Unopened;
    device_ = 0;
}

bool WaveSound::OpenDevice(const void* formatPointer) {
    const auto& wanted = *static_cast<const SDL_AudioSpec*>(formatPointer);
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        state_ = State::Unavailable;
        return false;
    }
    SDL_AudioSpec request = wanted;
    request.callback = nullptr; // queued audio
    request.userdata = nullptr;
    SDL_AudioSpec obtained{};
    // The first sound's format becomes the device's; SDL converts for the hardware.
    device_ = SDL_OpenAudioDevice(nullptr, 0, &request, &obtained, 0);
    if (device_ == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        state_ = State::Unavailable;
        return false;
    }
    frequency_ = obtained.freq;
    format_ = obtained.format;
    channels_ = obtained.channels;
    SDL_PauseAudioDevice(device_, 0);
    state_ = State::Open;
    return true;
}

bool WaveSound::Busy() const {
    if (state_ != State::Open)
        return false;
    return SDL_GetQueuedAudioSize(device_) > 0 || Clock::now() < playingUntil_;
}

void WaveSound::WaitUntilQuiet() const {
    while (Busy())
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

bool WaveSound::Play(std::string_view fileName, unsigned flags) {
    if (fileName.empty() || fileName.size() > MaxNameLength ||
        fileName.find('\0') != std::string_view::npos)
        return false;
    if (state_ == State::Unavailable)
        return false;
    if ((flags & SND_NOSTOP) && Busy())
        return false;

    const std::string name(fileName);
    LoadedWave wave;
    if (state_ == State::Unopened) {
        // SDL_LoadWAV needs no initialised subsystem; open the device with its format.
        if (!SDL_LoadWAV(name.c_str(), &wave.Format, &wave.Data, &wave.Length))
            return false;
        if (!OpenDevice(&wave.Format))
            return false;
    } else if (!SDL_LoadWAV(name.c_str(), &wave.Format, &wave.Data, &wave.Length)) {
        return false;
    }
    if (wave.Length == 0)
        return false;

    std::vector<Uint8> converted;
    const Uint8* samples = wave.Data;
    std::size_t length = wave.Length;
    if (wave.Format.freq != frequency_ || wave.Format.format != format_ ||
        wave.Format.channels != channels_) {
        SDL_AudioStream* stream =
            SDL_NewAudioStream(wave.Format.format, wave.Format.channels, wave.Format.freq, format_,
                               channels_, frequency_);
        if (!stream)
            return false;
        bool ok = SDL_AudioStreamPut(stream, wave.Data, static_cast<int>(wave.Length)) == 0 &&
                  SDL_AudioStreamFlush(stream) == 0;
        if (ok) {
            converted.resize(static_cast<std::size_t>(SDL_AudioStreamAvailable(stream)));
            int got = converted.empty() ? 0
                                        : SDL_AudioStreamGet(stream, converted.data(),
                                                             static_cast<int>(converted.size()));
            ok = got > 0;
            converted.resize(ok ? static_cast<std::size_t>(got) : 0);
        }
        SDL_FreeAudioStream(stream);
        if (!ok)
            return false;
        samples = converted.data();
        length = converted.size();
    }

    if (!(flags & SND_NOSTOP))
        SDL_ClearQueuedAudio(device_); // a new sound cuts the one that plays
    if (SDL_QueueAudio(device_, samples, static_cast<Uint32>(length)) != 0)
        return false;
    playingUntil_ = Clock::now() + DurationOf(length, frequency_, format_, channels_);
    if (!(flags & SND_ASYNC))
        WaitUntilQuiet();
    return true;
}

} // namespace wt
