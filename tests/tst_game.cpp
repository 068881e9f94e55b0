// The rules of a game without any window: which picture comes, its word, the boxes, the score.
#include "core/ProgramState.h"
#include "game/Spel.h"
#include "platform/Random.h"
#include "support/TestFolder.h"

#include <QRegularExpression>
#include <QTest>

#include <set>

namespace {
struct Game
{
    explicit Game(const TestFolder &folder) : state(folder.path()) {}
    // The words of the first boards of a new game; a "!" marks a board whose picture is not
    // the one of its word.
    QStringList boards(int count)
    {
        QStringList words;
        for (bool on = spel.nieuwSpel() == Spel::Start::Started; on; on = words.size() < count && spel.goedGeraden()) {
            const QStringList file = spel.plaatjes().filter(QRegularExpression(QStringLiteral("^") + state.Woord + QStringLiteral("\\....$")));
            words << state.Woord + (file.size() == 1 && TestFolder::shows(state.Plaatje, file[0]) ? QString() : QStringLiteral("!"));
        }
        return words;
    }
    ProgramState state;
    Random random{12345};
    Spel spel{state, random};
};

int openBoxes(const ProgramState &state)
{
    int open = 0;
    for (int n = 1; n <= 35; ++n)
        open += state.Geopend[size_t(n)];
    return open;
}
}

class TestGame : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void boards_data()
    {
        QTest::addColumn<bool>("random");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("words");
        QTest::newRow("list order wraps around")
            << false << QStringList{"c.jpg", "A.jpg", "b.jpg"} << QStringList{"A", "b", "c", "A", "b"};
        QTest::newRow("random with one picture") << true << QStringList{"bal.jpg"} << QStringList(5, QStringLiteral("bal"));
        QTest::newRow("upper-case extension") << false << QStringList{"Fiets.JPG"} << QStringList{"Fiets"};
        QTest::newRow("blank inside") << false << QStringList{"rode bal.gif"} << QStringList{"rode bal"};
        QTest::newRow("other files are no pictures")
            << false << QStringList{"lees mij.txt", "kast.bmp", "foto.png"} << QStringList{"kast", "kast"};
        // A file that cannot be read is passed over, in both orders: the word is the picture's.
        QTest::newRow("unreadable passed over in order")
            << false << QStringList{"a.jpg", "kapot.jpg", "c.gif"} << QStringList{"a", "c", "a", "c"};
        QTest::newRow("unreadable passed over at random")
            << true << QStringList{"kapot.jpg", "kapot2.bmp", "goed.gif"} << QStringList(4, QStringLiteral("goed"));
    }

    void boards()
    {
        QFETCH(bool, random);
        QFETCH(QStringList, files);
        QFETCH(QStringList, words);
        TestFolder folder;
        folder.makeSubject(QStringLiteral("gebruiksvoorwerpen"), files);
        for (const QString &broken : files.filter(QStringLiteral("kapot")))
            folder.write(QStringLiteral("plaatjes/gebruiksvoorwerpen/") + broken, "geen plaatje");
        Game game(folder);
        game.state.Willekeurig = random;
        QCOMPARE(game.boards(int(words.size())), words);
        QCOMPARE(game.state.Score, 35 + 35 * int(words.size() - 1));
        // A new game starts the list again, from 35.
        QCOMPARE(game.boards(1), words.mid(0, 1));
        QCOMPARE(game.state.Score, 35);
        QCOMPARE(Spel::hint(game.state.Woord), QStringLiteral("Woord van %1 letters").arg(words.first().size()));
    }

    void noGameStarts_data()
    {
        QTest::addColumn<QString>("subject"); // as stored in the settings
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<Spel::Start>("start");
        QTest::newRow("missing folder") << "vogels" << QStringList{} << Spel::Start::FolderMissing;
        QTest::newRow("empty folder") << "leeg" << QStringList{} << Spel::Start::NoPictures;
        QTest::newRow("nothing readable") << "leeg" << QStringList{"kapot.jpg", "notities.txt"} << Spel::Start::NoPictures;
        // A hand-edited settings file must not make the game read folders outside plaatjes.
        QTest::newRow("climbs out") << "../buiten" << QStringList{} << Spel::Start::FolderMissing;
        QTest::newRow("absolute path") << "/buiten" << QStringList{} << Spel::Start::FolderMissing;
    }

    void noGameStarts()
    {
        QFETCH(QString, subject);
        QFETCH(QStringList, files);
        TestFolder folder;
        folder.makeSubject(QStringLiteral("dieren"), {"aap.jpg"});
        folder.makeSubject(QStringLiteral("leeg"), files);
        for (const QString &broken : files.filter(QStringLiteral("kapot")))
            folder.write(QStringLiteral("plaatjes/leeg/") + broken, "geen plaatje");
        folder.makeSubject(QStringLiteral("../buiten"), {"buiten.jpg"});
        Game game(folder);
        game.state.Onderwerp = QStringLiteral("dieren");
        QCOMPARE(game.spel.nieuwSpel(), Spel::Start::Started);
        QCOMPARE(game.spel.openVakje() > 0, true);
        const QImage picture = game.state.Plaatje;

        game.state.Onderwerp = subject.startsWith(QLatin1Char('/')) ? folder.file(QStringLiteral("buiten")) : subject;
        QTEST(game.spel.nieuwSpel(), "start");
        // The running game is left exactly as it was.
        QCOMPARE(QStringLiteral("%1 %2 %3 %4").arg(game.state.Score).arg(game.state.Woord).arg(game.state.AantalOpen).arg(game.state.SpelBezig),
                 QStringLiteral("34 aap 1 1"));
        QCOMPARE(game.state.Plaatje, picture);
        game.state.Onderwerp = QStringLiteral("dieren");
        QVERIFY(game.spel.goedGeraden());
        QCOMPARE(game.state.Woord, QStringLiteral("aap"));
    }

    void openingEveryBox()
    {
        TestFolder folder;
        folder.makeSubject(QStringLiteral("gebruiksvoorwerpen"), {"fiets.jpg"});
        Game game(folder);
        QCOMPARE(game.spel.nieuwSpel(), Spel::Start::Started);
        std::set<int> opened;
        for (int i = 1; i <= 35; ++i) {
            const int n = game.spel.openVakje();
            QVERIFY(n >= 1 && n <= 35);
            QVERIFY2(opened.insert(n).second, "a box was opened twice");
            QCOMPARE(int(game.state.AantalOpen), i);
            QCOMPARE(openBoxes(game.state), i);
            QCOMPARE(game.state.Score, 35 - i);
        }
        QCOMPARE(game.spel.openVakje(), 0);
        QCOMPARE(game.state.Score, 0);
        QCOMPARE(int(game.state.AantalOpen), 35);
        // A right guess closes every box and adds 35.
        QVERIFY(game.spel.goedGeraden());
        QCOMPARE(openBoxes(game.state), 0);
        QCOMPARE(int(game.state.AantalOpen), 0);
        QCOMPARE(game.state.Score, 35);
        QVERIFY(!game.state.Geraden);
    }
};

QTEST_GUILESS_MAIN(TestGame)
#include "tst_game.moc"
