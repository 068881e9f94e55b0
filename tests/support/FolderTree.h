#pragma once

#include <QDir>
#include <QDirIterator>
#include <QStringList>

// Every entry below a folder, links not followed, as sorted relative paths.
inline QStringList folderTree(const QString &dir)
{
    QStringList entries;
    QDirIterator it(dir, QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        entries << QDir(dir).relativeFilePath(it.next());
    entries.sort();
    return entries;
}
