#include "settings/Subjects.h"

#include "platform/Files.h"

#include <QDir>
#include <QFileInfo>

bool Subjects::isValidName(const QString &name)
{
    if (!Files::isPortableName(name))
        return false;
    // The original platform dropped a trailing blank or dot, so such a name never meant itself.
    if (name.endsWith(QLatin1Char(' ')) || name.endsWith(QLatin1Char('.')))
        return false;
    return name.toUtf8().size() <= Files::kMaxNameBytes;
}

QStringList Subjects::list() const
{
    return Files::subFolders(m_root);
}

QString Subjects::entryNamed(const QString &name) const
{
    const QString path = Files::findEntry(m_root, name);
    return path.isEmpty() ? QString() : QFileInfo(path).fileName();
}

bool Subjects::staysDirectlyBelowRoot(const QString &name) const
{
    const QString root = QDir::cleanPath(QDir(m_root).absolutePath());
    const QString target = QDir::cleanPath(root + QLatin1Char('/') + name);
    return QFileInfo(target).absolutePath() == root && QFileInfo(target).fileName() == name;
}

Subjects::Result Subjects::add(const QString &name) const
{
    if (!isValidName(name) || !staysDirectlyBelowRoot(name))
        return Result::InvalidName;
    const QFileInfo root(m_root);
    if (!root.exists() && !root.isSymLink()) {
        // Only the pictures folder itself is made, never the program folder above it.
        if (!QDir().mkdir(m_root))
            return Result::Failed;
    } else if (!root.isDir()) {
        return Result::Failed;
    }
    if (!entryNamed(name).isEmpty())
        return Result::Exists;
    return QDir(m_root).mkdir(name) ? Result::Done : Result::Failed;
}

Subjects::Result Subjects::remove(const QString &name) const
{
    // Names come from the list, so they are checked only for what could leave the folder.
    if (!Files::isPlainName(name))
        return Result::InvalidName;
    const QString entry = entryNamed(name);
    if (entry.isEmpty() || !staysDirectlyBelowRoot(entry))
        return Result::NotFound;
    const QFileInfo info(QDir(m_root).filePath(entry));
    // A link is not a subject folder of ours: removing it would act on whatever it points at.
    if (info.isSymLink() || !info.isDir())
        return Result::NotFound;
    if (!QDir(info.filePath()).isEmpty(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot))
        return Result::NotEmpty;
    return QDir(m_root).rmdir(entry) ? Result::Done : Result::Failed;
}
