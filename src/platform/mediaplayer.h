#pragma once

#include "game/music/tuneplayer.h"
#include "platform/jobthread.h"
#include "platform/performance.h"

#include <QObject>
#include <QTimer>
#include <atomic>
#include <future>
#include <memory>
#include <mutex>
#include <string>

// The hidden media player: plays a MIDI file (plain or RIFF-wrapped) once, in the background,
// through FluidSynth with a General MIDI SoundFont. The SoundFont loads when a tune is played, on
// a thread of the player's own, so the window never waits for it; the end of a tune, and a
// failure to make it sound, are reported on the thread that owns the player.
class MediaPlayer : public QObject, public TunePlayer {
    Q_OBJECT

public:
    enum class Mode { Silent, Playing, Ended };

    explicit MediaPlayer(MediaPlayerOptions options = {}, QObject* parent = nullptr);
    // Takes down what plays and waits a few seconds at most for the player's thread.
    ~MediaPlayer() override;

    // Loads the synthesizer library in the background, so that the first tune starts sooner;
    // the SoundFont is left until a tune is played.
    void preload();

    void setFileName(const std::string& path) override { m_fileName = path; }
    // Opens the file: reads it and checks that it holds a MIDI tune. Raises an error with
    // errorText() when it does not; the player then stays closed. Nothing is loaded yet.
    void Open() override;
    // Stops the tune and releases the synthesizer and the audio output; nothing happens when
    // nothing is open.
    void Close() override;
    // Starts the open tune from its beginning and returns at once; the tune sounds as soon as
    // the SoundFont and an audio output are ready. When they cannot be, failed() follows with
    // errorText() and the player closes.
    void Play() override;

    Mode mode() const { return m_mode; }
    bool isOpen() const { return m_open; }
    // An audio output is open: from shortly after Play until the tune has ended and died away.
    bool isSounding() const;
    // The code of the last failure, 0 after a success, and its text.
    int error() const { return m_error; }
    std::string errorText() const;

signals:
    // The tune played to its end.
    void notified();
    // The tune played could not be made to sound; errorText() says why.
    void failed();

private:
    // The player, for its thread's jobs to report to while it exists.
    struct Owner {
        explicit Owner(MediaPlayer* owner) : player(owner) {}
        std::mutex mutex;
        MediaPlayer* player;
        // The start the player wants, 0 for none: a start queued or under way that is no
        // longer wanted stops before it sounds, so only the latest choice is heard.
        std::atomic<unsigned> wanted{0};
    };
    struct Started {
        std::unique_ptr<Performance> performance;
        PerformanceFailure failure = PerformanceFailure::None;
    };

    void fail(int code);
    // Takes the outcome of the start numbered start, which the player's thread has just given.
    void takeStarted(unsigned start);
    void watchTheEnd();
    // Hands what the player holds to its thread to be taken down there.
    void letGo();

    MediaPlayerOptions m_options;
    std::string m_fileName;
    std::string m_midi; // the open tune's Standard MIDI File
    bool m_open = false;
    Mode m_mode = Mode::Silent;
    int m_error = 0;
    std::future<Started> m_starting;
    unsigned m_starts = 0; // the tunes started, the last of them the one m_starting brings
    std::unique_ptr<Performance> m_performance;
    int m_quietChecks = 0;
    QTimer m_endWatch;
    std::shared_ptr<Owner> m_owner = std::make_shared<Owner>(this);
    JobThread m_thread;
};
