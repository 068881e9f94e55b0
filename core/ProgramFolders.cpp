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

// The default subjects this user has been given, one name a line, beside the settings.
const char kGivenSubjects[] = "Onderwerpen.lst";

// The first version put these in every user's folder and kept no record of them.
QStringList firstVersionSubjects()
{
    return {QStringLiteral("dieren"), QStringLiteral("gebruiksvoorwerpen")};
}

// Gives the user each default subject they were never given, once. A subject the user has, in
// any letter case, is left as it is; one they removed does not come back.
void giveNewSubjects(const QString &defaults, const QString &userData)
{
    const QString pictures = userData + QStringLiteral("/plaatjes");
    const QString record = userData + QLatin1Char('/') + QLatin1String(kGivenSubjects);
    QStringList given;
    if (const std::optional<QByteArray> bytes = Files::read(record, 1024 * 1024))
        given = QString::fromUtf8(*bytes).remove(QLatin1Char('\r')).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    else if (QFileInfo::exists(pictures))
        given = firstVersionSubjects();
    bool changed = !QFileInfo::exists(record);
    for (const QString &subject : Files::subFolders(defaults)) {
        if (given.contains(subject, Qt::CaseInsensitive))
            continue;
        // A copy that failed half way is the user's now too; one that made nothing is tried again.
        if (Files::findEntry(pictures, subject).isEmpty())
            Files::copyTree(defaults + QLatin1Char('/') + subject, pictures + QLatin1Char('/') + subject);
        if (!Files::findEntry(pictures, subject).isEmpty()) {
            given << subject;
            changed = true;
        }
    }
    if (changed)
        Files::writeAtomically(record, given.join(QLatin1Char('\n')).toUtf8() + '\n');
}
}

ProgramFolders ProgramFolders::locate(const QString &executableDir, const QString &installedData, const QString &userData)
{
    if (holdsData(executableDir) && writable(executableDir))
        return {executableDir, executableDir, true};
    const QString resources = holdsData(executableDir) ? executableDir : QDir::cleanPath(installedData);
    if (!userData.isEmpty() && QDir().mkpath(userData) && writable(userData)) {
        giveNewSubjects(resources + QStringLiteral("/plaatjes"), userData);
        return {userData, resources, true};
    }
    // Nowhere to write: play with what is installed, keep nothing.
    return {resources, resources, false};
}
