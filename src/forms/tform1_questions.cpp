#include "forms/boxes.h"
#include "forms/playedfile.h"
#include "forms/tform1.h"
#include "game/questionbank.h"
#include "game/questionfile.h"

#include <QAction>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTimer>
#include <QUrl>

namespace {

// The one local file a drag carries; empty for anything else.
QString draggedFile(const QMimeData* data)
{
    const QList<QUrl> urls = data ? data->urls() : QList<QUrl>();
    return urls.size() == 1 && urls.front().isLocalFile() ? urls.front().toLocalFile() : QString();
}

QString pathText(const std::string& path)
{
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

// The file's name as the player reads it: what would break the line shows as a replacement sign.
QString shownName(const std::string& path)
{
    QString name = QFileInfo(pathText(path)).fileName();
    for (QChar& c : name)
        if (c.category() == QChar::Other_Control)
            c = QChar::ReplacementCharacter;
    return name;
}

} // namespace

void TForm1::createQuestionFileItems()
{
    PitanjaIzDatoteke1 = Game1->addAction(QStringLiteral("Pitanja iz &datoteke..."));
    PitanjaIzDatoteke1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    connect(PitanjaIzDatoteke1, &QAction::triggered, this, &TForm1::PitanjaIzDatoteke1Click);
    UgradjenaPitanja1 = Game1->addAction(QStringLiteral("&Ugradjena pitanja"));
    connect(UgradjenaPitanja1, &QAction::triggered, this, &TForm1::UgradjenaPitanja1Click);

    // Where nothing else stands: right of Odgovori, level with the question number.
    Label2 = new QLabel(centralWidget());
    Label2->setTextFormat(Qt::PlainText);
    Label2->setFont(Label1->font());
    Label2->setGeometry(412, Label1->y(), 206, Label1->height());
    Label2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label2->hide();

    // A file dropped anywhere on the window, the question box included, reaches the window.
    setAcceptDrops(true);
    Memo1->setAcceptDrops(false);
}

void TForm1::PitanjaIzDatoteke1Click()
{
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("Pitanja iz datoteke"),
        m_questionFolder.isEmpty() ? QDir::homePath() : m_questionFolder,
        QStringLiteral("Tekstualne datoteke (*.txt);;Sve datoteke (*)"));
    if (!path.isEmpty())
        openQuestionFile(QFile::encodeName(path).toStdString());
}

void TForm1::UgradjenaPitanja1Click()
{
    playQuestions(m_resources, {});
}

void TForm1::openQuestionFile(const std::string& path)
{
    m_questionFolder = QFileInfo(pathText(path)).absolutePath();
    std::optional<PlayedFile> file;
    runHandler([&] { file = openPlayedFile(path); });
    if (file)
        playQuestionFile(*file);
}

void TForm1::playQuestionFile(const PlayedFile& file)
{
    m_questionFolder = QFileInfo(pathText(file.path)).absolutePath();
    playQuestions(QuestionFileResources(m_resources, file.questions), file.path);
}

void TForm1::playQuestions(const ResourceProvider& questions, const std::string& path)
{
    runAnnounced([&] {
        QuestionBank groups;
        LoadQuestionBank(questions, groups);
        m_groups = std::move(groups);

        const QString name = shownName(path);
        Label2->setText(Label2->fontMetrics().elidedText(QStringLiteral("Datoteka: ") + name,
                                                         Qt::ElideMiddle, Label2->width()));
        Label2->setToolTip(name);
        Label2->setAccessibleName(QStringLiteral("Pitanja iz datoteke ") + name);
        Label2->setVisible(!path.empty());
        // A screen reader says the window's name each time it comes to the front, as after the
        // file dialog and every box; the title itself stays as laid out.
        setAccessibleName(path.empty()
                              ? QString()
                              : windowTitle() + QStringLiteral(", pitanja iz datoteke ") + name);
        m_game->NewGame();
    });
}

void TForm1::dragEnterEvent(QDragEnterEvent* event)
{
    if (!draggedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event)
{
    const QString path = draggedFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    // The file manager waits for the drop to end, so the file is opened after it, when a box
    // can no longer hold the file manager up.
    QTimer::singleShot(0, this,
                       [this, path] { openQuestionFile(QFile::encodeName(path).toStdString()); });
}
