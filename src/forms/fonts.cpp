#include "fonts.h"

#include <QFont>

namespace {

QFont pixelFont(const char* family, int pixelHeight, QFont::Weight weight)
{
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(pixelHeight);
    font.setWeight(weight);
    return font;
}

} // namespace

QFont arialBlackFont(int pixelHeight)
{
    return pixelFont("Lato", pixelHeight, QFont::Black);
}

QFont msSansSerifFont(int pixelHeight, bool bold)
{
    return pixelFont("Liberation Sans", pixelHeight, bold ? QFont::Bold : QFont::Normal);
}

QFont bangleFont(int pixelHeight, bool bold)
{
    return pixelFont("Comic Neue", pixelHeight, bold ? QFont::Bold : QFont::Normal);
}

QFont narrowSansFont(int pixelHeight)
{
    return pixelFont("Liberation Sans Narrow", pixelHeight, QFont::Normal);
}
