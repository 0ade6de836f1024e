#include "game/errors.h"
#include "game/music/midifile.h"
#include "game/music/music.h"
#include "game/music/tuneplayer.h"
#include "game/music/tunepresets.h"
#include "support/fakes.h"
#include "support/tempdir.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace std::string_literals;

namespace {

// Records what the music asks of the player; Open fails when told to.
class RecordingPlayer : public TunePlayer {
public:
    std::vector<std::string> calls;
    std::string openFailure;

    void Close() override { calls.push_back("close"); }
    void setFileName(const std::string& path) override { calls.push_back("file " + path); }
    void Open() override
    {
        calls.push_back("open");
        if (!openFailure.empty())
            throw GameError(openFailure);
    }
    void Play() override { calls.push_back("play"); }
};

// What the action raised, as the error box shows it: the message and its line about the file.
std::string raise(const std::function<void()>& action)
{
    try {
        action();
    } catch (const GameError& error) {
        return error.what() + (error.detail().empty() ? "" : "\n" + error.detail());
    }
    return "no error";
}

std::string littleEndian(std::uint32_t value)
{
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
}

std::string rmid(const std::string& smf)
{
    std::string data = "data" + littleEndian(static_cast<std::uint32_t>(smf.size())) + smf;
    if (smf.size() % 2)
        data += '\0';
    const std::string info = "LIST" + littleEndian(8) + "INFOISFT";
    const std::string body = "RMID" + data + info;
    return "RIFF" + littleEndian(static_cast<std::uint32_t>(body.size())) + body;
}

class MusicTest : public ::testing::Test {
protected:
    MusicTest()
    {
        resources.items["r_5"] = "MThd\0\0\0\6 turkish"s;
        resources.items["r_10"] = rmid("MThd elise");
    }
    std::string path() const { return dir.file("temp.mid"); }

    TempDir dir;
    MapResources resources;
    RecordingPlayer player;
    Music music{resources, player, dir.path()};
};

} // namespace

TEST_F(MusicTest, tuneIsWrittenByteForByteThenOpenedAndPlayed)
{
    music.heWayIAm1Click(6); // Fur Elise: the RIFF wrapper is written unchanged
    EXPECT_EQ(readBytes(path()), resources.items["r_10"]);
    EXPECT_EQ(player.calls, (std::vector<std::string>{"close", "file " + path(), "open", "play"}));
    music.heWayIAm1Click(2);
    EXPECT_EQ(readBytes(path()), resources.items["r_5"]);
}

TEST_F(MusicTest, silenceAndSeparatorsOnlyCloseOrDoNothing)
{
    music.heWayIAm1Click(0);
    music.heWayIAm1Click(1);
    music.heWayIAm1Click(9);
    music.heWayIAm1Click(13); // past the last tune
    EXPECT_EQ(player.calls, std::vector<std::string>{"close"});
    EXPECT_FALSE(std::filesystem::exists(path()));
}

TEST_F(MusicTest, everyFailureIsReportedAndLeavesTheMusicStopped)
{
    EXPECT_EQ(raise([&] { music.PlayTune("r_3"); }), "Resource r_3 not found");
    EXPECT_EQ(player.calls, std::vector<std::string>{"close"});

    // Each failure to write the tune names the file and what failed.
    const std::string missing = dir.file("missing/temp.mid");
    Music homeless(resources, player, dir.file("missing"));
    std::filesystem::create_directory(path());
    const struct {
        Music& music;
        std::string box;
    } unwritable[] = {
        {homeless, "File not found\n" + missing + ": the file was not written."},
        {music, "File access denied\n" + path() + " is a folder: the file was not written."},
    };
    for (const auto& c : unwritable) {
        player.calls.clear();
        EXPECT_EQ(raise([&] { c.music.PlayTune("r_5"); }), c.box);
        EXPECT_EQ(player.calls, std::vector<std::string>{"close"});
    }
    std::filesystem::remove(path());

    // A file-size limit stands in for a full disk; the child reports what the tune choice raised.
    const pid_t child = ::fork();
    if (child == 0) {
        const rlimit limit{8, 8};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::signal(SIGXFSZ, SIG_IGN);
        player.calls.clear();
        const bool reported = raise([&] { music.PlayTune("r_5"); }) ==
                              "Disk full\n" + path() + ": the file was not written.";
        ::_exit(reported && player.calls == std::vector<std::string>{"close"} ? 0 : 1);
    }
    int status = 1;
    ::waitpid(child, &status, 0);
    EXPECT_EQ(status, 0);
    EXPECT_FALSE(std::filesystem::exists(path())) << "no partial tune stays behind";

    player.calls.clear();
    player.openFailure = "No audio output could be opened for the music";
    EXPECT_EQ(raise([&] { music.PlayTune("r_5"); }), player.openFailure);
    EXPECT_EQ(player.calls, (std::vector<std::string>{"close", "file " + path(), "open"}));
    EXPECT_EQ(readBytes(path()), resources.items["r_5"]) << "the file stays written";
}

