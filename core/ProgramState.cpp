#include "core/ProgramState.h"

#include "platform/Files.h"

#include <QFileInfo>

QString ProgramState::subjectDir() const
{
    // A subject from a hand-edited settings file could name any folder of the disk.
    if (!Files::isPlainName(Onderwerp))
        return QString();
    const QString found = Files::findEntry(picturesRoot(), Onderwerp);
    return !found.isEmpty() && QFileInfo(found).isDir() ? found : QString();
}
