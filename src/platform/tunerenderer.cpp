#include "tunerenderer.h"

#include "game/music/midifile.h"
#include "platform/fluidsynthlibrary.h"

RenderedTune renderTuneOffline(const std::string& tuneFile, const std::string& soundFont,
                               double maxSeconds)
{
    RenderedTune result;
    const auto midi = standardMidiData(tuneFile);
    const FluidSynthLibrary* fs = fluidSynth();
    if (!midi || !fs)
        return result;
    fluid_settings_t* settings = fs->new_fluid_settings();
    applySoundSettings(*fs, settings);
    fluid_synth_t* synth = fs->new_fluid_synth(settings);
    fluid_player_t* player = nullptr;
    if (synth && fs->fluid_synth_sfload(synth, soundFont.c_str(), 1) != FLUID_FAILED) {
        player = fs->new_fluid_player(synth);
        if (player && fs->fluid_player_add_mem(player, midi->data(), midi->size()) == FLUID_OK &&
            fs->fluid_player_play(player) == FLUID_OK) {
            constexpr int kBlock = 512;
            const auto limit = static_cast<std::size_t>(maxSeconds * result.sampleRate) * 2;
            std::vector<float> block(kBlock * 2);
            while (result.samples.size() < limit) {
                if (fs->fluid_player_get_status(player) == FLUID_PLAYER_DONE) {
                    result.ended = true;
                    break;
                }
                fs->fluid_synth_write_float(synth, kBlock, block.data(), 0, 2, block.data(), 1, 2);
                result.samples.insert(result.samples.end(), block.begin(), block.end());
            }
            fs->fluid_player_stop(player);
        }
    }
    if (player)
        fs->delete_fluid_player(player);
    if (synth)
        fs->delete_fluid_synth(synth);
    fs->delete_fluid_settings(settings);
    return result;
}
