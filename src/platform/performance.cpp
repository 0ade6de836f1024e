#include "performance.h"

#include "game/music/tunepresets.h"
#include "platform/fluidsynthlibrary.h"

#include <sys/stat.h>

namespace {

// The output takes the sound in periods of this many frames (46 ms): few enough wake-ups that
// neither the game nor the audio server spends more than a sliver of a core on a tune, while
// the tune still starts at once, since the first period is written as soon as the output opens.
constexpr int kPeriodFrames = 2048;
// Outputs that keep a buffer of several periods (ALSA) keep two.
constexpr int kPeriods = 2;

// A tune plays on the sixteen MIDI channels; the channels after them each hold one of the
// tune's instruments selected, so that its samples are loaded before the first note and stay
// loaded when the tune changes programs, instead of loading on the audio thread mid-tune.
constexpr int kTuneChannels = 16;
constexpr int kHoldingChannels = 16;

} // namespace

AudioOutput::~AudioOutput()
{
    m_fs.delete_fluid_audio_driver(m_driver);
}

std::unique_ptr<Performance> Performance::start(const MediaPlayerOptions& options,
                                                std::string_view midi,
                                                const std::function<bool()>& wanted,
                                                PerformanceFailure& failure)
{
    const FluidSynthLibrary* fs = fluidSynth();
    if (!fs) {
        failure = PerformanceFailure::NoSynthesizer;
        return nullptr;
    }
    std::unique_ptr<Performance> performance(new Performance(*fs));
    failure = performance->load(options, midi, wanted);
    if (failure != PerformanceFailure::None || !wanted())
        return nullptr;
    return performance;
}

Performance::~Performance()
{
    // Closing an output the audio server has only just opened can take a second; it renders
    // silence meanwhile, whoever let the tune go.
    if (m_output)
        silence();
    m_output.reset();
    if (m_player) {
        m_fs.fluid_player_stop(m_player);
        m_fs.delete_fluid_player(m_player);
    }
    if (m_synth)
        m_fs.delete_fluid_synth(m_synth);
    if (m_settings)
        m_fs.delete_fluid_settings(m_settings);
}

PerformanceFailure Performance::load(const MediaPlayerOptions& options, std::string_view midi,
                                     const std::function<bool()>& wanted)
{
    // FluidSynth would wait for ever on a FIFO or a device in the SoundFont's place.
    struct stat soundFontFile {};
    if (::stat(options.soundFont.c_str(), &soundFontFile) != 0 || !S_ISREG(soundFontFile.st_mode))
        return PerformanceFailure::NoSoundFont;
    const FluidSynthLibrary& fs = m_fs;
    m_settings = fs.new_fluid_settings();
    if (!m_settings)
        return PerformanceFailure::NoSoundFont;
    applySoundSettings(fs, m_settings);
    // Samples load with the instruments that use them, not the whole SoundFont at once.
    fs.fluid_settings_setint(m_settings, "synth.dynamic-sample-loading", 1);
    fs.fluid_settings_setint(m_settings, "synth.lock-memory", 0);
    fs.fluid_settings_setint(m_settings, "synth.midi-channels", kTuneChannels + kHoldingChannels);
    // The synthesizer is new; a reset as the tune starts would only drop the held instruments.
    fs.fluid_settings_setint(m_settings, "player.reset-synth", 0);
    fs.fluid_settings_setint(m_settings, "audio.period-size", kPeriodFrames);
    fs.fluid_settings_setint(m_settings, "audio.periods", kPeriods);
    m_synth = fs.new_fluid_synth(m_settings);
    if (!m_synth)
        return PerformanceFailure::NoSoundFont;
    // No instrument is selected yet, so loading reads only the SoundFont's directory.
    const int soundFont = fs.fluid_synth_sfload(m_synth, options.soundFont.c_str(), 0);
    if (soundFont == FLUID_FAILED)
        return PerformanceFailure::NoSoundFont;

    const TunePresets presets = tunePresets(midi);
    for (const int channel : presets.withDefault)
        fs.fluid_synth_program_select(m_synth, channel, soundFont,
                                      channel == kDrumChannel ? kDrumBank : 0, 0);
    int holder = kTuneChannels;
    for (const auto& [bank, program] : presets.chosen)
        if (holder < kTuneChannels + kHoldingChannels &&
            fs.fluid_synth_program_select(m_synth, holder, soundFont, bank, program) == FLUID_OK)
            ++holder;

    m_player = fs.new_fluid_player(m_synth);
    if (!m_player || fs.fluid_player_add_mem(m_player, midi.data(), midi.size()) != FLUID_OK ||
        fs.fluid_player_play(m_player) != FLUID_OK)
        return PerformanceFailure::NotMidi;
    // A tune no longer wanted never opens an output, so it never sounds over the next one.
    if (!wanted())
        return PerformanceFailure::None;
    // The player moves with the rendered sound, so it starts with the output's first period.
    return openOutput(options) ? PerformanceFailure::None : PerformanceFailure::NoAudioOutput;
}

bool Performance::openOutput(const MediaPlayerOptions& options)
{
    for (const std::string& driver : options.audioDrivers) {
        m_fs.fluid_settings_setstr(m_settings, "audio.driver", driver.c_str());
        if (driver == "file")
            m_fs.fluid_settings_setstr(m_settings, "audio.file.name", options.audioFile.c_str());
        if (_fluid_audio_driver_t* output = m_fs.new_fluid_audio_driver(m_settings, m_synth)) {
            m_output = std::make_unique<AudioOutput>(m_fs, output);
            return true;
        }
    }
    return false;
}

void Performance::silence()
{
    // Through the synthesizer only, whose calls are safe while its output renders: notes the
    // player still sends sound at no gain.
    m_fs.fluid_synth_set_gain(m_synth, 0.0F);
    m_fs.fluid_synth_all_sounds_off(m_synth, -1);
    m_fs.fluid_synth_reverb_on(m_synth, -1, 0);
    m_fs.fluid_synth_chorus_on(m_synth, -1, 0);
}

bool Performance::finished() const
{
    return m_fs.fluid_player_get_status(m_player) == FLUID_PLAYER_DONE;
}

bool Performance::silent() const
{
    return m_fs.fluid_synth_get_active_voice_count(m_synth) == 0;
}
