#include "tform5.h"

#include "forms/fonts.h"
#include "forms/memo.h"
#include "forms/readabletext.h"
#include "game/identity.h"
#include "platform/jpegdecoder.h"

#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>

namespace {

// The about picture, decoded from the JPEG carried in the executable; empty when it is damaged.
QPixmap aboutPicture()
{
    QFile file(QStringLiteral(":/about.jpg"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    RgbImage decoded;
    std::string error;
    if (!decodeJpeg(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                    static_cast<std::size_t>(bytes.size()), decoded, error))
        return {};
    const QImage image(decoded.pixels.data(), decoded.width, decoded.height, decoded.width * 3,
                       QImage::Format_RGB888);
    return QPixmap::fromImage(image.copy());
}

} // namespace

TForm5::TForm5(QWidget* parent) : DialogFrame(QStringLiteral("Info"), 251, 151, 563, 256, parent)
{
    Image1 = new QLabel(this);
    Image1->setGeometry(9, 14, 198, 230);

    const QColor lightBlue(215, 228, 242);
    Memo1 =
        createMemo(this, QRect(242, 14, 313, 230), msSansSerifFont(19, true), true, {}, lightBlue);
    keepTextReadable(*Memo1, QPalette::Text, lightBlue);
}

void TForm5::showEvent(QShowEvent* event)
{
    // The picture is decoded and the text laid out when the window is first shown.
    if (!m_filled) {
        m_filled = true;
        fill();
    }
    DialogFrame::showEvent(event);
}

void TForm5::fill()
{
    const QPixmap picture = aboutPicture();
    Image1->setPixmap(picture);
    if (!picture.isNull())
        Image1->resize(picture.size());
    const QStringList lines = {
        QStringLiteral("Autor kviza: Trivkan"),
        QStringLiteral("Kontakt: ") + QLatin1String(kAuthorEmail),
        QStringLiteral("Zvanicni sajt kviza: "),
        QLatin1String(kGameWebAddress),
        QString(),
        QString(),
        QStringLiteral("Verzija kviza: 1.1"),
        QStringLiteral("Beograd 2003."),
    };
    Memo1->setPlainText(lines.join(QLatin1Char('\n')));
}
