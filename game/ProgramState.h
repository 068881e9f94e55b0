#pragma once

#include "scores/ScoreList.h"

#include <QString>

#include <array>
#include <cstdint>

// The state every window shares: the five settings of Tuurbord.ini, the current game and the
// score list. There is one instance for the whole run, owned by main() and handed to each window.
struct ProgramState
{
    explicit ProgramState(QString programFolder) : programDir(std::move(programFolder)) {}

    // Settings.
    std::uint8_t Kwaliteit = 75;
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

    ScoreList Scorelijst;

    // The folder of the executable; every file of the program lies below it.
    QString programDir;

    QString path(const QString &relative) const { return programDir + QLatin1Char('/') + relative; }
    QString settingsPath() const { return path(QStringLiteral("Tuurbord.ini")); }
    QString scoresPath() const { return path(QStringLiteral("Vudoduzov.lst")); }
    QString soundPath(const QString &file) const { return path(QStringLiteral("sounds/") + file); }
    QString picturesRoot() const { return path(QStringLiteral("plaatjes")); }
    // The current subject's folder as it is spelled on disk; empty when there is none.
    QString subjectDir() const;
};
