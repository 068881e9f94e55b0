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

// The reason a write failed, in words a message or a log can show; empty when it succeeded.
struct Outcome
{
    QString error;
    bool ok() const { return error.isEmpty(); }
};

// The whole file; nothing when it cannot be opened or read, or is larger than maxBytes. Memory
// is taken for what the file holds, never for the limit.
std::optional<QByteArray> read(const QString &path, qint64 maxBytes);

// Writes the whole file or nothing: the new content goes to a temporary file beside the old one,
// which it replaces only once every byte has reached the disk. The writer returns an error text,
// or the empty string when it wrote everything.
Outcome saveAtomically(const QString &path, const std::function<QString(QIODevice &)> &writer);
Outcome writeAtomically(const QString &path, const QByteArray &bytes);

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

// The files of a folder whose names match one of the patterns ("*.jpg") in any letter case, sorted.
QStringList matching(const QString &dir, const QStringList &patterns);

// The game's pictures: every kind of picture file the program reads.
QStringList pictureFiles(const QString &dir);

// The sub-folders of a folder, sorted.
QStringList subFolders(const QString &dir);

// Copies a folder with everything below it (links are not followed); false when anything failed.
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
