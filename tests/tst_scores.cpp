// A score entry, the guess window that records it and the score-list window that shows, deletes
// and prints the entries.
#include "platform/Desktop.h"
#include "scores/Oplossing.h"
#include "scores/ScoreEntry.h"
#include "scores/ScoreForm.h"
#include "support/WindowFixture.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace {
// The guess window in a running game with the word "fiets" and 17 points.
struct Guess : WindowFixture<Oplossing>
{
    Guess()
    {
        state.Woord = QStringLiteral("fiets");
        state.Score = 17;
        state.SpelBezig = true;
        open();
        QObject::connect(window.get(), &Oplossing::wordCleared, [this] { ++cleared; });
        QObject::connect(window.get(), &Oplossing::gameEnded, [this] { ++ended; });
        // Each pause of a flash: the name box as "colour text", then clicks on both buttons and on
        // the title bar's close, which must all be ignored.
        fakes.waiter.onWait = [this](double) {
            flashes << edit()->palette().color(QPalette::Base).name() + QLatin1Char(' ') + edit()->text();
            click("OkKnop");
            click("CancelKnop");
            window->close();
        };
    }
    QLineEdit *edit() const { return find<QLineEdit>("Text1"); }
    void click(const char *button) const { QTest::mouseClick(find(button), Qt::LeftButton); }
    void type(const QString &text) const { edit()->clear(); QTest::keyClicks(edit(), text); }

    QStringList flashes;
    int cleared = 0;
    int ended = 0;
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
    QStringList shown() const
    {
        QStringList rows;
        for (int i = 0; i < find<QListWidget>("List1")->count(); ++i)
            rows << find<QListWidget>("List1")->item(i)->text();
        return rows;
    }
    void select(int row) const { find<QListWidget>("List1")->setCurrentRow(row); }

    QString info;
};
}

