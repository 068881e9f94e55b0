#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// File-system helpers. The program's names are compared without regard to case, as the
// pictures and folders it was made for were named on a case-blind file system.
namespace Files {

// Reads at most maxBytes of a file; nothing when it cannot be opened.
std::optional<QByteArray> read(const QString &path, qint64 maxBytes);

// Writes the whole file or nothing: the old file stays until the new one is complete.
bool writeAtomically(const QString &path, const QByteArray &bytes);

// The path of the entry of folder dir whose name equals name without regard to case (an exact
// match first); the empty string when there is none.
QString findEntry(const QString &dir, const QString &name);

// Sorting of names as the program's lists show them: alphabetical without regard to case.
bool nameLess(const QString &a, const QString &b);

// The files of a folder that match the picture patterns *.bmp, *.gif, *.jpg (any case), sorted.
QStringList pictureFiles(const QString &dir);

// The sub-folders of a folder, sorted.
QStringList subFolders(const QString &dir);

}
