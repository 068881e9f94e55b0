#include "platform/Files.h"
#include "platform/Pictures.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QStorageInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Files {

namespace {
QByteArray encoded(const QString &path)
{
    return QFile::encodeName(path);
}

// The reason of a failed system call; context, when given, goes before the system's own words.
Outcome failure(int error, const QString &context = QString())
{
    using Reason = Outcome::Reason;
    Reason reason = Reason::Other;
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        reason = Reason::DiskFull;
        break;
    case EROFS:
        reason = Reason::ReadOnly;
        break;
    case EACCES:
    case EPERM:
        reason = Reason::NoPermission;
        break;
    case EINVAL:
    case ENAMETOOLONG:
    case EILSEQ:
    case EISDIR:
        reason = Reason::NameNotAllowed;
        break;
    case ENOENT:
    case ENOTDIR:
        reason = Reason::FolderMissing;
        break;
    }
    const QString words = QString::fromLocal8Bit(std::strerror(error));
    return {reason, context.isEmpty() ? words : context + QStringLiteral(": ") + words};
}

// Writes all bytes, also when the system takes them in parts.
bool writeAll(int fd, const char *data, qint64 size)
{
    while (size > 0) {
        const ssize_t got = ::write(fd, data, size_t(std::min<qint64>(size, 1 << 30)));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            if (got == 0)
                errno = ENOSPC;
            return false;
        }
        data += got;
        size -= got;
    }
    return true;
}
}

QString Outcome::reasonText() const
{
    switch (reason) {
    case Reason::None:
        return QString();
    case Reason::DiskFull:
        return QStringLiteral("de schijf is vol");
    case Reason::ReadOnly:
        return QStringLiteral("de map is alleen-lezen");
    case Reason::NoPermission:
        return QStringLiteral("er is geen toestemming om hier te schrijven");
    case Reason::NameNotAllowed:
        return QStringLiteral("deze naam is niet toegestaan");
    case Reason::FolderMissing:
        return QStringLiteral("de map bestaat niet");
    case Reason::Other:
        break;
    }
    return QStringLiteral("het schrijven is mislukt");
}

std::optional<QByteArray> read(const QString &path, qint64 maxBytes)
{
    // Looked at before it is opened: the open of a named pipe waits for a writer, that of a
    // device may do anything. Looked at again once open, in case the entry changed in between.
    const QByteArray name = encoded(path);
    struct stat info = {};
    if (::stat(name.constData(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > maxBytes)
        return std::nullopt;
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    const auto closing = qScopeGuard([fd] { ::close(fd); });
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > maxBytes)
        return std::nullopt;
    QByteArray bytes;
    bytes.reserve(qsizetype(info.st_size));
    char chunk[65536];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            break;
        // A file that grows while it is read is still held to the limit.
        if (bytes.size() + got > maxBytes)
            return std::nullopt;
        bytes.append(chunk, got);
    }
    return bytes;
}

bool isRegularFile(const QString &path)
{
    struct stat info = {};
    return ::stat(encoded(path).constData(), &info) == 0 && S_ISREG(info.st_mode);
}

Entry entryAt(const QString &path)
{
    struct stat info = {};
    if (::lstat(encoded(path).constData(), &info) != 0)
        return errno == ENOENT ? Entry::None : Entry::Other;
    return S_ISREG(info.st_mode) ? Entry::File : Entry::Other;
}

Outcome saveAtomically(const QString &path, const std::function<QString(QIODevice &)> &writer)
{
    // Made in memory first: the files the program writes are small, and every failure of the disk
    // is then met below, where the system says why.
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    const QString error = writer(buffer);
    if (!error.isEmpty())
        return {Outcome::Reason::Other, error};
    return writeAtomically(path, buffer.data());
}

Outcome writeAtomically(const QString &path, const QByteArray &bytes)
{
    const QString folder = QFileInfo(path).path();
    // A name of our own beside it, created new: never an entry that was there before.
    QString temporary;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temporary = folder + QStringLiteral("/.tuurbord-") + QString::number(QRandomGenerator::global()->generate64(), 36);
        fd = ::open(encoded(temporary).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return failure(errno);
    }
    if (fd < 0)
        return failure(EEXIST);
    // A file that is replaced keeps who may read it.
    struct stat old = {};
    if (::lstat(encoded(path).constData(), &old) == 0 && S_ISREG(old.st_mode))
        ::fchmod(fd, old.st_mode & 07777);
    int error = 0;
    if (!writeAll(fd, bytes.constData(), bytes.size()) || ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    // rename() puts the new file in the place of the entry itself, a link included.
    if (error == 0 && ::rename(encoded(temporary).constData(), encoded(path).constData()) != 0)
        error = errno;
    if (error == 0)
        return {};
    ::unlink(encoded(temporary).constData());
    return failure(error);
}

Outcome keepAside(const QString &path, const QString &keptPath)
{
    const QByteArray from = encoded(path);
    const QByteArray to = encoded(keptPath);
    int result = ::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE);
    // Some file systems (a USB stick's, for one) know no such flag: look first, then rename.
    if (result != 0 && errno == EINVAL && entryAt(keptPath) == Entry::None)
        result = ::rename(from.constData(), to.constData());
    if (result == 0 || errno == ENOENT)
        return {};
    return failure(errno, QStringLiteral("keeping it as ") + keptPath);
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
    if (QFileInfo(folder.filePath(name)).exists() || QFileInfo(folder.filePath(name)).isSymLink())
        return folder.filePath(name);
    // Dangling links and other odd entries count too: their names are taken.
    const QStringList entries = folder.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot | QDir::Hidden);
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
    QStringList names;
    // A link is listed whatever it points at: a named pipe behind it is left out here.
    for (const QFileInfo &entry : folder.entryInfoList())
        if (entry.isFile())
            names << entry.fileName();
    return sorted(names);
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
        } else if (entry.isFile()) {
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
