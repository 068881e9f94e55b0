#pragma once

#include "platform/Files.h"

#include <QByteArray>

struct ProgramState;

// Tuurbord.ini: Kwaliteit, Onderwerp, GeluidAan, SoortVakje and Willekeurig, one line each.
namespace SettingsFile {

// Reads the five values in order. Each value is stored as soon as it is read, so a read that
// fails part way keeps what came before it. Returns true when all five were read.
bool parse(const QByteArray &bytes, ProgramState &state);

QByteArray format(const ProgramState &state);

// Start-up: reads the file and, when that fails in any way, writes it anew from the values
// in memory (silently, also when that fails).
void load(ProgramState &state);

Files::Outcome save(const ProgramState &state);

}
