#include "core/ScoreEntry.h"

#include "platform/Cp1252.h"

namespace ScoreEntry {

QString form(int score, const QString &name)
{
    QString clean = Cp1252::decode(Cp1252::encode(name.left(kMaxName).toLower()));
    for (QChar &c : clean) {
        if (c == QLatin1Char('"'))
            c = QLatin1Char('\'');
        else if (c.category() == QChar::Other_Control)
            c = QLatin1Char(' ');
    }
    QString entry = QStringLiteral("%1 - ").arg(score, 5, 10, QLatin1Char('0')) + clean;
    while (entry.endsWith(QLatin1Char(' ')))
        entry.chop(1);
    return entry;
}

// Entries of scores from 100000 up have more than five digits: the parts are found by the
// separator, not by position, so such a score keeps its name and its points.
static qsizetype separator(const QString &entry)
{
    const qsizetype at = entry.indexOf(QLatin1String(" - "));
    return at < 0 ? 5 : at;
}

QString name(const QString &entry)
{
    return entry.mid(separator(entry) + 3);
}

QString points(const QString &entry)
{
    // The digits as they stand, so that no score is too large to print: "00042" is 42.
    const QString score = entry.left(separator(entry)).trimmed();
    qsizetype digits = 0;
    while (digits < score.size() && score.at(digits).isDigit() && score.at(digits).unicode() < 128)
        ++digits;
    qsizetype first = 0;
    while (first < digits - 1 && score.at(first) == QLatin1Char('0'))
        ++first;
    return digits == 0 ? QStringLiteral("0") : score.mid(first, digits - first);
}

}
