#include "settings/Quality.h"

#include <QLocale>

#include <cmath>

namespace Quality {

namespace {
double roundHalfEven(double value)
{
    const double down = std::floor(value);
    const double rest = value - down;
    if (rest < 0.5)
        return down;
    if (rest > 0.5)
        return down + 1;
    return std::fmod(down, 2.0) == 0.0 ? down : down + 1;
}
}

std::optional<int> fromText(const QString &text)
{
    QString number = text.trimmed();
    // A comma is the Dutch decimal sign; with a point as well the text is ambiguous and refused.
    if (number.contains(QLatin1Char(',')) && number.contains(QLatin1Char('.')))
        return std::nullopt;
    number.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = QLocale::c().toDouble(number, &ok);
    if (!ok || !std::isfinite(value) || value < 1 || value > 100)
        return std::nullopt;
    return int(roundHalfEven(value));
}

}
