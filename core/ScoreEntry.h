#pragma once

#include <QString>
#include <QStringList>

// A score entry is one line of the score list: the score in five digits, " - ", the name in
// lower case ("00042 - jan").
namespace ScoreEntry {

// The longest name an entry keeps; the name box of the guess window takes no more.
constexpr int kMaxName = 100;

// Forms the entry for a finished game. Quotes and control characters in the name would break the
// score-list file, so they become an apostrophe and blanks; characters the file cannot store
// become '?', as they would on saving.
QString form(int score, const QString &name);

// The name part (after " - ") and the points of an entry, in decimal without leading zeros.
QString name(const QString &entry);
QString points(const QString &entry);

}
