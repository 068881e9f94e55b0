#pragma once

#include "core/Artwork.h"
#include "core/ScoreList.h"

#include <QImage>
#include <QString>

#include <array>
#include <cstdint>

// The state every window shares: the five settings of Tuurbord.ini, the current game and the
// score list. There is one instance for the whole run, owned by main() and handed to each window.
struct ProgramState
{
    // dataFolder holds the settings, the score list and the subjects; resourceFolder the sounds
    // and the help page (the same folder unless the program is installed).
    explicit ProgramState(QString dataFolder, QString resourceFolder = QString())
        : programDir(std::move(dataFolder)), resourceDir(resourceFolder.isEmpty() ? programDir : std::move(resourceFolder))
    {
    }

    // Settings.
    static constexpr std::uint8_t kKwaliteit = 75; // the JPEG quality until one is chosen
    std::uint8_t Kwaliteit = kKwaliteit;
    QString Onderwerp = QStringLiteral("gebruiksvoorwerpen");
    bool GeluidAan = true;
    std::uint8_t SoortVakje = 1;
    bool Willekeurig = true;

    // The game in progress.
    std::int32_t Score = 0;
    bool SpelBezig = false;
    QString Woord;
    bool Geraden = false;
    std::uint8_t AantalOpen = 0;
    std::array<std::uint8_t, 36> Geopend{}; // element n is 1 when box n is open; 0 is unused
    std::int32_t VolgNummer = 0;
    // The picture behind the boxes: the top-left part of the file that the board shows (the
    // start picture until the first board), and that file (empty for the start picture).
    QImage Plaatje;
    QString PlaatjeBestand;

    ScoreList Scorelijst;

    // The folder of the executable (or the user's data folder of an installed program).
    QString programDir;
    QString resourceDir;
    // False when the program folder cannot be written: the game plays, nothing is kept.
    bool keepsFiles = true;

    QString path(const QString &relative) const { return programDir + QLatin1Char('/') + relative; }
    QString settingsPath() const { return path(QStringLiteral("Tuurbord.ini")); }
    QString scoresPath() const { return path(QStringLiteral("Vudoduzov.lst")); }
    QString soundsDir() const { return resourceDir + QStringLiteral("/sounds"); }
    QString helpPage() const { return resourceDir + QStringLiteral("/help/help.htm"); }
    QString picturesRoot() const { return path(QStringLiteral("plaatjes")); }
    // The current subject's folder as it is spelled on disk; empty when there is none, or when the
    // subject is not a plain folder name directly below plaatjes.
    QString subjectDir() const;
    // The box kind that is drawn: the setting when it is 1..10, else kind 1.
    int faceKind() const { return Artwork::boxKind(SoortVakje); }
};
