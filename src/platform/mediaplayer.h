#pragma once

#include "game/music.h"

#include <QObject>
#include <QTimer>
#include <string>
#include <thread>
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

// The hidden media player: plays a MIDI file (plain or RIFF-wrapped) once, in the background,
// through FluidSynth with a General MIDI SoundFont. The end of a tune is reported on the thread
// that owns the player.
class MediaPlayer : public QObject, public TunePlayer {
    Q_OBJECT

public:
    enum class Mode { Silent, Playing, Ended };

    explicit MediaPlayer(MediaPlayerOptions options = {}, QObject* parent = nullptr);
    ~MediaPlayer() override;

    // Loads the SoundFont in the background, so that the first tune chosen starts at once.
    // Open() waits for it when it has not finished.
    void preload();

    void setFileName(const std::string& path) override { m_fileName = path; }
    // Opens the file: reads it, loads the SoundFont on first use and opens an audio output.
    // Raises an error with errorText() when any of them fails; the player then stays closed.
    void Open() override;
    // Stops the tune and releases the audio output; nothing happens when nothing is open.
    void Close() override;
    // Starts the open tune from its beginning and returns at once.
    void Play() override;

    Mode mode() const { return m_mode; }
    bool isOpen() const { return m_player != nullptr; }
    // The code of the last failure, 0 after a success, and its text.
    int error() const { return m_error; }
    std::string errorText() const;

signals:
    // The tune played to its end.
    void notified();

private:
    void fail(int code);
    bool ensureSynth();
    bool loadSynth();
    bool openAudioOutput();
    void checkForEnd();

    MediaPlayerOptions m_options;
    std::string m_fileName;
    const FluidSynthLibrary* m_fs = nullptr; // loaded with the synthesizer
    _fluid_hashtable_t* m_settings = nullptr;
    _fluid_synth_t* m_synth = nullptr;
    _fluid_player_t* m_player = nullptr;
    _fluid_audio_driver_t* m_driver = nullptr;
    Mode m_mode = Mode::Silent;
    int m_error = 0;
    QTimer m_endWatch;
    std::thread m_loader;
};
