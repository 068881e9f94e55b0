#include "platform/Files.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <algorithm>

namespace Files {

std::optional<QByteArray> read(const QString &path, qint64 maxBytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.read(maxBytes);
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

bool writeAtomically(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

QString findEntry(const QString &dir, const QString &name)
{
    if (name.isEmpty())
        return QString();
    QDir folder(dir);
    if (folder.exists(name))
        return folder.filePath(name);
    const QStringList entries = folder.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QString &entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return folder.filePath(entry);
    return QString();
}

bool nameLess(const QString &a, const QString &b)
{
    const int c = a.compare(b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
}

static QStringList sorted(QStringList names)
{
    std::sort(names.begin(), names.end(), nameLess);
    return names;
}

QStringList pictureFiles(const QString &dir)
{
    QDir folder(dir);
    folder.setFilter(QDir::Files | QDir::Hidden);
    folder.setNameFilters({QStringLiteral("*.bmp"), QStringLiteral("*.gif"), QStringLiteral("*.jpg")});
    folder.setSorting(QDir::NoSort | QDir::IgnoreCase);
    return sorted(folder.entryList());
}

QStringList subFolders(const QString &dir)
{
    return sorted(QDir(dir).entryList(QDir::Dirs | QDir::NoDotAndDotDot));
}

}
