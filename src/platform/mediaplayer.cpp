#include "mediaplayer.h"

#include "game/errors.h"
#include "game/files/fileimage.h"
#include "game/music/midifile.h"
#include "platform/fluidsynthlibrary.h"

namespace {

// The largest tune is 21 kB; anything near this is not a tune.
constexpr std::size_t kMaxTuneBytes = 4 << 20;

enum ErrorCode {
    kNoError = 0,
    kNoSoundFont = 1,
    kNoAudioOutput = 2,
    kUnreadableFile = 3,
    kNotMidi = 4,
    kNoTuneOpen = 5,
    kNoSynthesizer = 6,
};

int errorCode(PerformanceFailure failure)
{
    switch (failure) {
    case PerformanceFailure::None:
        return kNoError;
    case PerformanceFailure::NoSynthesizer:
        return kNoSynthesizer;
    case PerformanceFailure::NoSoundFont:
        return kNoSoundFont;
    case PerformanceFailure::NotMidi:
        return kNotMidi;
    case PerformanceFailure::NoAudioOutput:
        return kNoAudioOutput;
    }
    return kNoSoundFont;
}

// How often it looks whether the tune has ended, and how many looks in a row must find every
// note silent before the audio output closes (the reverberation dies away meanwhile).
constexpr int kEndWatchMilliseconds = 100;
constexpr int kQuietChecksBeforeClosing = 10;

// How long the end of the player waits for its thread to take down what it still holds.
constexpr std::chrono::seconds kPatienceAtTheEnd{3};

// Hands an object to the job thread, to be destroyed there.
template <typename T> void destroyOn(JobThread& thread, T object)
{
    thread.post([held = std::make_shared<T>(std::move(object))] {});
}

} // namespace

MediaPlayer::MediaPlayer(MediaPlayerOptions options, QObject* parent)
    : QObject(parent), m_options(std::move(options))
{
    m_endWatch.setInterval(kEndWatchMilliseconds);
    connect(&m_endWatch, &QTimer::timeout, this, &MediaPlayer::watchTheEnd);
}

MediaPlayer::~MediaPlayer()
{
    Close();
    {
        const std::lock_guard lock(m_owner->mutex);
        m_owner->player = nullptr;
    }
    // A start stuck in the system (a SoundFont on a hung disk) must not keep the program alive.
    m_thread.finish(kPatienceAtTheEnd);
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
    case kNoTuneOpen:
        return "No tune is open";
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
    m_thread.post([] { fluidSynth(); });
}

bool MediaPlayer::isSounding() const
{
    return m_performance && m_endWatch.isActive();
}

void MediaPlayer::Open()
{
    Close();
    std::string file;
    try {
        // Read as every file of the game is: never blocking on a FIFO, never without end.
        file = readFileImage(m_fileName, kMaxTuneBytes);
    } catch (const GameError&) {
        fail(kUnreadableFile);
    }
    const auto midi = standardMidiData(file);
    if (!midi)
        fail(kNotMidi);
    m_midi = *midi;
    m_open = true;
    m_error = kNoError;
    m_mode = Mode::Ended; // open and stopped until played
}

void MediaPlayer::Close()
{
    letGo();
    m_open = false;
    m_mode = Mode::Silent;
}

void MediaPlayer::letGo()
{
    m_owner->wanted = 0;
    m_endWatch.stop();
    // A start the thread has just finished sounds already: it is silenced like a tune taken.
    if (m_starting.valid() &&
        m_starting.wait_for(std::chrono::seconds(0)) == std::future_status::ready) {
        Started started = m_starting.get();
        if (started.performance)
            m_performance = std::move(started.performance);
    }
    // The thread may be busy for a while loading another start, so what sounds stops here, at
    // once; the thread takes it down later.
    if (m_performance)
        m_performance->silence();
    // The thread has started, or will start, the tune before it comes to these.
    if (m_starting.valid())
        destroyOn(m_thread, std::move(m_starting));
    if (m_performance)
        destroyOn(m_thread, std::move(m_performance));
}

void MediaPlayer::Play()
{
    if (!m_open)
        fail(kNoTuneOpen);
    letGo();
    auto started = std::make_shared<std::promise<Started>>();
    m_starting = started->get_future();
    const unsigned start = ++m_starts;
    m_owner->wanted = start;
    m_thread.post([owner = m_owner, started, start, options = m_options, midi = m_midi] {
        const auto wanted = [&owner, start] { return owner->wanted == start; };
        Started result;
        if (wanted())
            result.performance = Performance::start(options, midi, wanted, result.failure);
        started->set_value(std::move(result));
        if (!wanted())
            return; // superseded: the player takes no outcome from it
        // Should the player go before the call comes due, Qt drops the call with it.
        const std::lock_guard lock(owner->mutex);
        if (MediaPlayer* player = owner->player)
            QMetaObject::invokeMethod(
                player, [player, start] { player->takeStarted(start); }, Qt::QueuedConnection);
    });
    m_error = kNoError;
    m_mode = Mode::Playing;
}

void MediaPlayer::takeStarted(unsigned start)
{
    // A start let go of since is being taken down on the thread.
    if (start != m_starts || !m_starting.valid())
        return;
    Started started = m_starting.get();
    if (!started.performance) {
        m_open = false;
        m_mode = Mode::Silent;
        m_error = errorCode(started.failure);
        emit failed();
        return;
    }
    m_performance = std::move(started.performance);
    m_quietChecks = 0;
    m_endWatch.start();
}

void MediaPlayer::watchTheEnd()
{
    if (m_mode == Mode::Playing && m_performance->finished()) {
        m_mode = Mode::Ended;
        emit notified();
        if (!m_performance) // closed by whoever heard of the end
            return;
    }
    if (m_mode != Mode::Ended)
        return;
    // Stopped at the end, the player keeps the tune but not the output: an open output would
    // go on streaming silence.
    m_quietChecks = m_performance->silent() ? m_quietChecks + 1 : 0;
    if (m_quietChecks < kQuietChecksBeforeClosing)
        return;
    m_endWatch.stop();
    if (auto output = m_performance->takeOutput())
        destroyOn(m_thread, std::move(output));
}
