#include "printing/PageLayouts.h"

#include "platform/Printer.h"

#include <QRect>

namespace PageLayouts {

namespace {
void arialBold(Printer &printer, double points)
{
    printer.setFontName(QStringLiteral("Arial"));
    printer.setFontBold(true);
    printer.setFontSize(points);
}

void printAt(Printer &printer, int x, int y, const QString &text)
{
    printer.setX(x);
    printer.setY(y);
    printer.printLine(text);
}
}

void Kader(Printer &printer, int x1, int y1, int x2, int y2)
{
    const QColor black(0, 0, 0);
    printer.drawLine({x1, y1}, {x2, y1}, black);
    printer.drawLine({x2, y1}, {x2, y2}, black);
    printer.drawLine({x2, y2}, {x1, y2}, black);
    printer.drawLine({x1, y2}, {x1, y1}, black);
}

void contactSheet(Printer &printer, const QString &onderwerp, const QStringList &files,
                  const std::function<QImage(const QString &)> &load)
{
    constexpr int kRows = 8; // what one A4 page holds
    const auto heading = [&] {
        arialBold(printer, 12);
        printAt(printer, 300, 300, QStringLiteral("Onderwerp: ") + onderwerp);
    };
    heading();
    int x = 300;
    int y = 750;
    for (const QString &file : files) {
        if (y >= 750 + kRows * 2000) {
            printer.newPage();
            heading();
            y = 750;
        }
        const QImage picture = load(file);
        if (!picture.isNull())
            printer.drawPicture(picture, QRect(x, y, 2000, 1450));
        printer.setFontSize(8);
        printAt(printer, x, y + 1500, file.left(file.size() - 4).toLower());
        x += 2160;
        if (x > 9900) {
            x = 300;
            y += 2000;
        }
    }
}

void christmasCards(Printer &printer, const QImage &picture, const QImage &blue, const QImage &red)
{
    for (int card = 0; card < 2; ++card) {
        const int d = 6900 * card;
        Kader(printer, 600, 2100 + d, 10950, 7500 + d);
        Kader(printer, 615, 2115 + d, 10935, 7485 + d);
        Kader(printer, 750, 2250 + d, 8100, 7350 + d);
        printer.drawPicture(card == 0 ? blue : red, QRect(8310, 2400 + d, 2400, 4950));
        printer.drawPicture(picture, QRect(780, 2280 + d, 7350, 5120));
    }
}

void stamps(Printer &printer, const QImage &picture, const QImage &frame, const QString &text,
            const QString &value, bool blackText)
{
    int x = 300;
    int y = 300;
    for (int n = 1; n <= 45; ++n) {
        printer.drawPicture(frame, QRect(x, y, 2205, 1755));
        printer.drawPicture(picture, QRect(x + 150, y + 150, 1935, 1485));
        arialBold(printer, 10);
        printer.setTextColor(blackText ? QColor(0, 0, 0) : QColor(255, 255, 255));
        printAt(printer, x + 210, y + 195, QStringLiteral("\u20ac ") + value);
        printAt(printer, x + 210, y + 1350, text);
        x += 2175;
        if (x > 9900) {
            x = 300;
            y += 1725;
        }
    }
}

bool isLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int firstWeekday(int year)
{
    // Days before 1 January of the year, counted from Monday 1 January of year 1.
    const long long before = year - 1;
    const long long days = before * 365 + before / 4 - before / 100 + before / 400;
    return int((days + 1) % 7);
}

void Jaarkalender(Printer &printer, int year, const QImage &picture)
{
    struct Month {
        const char *name;
        int days;
    };
    const Month months[12] = {{"  Januari", 31}, {" Februari", isLeapYear(year) ? 29 : 28}, {"    Maart", 31},
                              {"    April", 30}, {"      Mei", 31},  {"     Juni", 30},
                              {"     Juli", 31}, {" Augustus", 31}, {"September", 30},
                              {"  Oktober", 31}, {" November", 30}, {" December", 31}};
    const char *const dayNames[7] = {"Zo", "Ma", "Di", "Wo", "Do", "Vr", "Za"};
    int offset = firstWeekday(year);

    arialBold(printer, 20);
    printer.setTextColor(QColor(0, 0, 0));
    printAt(printer, 5220, 240, Printer::number(year));
    printer.drawPicture(picture, QRect(900, 1050, 9920, 6720));
    Kader(printer, 870, 1020, 10730, 7680);

    int x = 870;
    int y = 8220;
    for (const Month &month : months) {
        const int s = offset;
        Kader(printer, x, y, x + 2310, y + 2400);
        printer.setFontSize(10);
        printer.setTextColor(QColor(32, 32, 32));
        printAt(printer, x + 630, y + 30, QString::fromLatin1(month.name));
        for (int d = 0, c = 0; d < 7; ++d, c += 330) {
            Kader(printer, x + c, y + 300, x + c + 330, y + 600);
            printer.setFontSize(8);
            printer.setTextColor(QColor(0, 0, 200));
            printAt(printer, x + c + 60, y + 360, QString::fromLatin1(dayNames[d]));
        }
        for (int k = 1, c = 0, r = 300; k <= 42; ++k) {
            Kader(printer, x + c, y + 300 + r, x + c + 330, y + 600 + r);
            c += 330;
            if (c > 2300) {
                c = 0;
                r += 300;
            }
        }
        for (int k = 1, c = 0, r = 300; k <= 42; ++k) {
            // The first and last columns are Sunday and Saturday.
            printer.setTextColor(k % 7 == 0 || k % 7 == 1 ? QColor(190, 0, 0) : QColor(100, 100, 100));
            if (k > s && k < month.days + s + 1) {
                printAt(printer, x + c + 30, y + r + 345, Printer::number(k - s));
                offset = k % 7;
            }
            c += 330;
            if (c > 2300) {
                c = 0;
                r += 300;
            }
        }
        x += 2505;
        if (x > 10000) {
            y += 2580;
            x = 870;
        }
    }
}

}
