#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct FluidSynthLibrary;
struct _fluid_hashtable_t;
struct _fluid_synth_t;
struct _fluid_player_t;
struct _fluid_audio_driver_t;

// Where the player's sound comes from and goes to.
struct MediaPlayerOptions {
    std::string soundFont = "/usr/share/sounds/sf2/default-GM.sf2";
    // Tried in order until one opens.
    std::vector<std::string> audioDrivers = {"pulseaudio", "alsa"};
    // For the "file" driver: the file the audio is written to.
    std::string audioFile;
};

// Why a tune could not be made to sound.
enum class PerformanceFailure { None, NoSynthesizer, NoSoundFont, NotMidi, NoAudioOutput };

// An open audio output, closed when destroyed. Closing waits for the output's last period.
class AudioOutput {
public:
    AudioOutput(const FluidSynthLibrary& fs, _fluid_audio_driver_t* driver)
        : m_fs(fs), m_driver(driver)
    {
    }
    AudioOutput(const AudioOutput&) = delete;
    AudioOutput& operator=(const AudioOutput&) = delete;
    ~AudioOutput();

private:
    const FluidSynthLibrary& m_fs;
    _fluid_audio_driver_t* m_driver;
};

// One tune sounding: a synthesizer of its own with the SoundFont and only the instruments the tune
// uses, a MIDI player and an audio output. Building it loads the SoundFont, so it is built and
// destroyed away from the window's thread; in between, its owner only asks how far the tune has
// got and takes the audio output away once the tune has died out.
class Performance {
public:
    // Loads everything, starts the tune from its beginning and opens the output; nothing, with
    // the reason, when any of it fails, and nothing, with no reason, once wanted() is false.
    static std::unique_ptr<Performance> start(const MediaPlayerOptions& options,
                                              std::string_view midi,
                                              const std::function<bool()>& wanted,
                                              PerformanceFailure& failure);
    Performance(const Performance&) = delete;
    Performance& operator=(const Performance&) = delete;
    // Closes the output first, so nothing renders while the rest is taken down.
    ~Performance();

    // The player has passed the tune's last event; notes may still be dying away.
    bool finished() const;
    // No note sounds any more.
    bool silent() const;
    // Stops every note and the reverberation at once, from any thread: the output, until it
    // closes, renders silence.
    void silence();
    // The audio output, handed over to be closed; null once taken.
    std::unique_ptr<AudioOutput> takeOutput() { return std::move(m_output); }

private:
    explicit Performance(const FluidSynthLibrary& fs) : m_fs(fs) {}
    PerformanceFailure load(const MediaPlayerOptions& options, std::string_view midi,
                            const std::function<bool()>& wanted);
    bool openOutput(const MediaPlayerOptions& options);

    const FluidSynthLibrary& m_fs;
    _fluid_hashtable_t* m_settings = nullptr;
    _fluid_synth_t* m_synth = nullptr;
    _fluid_player_t* m_player = nullptr;
    std::unique_ptr<AudioOutput> m_output;
};
