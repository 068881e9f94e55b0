// The print window and its four page layouts, read from the recording printer.
#include "core/Artwork.h"
#include "platform/Desktop.h"
#include "printing/Afdrukken.h"
#include "printing/PageLayouts.h"
#include "support/WindowFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

namespace {
using Text = RecordingPrinter::Text;
using Picture = RecordingPrinter::Picture;

template<typename T>
std::vector<T> itemsOf(const RecordingPrinter &printer)
{
    std::vector<T> found;
    for (const RecordingPrinter::Item &item : printer.documents().back())
        if (const auto *it = std::get_if<T>(&item))
            found.push_back(*it);
    return found;
}

QString where(const Text &text)
{
    return QStringLiteral("%1@%2,%3p%4").arg(text.text).arg(text.at.x()).arg(text.at.y()).arg(text.page);
}

QImage solid(const QColor &colour)
{
    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// The print window on a subject of pictures, with the recording printer.
struct Print : WindowFixture<Afdrukken>
{
    explicit Print(const QStringList &pictures = {})
    {
        folder.makeSubject(QStringLiteral("dieren"), pictures);
        state.Onderwerp = QStringLiteral("dieren");
        state.Plaatje = solid(Qt::green);
        QObject::connect(&open(), &Afdrukken::infoRegel, [this](const QString &text) { info = text; });
    }
    void kind(int value) const { find<QScrollBar>("ScrollBalk")->setValue(value); }
    void print() const { find<QPushButton>("PrintKnop")->click(); }
    QStringList shownControls() const
    {
        QStringList shown;
        for (const char *name : {"CountLabel", "Text1", "Text2", "Label3", "Check1", "Combo1", "Label4"})
            if (find(name)->isVisible())
                shown << QString::fromLatin1(name);
        return shown;
    }

    QString info;
};
}

class TestPrinting : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { Desktop::installFontSubstitutes(); }

    void calendarDays_data()
    {
        QTest::addColumn<int>("year");
        QList<int> years{1, 1900, 2000, 2100, 2400, 9999};
        for (int year = 2003; year <= 2030; ++year)
            years << year;
        for (int year : years)
            QTest::addRow("%d", year) << year;
    }

    void calendarDays()
    {
        QFETCH(int, year);
        RecordingPrinter printer(1000000);
        PageLayouts::Jaarkalender(printer, year, solid(Qt::blue));
        QVERIFY(printer.endDocument());
        const std::vector<Text> texts = itemsOf<Text>(printer);
        QCOMPARE(where(texts.front()) + QString::number(texts.front().font.points), QStringLiteral(" %1 @5220,240p020").arg(year));
        QCOMPARE(texts[1].text + texts[2].text + texts[2].color.name(), QStringLiteral("  JanuariZo#0000c8"));
        // Every day against Qt's own calendar: cell = weekday of the 1st (Sunday 0) + day.
        QStringList got, want;
        for (const Text &text : texts)
            if (text.font.points == 8 && text.text.startsWith(QLatin1Char(' ')))
                got << where(text) + (text.color == QColor(190, 0, 0) ? QStringLiteral(" red") : QString());
        for (int month = 1; month <= 12; ++month) {
            const QDate first(year, month, 1);
            const int x = 870 + 2505 * ((month - 1) % 4), y = 8220 + 2580 * ((month - 1) / 4);
            for (int day = 1; day <= first.daysInMonth(); ++day) {
                const int cell = first.dayOfWeek() % 7 + day; // 1..42
                want << QStringLiteral(" %1 @%2,%3p0").arg(day).arg(x + 330 * ((cell - 1) % 7) + 30).arg(y + 300 * ((cell - 1) / 7) + 645)
                        + (QDate(year, month, day).dayOfWeek() >= 6 ? QStringLiteral(" red") : QString());
            }
        }
        QCOMPARE(got, want);
    }

