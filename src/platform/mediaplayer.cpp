#include "mediaplayer.h"

#include "fluidsynthlibrary.h"
#include "game/errors.h"
#include "game/midifile.h"

#include <fstream>
#include <iterator>

namespace {

enum ErrorCode {
    kNoError = 0,
    kNoSoundFont = 1,
    kNoAudioOutput = 2,
    kUnreadableFile = 3,
    kNotMidi = 4,
    kNoDeviceOpen = 5,
    kNoSynthesizer = 6,
};

// How often the player looks whether the tune has ended.
constexpr int kEndWatchMilliseconds = 100;

} // namespace

MediaPlayer::MediaPlayer(MediaPlayerOptions options, QObject* parent)
    : QObject(parent), m_options(std::move(options))
{
    m_endWatch.setInterval(kEndWatchMilliseconds);
    connect(&m_endWatch, &QTimer::timeout, this, &MediaPlayer::checkForEnd);
}

MediaPlayer::~MediaPlayer()
{
    if (m_loader.joinable())
        m_loader.join();
    Close();
    if (m_synth)
        m_fs->delete_fluid_synth(m_synth);
    if (m_settings)
        m_fs->delete_fluid_settings(m_settings);
}

std::string MediaPlayer::errorText() const
{
    switch (m_error) {
    case kNoError:
        return "The command completed successfully";
    case kNoSoundFont:
        return "No General MIDI SoundFont could be loaded from " + m_options.soundFont;
    case kNoAudioOutput:
        return "No audio output could be opened for the music";
    case kUnreadableFile:
        return "The tune file " + m_fileName + " cannot be read";
    case kNotMidi:
        return "The tune file " + m_fileName + " is not a MIDI file";
    case kNoDeviceOpen:
        return "No MCI device open";
    case kNoSynthesizer:
        return "The FluidSynth synthesizer library (libfluidsynth.so.3) cannot be loaded";
    default:
        return "Unknown error code";
    }
}

void MediaPlayer::fail(int code)
{
    m_error = code;
    throw GameError(errorText());
}

void MediaPlayer::preload()
{
    if (m_synth || m_loader.joinable())
        return;
    m_loader = std::thread([this] { loadSynth(); });
}

bool MediaPlayer::ensureSynth()
{
    if (m_loader.joinable())
        m_loader.join();
    if (m_synth)
        return true;
    if (m_settings) {
        m_fs->delete_fluid_settings(m_settings);
        m_settings = nullptr;
    }
    return loadSynth();
}

bool MediaPlayer::loadSynth()
{
    m_fs = fluidSynth();
    if (!m_fs)
        return false;
    const FluidSynthLibrary* fs = m_fs;
    m_settings = fs->new_fluid_settings();
    if (!m_settings)
        return false;
    fs->fluid_settings_setnum(m_settings, "synth.sample-rate", 44100.0);
    fs->fluid_settings_setnum(m_settings, "synth.gain", kSynthGain);
    m_synth = fs->new_fluid_synth(m_settings);
    if (!m_synth)
        return false;
    if (fs->fluid_synth_sfload(m_synth, m_options.soundFont.c_str(), 1) == FLUID_FAILED) {
        fs->delete_fluid_synth(m_synth);
        m_synth = nullptr;
        return false;
    }
    return true;
}

bool MediaPlayer::openAudioOutput()
{
    const FluidSynthLibrary* fs = m_fs;
    for (const std::string& driver : m_options.audioDrivers) {
        fs->fluid_settings_setstr(m_settings, "audio.driver", driver.c_str());
        if (driver == "file")
            fs->fluid_settings_setstr(m_settings, "audio.file.name", m_options.audioFile.c_str());
        m_driver = fs->new_fluid_audio_driver(m_settings, m_synth);
        if (m_driver)
            return true;
    }
    return false;
}

void MediaPlayer::Open()
{
    Close();
    std::ifstream in(m_fileName, std::ios::binary);
    if (!in.is_open())
        fail(kUnreadableFile);
    const std::string file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad())
        fail(kUnreadableFile);
    const auto midi = standardMidiData(file);
    if (!midi)
        fail(kNotMidi);
    if (!ensureSynth())
        fail(fluidSynth() ? kNoSoundFont : kNoSynthesizer);
    const FluidSynthLibrary* fs = m_fs;

    m_player = fs->new_fluid_player(m_synth);
    if (!m_player || fs->fluid_player_add_mem(m_player, midi->data(), midi->size()) != FLUID_OK) {
        Close();
        fail(kNotMidi);
    }
    if (!openAudioOutput()) {
        Close();
        fail(kNoAudioOutput);
    }
    m_error = kNoError;
    m_mode = Mode::Ended; // open and stopped until played
}

void MediaPlayer::Close()
{
    m_endWatch.stop();
    const FluidSynthLibrary* fs = m_fs; // set whenever anything below exists
    // The audio output goes first, so nothing renders while the player is taken down.
    if (m_driver) {
        fs->delete_fluid_audio_driver(m_driver);
        m_driver = nullptr;
    }
    if (m_player) {
        fs->fluid_player_stop(m_player);
        fs->delete_fluid_player(m_player);
        m_player = nullptr;
    }
    if (m_synth)
        fs->fluid_synth_system_reset(m_synth);
    m_mode = Mode::Silent;
}

void MediaPlayer::Play()
{
    if (!m_player) {
        m_error = kNoDeviceOpen;
        throw GameError(errorText());
    }
    const FluidSynthLibrary* fs = m_fs;
    fs->fluid_player_seek(m_player, 0);
    m_error = fs->fluid_player_play(m_player) == FLUID_OK ? kNoError : kNotMidi;
    if (m_error != kNoError)
        return;
    m_mode = Mode::Playing;
    m_endWatch.start();
}

void MediaPlayer::checkForEnd()
{
    if (!m_player || m_fs->fluid_player_get_status(m_player) != FLUID_PLAYER_DONE)
        return;
    m_endWatch.stop();
    m_mode = Mode::Ended;
    emit notified();
}
