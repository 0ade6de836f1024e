#include "forms/boxes.h"
#include "forms/tform1.h"
#include "platform/mediaplayer.h"

#include <QMenu>
#include <QMenuBar>

void TForm1::createMusicMenu()
{
    MediaPlayer1 = new MediaPlayer({}, this);
    // The SoundFont and the audio output get ready after the menu choice has been handled, so a
    // failure of theirs comes afterwards, in a box of its own.
    connect(
        MediaPlayer1, &MediaPlayer::failed, this,
        [this] { showErrorBox(MediaPlayer1->errorText()); }, Qt::QueuedConnection);

    Muzika1 = menuBar()->addMenu(QStringLiteral("&Muzika"));
    static constexpr const char* kCaptions[] = {
        "&Bez muzike",
        "-",
        "Turkish Rondo",
        "Hungarian Dance 5",
        "Dance Of The Reed Pipes",
        "Chineese Dance",
        "Fur Elise",
        "Badinerie",
        "Vienna",
        "-",
        "Changes",
        "Under The Influence",
        "The Way I Am",
    };
    for (const char* caption : kCaptions) {
        if (QByteArray(caption) == "-") {
            Muzika1->addSeparator();
            continue;
        }
        QAction* item = Muzika1->addAction(QString::fromLatin1(caption));
        connect(item, &QAction::triggered, this, [this, item] { heWayIAm1Click(item); });
    }
}

void TForm1::heWayIAm1Click(QAction* item)
{
    runHandler([this, item] {
        m_music->heWayIAm1Click(static_cast<int>(Muzika1->actions().indexOf(item)));
    });
}
