#include "game/ProgramState.h"

#include "platform/Files.h"

#include <QFileInfo>

QString ProgramState::subjectDir() const
{
    const QString found = Files::findEntry(picturesRoot(), Onderwerp);
    return !found.isEmpty() && QFileInfo(found).isDir() ? found : QString();
}
