// Plays a tune through the game's media player for a few seconds, for the audio server test.
// Usage: playback_probe TUNE_FILE SECONDS
#include "platform/mediaplayer.h"

#include <QCoreApplication>
#include <QTimer>
#include <cstdio>
#include <exception>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    if (argc != 3)
        return 2;
    MediaPlayer player;
    player.setFileName(argv[1]);
    try {
        player.Open();
        player.Play();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "open failed: %s\n", error.what());
        return 1;
    }
    QTimer::singleShot(static_cast<int>(std::atof(argv[2]) * 1000), &application,
                       &QCoreApplication::quit);
    QCoreApplication::exec();
    const bool playing = player.mode() == MediaPlayer::Mode::Playing;
    std::printf("%s\n", playing ? "playing" : "not playing");
    return playing ? 0 : 1;
}
