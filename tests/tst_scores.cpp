#include "platform/Desktop.h"
#include "scores/Oplossing.h"
#include "scores/ScoreEntry.h"
#include "scores/ScoreForm.h"
#include "support/Fakes.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {
struct Guess
{
    explicit Guess(const QString &word, int score = 17) : state(QString()), fakes(state)
    {
        state.Woord = word;
        state.Score = score;
        state.SpelBezig = true;
        window = std::make_unique<Oplossing>(state, fakes.services);
        QObject::connect(window.get(), &Oplossing::wordCleared, [this] { ++cleared; });
        QObject::connect(window.get(), &Oplossing::gameEnded, [this] { ++enabled; });
        window->show();
    }
    void type(const QString &text) const
    {
        auto *edit = window->findChild<QLineEdit *>(QStringLiteral("Text1"));
        edit->clear();
        QTest::keyClicks(edit, text);
    }
    void click(const char *button) const
    {
        QTest::mouseClick(window->findChild<QPushButton *>(QString::fromLatin1(button)), Qt::LeftButton);
    }
    QString label2() const { return window->findChild<QLabel *>(QStringLiteral("Label2"))->text(); }

    ProgramState state;
    FakeServices fakes;
    std::unique_ptr<Oplossing> window;
    int cleared = 0;
    int enabled = 0;
};

struct Scores
{
    explicit Scores(const QStringList &entries) : state(QString()), fakes(state)
    {
        for (const QString &entry : entries)
            state.Scorelijst.insert(entry);
        window = std::make_unique<ScoreForm>(state, fakes.services);
        QObject::connect(window.get(), &ScoreForm::infoRegel, [this](const QString &text) { info = text; });
        window->show();
    }
    QListWidget *list() const { return window->findChild<QListWidget *>(QStringLiteral("List1")); }
    QStringList shown() const
    {
        QStringList rows;
        for (int i = 0; i < list()->count(); ++i)
            rows << list()->item(i)->text();
        return rows;
    }
    QString count() const { return window->findChild<QLabel *>(QStringLiteral("Label1"))->text(); }

    ProgramState state;
    FakeServices fakes;
    std::unique_ptr<ScoreForm> window;
    QString info;
};

QStringList printedTexts(const RecordingPrinter &printer)
{
    QStringList texts;
    for (const auto &text : printer.texts())
        texts << text.text;
    return texts;
}
}

class TestScores : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { Desktop::installFontSubstitutes(); }
    void entryForm_data();
    void entryForm();
    void entryParts_data();
    void entryParts();
    void answers_data();
    void answers();
    void rightAnswerFlashesAndCloses();
    void wrongAnswerEndsTheGame_data();
    void wrongAnswerEndsTheGame();
    void exitWhileLookingKeepsTheGame();
    void clicksDuringFlashesAreIgnored();
    void titleBarCloseActsAsExit();
    void scoreWindowShowsBestFirst();
    void deletingEntries();
    void deleteWithoutSelection();
    void printLayout();
    void printEmptyLines_data();
    void printEmptyLines();
};

void TestScores::entryForm_data()
{
    QTest::addColumn<int>("score");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("entry");
    QTest::newRow("zero") << 0 << "Piet" << "00000 - piet";
    QTest::newRow("two digits") << 17 << "Piet" << "00017 - piet";
    QTest::newRow("three digits") << 123 << "a" << "00123 - a";
    QTest::newRow("four digits") << 4567 << "a" << "04567 - a";
    QTest::newRow("five digits") << 12345 << "a" << "12345 - a";
    QTest::newRow("six digits") << 123456 << "a" << "123456 - a";
    QTest::newRow("trailing blanks go") << 42 << "Jan  " << "00042 - jan";
    QTest::newRow("leading blanks stay") << 42 << " jan" << "00042 -  jan";
    QTest::newRow("accents lower-cased") << 5 << QStringLiteral("JOS\u00c9 M\u00dcLLER") << QStringLiteral("00005 - jos\u00e9 m\u00fcller");
    QTest::newRow("quote becomes apostrophe") << 5 << "de \"baas\"" << "00005 - de 'baas'";
    QTest::newRow("line breaks become blanks") << 5 << "a\nb\r\tc" << "00005 - a b  c";
    QTest::newRow("outside the code page") << 5 << QStringLiteral("\u0141ukasz") << "00005 - ?ukasz";
    QTest::newRow("comma kept") << 5 << "jan, piet" << "00005 - jan, piet";
    QTest::newRow("long name cut") << 1 << QString(300, QLatin1Char('x')) << "00001 - " + QString(100, QLatin1Char('x'));
}

