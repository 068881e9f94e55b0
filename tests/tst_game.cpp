// The rules of a game without any window: which picture comes, its word, the boxes, the score.
#include "core/ProgramState.h"
#include "game/Spel.h"
#include "platform/Random.h"
#include "support/TestFolder.h"

#include <QTest>

#include <algorithm>
#include <set>

namespace {
struct Game {
    TestFolder folder;
    ProgramState state{folder.path()};
    Random random{12345};
    Spel spel{state, random};
};
}

class TestGame : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void aGame_data()
    {
        QTest::addColumn<QString>("subject"); // chosen while a game runs, as stored in the settings
        QTest::addColumn<Spel::Start>("start");
        QTest::newRow("missing folder") << "vogels" << Spel::Start::FolderMissing;
        QTest::newRow("nothing readable") << "leeg" << Spel::Start::NoPictures;
        // A hand-edited settings file must not make the game read folders outside plaatjes.
        QTest::newRow("climbs out") << "../buiten" << Spel::Start::FolderMissing;
        QTest::newRow("absolute path") << "/buiten" << Spel::Start::FolderMissing; // below the program folder
    }

    void aGame()
    {
        QFETCH(QString, subject);
        Game game;
        game.folder.makeSubject(QStringLiteral("gebruiksvoorwerpen"), {"c d.gif", "B.JPG", "a.bmp", "e.txt"});
        game.folder.makeSubject(QStringLiteral("../buiten"), {"buiten.jpg"});
        for (const char *broken : {"gebruiksvoorwerpen/kapot.jpg", "leeg/kapot.jpg"})
            game.folder.write(QStringLiteral("plaatjes/") + QLatin1String(broken), "geen plaatje");
        game.state.Willekeurig = false;
        QCOMPARE(game.spel.nieuwSpel(), Spel::Start::Started);
        // In list order by name whatever the case, wrapping around, past the file that is no picture
        // and the one that cannot be read. The word is the file name without its extension.
        const QStringList boards{"a.bmp", "B.JPG", "c d.gif", "a.bmp", "B.JPG"};
        for (const QString &file : boards) {
            QCOMPARE(game.state.Woord, file.chopped(4));
            QVERIFY(TestFolder::shows(game.state.Plaatje, file));
            QCOMPARE(Spel::hint(game.state.Woord), QStringLiteral("Woord van %1 letters").arg(file.size() - 4));
            QVERIFY(game.spel.goedGeraden());
        }
        // 35 to start with and 35 for every right guess; every box opens once, for a point.
        std::set<int> opened;
        for (int i = 0; i < 35; ++i)
            opened.insert(game.spel.openVakje());
        QVERIFY(opened.size() == 35 && *opened.begin() == 1 && *opened.rbegin() == 35);
        QCOMPARE(game.spel.openVakje(), 0);
        QCOMPARE(game.state.Score, 35 * int(boards.size()));
        // A right guess closes every box.
        game.state.Geraden = true;
        QVERIFY(game.spel.goedGeraden());
        QVERIFY(game.state.Geopend == decltype(game.state.Geopend){} && !game.state.Geraden);

        // A new game starts the list again, from 35. A subject where no game can start leaves the
        // running game exactly as it was, and it goes on.
        QCOMPARE(game.spel.nieuwSpel(), Spel::Start::Started);
        QVERIFY(game.spel.openVakje() > 0);
        const QImage picture = game.state.Plaatje;
        game.state.Onderwerp = subject.startsWith(u'/') ? game.folder.path() + subject : subject;
        QTEST(game.spel.nieuwSpel(), "start");
        QCOMPARE(QStringLiteral("%1 %2 %3 %4").arg(game.state.Score).arg(game.state.Woord).arg(game.state.AantalOpen)
                     .arg(game.state.SpelBezig), QStringLiteral("34 a 1 1"));
        QCOMPARE(game.state.Plaatje, picture);
        QVERIFY(game.spel.goedGeraden());
        QCOMPARE(game.state.Woord, QStringLiteral("B"));
        // At random every readable picture comes, the same one again included.
        game.state.Willekeurig = true;
        QStringList words{game.state.Woord};
        for (int i = 0; i < 30 && game.spel.goedGeraden(); ++i)
            words << game.state.Woord;
        QCOMPARE(std::set<QString>(words.begin(), words.end()), (std::set<QString>{"a", "B", "c d"}));
        QVERIFY(std::adjacent_find(words.begin(), words.end()) != words.end());
    }
};

QTEST_GUILESS_MAIN(TestGame)
#include "tst_game.moc"
