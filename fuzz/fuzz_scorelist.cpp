// The score-list reader on any bytes: it never fails, and the list it fills is sorted. The same
// bytes as a file, now and then past the size limit, go through the program's own reading and
// writing in a folder of its own: a file not read whole is kept byte for byte before the list is
// written, and what is written reads back whole.
#include "core/ScoreList.h"
#include "platform/Files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdlib>

namespace {
void check(bool ok)
{
    if (!ok)
        std::abort();
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    ScoreList list;
    const bool whole = list.load(bytes);
    const QStringList &entries = list.entries();
    const auto less = [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; };
    check(std::is_sorted(entries.begin(), entries.end(), less));
    check(std::none_of(entries.begin(), entries.end(), [](const QString &entry) { return entry.isEmpty(); }));
    // What is written reads back whole, as the same number of entries.
    ScoreList again;
    check(again.load(list.toBytes()) && again.count() == list.count());

    static QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Vudoduzov.lst"));
    check(Files::writeAtomically(path, bytes).ok());
    // A last byte 0xff makes the file larger than the limit, with a hole that costs no disk.
    const bool tooLarge = size > 0 && data[size - 1] == 0xff;
    if (tooLarge)
        check(QFile::resize(path, ScoreList::kMaxFileBytes + qint64(size)));
    const qint64 length = QFileInfo(path).size();
    ScoreList read;
    check(read.loadFile(path) == (whole && !tooLarge) && read.keptPath().isEmpty() == (whole && !tooLarge));
    check(tooLarge ? read.count() == 0 : read.entries() == list.entries());
    read.insert(QStringLiteral("00001 - nieuw"));
    check(read.saveFile(path).ok());
    if (!read.keptPath().isEmpty()) {
        check(QFileInfo(read.keptPath()).size() == length);
        check(tooLarge || Files::read(read.keptPath(), length) == bytes);
    }
    ScoreList back;
    check(back.loadFile(path) && back.count() == read.count());

    const QDir dir(folder.path());
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden))
        QFile::remove(dir.filePath(name));
    return 0;
}