void TestScores::entryForm()
{
    QFETCH(int, score);
    QFETCH(QString, name);
    QTEST(ScoreEntry::form(score, name), "entry");
}

void TestScores::entryParts_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("points");
    QTest::newRow("plain") << "00042 - jan" << "jan" << "42";
    QTest::newRow("zero") << "00000 - jan" << "jan" << "0";
    QTest::newRow("empty name") << "00042 - " << "" << "42";
    QTest::newRow("dash in name") << "00007 - jan - piet" << "jan - piet" << "7";
    QTest::newRow("six digits") << "123456 - kim" << "kim" << "123456";
    // A hand-edited list may hold any number: it prints as it stands, never as 0 or negative.
    QTest::newRow("too large for 64 bits") << "000123456789012345678901 - x" << "x" << "123456789012345678901";
    QTest::newRow("no number") << "abcde - y" << "y" << "0";
}

void TestScores::entryParts()
{
    QFETCH(QString, entry);
    QTEST(ScoreEntry::name(entry), "name");
    QTEST(ScoreEntry::points(entry), "points");
}

void TestScores::answers_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("right");
    QTest::newRow("same") << "fiets" << "fiets" << true;
    QTest::newRow("other case") << "fiets" << "FIETS" << true;
    QTest::newRow("word in capitals") << "Fiets" << "fiets" << true;
    QTest::newRow("trailing blank") << "fiets" << "fiets " << false;
    QTest::newRow("leading blank") << "fiets" << " fiets" << false;
    QTest::newRow("empty") << "fiets" << "" << false;
    QTest::newRow("accent counts") << QStringLiteral("caf\u00e9") << "cafe" << false;
    QTest::newRow("blank inside") << "rode bal" << "RODE BAL" << true;
}

void TestScores::answers()
{
    QFETCH(QString, word);
    QFETCH(QString, typed);
    QTEST(Oplossing::isRight(typed, word), "right");
}

void TestScores::rightAnswerFlashesAndCloses()
{
    Guess g(QStringLiteral("fiets"));
    auto *edit = g.window->findChild<QLineEdit *>(QStringLiteral("Text1"));
    QStringList seen;
    g.fakes.waiter.onWait = [&](double seconds) {
        Q_UNUSED(seconds);
        seen << edit->palette().color(QPalette::Base).name() + QLatin1Char(' ') + edit->text();
    };
    g.type(QStringLiteral("Fiets"));
    g.click("OkKnop");
    const QStringList flash{"#00fa00 Het antwoord is goed geraden...", "#c8d2dc "};
    QCOMPARE(seen, flash + flash + flash);
    QVERIFY(!g.window->findChild<QPushButton *>(QStringLiteral("CancelKnop"))->isEnabled());
    QCOMPARE(g.window->result(), int(QDialog::Accepted));
    QVERIFY(!g.window->isVisible());
}

void TestScores::wrongAnswerEndsTheGame_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("list");
    QTest::newRow("with a name") << "Piet" << QStringList{"00017 - piet"};
    QTest::newRow("empty name adds nothing") << "" << QStringList{};
}

void TestScores::wrongAnswerEndsTheGame()
{
    QFETCH(QString, name);
    QFETCH(QStringList, list);
    Guess g(QStringLiteral("fiets"));
    g.type(QStringLiteral("fietz"));
    g.click("OkKnop");
    QVERIFY(!g.window->findChild<QPushButton *>(QStringLiteral("OkKnop"))->isEnabled());
    QCOMPARE(g.label2(), QStringLiteral("Typ hierboven jouw naam in en druk op knop Exit"));
    QCOMPARE(g.state.Woord, QString());
    QCOMPARE(g.cleared, 1);
    QCOMPARE(QApplication::focusWidget(), g.window->findChild<QLineEdit *>(QStringLiteral("Text1")));
    QVERIFY(g.window->isVisible());
    g.type(name);
    g.click("CancelKnop");
    QCOMPARE(g.state.Scorelijst.entries(), list);
    QCOMPARE(g.enabled, 1);
    QVERIFY(!g.window->isVisible());
}