    void contactSheet_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("expected"); // some of the texts, with their place and page
        QTest::newRow("none") << 0 << QStringList{"Onderwerp: dieren@300,300p0"};
        QTest::newRow("one") << 1 << QStringList{"p01@300,2250p0"};
        QTest::newRow("six") << 6 << QStringList{"p01@300,2250p0", "p05@8940,2250p0", "p06@300,4250p0"};
        // Eight rows fill a page; the 41st picture starts a page of its own, with the heading again.
        QTest::newRow("41") << 41 << QStringList{"p40@8940,16250p0", "Onderwerp: dieren@300,300p1", "p41@300,2250p1"};
    }

    void contactSheet()
    {
        QFETCH(int, count);
        QFETCH(QStringList, expected);
        QStringList files;
        for (int i = 1; i <= count; ++i)
            files << QStringLiteral("P%1.JPG").arg(i, 2, 10, QLatin1Char('0'));
        RecordingPrinter printer;
        PageLayouts::contactSheet(printer, QStringLiteral("dieren"), files, [&](const QString &file) {
            return file == QLatin1String("P03.JPG") ? QImage() : solid(Qt::red); // the third cannot be read
        });
        QVERIFY(printer.endDocument());
        QStringList texts;
        for (const Text &text : itemsOf<Text>(printer))
            texts << where(text);
        for (const QString &text : expected)
            QVERIFY2(texts.contains(text), qPrintable(text + QStringLiteral(" not in ") + texts.join(QLatin1Char(' '))));
        QCOMPARE(int(texts.size()), count + 1 + (count > 40));
        const std::vector<Picture> pictures = itemsOf<Picture>(printer);
        QCOMPARE(int(pictures.size()), count - (count >= 3));
        if (count)
            QCOMPARE(pictures.front().target, QRect(300, 750, 2000, 1450));
    }

    void stampsAndCards()
    {
        RecordingPrinter printer;
        const QImage picture = solid(Qt::green);
        PageLayouts::stamps(printer, picture, solid(Qt::gray), QStringLiteral("Groeten uit Nederland en de rest van de wereld"),
                            QStringLiteral("0.39"), false);
        QVERIFY(printer.endDocument());
        const std::vector<Picture> stamps = itemsOf<Picture>(printer);
        QCOMPARE(int(stamps.size()), 90);
        QCOMPARE(stamps[88].target, QRect(9000, 14100, 2205, 1755)); // the 45th frame: fifth column, ninth row
        const std::vector<Text> texts = itemsOf<Text>(printer);
        QCOMPARE(int(texts.size()), 90);
        QCOMPARE(where(texts[0]), QStringLiteral("\u20ac 0.39@510,495p0"));
        // A long text runs on, whole, on one line, in white.
        QCOMPARE(where(texts[1]), QStringLiteral("Groeten uit Nederland en de rest van de wereld@510,1650p0"));
        QVERIFY(std::all_of(texts.begin(), texts.end(), [](const Text &text) { return text.color == Qt::white; }));
        PageLayouts::christmasCards(printer, picture, solid(Qt::blue), solid(Qt::red));
        QVERIFY(printer.endDocument());
        // Each card: three frames, its own decoration, then the game picture on top.
        const std::vector<Picture> cards = itemsOf<Picture>(printer);
        QCOMPARE(int(cards.size()), 4);
        QCOMPARE(cards[2].picture.pixelColor(0, 0), QColor(Qt::red));
        QCOMPARE(cards[3].target, cards[1].target.translated(0, 6900));
        QCOMPARE(int(itemsOf<RecordingPrinter::Line>(printer).size()), 24);
    }

    void kindsAndPreviews()
    {
        Print p({"Kat.JPG", "aap.jpg", "beer.gif", "notities.txt"});
        QCOMPARE(p.window->files(), (QStringList{"aap.jpg", "Kat.JPG"}));
        QCOMPARE(p.find<QLabel>("CountLabel")->text(), QStringLiteral("Afdrukken van alle 2 plaatjes met als onderwerp dieren"));
        const QImage opening = p.window->preview();
        const struct {
            int kind;
            QStringList controls;
            QString info;
            QPoint gamePicture; // a pixel of the preview that shows the game picture
        } kinds[] = {
            {2, {"CountLabel"}, "Print twee kerstkaarten met afbeelding", {50, 130}},
            {3, {"Text1", "Text2", "Label3", "Check1"}, "Velletje sluitzegels van 45 stuks.", {6 + 4 * 23 + 10, 6 + 8 * 19 + 8}},
            {4, {"CountLabel", "Combo1", "Label4"}, "Jaarkalender met jaartallen tussen 2003 en 2020", {60, 50}},
            {1, {"CountLabel"}, "Print alle plaatjes uit het onderwerp dieren", {}},
        };
        for (const auto &kind : kinds) {
            p.kind(kind.kind);
            QCOMPARE(p.find<QLabel>("Label1")->text(), QStringLiteral("Print voorbeeld %1").arg(kind.kind));
            QCOMPARE(p.shownControls(), kind.controls);
            QCOMPARE(p.info, kind.info);
            if (kind.kind > 1)
                QCOMPARE(p.window->preview().pixelColor(kind.gamePicture), QColor(Qt::green));
        }
        // Back at kind 1: the contact sheet's picture with "Onderwerp:" but, unlike at opening, no "A4 papier".
        QImage sheet(130, 180, QImage::Format_RGB32);
        QPainter(&sheet).drawImage(QRect(0, 0, 130, 180), Artwork::image(QStringLiteral("tumb.png")));
        const QImage back = p.window->preview();
        QVERIFY(back.copy(0, 0, 70, 14) != sheet.copy(0, 0, 70, 14));
        QCOMPARE(back.copy(0, 158, 70, 20), sheet.copy(0, 158, 70, 20));
        QVERIFY(opening.copy(0, 158, 70, 20) != sheet.copy(0, 158, 70, 20));
        auto *check = p.find<QCheckBox>("Check1");
        check->click();
        QCOMPARE(check->text(), QStringLiteral("Witte kleur"));
        check->click();
        QCOMPARE(check->text(), QStringLiteral("Zwarte kleur"));
    }

    void printRuns_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("year"); // typed for the calendar
        QTest::addColumn<QString>("first"); // the first text of the page; empty: nothing printed
        QTest::addColumn<int>("pictures");
        QTest::newRow("contact sheet, one unreadable") << 1 << "" << "Onderwerp: dieren" << 1;
        QTest::newRow("cards") << 2 << "" << "" << 4;
        QTest::newRow("stamps") << 3 << "" << "\u20ac 0.39" << 90;
        QTest::newRow("calendar") << 4 << "2003" << " 2003 " << 1;
        QTest::newRow("calendar, year outside the list") << 4 << "1900" << " 1900 " << 1;
        // Anything but a whole year from 1 to 9999 is refused with a message, before the scan.
        for (const char *year : {"", "20x3", "3000000000", "0", "10000"})
            QTest::addRow("calendar, refused \"%s\"", year) << 4 << QString::fromLatin1(year) << QString() << 0;
    }

    void printRuns()
    {
        QFETCH(int, kind);
        QFETCH(QString, year);
        QFETCH(QString, first);
        QFETCH(int, pictures);
        Print p({"aap.jpg", "kapot.jpg"});
        p.folder.write(QStringLiteral("plaatjes/dieren/kapot.jpg"), "geen plaatje");
        // White stamp texts first: the run after them starts in black all the same.
        p.kind(3);
        p.find<QCheckBox>("Check1")->click();
        p.print();
        QCOMPARE(itemsOf<Text>(p.fakes.printer).front().color, QColor(Qt::white));
        p.find<QCheckBox>("Check1")->click();
        p.fakes.waiter.calls = 0;
        p.kind(kind);
        p.find<QComboBox>("Combo1")->setEditText(year);
        p.print();
        const bool refused = kind == 4 && first.isEmpty();
        QCOMPARE(p.fakes.waiter.calls, refused ? 0 : 91); // the scan, and nothing else waits
        QCOMPARE(p.fakes.printer.documents().size(), size_t(refused ? 1 : 2));
        QCOMPARE(p.fakes.dialogs.said, refused ? QStringList{"Tuurbord|Vul een jaartal in: een heel getal van 1 tot en met 9999."} : QStringList{});
        if (refused)
            return;
        const std::vector<Text> texts = itemsOf<Text>(p.fakes.printer);
        QCOMPARE(texts.empty() ? QString() : texts.front().text, first);
        QCOMPARE(int(itemsOf<Picture>(p.fakes.printer).size()), pictures);
        QVERIFY(kind == 4 || std::all_of(texts.begin(), texts.end(), [](const Text &text) { return text.color == Qt::black; }));
        QCOMPARE(p.find<QLabel>("Label1")->text(), QStringLiteral("Print voorbeeld %1").arg(kind));
    }

    void clicksDuringTheScan()
    {
        Print p({"aap.jpg"});
        p.fakes.waiter.onWait = [&](double) {
            if (p.fakes.waiter.calls == 10) {
                QCOMPARE(p.find<QLabel>("Label1")->text(), QStringLiteral("Scanning..."));
                QVERIFY(p.find("Lijn")->isVisible());
                p.print();                                // a second run is not started
                p.find<QPushButton>("ExitKnop")->click(); // the window closes after this one
                QVERIFY(p.window->isVisible());
            }
        };
        p.print();
        QCOMPARE(p.fakes.waiter.calls, 91);
        QCOMPARE(p.fakes.printer.documents().size(), size_t(1));
        QVERIFY(!p.window->isVisible());
        QVERIFY(!p.find("Lijn")->isVisible());
    }
};

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"
