#include "game/fileimage.h"
#include "platform/mediaplayer.h"
#include "support/tempdir.h"

#include <QSignalSpy>
#include <QTest>
#include <memory>

using namespace std::string_literals;

namespace {

// A quarter of a second of middle C.
std::string shortTune()
{
    const std::string track = "\x00\xC0\x00"
                              "\x00\x90\x3C\x64"
                              "\x81\x70\x80\x3C\x40"
                              "\x00\xFF\x2F\x00"s;
    return "MThd\0\0\0\6\0\0\0\1\1\xE0"s + "MTrk\0\0\0"s + static_cast<char>(track.size()) + track;
}

} // namespace

class MediaPlayerTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TempDir> dir;

    // A player that writes its sound to a file, so no sound card is needed.
    MediaPlayerOptions silentOutput() const
    {
        MediaPlayerOptions options;
        options.audioDrivers = {"file"};
        options.audioFile = dir->file("out.raw");
        return options;
    }
    std::string tuneFile() const
    {
        const std::string path = dir->file("temp.mid");
        writeFileImage(path, shortTune());
        return path;
    }

private slots:
    void init() { dir = std::make_unique<TempDir>(); }
    void cleanup() { dir.reset(); }

    void playsOnceAndReportsTheEnd()
    {
        MediaPlayer player(silentOutput());
        QSignalSpy ended(&player, &MediaPlayer::notified);
        player.setFileName(tuneFile());
        player.Open();
        player.Play();
        QCOMPARE(player.mode(), MediaPlayer::Mode::Playing);
        QVERIFY(ended.wait(5000));
        QCOMPARE(player.mode(), MediaPlayer::Mode::Ended);
        QVERIFY(player.isOpen());
        QTest::qWait(300);
        QCOMPARE(ended.count(), 1);
    }

    void secondChoiceRestartsAndSilenceCloses()
    {
        MediaPlayer player(silentOutput());
        player.Close(); // nothing open: nothing happens
        QCOMPARE(player.mode(), MediaPlayer::Mode::Silent);
        QCOMPARE(player.error(), 0);
        player.setFileName(tuneFile());
        player.Open();
        player.Play();
        player.Close();
        player.Open();
        player.Play();
        QCOMPARE(player.mode(), MediaPlayer::Mode::Playing);
        player.Close();
        QCOMPARE(player.mode(), MediaPlayer::Mode::Silent);
        QVERIFY(!player.isOpen());
    }

    void failuresToOpenSayWhyAndLeaveThePlayerClosed()
    {
        MediaPlayerOptions noSoundFont = silentOutput();
        noSoundFont.soundFont = "/nonexistent.sf2";
        MediaPlayerOptions noOutput;
        noOutput.audioDrivers = {"no-such-output"};
        const std::string tune = tuneFile();
        writeFileImage(dir->file("junk.mid"), "not a tune");
        const struct {
            MediaPlayerOptions options;
            std::string file;
            std::string message;
        } cases[] = {
            {noSoundFont, tune, "No General MIDI SoundFont could be loaded from /nonexistent.sf2"},
            {noOutput, tune, "No audio output could be opened for the music"},
            {silentOutput(), dir->file("junk.mid"),
             "The tune file " + dir->file("junk.mid") + " is not a MIDI file"},
            {silentOutput(), dir->file("gone.mid"),
             "The tune file " + dir->file("gone.mid") + " cannot be read"},
        };
        for (const auto& c : cases) {
            MediaPlayer player(c.options);
            player.setFileName(c.file);
            try {
                player.Open();
                QFAIL("open should fail");
            } catch (const std::exception& error) {
                QCOMPARE(std::string(error.what()), c.message);
            }
            QVERIFY(!player.isOpen());
            QCOMPARE(player.mode(), MediaPlayer::Mode::Silent);
            QVERIFY(player.error() != 0);
        }
        MediaPlayer unopened(silentOutput());
        QVERIFY_THROWS_EXCEPTION(std::exception, unopened.Play());
        QCOMPARE(unopened.errorText(), std::string("No MCI device open"));
    }
};

QTEST_GUILESS_MAIN(MediaPlayerTest)
#include "mediaplayer_test.moc"
