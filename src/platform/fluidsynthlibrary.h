#pragma once

#include <fluidsynth.h>

// FluidSynth, opened the first time music is needed rather than when the program starts: the
// library and the audio libraries it pulls in would otherwise slow every start-up.
struct FluidSynthLibrary {
#define MUDRACQ_FLUID_FUNCTIONS(X)                                                                 \
    X(new_fluid_settings)                                                                          \
    X(delete_fluid_settings)                                                                       \
    X(fluid_settings_setnum)                                                                       \
    X(fluid_settings_setint)                                                                       \
    X(fluid_settings_setstr)                                                                       \
    X(new_fluid_synth)                                                                             \
    X(delete_fluid_synth)                                                                          \
    X(fluid_synth_sfload)                                                                          \
    X(fluid_synth_program_select)                                                                  \
    X(fluid_synth_get_active_voice_count)                                                          \
    X(fluid_synth_all_sounds_off)                                                                  \
    X(fluid_synth_set_gain)                                                                        \
    X(fluid_synth_reverb_on)                                                                       \
    X(fluid_synth_chorus_on)                                                                       \
    X(fluid_synth_write_float)                                                                     \
    X(new_fluid_player)                                                                            \
    X(delete_fluid_player)                                                                         \
    X(fluid_player_add_mem)                                                                        \
    X(fluid_player_play)                                                                           \
    X(fluid_player_stop)                                                                           \
    X(fluid_player_seek)                                                                           \
    X(fluid_player_get_status)                                                                     \
    X(new_fluid_audio_driver)                                                                      \
    X(delete_fluid_audio_driver)                                                                   \
    X(fluid_set_log_function)
#define MUDRACQ_FLUID_POINTER(name) decltype(&::name) name = nullptr;
    MUDRACQ_FLUID_FUNCTIONS(MUDRACQ_FLUID_POINTER)
#undef MUDRACQ_FLUID_POINTER
};

// The synthesizer's output gain for the music, the same in the game and in offline renderings. The
// tunes are levelled to about -35 LUFS at FluidSynth's own gain of 0.2; 0.4 plays them 6 dB louder,
// about -29 LUFS, with every sample peak still below -1 dBFS (tools/tunes/verify_tunes.py).
constexpr double kSynthGain = 0.4;

// The loaded library with its log silenced, or null when it cannot be loaded. Safe to call from
// any thread; the library is loaded once and stays for the rest of the run.
const FluidSynthLibrary* fluidSynth();

// The settings that shape the game's sound, shared by playback and offline rendering so that what
// is measured is what is heard.
void applySoundSettings(const FluidSynthLibrary& fs, fluid_settings_t* settings);

// The sample rate of everything the synthesizer renders.
inline constexpr int kSynthSampleRate = 44100;