void TestScores::exitWhileLookingKeepsTheGame()
{
    Guess g(QStringLiteral("fiets"));
    g.type(QStringLiteral("iets"));
    g.click("CancelKnop");
    QVERIFY(g.state.SpelBezig);
    QCOMPARE(g.state.Woord, QStringLiteral("fiets"));
    QCOMPARE(g.state.Scorelijst.count(), 0);
    QCOMPARE(g.enabled, 0);
    QVERIFY(!g.window->isVisible());
}

void TestScores::clicksDuringFlashesAreIgnored()
{
    Guess g(QStringLiteral("fiets"));
    g.fakes.waiter.onWait = [&](double) {
        g.click("OkKnop");
        g.click("CancelKnop");
        g.window->close();
    };
    g.type(QStringLiteral("fout"));
    g.click("OkKnop");
    QCOMPARE(g.fakes.waiter.calls, 6);
    QVERIFY(g.window->isVisible());
    QCOMPARE(g.label2(), QStringLiteral("Typ hierboven jouw naam in en druk op knop Exit"));
    QCOMPARE(g.state.Scorelijst.count(), 0);
}

void TestScores::titleBarCloseActsAsExit()
{
    Guess g(QStringLiteral("fiets"));
    g.type(QStringLiteral("fout"));
    g.click("OkKnop");
    g.type(QStringLiteral("Kim"));
    g.window->close();
    QVERIFY(!g.window->isVisible());
    QCOMPARE(g.state.Scorelijst.entries(), QStringList{"00017 - kim"});
    QCOMPARE(g.enabled, 1);
}

void TestScores::scoreWindowShowsBestFirst()
{
    Scores s({"00042 - jan", "00010 - ann", "00035 - piet", "00035 - bob", "00035 - ann"});
    QCOMPARE(s.shown(), (QStringList{"00042 - jan", "00035 - piet", "00035 - bob", "00035 - ann", "00010 - ann"}));
    QCOMPARE(s.count(), QStringLiteral("5 namen in de scorelijst"));
    QCOMPARE(Scores({"00001 - a"}).count(), QStringLiteral("1 naam in de scorelijst"));
    QCOMPARE(Scores({}).count(), QStringLiteral("0 namen in de scorelijst"));
}

void TestScores::deletingEntries()
{
    Scores s({"00017 - piet", "00017 - piet", "00030 - ann", "00040 - kim"});
    s.list()->setCurrentRow(2);
    s.fakes.dialogs.answers = {Dialogs::Answer::No};
    s.window->DelKnop_Click();
    QCOMPARE(s.fakes.dialogs.shown.back().text, QStringLiteral("Wil je piet verwijderen uit de lijst?"));
    QCOMPARE(s.fakes.dialogs.shown.back().title, QStringLiteral(" Delete"));
    QCOMPARE(s.list()->count(), 4);

    s.window->DelKnop_Click(); // answered Yes
    QCOMPARE(s.info, QStringLiteral("00017 - piet /  2"));
    // Nothing is selected afterwards: a second Verwijderen must not take another child's score.
    QVERIFY(s.list()->selectedItems().isEmpty());
    s.window->DelKnop_Click();
    QCOMPARE(s.fakes.dialogs.shown.back().text, QStringLiteral("Eerst een naam selecteren..."));
    QCOMPARE(s.shown(), (QStringList{"00040 - kim", "00030 - ann", "00017 - piet"}));
    QCOMPARE(s.state.Scorelijst.entries(), (QStringList{"00017 - piet", "00030 - ann", "00040 - kim"}));
    QCOMPARE(s.count(), QStringLiteral("3 namen in lijst"));

    for (int left : {2, 1, 0}) {
        s.list()->setCurrentRow(0);
        s.window->DelKnop_Click();
        QCOMPARE(s.state.Scorelijst.count(), left);
    }
    QCOMPARE(s.count(), QStringLiteral("0 namen in lijst"));
    Scores two({"00001 - a", "00002 - b"});
    two.list()->setCurrentRow(1);
    two.window->DelKnop_Click();
    QCOMPARE(two.count(), QStringLiteral("1 naam in lijst"));
}

