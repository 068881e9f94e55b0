#include "game/Game.h"

#include "game/ProgramState.h"
#include "platform/Random.h"

namespace Game {

int choosePicture(ProgramState &state, int count, Random &random)
{
    if (state.Willekeurig) {
        random.seedFromTime();
        return random.below(count);
    }
    const int index = state.VolgNummer;
    ++state.VolgNummer;
    if (state.VolgNummer > count - 1)
        state.VolgNummer = 0;
    return index;
}

int chooseClosedBox(const ProgramState &state, Random &random)
{
    for (;;) {
        random.mixInTime();
        const int n = int(35 * random.next() + 1);
        if (state.Geopend[n] == 0)
            return n;
    }
}

QString wordOf(const QString &fileName, const QString &previous)
{
    return fileName.size() >= 4 ? fileName.left(fileName.size() - 4) : previous;
}

QString hint(const QString &word)
{
    return QStringLiteral("Woord van ") + QString::number(word.size()) + QStringLiteral(" letters");
}

QString scoreText(int score)
{
    return QStringLiteral("Score: ") + QString::number(score);
}

int faceKind(const ProgramState &state)
{
    return state.SoortVakje >= 1 && state.SoortVakje <= 10 ? state.SoortVakje : 1;
}

}
