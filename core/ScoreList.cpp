#include "core/ScoreList.h"

#include "core/RecordForm.h"
#include "platform/Files.h"

#include <algorithm>

namespace {
bool entryLess(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) < 0;
}
}

void ScoreList::insert(const QString &entry)
{
    m_entries.insert(std::upper_bound(m_entries.begin(), m_entries.end(), entry, entryLess), entry);
}

void ScoreList::load(const QByteArray &bytes)
{
    // Appending and one stable sort places every item exactly where inserting them one by one
    // would, without moving the list once per item.
    RecordReader reader(bytes);
    while (const auto item = reader.readString())
        if (!item->isEmpty())
            m_entries.append(*item);
    std::stable_sort(m_entries.begin(), m_entries.end(), entryLess);
}

QByteArray ScoreList::toBytes() const
{
    RecordWriter writer;
    for (const QString &entry : m_entries)
        writer.writeString(entry);
    return writer.bytes();
}

bool ScoreList::loadFile(const QString &path)
{
    const auto bytes = Files::read(path, kMaxFileBytes);
    if (!bytes)
        return false;
    load(*bytes);
    return true;
}

Files::Outcome ScoreList::saveFile(const QString &path) const
{
    return Files::writeAtomically(path, toBytes());
}
