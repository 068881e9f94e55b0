// tuurbord-filter IN OUT FILTER...: runs the import window's picture filters on a file, for
// trying them out and timing them on large photos without the window.
#include "import/Filters.h"
#include "platform/Pictures.h"
#include "platform/Random.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QList>
#include <QTextStream>

#include <cstdio>
#include <optional>

namespace {

enum Exit { Ok = 0, Usage = 1, BadInput = 2, BadOutput = 3 };

struct Name {
    const char *name;
    int optie; // `OptionFilter` index
};

// The window's captions in lower case first, then everyday Dutch words and plain-ASCII spellings.
const Name names[] = {
    {"grijswaarden", 1}, {"negatief", 2}, {"lichter", 3}, {"donkerder", 4}, {"scherper", 5},
    {"spiegelbeeld", 6}, {"flip-vertikaal", 7}, {"defuse", 8}, {"reli\u00ebf", 9}, {"pixellize", 10},
    {"blur", 11},
    {"grijs", 1}, {"spiegelen", 6}, {"omdraaien", 7}, {"flip", 7}, {"diffuus", 8}, {"relief", 9},
    {"mozaiek", 10}, {"moza\u00efek", 10}, {"vervagen", 11},
};

int optieFor(const QString &argument)
{
    const QString wanted = argument.toLower();
    for (const Name &n : names) {
        if (QString::fromUtf8(n.name) == wanted)
            return n.optie;
    }
    return 0;
}

QTextStream &err()
{
    static QTextStream stream(stderr);
    return stream;
}

void usage()
{
    err() << "usage: tuurbord-filter [--seed N] IN OUT FILTER...\n"
             "Applies the picture filters in order and writes OUT as PNG.\n"
             "Filters: grijswaarden (grijs), negatief, lichter, donkerder, scherper,\n"
             "  spiegelbeeld (spiegelen), flip-vertikaal (omdraaien, flip), defuse (diffuus),\n"
             "  reli\u00ebf (relief), pixellize (mozaiek), blur (vervagen)\n";
    err().flush();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    std::optional<quint32> seed;
    if (args.size() >= 2 && args.at(0) == QLatin1String("--seed")) {
        bool ok = false;
        seed = args.at(1).toUInt(&ok);
        if (!ok) {
            err() << "tuurbord-filter: --seed needs a whole number, not \"" << args.at(1) << "\"\n";
            return Usage;
        }
        args = args.mid(2);
    }
    if (args.size() < 3 || args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"))) {
        usage();
        return Usage;
    }
    const QString in = args.at(0);
    const QString out = args.at(1);
    QList<int> opties;
    for (const QString &name : args.mid(2)) {
        const int optie = optieFor(name);
        if (optie == 0) {
            err() << "tuurbord-filter: unknown filter \"" << name << "\"\n";
            usage();
            return Usage;
        }
        opties << optie;
    }

    if (!QFileInfo(in).isFile()) {
        err() << "tuurbord-filter: cannot find the picture " << in << "\n";
        return BadInput;
    }
    QElapsedTimer loading;
    loading.start();
    const Pictures::Loaded loaded = Pictures::whole(in);
    const qint64 loadNs = loading.nsecsElapsed();
    if (!loaded.ok()) {
        err() << "tuurbord-filter: cannot read " << in << ": " << loaded.error << "\n";
        return BadInput;
    }
    QImage image = loaded.image;

    Random random;
    if (seed)
        random.seed(*seed);
    Filters filters(random);
    QTextStream text(stdout);
    text.setRealNumberNotation(QTextStream::FixedNotation);
    text.setRealNumberPrecision(2);
    text << "laden: " << double(loadNs) / 1e6 << " ms\n";
    qint64 totalNs = 0;
    for (const int optie : opties) {
        QElapsedTimer clock;
        clock.start();
        filters.pasOptieToe(optie, image);
        const qint64 ns = clock.nsecsElapsed();
        totalNs += ns;
        text << QString::fromUtf8(Filters::opties().at(std::size_t(optie - 1)).caption) << ": " << double(ns) / 1e6
             << " ms\n";
    }
    text << "filters total: " << double(totalNs) / 1e6 << " ms (" << image.width() << " x " << image.height()
         << " pixels)\n";
    text.flush();

    QImageWriter writer(out, "png");
    // Fast zlib level: the tool is for trying filters, and large photos would otherwise take
    // seconds to write.
    writer.setCompression(1);
    if (!writer.write(image)) {
        err() << "tuurbord-filter: cannot write " << out << ": " << writer.errorString() << "\n";
        return BadOutput;
    }
    return Ok;
}
