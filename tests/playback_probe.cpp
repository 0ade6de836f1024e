// Plays a tune through the game's media player for a few seconds, for the audio server test.
// Usage: playback_probe TUNE_FILE SECONDS [CHOICES [stop]]: CHOICES plays 40 ms apart (a player
// choosing tunes in a burst, going round r_1.mid to r_10.mid beside TUNE_FILE), then, with "stop",
// the music closed for the rest of the time. Prints when the last choice was made and the processor
// time used after it.
#include "platform/mediaplayer.h"

#include <QCoreApplication>
#include <QThread>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <exception>
#include <string>
#include <string_view>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    if (argc < 3 || argc > 5)
        return 2;
    const int choices = argc > 3 ? std::atoi(argv[3]) : 1;
    const bool stops = argc > 4 && std::string_view(argv[4]) == "stop";
    const std::string first = argv[1];
    const std::string folder = first.substr(0, first.find_last_of('/') + 1);
    MediaPlayer player;
    player.setFileName(argv[1]);
    try {
        player.Open();
        player.Play();
        for (int k = 1; k < choices; ++k) {
            QCoreApplication::processEvents();
            QThread::msleep(40);
            player.setFileName(folder + "r_" + std::to_string(k % 10 + 1) + ".mid");
            player.Open(); // as the tune menu does: open the chosen tune, then play it
            player.Play();
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "open failed: %s\n", error.what());
        return 1;
    }
    if (stops)
        player.Close();
    // For the recording's clock: when the last choice, or the silence after it, was made.
    std::printf(
        "last choice at %.3f\n",
        std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count());
    std::fflush(stdout);
    const std::clock_t processorAtTheEnd = std::clock();
    QTimer::singleShot(static_cast<int>(std::atof(argv[2]) * 1000), &application,
                       &QCoreApplication::quit);
    QCoreApplication::exec();
    std::printf("processor time after the last choice: %.2f s\n",
                static_cast<double>(std::clock() - processorAtTheEnd) / CLOCKS_PER_SEC);
    const bool playing = player.mode() == MediaPlayer::Mode::Playing;
    std::printf("%s\n", playing ? "playing" : "not playing");
    return playing != stops ? 0 : 1;
}