TEST(MidiFile, plainAndRiffWrappedFilesGiveTheirStandardMidiData)
{
    const std::string smf = "MThd\0\0\0\6\0\1\0\1\1\xE0MTrk"s;
    EXPECT_EQ(standardMidiData(smf), smf);
    EXPECT_EQ(standardMidiData(rmid(smf)), smf);
    EXPECT_EQ(standardMidiData(rmid(smf + "x")), smf + "x"); // odd size, padded
}

TEST(MidiFile, otherBytesAreNotMidi)
{
    const std::string wrapped = rmid("MThd abc");
    EXPECT_FALSE(standardMidiData(""));
    EXPECT_FALSE(standardMidiData("RIFF"));
    EXPECT_FALSE(standardMidiData("not a tune at all"));
    EXPECT_FALSE(standardMidiData(wrapped.substr(0, 22))) << "data chunk cut short";
    EXPECT_FALSE(standardMidiData(rmid("MTrk only")));
    std::string wave = wrapped;
    wave.replace(8, 4, "WAVE");
    EXPECT_FALSE(standardMidiData(wave));
}

namespace {

// A Standard MIDI File of format 1 holding the given tracks' events.
std::string smfOf(const std::vector<std::string>& tracks)
{
    std::string file = "MThd\0\0\0\6\0\1\0"s + static_cast<char>(tracks.size()) + "\1\xE0"s;
    for (const std::string& events : tracks) {
        const std::string track = events + "\x00\xFF\x2F\x00"s;
        const auto size = static_cast<std::uint32_t>(track.size());
        file += "MTrk"s + static_cast<char>(size >> 24) + static_cast<char>(size >> 16) +
                static_cast<char>(size >> 8) + static_cast<char>(size) + track;
    }
    return file;
}

} // namespace

TEST(TunePresets, programChangesAndUnchangedChannelsNameTheInstrumentsToLoad)
{
    using Presets = std::vector<std::pair<int, int>>;
    const struct {
        const char* what;
        std::vector<std::string> tracks;
        Presets chosen;
        std::vector<int> withDefault;
    } cases[] = {
        {"program change before the notes",
         {"\x00\xC0\x28\x00\x90\x3C\x64\x60\x80\x3C\x40"s},
         {{0, 40}},
         {}},
        {"notes on a melodic and the drum channel, never a program change",
         {"\x00\x90\x3C\x64\x00\x99\x24\x64"s},
         {},
         {0, 9}},
        {"bank select, a drum kit, running status and a meta and a system exclusive event between",
         {"\x00\xB2\x00\x08\x00\xFF\x03\x02"
          "ab\x00\xF0\x02\x7E\xF7\x00\xC2\x05"
          "\x00\xC9\x19\x00\x92\x3C\x64\x10\x3E\x64"s},
         {{8, 5}, {128, 25}},
         {}},
        {"a note in the first track before the program change in the second",
         {"\x60\x93\x3C\x64"s, "\x81\x00\xC3\x30"s, "\x00\xC4\x31\x60\x94\x3C\x64"s},
         {{0, 48}, {0, 49}},
         {3}},
        {"a note-on of velocity 0 is a note-off", {"\x00\x95\x3C\x00\x00\xC6\x01"s}, {{0, 1}}, {}},
        {"a track cut short keeps what came before", {"\x00\xC7\x02\x00\x97\x3C"s}, {{0, 2}}, {}},
    };
    for (const auto& c : cases) {
        const TunePresets presets = tunePresets(smfOf(c.tracks));
        EXPECT_EQ(presets.chosen, c.chosen) << c.what;
        EXPECT_EQ(presets.withDefault, c.withDefault) << c.what;
    }
    EXPECT_TRUE(tunePresets("not a tune").chosen.empty());
    EXPECT_EQ(tunePresets("MThd\0\0\0\6\0\1\0\1\1\xE0MTrk\xFF\xFF\xFF\xFF\x00\xC0\x05"s).chosen,
              (Presets{{0, 5}}))
        << "a track said to be longer than the file ends with the file";
}
