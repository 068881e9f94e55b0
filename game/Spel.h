#pragma once

#include <QRect>
#include <QString>
#include <QStringList>

#include <vector>

class Random;
struct ProgramState;

// The rules of a game, without any window: the pictures of the subject, the choice of the next
// one, the boxes and the score. The main window shows what they decide and animates it.
class Spel
{
public:
    Spel(ProgramState &state, Random &random) : m_state(state), m_random(random) {}

    enum class Start {
        Started,
        FolderMissing, // the subject has no folder
        NoPictures,    // the folder holds no picture that can be shown
    };

    // "Nieuw spel": reads the subject folder anew, sets the score to 35 and sets up the first
    // board. When no game can start, the state is left exactly as it was.
    Start nieuwSpel();

    // The next board: every box closed and the next picture in ProgramState::Plaatje, with its
    // word. A picture file that cannot be read is passed over for the rest of the game, so the
    // word always belongs to the picture shown. False when no picture of the subject can be read.
    bool nieuwPlaatje();

    // An answer in the guess window. Right (the word without regard to case) sets Geraden; wrong
    // ends the game, which has no word any more. Returns whether it was right.
    bool antwoord(const QString &answer);
    // The name given when a lost game ends: the game's entry in the score list. Nothing for an
    // empty name, or while no game was lost.
    void naamGegeven(const QString &name);

    // After a right guess: 35 points more and the next board. False, and the game over, when no
    // picture of the subject can be read any more.
    bool goedGeraden();

    // Opens a closed box chosen at random: it counts as open at once and costs a point. Returns
    // its number 1..35, or 0 when every box is open already (nothing changes then).
    int openVakje();

    // Box n's place inside the picture, in twips: 7 columns by 5 rows of 750 x 750 from the top
    // left, box 1 top left, box 35 bottom right.
    static QRect vakRect(int n) { return QRect(750 * ((n - 1) % 7), 750 * ((n - 1) / 7), 750, 750); }

    // The pictures of the subject when the game started.
    const QStringList &plaatjes() const { return m_files; }

    // The word of a picture file: its name without its extension (".jpg", ".jpeg", ".heic"). A
    // name without one leaves the word as it was. A file whose word is empty (".jpg") is passed
    // over like one that cannot be read.
    static QString wordOf(const QString &fileName, const QString &previous);
    static QString hint(const QString &word);
    static QString scoreText(int score);

private:
    // The index of the next picture to try, or -1 when none is left.
    int choosePicture();

    ProgramState &m_state;
    Random &m_random;
    QString m_folder;
    QStringList m_files;
    std::vector<bool> m_unreadable; // passed over: cannot be read, or has no word
};
