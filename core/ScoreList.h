#pragma once

#include "platform/Files.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// The score entries ("00042 - jan"), kept sorted ascending without regard to case: the lowest
// score first, equal scores by name. Identical entries may stand more than once.
class ScoreList
{
public:
    // Puts the entry at its sorted place, after any entries that compare equal to it.
    void insert(const QString &entry);
    void removeAt(qsizetype index) { m_entries.removeAt(index); }
    // Index of the first entry equal to text (case-sensitive), or -1.
    qsizetype indexOf(const QString &text) const { return m_entries.indexOf(text); }

    qsizetype count() const { return m_entries.size(); }
    const QString &at(qsizetype index) const { return m_entries.at(index); }
    const QStringList &entries() const { return m_entries; }

    // Vudoduzov.lst: every non-empty item of the file is inserted (the file's order does not
    // matter). False when an item could not be read as it stands (RecordReader::whole()).
    bool load(const QByteArray &bytes);
    // One quoted entry a line, lowest first; an empty list is an empty file.
    QByteArray toBytes() const;

    // A score list larger than this (some 300,000 entries) is not read at all.
    static constexpr qint64 kMaxFileBytes = 32 * 1024 * 1024;
    // Reads the file. False when a file was there that was not read whole (larger than the limit,
    // an item that cannot be read, a read error): no entry of it may be lost, so the first
    // saveFile() gives it the name keptPath() before it writes the list. A missing file, or a pipe,
    // socket or device in its place, has nothing to keep.
    bool loadFile(const QString &path);
    // Where that file is kept, beside it, named with today's date; empty when nothing is kept.
    const QString &keptPath() const { return m_keptPath; }
    Files::Outcome saveFile(const QString &path);

private:
    QStringList m_entries;
    QString m_unreadPath; // the file not read whole, until it is kept
    QString m_keptPath;
};
