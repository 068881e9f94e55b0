#include "game/Spel.h"

#include "core/ProgramState.h"
#include "platform/Files.h"
#include "platform/Pictures.h"
#include "platform/Random.h"

#include <algorithm>
#include <utility>

Spel::Start Spel::nieuwSpel()
{
    const QString folder = m_state.subjectDir();
    if (folder.isEmpty())
        return Start::FolderMissing;
    const QStringList files = Files::pictureFiles(folder);
    if (files.isEmpty())
        return Start::NoPictures;

    // What a game that cannot start must leave as it was.
    const auto score = m_state.Score;
    const auto volgNummer = m_state.VolgNummer;
    const QString woord = m_state.Woord;
    const bool bezig = m_state.SpelBezig;
    QString folderBefore = std::exchange(m_folder, folder);
    QStringList filesBefore = std::exchange(m_files, files);
    // A file without a word is no picture of the game: an empty answer would be right.
    std::vector<bool> wordless;
    for (const QString &file : files)
        wordless.push_back(wordOf(file, QString()).isEmpty());
    std::vector<bool> unreadableBefore = std::exchange(m_unreadable, std::move(wordless));

    m_state.Score = 35;
    m_state.VolgNummer = 0;
    m_state.Woord.clear();
    m_state.SpelBezig = true;
    if (nieuwPlaatje())
        return Start::Started;

    m_state.Score = score;
    m_state.VolgNummer = volgNummer;
    m_state.Woord = woord;
    m_state.SpelBezig = bezig;
    m_folder = std::move(folderBefore);
    m_files = std::move(filesBefore);
    m_unreadable = std::move(unreadableBefore);
    return Start::NoPictures;
}

int Spel::choosePicture()
{
    const int count = int(m_files.size());
    if (std::find(m_unreadable.begin(), m_unreadable.end(), false) == m_unreadable.end())
        return -1;
    if (m_state.Willekeurig) {
        // Every readable picture equally likely, the same one again included.
        std::vector<int> readable;
        for (int i = 0; i < count; ++i)
            if (!m_unreadable[size_t(i)])
                readable.push_back(i);
        m_random.seedFromTime();
        return readable[size_t(m_random.below(int(readable.size())))];
    }
    // In list order, wrapping around after the last.
    for (;;) {
        const int index = m_state.VolgNummer;
        ++m_state.VolgNummer;
        if (m_state.VolgNummer > count - 1)
            m_state.VolgNummer = 0;
        if (!m_unreadable[size_t(index)])
            return index;
    }
}

bool Spel::nieuwPlaatje()
{
    for (int index; (index = choosePicture()) >= 0;) {
        const QString file = m_files.at(index);
        const QString path = m_folder + QLatin1Char('/') + file;
        Pictures::Loaded picture = Pictures::region(path);
        if (!picture.ok()) {
            m_unreadable[size_t(index)] = true;
            continue;
        }
        m_state.Geopend.fill(0);
        m_state.AantalOpen = 0;
        m_state.Geraden = false;
        m_state.Plaatje = std::move(picture.image);
        m_state.PlaatjeBestand = path;
        m_state.Woord = wordOf(file, m_state.Woord);
        return true;
    }
    return false;
}

bool Spel::goedGeraden()
{
    m_state.Score += 35;
    return nieuwPlaatje();
}

int Spel::openVakje()
{
    if (m_state.AantalOpen >= 35)
        return 0;
    int n;
    do {
        m_random.mixInTime();
        n = int(35 * m_random.next() + 1);
    } while (m_state.Geopend[size_t(n)] != 0);
    m_state.Geopend[size_t(n)] = 1;
    ++m_state.AantalOpen;
    --m_state.Score;
    return n;
}

QString Spel::wordOf(const QString &fileName, const QString &previous)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot >= 0 ? fileName.left(dot) : previous;
}

QString Spel::hint(const QString &word)
{
    return QStringLiteral("Woord van ") + QString::number(word.size()) + QStringLiteral(" letters");
}

QString Spel::scoreText(int score)
{
    return QStringLiteral("Score: ") + QString::number(score);
}
