#include "game/errors.h"
#include "game/midifile.h"
#include "game/music.h"
#include "game/tunetable.h"
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

std::string raise(const std::function<void()>& action)
{
    try {
        action();
    } catch (const GameError& error) {
        return error.what();
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

TEST(TuneTable, menuPositionsPlayTheirResources)
{
    const std::vector<std::string> expected = {"",    "",    "r_5", "r_1", "r_4", "r_3", "r_10",
                                               "r_6", "r_8", "",    "r_9", "r_2", "r_7"};
    EXPECT_EQ(tuneForMenuPosition(0).action, MenuTune::Action::Stop);
    for (int position = 1; position < 13; ++position) {
        const MenuTune tune = tuneForMenuPosition(position);
        EXPECT_EQ(tune.resource, expected[static_cast<std::size_t>(position)]) << position;
        EXPECT_EQ(tune.action, expected[static_cast<std::size_t>(position)].empty()
                                   ? MenuTune::Action::Nothing
                                   : MenuTune::Action::Play);
    }
    EXPECT_EQ(tuneForMenuPosition(13).action, MenuTune::Action::Nothing);
    EXPECT_EQ(tuneForMenuPosition(-1).action, MenuTune::Action::Nothing);
}

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
    EXPECT_EQ(player.calls, std::vector<std::string>{"close"});
    EXPECT_FALSE(std::filesystem::exists(path()));
}

TEST_F(MusicTest, everyFailureIsReportedAndLeavesTheMusicStopped)
{
    EXPECT_EQ(raise([&] { music.PlayTune("r_3"); }), "Resource r_3 not found");
    EXPECT_EQ(player.calls, std::vector<std::string>{"close"});

    player.calls.clear();
    Music homeless(resources, player, dir.file("missing"));
    EXPECT_EQ(raise([&] { homeless.PlayTune("r_5"); }),
              "Cannot create file " + dir.file("missing/temp.mid"));
    EXPECT_EQ(player.calls, std::vector<std::string>{"close"});

    // A file-size limit stands in for a full disk; the child reports what the tune choice raised.
    const pid_t child = ::fork();
    if (child == 0) {
        const rlimit limit{8, 8};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::signal(SIGXFSZ, SIG_IGN);
        player.calls.clear();
        const bool reported = raise([&] { music.PlayTune("r_5"); }) == "Stream write error";
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
