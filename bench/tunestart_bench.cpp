// Tune start: from the menu choice to the first non-silent audio frame the synthesizer produces,
// for the largest tune. The player's audio goes through a FIFO that this benchmark reads.
// Playback cost: processor time the synthesizer uses per second of music, for every tune.
// Usage: tunestart_bench TUNES_FOLDER
#include "game/music.h"
#include "game/resourceprovider.h"
#include "platform/mediaplayer.h"
#include "platform/tunerenderer.h"

#include <QCoreApplication>
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
    if (argc < 2)
        return 2;
    const std::string folder = argv[1];
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
    options.audioDrivers = {"file"};
    options.audioFile = fifo;
    std::vector<double> millis;
    const auto timeChoice = [&](MediaPlayer& player, Music& music) {
        double elapsed = -1;
        {
            AudibleWatch watch(fifo);
            const auto chosen = Clock::now();
            music.PlayTune(largest);
            while (!watch.heard() && Clock::now() - chosen < std::chrono::seconds(5))
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            if (watch.heard())
                elapsed =
                    std::chrono::duration<double, std::milli>(watch.heardAt() - chosen).count();
            player.Close(); // ends the FIFO, so the watch stops
        }
        return elapsed;
    };
    // As the game does: the SoundFont starts loading when the window is up; a player takes a
    // second or more to open the menu and choose.
    double atOnce = 0;
    {
        MediaPlayer player(options);
        Music music(tunes, player, work);
        player.preload();
        atOnce = timeChoice(player, music);
    }
    MediaPlayer player(options);
    Music music(tunes, player, work);
    player.preload();
    std::this_thread::sleep_for(std::chrono::seconds(1));
    const double first = timeChoice(player, music);
    for (int i = 0; i < 10; ++i)
        millis.push_back(timeChoice(player, music));
    std::sort(millis.begin(), millis.end());
    const double typical = millis[millis.size() / 2];
    std::printf("tune start, %s (%zu bytes): first choice 1 s after start %.1f ms, later choices "
                "median %.1f ms, worst %.1f ms\n",
                largest.c_str(), tunes.items[largest].size(), first, typical, millis.back());
    std::printf("  a choice at the very start waits for the SoundFont: %.1f ms\n", atOnce);
    std::printf("  ratio to the 50 ms goal: first %.2f, later %.2f\n", first / 50.0,
                typical / 50.0);

    std::printf("playback cost, processor time per second of music (goal < 5 %% of one core)\n");
    double worst = 0;
    for (int n = 1; n <= 10; ++n) {
        const std::string name = "r_" + std::to_string(n);
        const double before = threadCpuSeconds();
        const RenderedTune tune =
            renderTuneOffline(tunes.items[name], "/usr/share/sounds/sf2/default-GM.sf2", 300);
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
