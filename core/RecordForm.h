#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The record form of the program's text files: quoted strings, plain decimal numbers and
// #TRUE#/#FALSE#, one item a line, lines ending in CR LF, text in Windows-1252.
class RecordReader
{
public:
    explicit RecordReader(QByteArray bytes) : m_bytes(std::move(bytes)) {}

    // Each read takes the next item; nothing when the file has ended or the item does not fit.
    // An empty line is an empty item.
    std::optional<QString> readString();
    std::optional<qint64> readNumber(qint64 min, qint64 max);
    std::optional<bool> readBool();

    // False once an item was not read as it stands: a quote that is never closed, a quoted item
    // that runs past the end of its line (it swallows the lines up to the next quote), or text
    // after a closing quote, which is dropped.
    bool whole() const { return m_whole; }

private:
    struct Item {
        QByteArray text;
        bool quoted = false;
    };
    std::optional<Item> next();

    QByteArray m_bytes;
    qsizetype m_pos = 0;
    bool m_whole = true;
};

class RecordWriter
{
public:
    void writeString(const QString &text);
    void writeNumber(qint64 value);
    void writeBool(bool value);
    const QByteArray &bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};
