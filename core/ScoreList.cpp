#include "core/ScoreList.h"

#include "core/RecordForm.h"
#include "platform/Files.h"

#include <QDate>
#include <QFileInfo>

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

bool ScoreList::load(const QByteArray &bytes)
{
    // Appending and one stable sort places every item exactly where inserting them one by one
    // would, without moving the list once per item.
    RecordReader reader(bytes);
    while (const auto item = reader.readString())
        if (!item->isEmpty())
            m_entries.append(*item);
    std::stable_sort(m_entries.begin(), m_entries.end(), entryLess);
    return reader.whole();
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
    if (bytes ? load(*bytes) : !Files::isRegularFile(path))
        return true;
    const QFileInfo file(path);
    const QString stem = file.path() + QLatin1Char('/') + file.completeBaseName() + QStringLiteral("-niet-gelezen-")
        + QDate::currentDate().toString(Qt::ISODate);
    m_keptPath = stem + QLatin1Char('.') + file.suffix();
    for (int n = 2; Files::entryAt(m_keptPath) != Files::Entry::None; ++n)
        m_keptPath = stem + QLatin1Char('-') + QString::number(n) + QLatin1Char('.') + file.suffix();
    m_unreadPath = path;
    return false;
}

Files::Outcome ScoreList::saveFile(const QString &path)
{
    if (!m_unreadPath.isEmpty()) {
        const Files::Outcome kept = Files::keepAside(m_unreadPath, m_keptPath);
        if (!kept.ok())
            return kept;
        m_unreadPath.clear();
    }
    return Files::writeAtomically(path, toBytes());
}
