#pragma once

#include <QString>

// Where the program keeps its files. A program folder that holds the program's data and can be
// written (the build folder, a copy on a USB stick) is used as it is. An installed program reads
// its sounds, help page and default subjects from the installed data folder and keeps settings,
// scores and pictures in the user's own data folder. Each start gives that folder the default
// subjects it was never given (the first start all of them), and never changes or brings back a
// subject the user has or removed; Onderwerpen.lst there records what was given.
struct ProgramFolders
{
    QString data;            // Tuurbord.ini, Vudoduzov.lst and plaatjes/
    QString resources;       // sounds/ and help/
    bool keepsFiles = true;  // the data folder can be written

    // executableDir: the folder of the executable; installedData: the installed data folder
    // (share/tuurbord); userData: the user's data folder for the program, empty when there is none.
    static ProgramFolders locate(const QString &executableDir, const QString &installedData, const QString &userData);
};
