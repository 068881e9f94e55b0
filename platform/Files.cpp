#include "platform/Files.h"
#include "platform/Pictures.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStorageInfo>

#include <algorithm>

namespace Files {

std::optional<QByteArray> read(const QString &path, qint64 maxBytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // A file that says nothing of its size (a pipe, a device) is read up to the limit and no further.
    const qint64 size = file.size();
    if (size > maxBytes)
        return std::nullopt;
    QByteArray bytes;
    if (size > 0 && !file.isSequential()) {
        bytes = file.readAll();
    } else {
        char chunk[16384];
        for (qint64 got; (got = file.read(chunk, sizeof chunk)) > 0;) {
            if (bytes.size() + got > maxBytes)
                return std::nullopt;
            bytes.append(chunk, got);
        }
    }
    if (file.error() != QFileDevice::NoError || bytes.size() > maxBytes)
        return std::nullopt;
    return bytes;
}

Outcome saveAtomically(const QString &path, const std::function<QString(QIODevice &)> &writer)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {file.errorString()};
    QString error = writer(file);
    // Small writes wait in the file's buffer: a full disk shows only when they are flushed, and
    // commit() would not report it.
    if (error.isEmpty() && (!file.flush() || file.error() != QFileDevice::NoError))
        error = file.errorString();
    if (!error.isEmpty()) {
        file.cancelWriting();
        return {error};
    }
    if (!file.commit())
        return {file.errorString()};
    return {};
}

Outcome writeAtomically(const QString &path, const QByteArray &bytes)
{
    return saveAtomically(path, [&bytes](QIODevice &out) {
        return out.write(bytes) == bytes.size() ? QString() : out.errorString();
    });
}

bool isPlainName(const QString &name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") && !name.contains(QLatin1Char('/'))
        && !name.contains(QLatin1Char('\\')) && !name.contains(QChar(0));
}

bool isPortableName(const QString &name)
{
    if (!isPlainName(name) || !name.isValidUtf16())
        return false;
    for (const QChar c : name) {
        const QChar::Category category = c.category();
        if (category == QChar::Other_Control || category == QChar::Separator_Line
            || category == QChar::Separator_Paragraph || QStringView(u"<>:\"|?*").contains(c))
            return false;
    }
    return true;
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

QStringList matching(const QString &dir, const QStringList &patterns)
{
    QDir folder(dir);
    folder.setFilter(QDir::Files | QDir::Hidden);
    folder.setNameFilters(patterns);
    folder.setSorting(QDir::NoSort | QDir::IgnoreCase);
    return sorted(folder.entryList());
}

QStringList pictureFiles(const QString &dir)
{
    return matching(dir, Pictures::patterns());
}

QStringList subFolders(const QString &dir)
{
    return sorted(QDir(dir).entryList(QDir::Dirs | QDir::NoDotAndDotDot));
}

bool copyTree(const QString &from, const QString &to)
{
    if (!QDir().mkpath(to))
        return false;
    bool ok = true;
    const QFileInfoList entries = QDir(from).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        const QString target = to + QLatin1Char('/') + entry.fileName();
        if (entry.isSymLink())
            continue;
        if (entry.isDir()) {
            ok = copyTree(entry.filePath(), target) && ok;
        } else {
            // The copy is the user's own, also when the original may not be changed.
            ok = QFile::copy(entry.filePath(), target) && ok;
            QFile::setPermissions(target, QFile::permissions(target) | QFile::ReadOwner | QFile::WriteOwner);
        }
    }
    return ok;
}

QList<Place> places()
{
    QList<Place> found{{QStringLiteral("Deze computer (/)"), QStringLiteral("/")},
                       {QStringLiteral("Thuismap (") + QDir::homePath() + QLatin1Char(')'), QDir::homePath()}};
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        // Real volumes are block devices; the system's own file systems (proc, tmpfs, ...) are not.
        if (!volume.isValid() || !volume.device().startsWith("/dev/") || volume.rootPath() == QLatin1String("/")
            || volume.fileSystemType() == "squashfs") // the programs of snap packages
            continue;
        const QString name = volume.name().isEmpty() ? QStringLiteral("Schijf") : volume.name();
        found.append({name + QStringLiteral(" (") + volume.rootPath() + QLatin1Char(')'), volume.rootPath()});
    }
    return found;
}

}
