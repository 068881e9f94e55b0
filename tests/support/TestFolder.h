#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A temporary program folder for one test.
class TestFolder
{
public:
    QString path() const { return m_dir.path(); }
    QString file(const QString &relative) const { return m_dir.filePath(relative); }
    // Writes bytes to a file below the folder, making its folders.
    void write(const QString &relative, const QByteArray &bytes) const;
    QByteArray read(const QString &relative) const;
    // Makes a subject folder with empty picture files of the given names.
    void makeSubject(const QString &subject, const QStringList &files) const;
    bool exists(const QString &relative) const;

private:
    QTemporaryDir m_dir;
};
