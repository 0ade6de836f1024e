#include "platform/tunerenderer.h"
#include "support/tempdir.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

constexpr const char* kSoundFont = "/usr/share/sounds/sf2/default-GM.sf2";

// Seconds of the rendering whose loudness is above a quiet room's.
int audibleSeconds(const RenderedTune& tune)
{
    const std::size_t window = static_cast<std::size_t>(tune.sampleRate) * 2;
    int audible = 0;
    for (std::size_t start = 0; start + window <= tune.samples.size(); start += window) {
        double sum = 0;
        for (std::size_t i = start; i < start + window; ++i)
            sum += static_cast<double>(tune.samples[i]) * tune.samples[i];
        if (std::sqrt(sum / static_cast<double>(window)) > 0.002)
            ++audible;
    }
    return audible;
}

} // namespace

TEST(ShippedTunes, everyTuneRendersToOneToThreeMinutesOfMusic)
{
    for (int n = 1; n <= 10; ++n) {
        SCOPED_TRACE("r_" + std::to_string(n));
        const std::string file =
            readBytes(MUDRACQ_SOURCE_DIR "/resources/tunes/r_" + std::to_string(n) + ".mid");
        EXPECT_GE(file.size(), 11'000u);
        EXPECT_LE(file.size(), 36'000u);
        EXPECT_EQ(file.substr(0, 4), n == 10 ? "RIFF" : "MThd");
        const RenderedTune tune = renderTuneOffline(file, kSoundFont, 200);
        EXPECT_TRUE(tune.ended);
        EXPECT_GE(tune.seconds(), 60.0);
        EXPECT_LE(tune.seconds(), 185.0);
        EXPECT_GE(audibleSeconds(tune), 30);
    }
}

TEST(TuneRenderer, unreadableTunesAndSoundFontsRenderNothing)
{
    const std::string tune = readBytes(MUDRACQ_SOURCE_DIR "/resources/tunes/r_1.mid");
    EXPECT_TRUE(renderTuneOffline("not midi", kSoundFont, 5).samples.empty());
    EXPECT_TRUE(renderTuneOffline(tune, "/nonexistent.sf2", 5).samples.empty());
}
