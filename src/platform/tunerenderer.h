#pragma once

#include <string>
#include <vector>

// A tune rendered offline: left and right samples interleaved at the sample rate.
struct RenderedTune {
    int sampleRate = 44100;
    std::vector<float> samples;
    bool ended = false; // the tune played to its end within the time allowed
    double seconds() const { return static_cast<double>(samples.size()) / 2.0 / sampleRate; }
};

// Renders a tune file (plain or RIFF-wrapped MIDI) through FluidSynth with the SoundFont, as fast
// as the processor allows, until the tune ends or maxSeconds have been rendered. Empty samples
// when the SoundFont or the tune cannot be loaded.
RenderedTune renderTuneOffline(const std::string& tuneFile, const std::string& soundFont,
                               double maxSeconds);