void TestScores::deleteWithoutSelection()
{
    Scores s({"00017 - piet"});
    s.window->DelKnop_Click();
    QCOMPARE(s.fakes.dialogs.shown.size(), size_t(2));
    QCOMPARE(s.fakes.dialogs.shown[0].text, QStringLiteral("Wil je ... verwijderen uit de lijst?"));
    QCOMPARE(s.fakes.dialogs.shown[1].text, QStringLiteral("Eerst een naam selecteren..."));
    QCOMPARE(s.fakes.dialogs.shown[1].title, QStringLiteral(" Foutje"));
    QCOMPARE(s.list()->count(), 1);
    QCOMPARE(s.state.Scorelijst.count(), 1);
}

void TestScores::printLayout()
{
    Scores s({"00010 - ann", "00042 - jan", "00035 - piet"});
    s.fakes.dialogs.answers = {Dialogs::Answer::No};
    s.window->PrintKnop_Click();
    QVERIFY(s.fakes.printer.documents().empty());
    s.window->PrintKnop_Click();
    QCOMPARE(s.fakes.dialogs.shown.back().text, QStringLiteral("Wil je nu de Score-lijst afdrukken?"));
    QCOMPARE(s.fakes.dialogs.shown.back().title, QStringLiteral(" Print"));
    const auto texts = s.fakes.printer.texts();
    QCOMPARE(printedTexts(s.fakes.printer),
             (QStringList{"   Score-lijst Tuurbord", "Op de 1e plaats staat... jan met 42 punten.",
                          "Op de 2e plaats staat... piet met 35 punten.", "Op de 3e plaats staat... ann met 10 punten."}));
    const RecordingPrinter::Font heading{QStringLiteral("Arial"), 14, true};
    const RecordingPrinter::Font body{QStringLiteral("Arial"), 12, false};
    QCOMPARE(texts[0].at, QPoint(0, RecordingPrinter::lineHeight(heading)));
    QVERIFY(texts[0].font == heading);
    QCOMPARE(texts[0].color, QColor(192, 0, 0));
    for (int i = 1; i <= 3; ++i) {
        QCOMPARE(texts[i].at, QPoint(300, 1200 + (i - 1) * RecordingPrinter::lineHeight(body)));
        QVERIFY(texts[i].font == body);
        QCOMPARE(texts[i].color, QColor(60, 60, 60));
    }
}

void TestScores::printEmptyLines_data()
{
    QTest::addColumn<int>("entries");
    QTest::addColumn<QList<int>>("gapsAfter"); // places followed by an empty line
    QTest::newRow("empty list") << 0 << QList<int>{};
    QTest::newRow("nine") << 9 << QList<int>{9};
    QTest::newRow("twelve") << 12 << QList<int>{9};
    QTest::newRow("hundred and one") << 101 << QList<int>{9, 99};
}

void TestScores::printEmptyLines()
{
    QFETCH(int, entries);
    QFETCH(QList<int>, gapsAfter);
    RecordingPrinter printer(1000000); // one tall page
    QStringList list;
    for (int i = 0; i < entries; ++i)
        list << QStringLiteral("%1 - p%2").arg(entries - i, 5, 10, QLatin1Char('0')).arg(i + 1);
    ScoreEntry::print(printer, list);
    QVERIFY(printer.endDocument());
    const auto texts = printer.texts();
    QCOMPARE(int(texts.size()), entries + 1);
    const int line = RecordingPrinter::lineHeight({QStringLiteral("Arial"), 12, false});
    int gaps = 0;
    for (int place = 1; place <= entries; ++place) {
        QCOMPARE(texts[size_t(place)].at.y(), 1200 + (place - 1 + gaps) * line);
        if (gapsAfter.contains(place))
            ++gaps;
    }
}

QTEST_MAIN(TestScores)
#include "tst_scores.moc"
