#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QIODevice;

// File-system helpers. The program's names are compared without regard to case, as the
// pictures and folders it was made for were named on a case-blind file system.
namespace Files {

// How a write went. A failed one says why in plain Dutch for the user (reasonText) and in the
// system's own words for standard error (error).
struct Outcome
{
    enum class Reason { None, DiskFull, ReadOnly, NoPermission, NameNotAllowed, FolderMissing, Other };
    Reason reason = Reason::None;
    QString error;
    bool ok() const { return reason == Reason::None; }
    // "de schijf is vol", "de map is alleen-lezen", ...; empty when the write succeeded.
    QString reasonText() const;
};

// The whole file; nothing when it is no regular file (also through a link), cannot be read, or is
// larger than maxBytes. A named pipe, socket or device is never opened, and no open waits. Memory
// is taken for what the file holds, never for the limit.
std::optional<QByteArray> read(const QString &path, qint64 maxBytes);

// A regular file, directly or through links.
bool isRegularFile(const QString &path);
// What stands at a path itself, a link not followed.
enum class Entry { None, File, Other }; // Other: a link, folder, pipe, socket or device
Entry entryAt(const QString &path);

// Writes the whole file or nothing: the new content goes to a temporary file in the same folder,
// which replaces the old entry only once every byte has reached the disk. A link standing there is
// replaced itself; whatever it points at stays untouched. The writer returns an error text, or the
// empty string when it wrote everything.
Outcome saveAtomically(const QString &path, const std::function<QString(QIODevice &)> &writer);
Outcome writeAtomically(const QString &path, const QByteArray &bytes);

// Gives the entry at path the name keptPath in the same folder, never over an existing entry.
// Succeeds when there is nothing at path any more.
Outcome keepAside(const QString &path, const QString &keptPath);

// The longest name, in bytes, that the file systems here give one entry of a folder.
constexpr qsizetype kMaxNameBytes = 255;

// A name that stands for one entry of a folder: not empty, not "." or "..", no "/", "\\" or NUL.
bool isPlainName(const QString &name);

// A plain name that every file system the pictures may travel to can store: no control or line
// separator characters and none of < > : " | ? *.
bool isPortableName(const QString &name);

// The path of the entry of folder dir whose name equals name without regard to case (an exact
// match first); the empty string when there is none.
QString findEntry(const QString &dir, const QString &name);

// Sorting of names as the program's lists show them: alphabetical without regard to case.
bool nameLess(const QString &a, const QString &b);

// The regular files of a folder (also through links) whose names match one of the patterns
// ("*.jpg") in any letter case, sorted. Pipes, sockets and devices are left out.
QStringList matching(const QString &dir, const QStringList &patterns);

// The game's pictures: every kind of picture file the program reads.
QStringList pictureFiles(const QString &dir);

// The sub-folders of a folder, sorted.
QStringList subFolders(const QString &dir);

// Copies a folder with its folders and regular files below it (links, pipes and devices are left
// out); false when anything failed.
bool copyTree(const QString &from, const QString &to);

// The places a user keeps pictures: the whole computer, the home folder and every mounted real
// volume (USB sticks, SD cards, other disks), each with a name a user recognises.
struct Place
{
    QString name;
    QString path;
};
QList<Place> places();

}
