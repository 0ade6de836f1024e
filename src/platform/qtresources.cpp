#include "qtresources.h"

#include <QFile>
#include <QString>

std::optional<std::string> QtResourceProvider::find(const std::string& name) const
{
    QFile file(QStringLiteral(":/") + QString::fromStdString(name).toLower());
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    return bytes.toStdString();
}
