#include "music.h"

#include "game/files/fileimage.h"
#include "game/music/tuneplayer.h"
#include "game/music/tunetable.h"
#include "game/resourceprovider.h"

Music::Music(const ResourceProvider& resources, TunePlayer& player, std::string dataDirectory)
    : m_resources(resources), m_player(player), m_dataDirectory(std::move(dataDirectory))
{
}

void Music::heWayIAm1Click(int position)
{
    const MenuTune tune = tuneForMenuPosition(position);
    switch (tune.action) {
    case MenuTune::Action::Stop:
        m_player.Close();
        break;
    case MenuTune::Action::Play:
        PlayTune(tune.resource);
        break;
    case MenuTune::Action::Nothing:
        break;
    }
}

void Music::PlayTune(const std::string& name)
{
    m_player.Close();
    const std::string path = tunePath();
    writeFileImage(path, loadResource(m_resources, name));
    m_player.setFileName(path);
    m_player.Open();
    m_player.Play();
}