class TestScores : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { Desktop::installFontSubstitutes(); }

    void entries_data()
    {
        QTest::addColumn<int>("score"); // -1: an entry as a hand-edited list may hold it, not formed here
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("parts"); // name|points, as printed
        const QString x100(100, QLatin1Char('x'));
        QTest::newRow("zero") << 0 << "Piet" << "00000 - piet" << "piet|0";
        QTest::newRow("six digits") << 123456 << "a" << "123456 - a" << "a|123456";
        QTest::newRow("trailing blanks go, leading stay") << 42 << " Jan  " << "00042 -  jan" << " jan|42";
        QTest::newRow("accents lower-cased") << 5 << QStringLiteral("JOS\u00c9") << QStringLiteral("00005 - jos\u00e9") << QStringLiteral("jos\u00e9|5");
        QTest::newRow("quote, comma, line breaks") << 5 << "de \"baas\", a\nb\r\tc" << "00005 - de 'baas', a b  c" << "de 'baas', a b  c|5";
        QTest::newRow("outside the code page") << 5 << QStringLiteral("\u0141ukasz") << "00005 - ?ukasz" << "?ukasz|5";
        QTest::newRow("dash in name") << 7 << "jan - piet" << "00007 - jan - piet" << "jan - piet|7";
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
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("name"); // typed after a wrong guess; null: the guess was right
        QTest::addColumn<bool>("titleBar"); // closed with the title bar's close instead of Exit
        QTest::addColumn<QStringList>("list");
        QTest::newRow("right in another case") << "fIETS" << QString() << false << QStringList{};
        QTest::newRow("trailing blank is wrong") << "fiets " << "Piet" << false << QStringList{"00017 - piet"};
        QTest::newRow("accent is wrong, empty name adds nothing") << QStringLiteral("fi\u00e9ts") << "" << false << QStringList{};
        QTest::newRow("part of the word, title bar close acts as Exit") << "fiet" << "Kim" << true << QStringList{"00017 - kim"};
    }

    void guess()
    {
        QFETCH(QString, typed);
        QFETCH(QString, name);
        Guess g;
        g.edit()->setText(typed);
        g.click("OkKnop");
        const QStringList flash = name.isNull() ? QStringList{"#00fa00 Het antwoord is goed geraden...", "#c8d2dc "}
                                                : QStringList{"#fa5a00 Het antwoord is helaas fout...", "#c8d2dc "};
        QCOMPARE(g.flashes, flash + flash + flash);
        QCOMPARE(g.state.Geraden, name.isNull());
        if (name.isNull()) {
            QVERIFY(!g.find("CancelKnop")->isEnabled());
            QCOMPARE(g.cleared + g.ended, 0);
            QCOMPARE(g.window->result(), int(QDialog::Accepted));
            QVERIFY(!g.window->isVisible());
            return;
        }
        QVERIFY(!g.find("OkKnop")->isEnabled());
        QCOMPARE(g.find<QLabel>("Label2")->text(), QStringLiteral("Typ hierboven jouw naam in en druk op knop Exit"));
        QCOMPARE(QStringLiteral("%1 '%2' %3 %4").arg(g.state.SpelBezig).arg(g.state.Woord).arg(g.cleared).arg(g.ended), QStringLiteral("0 '' 1 0"));
        QCOMPARE(QApplication::focusWidget(), g.edit());
        g.type(name);
        if (QFETCH(bool, titleBar); titleBar)
            g.window->close();
        else
            g.click("CancelKnop");
        QTEST(g.state.Scorelijst.entries(), "list");
        QCOMPARE(g.ended, 1);
        QVERIFY(!g.window->isVisible());
    }

    void exitWhileLookingKeepsTheGame()
    {
        Guess g;
        g.type(QStringLiteral("iets"));
        g.click("CancelKnop");
        QVERIFY(g.state.SpelBezig);
        QCOMPARE(g.state.Woord, QStringLiteral("fiets"));
        QCOMPARE(g.state.Scorelijst.count() + g.ended, 0);
        QVERIFY(!g.window->isVisible());
    }

    void deleting()
    {
        Scores s({"00017 - piet", "00040 - kim", "00017 - piet", "00035 - Ann"});
        QCOMPARE(s.shown(), (QStringList{"00040 - kim", "00035 - Ann", "00017 - piet", "00017 - piet"}));
        QCOMPARE(s.count(), QStringLiteral("4 namen in de scorelijst"));
        const QString selectFirst = QStringLiteral(" Foutje|Eerst een naam selecteren...");
        // Focus from the keyboard makes an entry the current one without selecting it: that is no choice.
        s.find<QListWidget>("List1")->setCurrentRow(0, QItemSelectionModel::NoUpdate);
        s.window->DelKnop_Click();
        QCOMPARE(s.fakes.dialogs.said(), (QStringList{" Delete|Wil je ... verwijderen uit de lijst?", selectFirst}));
        s.select(2);
        s.fakes.dialogs.answers = {Dialogs::Answer::No};
        s.window->DelKnop_Click();
        QCOMPARE(s.fakes.dialogs.said().last(), QStringLiteral(" Delete|Wil je piet verwijderen uit de lijst?"));
        QCOMPARE(s.shown().size(), 4);
        s.window->DelKnop_Click(); // answered Yes
        QCOMPARE(s.info, QStringLiteral("00017 - piet /  2"));
        QCOMPARE(s.shown(), (QStringList{"00040 - kim", "00035 - Ann", "00017 - piet"}));
        QCOMPARE(s.state.Scorelijst.entries(), (QStringList{"00017 - piet", "00035 - Ann", "00040 - kim"}));
        QCOMPARE(s.count(), QStringLiteral("3 namen in lijst"));
        // Nothing is selected afterwards: a second Verwijderen must not take another child's score.
        s.window->DelKnop_Click();
        QCOMPARE(s.fakes.dialogs.said().last(), selectFirst);
        for (int i = 0; i < 2; ++i) {
            s.select(0);
            s.window->DelKnop_Click();
        }
        QCOMPARE(s.count(), QStringLiteral("1 naam in lijst"));
    }

    void printedPage()
    {
        Scores s({"00010 - ann", "00042 - jan", "00035 - piet"});
        s.fakes.dialogs.answers = {Dialogs::Answer::No};
        s.window->PrintKnop_Click();
        QVERIFY(s.fakes.printer.documents().empty());
        s.window->PrintKnop_Click();
        QCOMPARE(s.fakes.dialogs.said(), QStringList(2, QStringLiteral(" Print|Wil je nu de Score-lijst afdrukken?")));
        QStringList texts;
        for (const auto &text : s.fakes.printer.texts())
            texts << text.text;
        QCOMPARE(texts, (QStringList{"   Score-lijst Tuurbord", "Op de 1e plaats staat... jan met 42 punten.",
                                     "Op de 2e plaats staat... piet met 35 punten.", "Op de 3e plaats staat... ann met 10 punten."}));
        // The places start at 1200 twips, with an empty line after the 9th and after the 99th.
        RecordingPrinter tall(1000000);
        ScoreEntry::print(tall, QStringList(100, QStringLiteral("00001 - p")));
        QVERIFY(tall.endDocument());
        const auto printed = tall.texts();
        QCOMPARE(int(printed.size()), 101);
        const RecordingPrinter::Font heading{QStringLiteral("Arial"), 14, true}, body{QStringLiteral("Arial"), 12, false};
        QCOMPARE(printed[0].at, QPoint(0, RecordingPrinter::lineHeight(heading)));
        QVERIFY(printed[0].font == heading && printed[0].color == QColor(192, 0, 0));
        for (int place = 1, gaps = 0; place <= 100; gaps += place == 9 || place == 99, ++place) {
            QCOMPARE(printed[size_t(place)].at, QPoint(300, 1200 + (place - 1 + gaps) * RecordingPrinter::lineHeight(body)));
            QVERIFY(printed[size_t(place)].font == body && printed[size_t(place)].color == QColor(60, 60, 60));
        }
    }
};

QTEST_MAIN(TestScores)
#include "tst_scores.moc"
