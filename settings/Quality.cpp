#include "settings/Quality.h"

#include "platform/Numbers.h"

#include <QLocale>

#include <cmath>

namespace Quality {

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
