// The score-list reader on any bytes: it never fails, and the list it fills is sorted.
#include "core/ScoreList.h"

#include <algorithm>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ScoreList list;
    list.load(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    const QStringList &entries = list.entries();
    const auto less = [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; };
    if (!std::is_sorted(entries.begin(), entries.end(), less))
        std::abort();
    for (const QString &entry : entries)
        if (entry.isEmpty())
            std::abort();
    // What is written reads back as the same number of entries.
    ScoreList again;
    again.load(list.toBytes());
    if (again.count() != list.count())
        std::abort();
    return 0;
}
