#pragma once

#include <string>

class ResourceProvider;
class TunePlayer;

inline constexpr const char* kTuneFileName = "temp.mid";

// The "&Muzika" menu: a tune is written to temp.mid in the data folder and played once in the
// background; "&Bez muzike" stops it.
class Music {
public:
    Music(const ResourceProvider& resources, TunePlayer& player, std::string dataDirectory);

    // Acts on the clicked item's position in the music menu.
    void heWayIAm1Click(int position);
    // Stops the music, writes the tune resource to temp.mid byte for byte, opens and plays it.
    // Every failure ends the step with its error and leaves the music stopped.
    void PlayTune(const std::string& name);

    std::string tunePath() const { return m_dataDirectory + "/" + kTuneFileName; }

private:
    const ResourceProvider& m_resources;
    TunePlayer& m_player;
    std::string m_dataDirectory;
};
