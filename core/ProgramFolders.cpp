#include "core/ProgramFolders.h"

#include "platform/Files.h"

#include <QDir>
#include <QFileInfo>

namespace {
bool holdsData(const QString &dir)
{
    return QFileInfo(dir + QStringLiteral("/sounds")).isDir();
}

bool writable(const QString &dir)
{
    const QFileInfo info(dir);
    return info.isDir() && info.isWritable();
}
}

ProgramFolders ProgramFolders::locate(const QString &executableDir, const QString &installedData, const QString &userData)
{
    if (holdsData(executableDir) && writable(executableDir))
        return {executableDir, executableDir, true};
    const QString resources = holdsData(executableDir) ? executableDir : QDir::cleanPath(installedData);
    if (!userData.isEmpty() && QDir().mkpath(userData) && writable(userData)) {
        const QString pictures = userData + QStringLiteral("/plaatjes");
        if (!QFileInfo::exists(pictures))
            Files::copyTree(resources + QStringLiteral("/plaatjes"), pictures);
        return {userData, resources, true};
    }
    // Nowhere to write: play with what is installed, keep nothing.
    return {resources, resources, false};
}
