// Prints one page that shows at a glance whether positions, fonts and colours come out right:
//   printsample            on the default printer (or the PDF fallback)
//   printsample FILE.pdf   into a PDF file
// Rulers mark every inch (1440 twips) from the top-left of the printable area.
#include "platform/Desktop.h"
#include "platform/Dialogs.h"
#include "platform/QtPrinter.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>

namespace {
class ConsoleDialogs : public Dialogs
{
public:
    Answer message(const QString &text, const QString &, Icon, Buttons) override
    {
        std::fprintf(stderr, "%s\n", qPrintable(text));
        return Answer::Ok;
    }
    QString input(const QString &, const QString &) override { return {}; }
    QString saveFileName(const QString &, const QString &, const QString &) override { return {}; }
};

QImage testCard()
{
    QImage image(354, 254, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    const QColor colours[] = {Qt::red, Qt::green, Qt::blue, Qt::yellow};
    for (int i = 0; i < 4; ++i)
        p.fillRect((i % 2) * 177, (i / 2) * 127, 177, 127, colours[i]);
    p.setPen(QPen(Qt::black, 6));
    p.drawRect(3, 3, 348, 248);
    return image;
}
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Desktop::installFontSubstitutes();
    ConsoleDialogs dialogs;
    const QStringList args = QCoreApplication::arguments();
    QtPrinter printer(dialogs, args.size() > 1 ? QtPrinter::Destination::pdfFile(args.at(1))
                                               : QtPrinter::Destination::defaultPrinter());

    const QMarginsF margins = printer.pageLayout().margins(QPageLayout::Millimeter);
    std::fprintf(stderr, "A4 with margins %.1f %.1f %.1f %.1f mm (left top right bottom)\n", margins.left(),
                 margins.top(), margins.right(), margins.bottom());

    for (int inch = 0; inch <= 7; ++inch)
        printer.drawLine(QPoint(inch * 1440, 0), QPoint(inch * 1440, 300), Qt::black);
    for (int inch = 0; inch <= 11; ++inch)
        printer.drawLine(QPoint(0, inch * 1440), QPoint(300, inch * 1440), Qt::black);

    printer.setFontBold(true);
    printer.setFontSize(14);
    printer.setTextColor(QColor(192, 0, 0));
    printer.printLine();
    printer.printLine(QStringLiteral("   Score-lijst Tuurbord"));
    printer.setY(1200);
    printer.setFontSize(12);
    printer.setFontBold(false);
    printer.setTextColor(QColor(60, 60, 60));
    const char *names[] = {"jan", "piet", "ann"};
    const int points[] = {42, 35, 10};
    for (int i = 0; i < 3; ++i) {
        printer.setX(300);
        printer.printLine(QStringLiteral("Op de ") + QString::number(i + 1) + QStringLiteral("e plaats staat... ")
                          + QString::fromLatin1(names[i]) + QStringLiteral(" met") + Printer::number(points[i])
                          + QStringLiteral("punten."));
    }
    printer.printLine();
    for (const double size : {8.0, 10.0, 12.0, 14.0, 20.0}) {
        printer.setFontSize(size);
        printer.setX(1440);
        printer.printLine(QStringLiteral("Arial") + Printer::number(qint64(size)) + QStringLiteral("pt - Hxgj 0123456789"));
    }
    printer.setFontName(QStringLiteral("Comic Sans MS"));
    printer.setFontSize(14);
    printer.setX(1440);
    printer.printLine(QStringLiteral("Comic Sans MS 14 pt"));

    // A box drawn with lines around a picture at 1 inch, 5 inches, 3 x 2 inches.
    const QRect card(1440, 5 * 1440, 3 * 1440, 2 * 1440);
    printer.drawPicture(testCard(), card);
    const QColor frame(0, 120, 0);
    printer.drawLine(card.topLeft() - QPoint(100, 100), QPoint(card.right() + 100, card.top() - 100), frame);
    printer.drawLine(QPoint(card.left() - 100, card.bottom() + 100), card.bottomRight() + QPoint(100, 100), frame);
    printer.drawLine(card.topLeft() - QPoint(100, 100), QPoint(card.left() - 100, card.bottom() + 100), frame);
    printer.drawLine(QPoint(card.right() + 100, card.top() - 100), card.bottomRight() + QPoint(100, 100), frame);

    const bool ok = printer.endDocument();
    std::fprintf(stderr, "%s\n", ok ? "printed" : "not printed");
    return ok ? 0 : 1;
}
