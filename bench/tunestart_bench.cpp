// Tune start with one SoundFont: from the menu choice to the first audible frame the synthesizer
// writes (the player's output goes through a FIFO that this benchmark reads), with the event loop
// running as in the game, and the longest time the event loop was held meanwhile: how long the
// window would freeze. As in the game, the synthesizer library loads when the program starts and
// a player takes a second or more to choose; every choice then loads the SoundFont and the tune's
// instruments.
// Playback cost: processor time the synthesizer uses per second of music, offline, for every tune.
// Usage: tunestart_bench TUNES_FOLDER SOUNDFONT
#include "game/music/music.h"
#include "game/resourceprovider.h"
#include "platform/mediaplayer.h"
#include "platform/tunerenderer.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <map>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class Tunes : public ResourceProvider {
public:
    std::map<std::string, std::string> items;
    std::optional<std::string> find(const std::string& name) const override
    {
        const auto found = items.find(name);
        return found == items.end() ? std::nullopt : std::optional(found->second);
    }
};

// Reads 16-bit samples from the FIFO and notes when the first audible one arrives.
class AudibleWatch {
public:
    explicit AudibleWatch(std::string fifo) : m_fifo(std::move(fifo))
    {
        m_thread = std::thread([this] { run(); });
    }
    ~AudibleWatch() { m_thread.join(); }
    Clock::time_point heardAt() const { return m_heard; }
    bool heard() const { return m_wasHeard; }

private:
    void run()
    {
        const int fd = open(m_fifo.c_str(), O_RDONLY);
        std::vector<short> buffer(4096);
        ssize_t got;
        while ((got = read(fd, buffer.data(), buffer.size() * sizeof(short))) > 0) {
            if (m_wasHeard)
                continue;
            for (ssize_t i = 0; i < got / static_cast<ssize_t>(sizeof(short)); ++i)
                if (std::abs(buffer[static_cast<std::size_t>(i)]) > 64) {
                    m_heard = Clock::now();
                    m_wasHeard = true;
                    break;
                }
        }
        close(fd);
    }

    std::string m_fifo;
    std::thread m_thread;
    Clock::time_point m_heard;
    std::atomic<bool> m_wasHeard = false;
};

struct Choice {
    double startMilliseconds = -1; // -1: never heard
    double longestStallMilliseconds = 0;
};

// Chooses the tune from inside the event loop, as the menu does, and runs the loop until the
// tune is heard, timing every turn of the loop.
Choice choose(Music& music, MediaPlayer& player, const std::string& tune, const std::string& fifo)
{
    Choice result;
    {
        AudibleWatch watch(fifo);
        QEventLoop loop;
        Clock::time_point chosen;
        Clock::time_point lastTurn = Clock::now();
        QTimer turns;
        turns.setTimerType(Qt::PreciseTimer);
        turns.setInterval(1);
        QObject::connect(&turns, &QTimer::timeout, [&] {
            const Clock::time_point now = Clock::now();
            if (chosen != Clock::time_point{})
                result.longestStallMilliseconds =
                    std::max(result.longestStallMilliseconds, millisecondsBetween(lastTurn, now));
            lastTurn = now;
            if (watch.heard() ||
                (chosen != Clock::time_point{} && now - chosen > std::chrono::seconds(5)))
                loop.quit();
        });
        QTimer::singleShot(20, [&] {
            chosen = Clock::now();
            lastTurn = chosen;
            music.PlayTune(tune);
        });
        turns.start();
        loop.exec();
        if (watch.heard())
            result.startMilliseconds = millisecondsBetween(chosen, watch.heardAt());
        player.Close();    // the output closes, so the FIFO ends and the watch stops
        QEventLoop settle; // the player's thread takes the tune down meanwhile
        QTimer::singleShot(200, &settle, &QEventLoop::quit);
        settle.exec();
    }
    return result;
}

double threadCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    if (argc < 3)
        return 2;
    const std::string folder = argv[1];
    const std::string soundFont = argv[2];
    Tunes tunes;
    std::string largest;
    for (int n = 1; n <= 10; ++n) {
        const std::string name = "r_" + std::to_string(n);
        tunes.items[name] = readFile(folder + "/" + name + ".mid");
        if (largest.empty() || tunes.items[name].size() > tunes.items[largest].size())
            largest = name;
    }

    char work[] = "/tmp/mudracq-tune-XXXXXX";
    if (!mkdtemp(work))
        return 1;
    const std::string fifo = std::string(work) + "/out.raw";
    mkfifo(fifo.c_str(), 0600);
    MediaPlayerOptions options;
    options.soundFont = soundFont;
    options.audioDrivers = {"file"};
    options.audioFile = fifo;
    MediaPlayer player(options);
    Music music(tunes, player, work);
    player.preload();
    QEventLoop starting;
    QTimer::singleShot(1000, &starting, &QEventLoop::quit);
    starting.exec();

    const Choice first = choose(music, player, largest, fifo);
    std::vector<double> later;
    double stall = first.longestStallMilliseconds;
    for (int i = 0; i < 10; ++i) {
        const Choice choice = choose(music, player, largest, fifo);
        later.push_back(choice.startMilliseconds);
        stall = std::max(stall, choice.longestStallMilliseconds);
    }
    std::sort(later.begin(), later.end());
    std::printf("tune start with %s, %s (%zu bytes), choice to first audible frame\n",
                soundFont.c_str(), largest.c_str(), tunes.items[largest].size());
    std::printf("  first choice 1 s after start %.1f ms, later choices median %.1f ms, worst "
                "%.1f ms\n",
                first.startMilliseconds, later[later.size() / 2], later.back());
    std::printf("  longest the event loop was held while choosing: %.1f ms\n", stall);

    std::printf("playback cost offline, processor time per second of music (goal < 5 %% of one "
                "core)\n");
    double worst = 0;
    for (int n = 1; n <= 10; ++n) {
        const std::string name = "r_" + std::to_string(n);
        const double before = threadCpuSeconds();
        const RenderedTune tune = renderTuneOffline(tunes.items[name], soundFont, 300);
        const double cpu = threadCpuSeconds() - before;
        const double share = 100.0 * cpu / tune.seconds();
        worst = std::max(worst, share);
        std::printf("  %-5s %6.1f s of music, %5.2f s processor: %4.2f %%\n", name.c_str(),
                    tune.seconds(), cpu, share);
    }
    std::printf("  worst %.2f %%, ratio to the 5 %% goal: %.2f\n", worst, worst / 5.0);
    unlink(fifo.c_str());
    rmdir(work);
    return 0;
}
