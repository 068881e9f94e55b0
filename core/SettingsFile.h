#pragma once

#include "platform/Files.h"

#include <QByteArray>

struct ProgramState;

// Tuurbord.ini: Kwaliteit, Onderwerp, GeluidAan, SoortVakje and Willekeurig, one line each.
namespace SettingsFile {

// A real settings file is a few hundred bytes; a larger one is taken as unreadable.
constexpr qint64 kMaxBytes = 64 * 1024;

// Reads the five values in order. Each value is stored as soon as it is read, so a read that
// fails part way keeps what came before it. Returns true when all five were read.
bool parse(const QByteArray &bytes, ProgramState &state);

QByteArray format(const ProgramState &state);

// Start-up: reads the file and, when it is missing or is a regular file that cannot be read,
// writes it anew from the values in memory (silently, also when that fails).
void load(ProgramState &state);

Files::Outcome save(const ProgramState &state);

}
