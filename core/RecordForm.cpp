#include "core/RecordForm.h"

#include "platform/Cp1252.h"

namespace {
bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}
bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}
}

std::optional<RecordReader::Item> RecordReader::next()
{
    const qsizetype n = m_bytes.size();
    while (m_pos < n && isBlank(m_bytes[m_pos]))
        ++m_pos;
    if (m_pos >= n)
        return std::nullopt;

    Item item;
    if (m_bytes[m_pos] == '"') {
        const qsizetype start = m_pos + 1;
        qsizetype close = m_bytes.indexOf('"', start);
        if (close < 0) {
            close = n;
            m_whole = false;
        }
        item.text = m_bytes.mid(start, close - start);
        item.quoted = true;
        if (item.text.contains('\r') || item.text.contains('\n'))
            m_whole = false;
        m_pos = close + 1;
        // Whatever follows the closing quote belongs to this item, up to its separator.
        for (; m_pos < n && m_bytes[m_pos] != ',' && !isLineEnd(m_bytes[m_pos]); ++m_pos)
            if (!isBlank(m_bytes[m_pos]))
                m_whole = false;
    } else {
        const qsizetype start = m_pos;
        while (m_pos < n && m_bytes[m_pos] != ',' && !isLineEnd(m_bytes[m_pos]))
            ++m_pos;
        qsizetype end = m_pos;
        while (end > start && isBlank(m_bytes[end - 1]))
            --end;
        item.text = m_bytes.mid(start, end - start);
    }
    // Take the separator: a comma, or one line end (CR LF, LF or CR).
    if (m_pos < n) {
        if (m_bytes[m_pos] == ',') {
            ++m_pos;
        } else if (m_bytes[m_pos] == '\r') {
            ++m_pos;
            if (m_pos < n && m_bytes[m_pos] == '\n')
                ++m_pos;
        } else if (m_bytes[m_pos] == '\n') {
            ++m_pos;
        }
    }
    return item;
}

std::optional<QString> RecordReader::readString()
{
    const auto item = next();
    if (!item)
        return std::nullopt;
    return Cp1252::decode(item->text);
}

std::optional<qint64> RecordReader::readNumber(qint64 min, qint64 max)
{
    const auto item = next();
    if (!item || item->quoted)
        return std::nullopt;
    bool ok = false;
    const qint64 value = item->text.toLongLong(&ok, 10);
    if (!ok || value < min || value > max)
        return std::nullopt;
    return value;
}

std::optional<bool> RecordReader::readBool()
{
    const auto item = next();
    if (!item || item->quoted)
        return std::nullopt;
    const QByteArray word = item->text.toUpper();
    if (word == "#TRUE#")
        return true;
    if (word == "#FALSE#")
        return false;
    return std::nullopt;
}

void RecordWriter::writeString(const QString &text)
{
    // The form has no escapes: a quote or a line break inside would split the item on reading.
    QByteArray bytes = Cp1252::encode(text);
    for (char &c : bytes) {
        if (c == '"')
            c = '\'';
        else if (c == '\r' || c == '\n')
            c = ' ';
    }
    m_bytes += '"' + bytes + "\"\r\n";
}

void RecordWriter::writeNumber(qint64 value)
{
    m_bytes += QByteArray::number(value) + "\r\n";
}

void RecordWriter::writeBool(bool value)
{
    m_bytes += value ? "#TRUE#\r\n" : "#FALSE#\r\n";
}
