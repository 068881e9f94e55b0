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
#include <QSignalSpy>
#include <QTest>

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
        QTest::newRow("zero, lower case, outside the code page")
            << 0 << "JOS\u00c9 \u0141UKASZ" << "00000 - jos\u00e9 ?ukasz" << "jos\u00e9 ?ukasz|0";
        QTest::newRow("six digits, dash in name") << 123456 << "a - b" << "123456 - a - b" << "a - b|123456";
        // Quotes and control characters would break the score-list file.
        QTest::newRow("blanks, quote, comma, line breaks")
            << 42 << " Jan \"baas\", a\nb\r\tc \n" << "00042 -  jan 'baas', a b  c" << " jan 'baas', a b  c|42";
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
        QTest::newRow("trailing blank is wrong, empty name adds nothing") << "fiets " << "" << false << QStringList{};
        QTest::newRow("part of the word, title bar acts as Exit") << "fiet" << "Kim" << true << QStringList{"00017 - kim"};
        QTest::newRow("Exit while looking keeps the game") << QString() << "iets" << false << QStringList{};
    }

    // The guess window in a running game with the word "fiets" and 17 points.
    void guess()
    {
        QFETCH(QString, typed);
        QFETCH(QString, name);
        WindowFixture<Oplossing> g;
        g.state.Woord = QStringLiteral("fiets");
        g.state.Score = 17;
        g.state.SpelBezig = true;
        g.open();
        QLineEdit *edit = g.find<QLineEdit>("Text1");
        const auto click = [&](const char *button) { QTest::mouseClick(g.find(button), Qt::LeftButton); };
        QSignalSpy ended(g.window.get(), &Oplossing::gameEnded);
        // The name box as "colour text|" at each pause of a flash. Clicks on both buttons and on the
        // title bar's close during a flash must all be ignored.
        QString flashes;
        g.fakes.waiter.onWait = [&](double) {
            flashes += edit->palette().color(QPalette::Base).name() + QLatin1Char(' ') + edit->text() + QLatin1Char('|');
            click("OkKnop");
            click("CancelKnop");
            g.window->close();
        };
        const bool lost = !typed.isNull() && !name.isNull();
        if (!typed.isNull()) {
            edit->setText(typed);
            click("OkKnop");
        }
        const QString flash = name.isNull() ? QStringLiteral("#00fa00 Het antwoord is goed geraden...|#c8d2dc |")
                                            : QStringLiteral("#fa5a00 Het antwoord is helaas fout...|#c8d2dc |");
        QCOMPARE(flashes, typed.isNull() ? QString() : flash.repeated(3));
        QCOMPARE(g.find("OkKnop")->isEnabled(), !lost);
        QCOMPARE(g.find<QLabel>("Label2")->text(), lost ? QStringLiteral("Typ hierboven jouw naam in en druk op knop Exit")
                                                         : QStringLiteral("Typ de naam van het plaatje in en druk op de knop Ok"));
        QVERIFY(!lost || QApplication::focusWidget() == edit); // taken away by the disabled Ok button
        QTest::keyClicks(edit, name);
        if (QFETCH(bool, titleBar); titleBar)
            g.window->close();
        else if (!name.isNull())
            click("CancelKnop");
        QCOMPARE(ended.count(), int(lost));
        QTEST(g.state.Scorelijst.entries(), "list");
        QCOMPARE(g.state.SpelBezig, !lost);
        QVERIFY(!g.window->isVisible());
    }

    // The score-list window, best first: deleting asks first and leaves nothing selected, printing asks too.
    void scoreList()
    {
        WindowFixture<ScoreForm> s;
        for (const char *entry : {"00017 - piet", "00040 - kim", "00017 - piet"})
            s.state.Scorelijst.insert(QString::fromLatin1(entry));
        s.open();
        QCOMPARE(s.find<QLabel>("Label1")->text(), QStringLiteral("3 namen in de scorelijst"));
        // Focus from the keyboard makes an entry the current one without selecting it: that is no choice.
        s.find<QListWidget>("List1")->setCurrentRow(0, QItemSelectionModel::NoUpdate);
        s.window->DelKnop_Click();
        const QString selectFirst = QStringLiteral(" Foutje|Eerst een naam selecteren...");
        QCOMPARE(s.fakes.dialogs.said, (QStringList{" Delete|Wil je ... verwijderen uit de lijst?", selectFirst}));
        s.find<QListWidget>("List1")->setCurrentRow(2);
        s.fakes.dialogs.answers = {Dialogs::Answer::No};
        s.window->DelKnop_Click();
        QCOMPARE(s.fakes.dialogs.said.last(), QStringLiteral(" Delete|Wil je piet verwijderen uit de lijst?"));
        s.window->DelKnop_Click(); // answered Yes
        QCOMPARE(s.state.Scorelijst.entries(), (QStringList{"00017 - piet", "00040 - kim"}));
        QCOMPARE(s.find<QLabel>("Label1")->text(), QStringLiteral("2 namen in lijst"));
        // Nothing is selected afterwards: a second Verwijderen must not take another child's score.
        s.window->DelKnop_Click();
        QCOMPARE(s.fakes.dialogs.said.last(), selectFirst);
        // Printed as the list shows them, under the heading.
        s.fakes.dialogs.answers = {Dialogs::Answer::No};
        s.window->PrintKnop_Click();
        QCOMPARE(s.fakes.dialogs.said.last(), QStringLiteral(" Print|Wil je nu de Score-lijst afdrukken?"));
        QVERIFY(s.fakes.printer.documents().empty());
        s.window->PrintKnop_Click(); // answered Yes
        const auto printed = s.fakes.printer.texts();
        QCOMPARE(printed.size(), size_t(3));
        QCOMPARE(printed[0].text + '|' + printed[2].text,
                 QStringLiteral("   Score-lijst Tuurbord|Op de 2e plaats staat... piet met 17 punten."));
        QCOMPARE(printed[2].at, QPoint(300, 1200 + RecordingPrinter::lineHeight({QStringLiteral("Arial"), 12, false})));
        s.find<QListWidget>("List1")->setCurrentRow(0);
        s.window->DelKnop_Click();
        QCOMPARE(s.find<QLabel>("Label1")->text(), QStringLiteral("1 naam in lijst"));
    }
};

QTEST_MAIN(TestScores)
#include "tst_scores.moc"
