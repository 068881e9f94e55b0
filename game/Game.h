#pragma once

#include <QString>

class Random;
struct ProgramState;

// The rules of a game that do not depend on the window.
namespace Game {

// The index of the next picture of a list of count pictures: at random (every picture equally
// likely, repeats allowed) or in list order, wrapping around after the last.
int choosePicture(ProgramState &state, int count, Random &random);

// A closed box (1..35) drawn at random, every closed box equally likely. At least one must be closed.
int chooseClosedBox(const ProgramState &state, Random &random);

// The word of a picture file: its name without the last four characters (the extension). A name
// too short for that leaves the word as it was.
QString wordOf(const QString &fileName, const QString &previous);

QString hint(const QString &word);
QString scoreText(int score);

// The box kind that is drawn: the setting when it is 1..10, else kind 1.
int faceKind(const ProgramState &state);

}
