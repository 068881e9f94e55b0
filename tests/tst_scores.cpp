// A score entry, the guess window that records it and the score-list window that shows, deletes
// and prints the entries.
#include "scores/Oplossing.h"
#include "scores/ScoreEntry.h"
#include "scores/ScoreForm.h"
#include "support/WindowFixture.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

namespace {
// The guess window in a running game with the word "fiets" and 17 points. The log holds the name
// box as "colour text" at each pause of a flash, and the signals to the main window.
struct Guess : WindowFixture<Oplossing>
{
    Guess()
    {
        state.Woord = QStringLiteral("fiets");
        state.Score = 17;
        state.SpelBezig = true;
        open();
        QObject::connect(window.get(), &Oplossing::wordCleared, [this] { log << QStringLiteral("cleared"); });
        QObject::connect(window.get(), &Oplossing::gameEnded, [this] { log << QStringLiteral("ended"); });
        // Clicks on both buttons and on the title bar's close during a flash must all be ignored.
        fakes.waiter.onWait = [this](double) {
            log << edit()->palette().color(QPalette::Base).name() + QLatin1Char(' ') + edit()->text();
            click("OkKnop");
            click("CancelKnop");
            window->close();
        };
    }
    QLineEdit *edit() const { return find<QLineEdit>("Text1"); }
    void click(const char *button) const { QTest::mouseClick(find(button), Qt::LeftButton); }

    QStringList log;
};

// The score-list window on these entries.
struct Scores : WindowFixture<ScoreForm>
{
    explicit Scores(const QStringList &entries)
    {
        for (const QString &entry : entries)
            state.Scorelijst.insert(entry);
        open();
        QObject::connect(window.get(), &ScoreForm::infoRegel, [this](const QString &text) { info = text; });
    }
    QString count() const { return find<QLabel>("Label1")->text(); }
    QListWidget *list() const { return find<QListWidget>("List1"); }

    QString info;
};
}

