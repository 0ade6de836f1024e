#include "game/files/fileimage.h"
#include "platform/mediaplayer.h"
#include "support/tempdir.h"

#include <QSignalSpy>
#include <QTest>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

using namespace std::string_literals;

namespace {

// A quarter of a second of middle C, with the piano chosen first or left to the channel's
// default.
std::string shortTune(bool choosesPiano)
{
    const std::string track = (choosesPiano ? "\x00\xC0\x00"s : ""s) + "\x00\x90\x3C\x64"
                                                                       "\x81\x70\x80\x3C\x40"
                                                                       "\x00\xFF\x2F\x00"s;
    return "MThd\0\0\0\6\0\0\0\1\1\xE0"s + "MTrk\0\0\0"s + static_cast<char>(track.size()) + track;
}

// Some 16-bit sample of the recording can be heard.
bool audible(const std::string& recording)
{
    for (std::size_t i = 0; i + 1 < recording.size(); i += 2)
        if (std::abs(static_cast<short>(static_cast<unsigned char>(recording[i]) |
                                        (static_cast<unsigned char>(recording[i + 1]) << 8))) > 64)
            return true;
    return false;
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
    std::string tuneFile(bool choosesPiano = true) const
    {
        const std::string path = dir->file("temp.mid");
        writeFileImage(path, shortTune(choosesPiano));
        return path;
    }

private slots:
    void init() { dir = std::make_unique<TempDir>(); }
    void cleanup() { dir.reset(); }

    void playsOnceReportsTheEndAndThenClosesTheOutput()
    {
        for (const bool choosesPiano : {true, false}) {
            MediaPlayer player(silentOutput());
            QSignalSpy ended(&player, &MediaPlayer::notified);
            player.setFileName(tuneFile(choosesPiano));
            player.Open();
            player.Play();
            QCOMPARE(player.mode(), MediaPlayer::Mode::Playing);
            QVERIFY(!player.isSounding()); // the SoundFont loads after Play has returned
            QTRY_VERIFY(player.isSounding());
            QVERIFY(ended.wait(5000));
            QCOMPARE(player.mode(), MediaPlayer::Mode::Ended);
            QVERIFY(player.isOpen());
            // Stopped at the end, it streams no silence.
            QTRY_VERIFY_WITH_TIMEOUT(!player.isSounding(), 5000);
            QCOMPARE(ended.count(), 1);
            QVERIFY2(audible(readBytes(dir->file("out.raw"))), choosesPiano ? "piano" : "default");
            // Played again, it opens an output anew.
            player.Play();
            QTRY_VERIFY(player.isSounding());
            QVERIFY(ended.wait(5000));
            QCOMPARE(ended.count(), 2);
        }
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
        QTRY_VERIFY(player.isSounding());
        player.Close();
        QVERIFY(!player.isSounding());
        player.Open();
        player.Play();
        QCOMPARE(player.mode(), MediaPlayer::Mode::Playing);
        player.Close();
        QCOMPARE(player.mode(), MediaPlayer::Mode::Silent);
        QVERIFY(!player.isOpen());
        QTest::qWait(100); // the abandoned start ends unseen
        QVERIFY(!player.isSounding());
        QCOMPARE(player.error(), 0);
    }

    // The loader thread and the window met at these moments: a choice, silence or the end of
    // the program while the SoundFont still loads, or after it failed to.
    void closingWhileTheSoundFontLoadsLeavesNothingBehind()
    {
        MediaPlayerOptions noSoundFont = silentOutput();
        noSoundFont.soundFont = "/nonexistent.sf2";
        for (const MediaPlayerOptions& options : {silentOutput(), noSoundFont}) {
            for (int step = 0; step < 3; ++step) {
                MediaPlayer player(options);
                QSignalSpy failed(&player, &MediaPlayer::failed);
                player.setFileName(tuneFile());
                player.Open();
                player.Play();
                if (step == 1)
                    player.Play(); // chosen again at once
                if (step == 2)
                    player.Close();
                QTest::qWait(step * 20);
                QVERIFY(failed.count() <= 1);
            } // destroyed, loading or not
        }
    }

    void failuresSayWhyAndLeaveThePlayerClosed()
    {
        // The file is checked at once: Open raises the error.
        writeFileImage(dir->file("junk.mid"), "not a tune");
        const struct {
            std::string file;
            std::string message;
        } files[] = {
            {dir->file("junk.mid"),
             "The tune file " + dir->file("junk.mid") + " is not a MIDI file"},
            {dir->file("gone.mid"), "The tune file " + dir->file("gone.mid") + " cannot be read"},
        };
        for (const auto& c : files) {
            MediaPlayer player(silentOutput());
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

        // The SoundFont and the output get ready after Play has returned; failed() tells.
        MediaPlayerOptions noSoundFont = silentOutput();
        noSoundFont.soundFont = "/nonexistent.sf2";
        MediaPlayerOptions notASoundFont = silentOutput();
        notASoundFont.soundFont = dir->file("junk.mid");
        MediaPlayerOptions aFifo = silentOutput();
        aFifo.soundFont = dir->file("fifo.sf2");
        ::mkfifo(aFifo.soundFont.c_str(), 0644);
        MediaPlayerOptions noOutput;
        noOutput.audioDrivers = {"no-such-output"};
        const struct {
            MediaPlayerOptions options;
            std::string message;
        } outputs[] = {
            {noSoundFont, "No General MIDI SoundFont could be loaded from /nonexistent.sf2"},
            {notASoundFont,
             "No General MIDI SoundFont could be loaded from " + dir->file("junk.mid")},
            {aFifo, "No General MIDI SoundFont could be loaded from " + aFifo.soundFont},
            {noOutput, "No audio output could be opened for the music"},
        };
        for (const auto& c : outputs) {
            MediaPlayer player(c.options);
            // Should the FIFO be opened after all, a writer that comes and goes lets it go.
            const auto releaseTheFifo = [&](void*) {
                ::close(::open(aFifo.soundFont.c_str(), O_RDWR | O_NONBLOCK));
            };
            const std::unique_ptr<void, decltype(releaseTheFifo)> release(&player, releaseTheFifo);
            QSignalSpy failed(&player, &MediaPlayer::failed);
            player.setFileName(tuneFile());
            player.Open();
            player.Play();
            QVERIFY(failed.wait(5000));
            QCOMPARE(player.errorText(), c.message);
            QVERIFY(!player.isOpen());
            QVERIFY(!player.isSounding());
            QCOMPARE(player.mode(), MediaPlayer::Mode::Silent);
        }
        MediaPlayer unopened(silentOutput());
        QVERIFY_THROWS_EXCEPTION(std::exception, unopened.Play());
        QCOMPARE(unopened.errorText(), std::string("No tune is open"));
    }
};

QTEST_GUILESS_MAIN(MediaPlayerTest)
#include "mediaplayer_test.moc"
