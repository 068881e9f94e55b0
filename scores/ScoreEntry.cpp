#include "scores/ScoreEntry.h"

#include "platform/Cp1252.h"
#include "platform/Printer.h"

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

void print(Printer &printer, const QStringList &bestFirst)
{
    printer.setFontName(QStringLiteral("Arial"));
    printer.setFontBold(true);
    printer.setFontSize(14);
    printer.setTextColor(QColor(192, 0, 0));
    printer.printLine();
    printer.printLine(QStringLiteral("   Score-lijst Tuurbord"));
    for (int i = 0; i < 4; ++i)
        printer.printLine();
    printer.setY(1200);
    printer.setFontSize(12);
    printer.setFontBold(false);
    printer.setTextColor(QColor(60, 60, 60));
    for (qsizetype i = 0; i < bestFirst.size(); ++i) {
        const QString &entry = bestFirst.at(i);
        printer.setX(300);
        printer.printLine(QStringLiteral("Op de ") + QString::number(i + 1) + QStringLiteral("e plaats staat... ")
                          + name(entry) + QStringLiteral(" met ") + points(entry)
                          + QStringLiteral(" punten."));
        if (i == 8 || i == 98)
            printer.printLine();
    }
}

}