class TestScores : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void entries_data()
    {
        QTest::addColumn<int>("score"); // -1: an entry as a hand-edited list may hold it, not formed here
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("parts"); // name|points, as printed
        const QString x100(100, QLatin1Char('x'));
        QTest::newRow("zero, accents lower-cased") << 0 << "JOS\u00c9" << "00000 - jos\u00e9" << "jos\u00e9|0";
        QTest::newRow("six digits, dash in name") << 123456 << "a - b" << "123456 - a - b" << "a - b|123456";
        // Quotes and control characters would break the score-list file.
        QTest::newRow("blanks, quote, comma, line breaks")
            << 42 << " Jan \"baas\", a\nb\r\tc \n" << "00042 -  jan 'baas', a b  c" << " jan 'baas', a b  c|42";
        QTest::newRow("outside the code page") << 5 << "\u0141ukasz" << "00005 - ?ukasz" << "?ukasz|5";
        QTest::newRow("long name cut") << 1 << QString(300, QLatin1Char('x')) << "00001 - " + x100 << x100 + "|1";
        // A hand-edited list may hold any number: it prints as it stands, never as 0 or negative.
        QTest::newRow("too large for 64 bits") << -1 << "" << "000123456789012345678901 - x" << "x|123456789012345678901";
        QTest::newRow("no number") << -1 << "" << "abcde - y" << "y|0";
    }

    void entries()
    {
        QFETCH(int, score);
        QFETCH(QString, name);
        QFETCH(QString, entry);
        if (score >= 0)
            QCOMPARE(ScoreEntry::form(score, name), entry);
        QTEST(QString(ScoreEntry::name(entry) + QLatin1Char('|') + ScoreEntry::points(entry)), "parts");
    }

    void guess_data()
    {
        QTest::addColumn<QString>("typed"); // null: Exit without a guess
        QTest::addColumn<QString>("name"); // typed after a wrong guess or instead of one; null: the guess was right
        QTest::addColumn<bool>("titleBar"); // closed with the title bar's close instead of Exit
        QTest::addColumn<QStringList>("list");
        QTest::newRow("right in another case") << "fIETS" << QString() << false << QStringList{};
        QTest::newRow("trailing blank is wrong") << "fiets " << "Piet" << false << QStringList{"00017 - piet"};
        QTest::newRow("accent is wrong, empty name adds nothing") << "fi\u00e9ts" << "" << false << QStringList{};
        QTest::newRow("part of the word, title bar acts as Exit") << "fiet" << "Kim" << true << QStringList{"00017 - kim"};
        QTest::newRow("Exit while looking keeps the game") << QString() << "iets" << false << QStringList{};
    }

    void guess()
    {
        QFETCH(QString, typed);
        QFETCH(QString, name);
        Guess g;
        const bool right = !typed.isNull() && name.isNull();
        const bool lost = !typed.isNull() && !name.isNull();
        if (!typed.isNull()) {
            g.edit()->setText(typed);
            g.click("OkKnop");
            const QStringList flash{right ? QStringLiteral("#00fa00 Het antwoord is goed geraden...")
                                          : QStringLiteral("#fa5a00 Het antwoord is helaas fout..."),
                                    QStringLiteral("#c8d2dc ")};
            QCOMPARE(g.log, flash + flash + flash + QStringList(lost ? 1 : 0, QStringLiteral("cleared")));
        }
        if (lost) {
            QVERIFY(!g.find("OkKnop")->isEnabled());
            QCOMPARE(g.find<QLabel>("Label2")->text(), QStringLiteral("Typ hierboven jouw naam in en druk op knop Exit"));
            QCOMPARE(QApplication::focusWidget(), g.edit()); // taken away by the disabled Ok button
        }
        QTest::keyClicks(g.edit(), name);
        if (QFETCH(bool, titleBar); titleBar)
            g.window->close();
        else if (!right)
            g.click("CancelKnop");
        QCOMPARE(g.log.count(QStringLiteral("ended")), int(lost));
        QTEST(g.state.Scorelijst.entries(), "list");
        QCOMPARE(g.state.Geraden, right);
        QCOMPARE(g.state.SpelBezig, !lost);
        QCOMPARE(g.state.Woord.isEmpty(), lost);
        QVERIFY(!g.window->isVisible());
    }

    void deleting()
    {
        Scores s({"00017 - piet", "00040 - kim", "00017 - piet"});
        QCOMPARE(s.list()->item(0)->text(), QStringLiteral("00040 - kim")); // best first
        QCOMPARE(s.count(), QStringLiteral("3 namen in de scorelijst"));
        // Focus from the keyboard makes an entry the current one without selecting it: that is no choice.
        s.list()->setCurrentRow(0, QItemSelectionModel::NoUpdate);
        s.window->DelKnop_Click();
        const QString selectFirst = QStringLiteral(" Foutje|Eerst een naam selecteren...");
        QCOMPARE(s.fakes.dialogs.said, (QStringList{" Delete|Wil je ... verwijderen uit de lijst?", selectFirst}));
        s.list()->setCurrentRow(2);
        s.fakes.dialogs.answers = {Dialogs::Answer::No};
        s.window->DelKnop_Click();
        QCOMPARE(s.fakes.dialogs.said.last(), QStringLiteral(" Delete|Wil je piet verwijderen uit de lijst?"));
        QCOMPARE(s.list()->count(), 3);
        s.window->DelKnop_Click(); // answered Yes
        QCOMPARE(s.info, QStringLiteral("00017 - piet /  2"));
        QCOMPARE(s.list()->item(0)->text(), QStringLiteral("00040 - kim"));
        QCOMPARE(s.state.Scorelijst.entries(), (QStringList{"00017 - piet", "00040 - kim"}));
        QCOMPARE(s.count(), QStringLiteral("2 namen in lijst"));
        // Nothing is selected afterwards: a second Verwijderen must not take another child's score.
        s.window->DelKnop_Click();
        QCOMPARE(s.fakes.dialogs.said.last(), selectFirst);
        s.list()->setCurrentRow(0);
        s.window->DelKnop_Click();
        QCOMPARE(s.count(), QStringLiteral("1 naam in lijst"));
    }

    void printedPage()
    {
        Scores s({"00010 - ann", "00042 - jan", "00035 - piet"});
        s.fakes.dialogs.answers = {Dialogs::Answer::No};
        s.window->PrintKnop_Click();
        QVERIFY(s.fakes.printer.documents().empty());
        s.window->PrintKnop_Click();
        QCOMPARE(s.fakes.dialogs.said, QStringList(2, QStringLiteral(" Print|Wil je nu de Score-lijst afdrukken?")));
        // What the window shows, best first.
        QCOMPARE(s.fakes.printer.texts().back().text, QStringLiteral("Op de 3e plaats staat... ann met 10 punten."));
        // The places start at 1200 twips, with an empty line after the 9th and after the 99th.
        RecordingPrinter tall(1000000);
        ScoreEntry::print(tall, QStringList(100, QStringLiteral("00042 - jan")));
        QVERIFY(tall.endDocument());
        const auto printed = tall.texts();
        QCOMPARE(int(printed.size()), 101);
        QCOMPARE(printed[0].text, QStringLiteral("   Score-lijst Tuurbord"));
        QCOMPARE(printed[1].text, QStringLiteral("Op de 1e plaats staat... jan met 42 punten."));
        const RecordingPrinter::Font heading{QStringLiteral("Arial"), 14, true};
        const RecordingPrinter::Font body{QStringLiteral("Arial"), 12, false};
        QCOMPARE(printed[0].at, QPoint(0, RecordingPrinter::lineHeight(heading)));
        QVERIFY(printed[0].font == heading && printed[0].color == QColor(192, 0, 0));
        QVERIFY(printed[100].font == body && printed[100].color == QColor(60, 60, 60));
        const int line = RecordingPrinter::lineHeight(body);
        for (int place = 1, gaps = 0; place <= 100; gaps += place == 9 || place == 99, ++place)
            QCOMPARE(printed[size_t(place)].at, QPoint(300, 1200 + (place - 1 + gaps) * line));
    }
};

QTEST_MAIN(TestScores)
#include "tst_scores.moc"
