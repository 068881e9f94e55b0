#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QString>
#include <QStringList>
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
    // Every entry below the folder, links not followed, as sorted relative paths.
    QStringList tree() const;
    // Makes a subject folder with small pictures of the given names, each in the format its
    // extension names (.bmp, .gif, .jpg, in any case); other names get a file of text.
    void makeSubject(const QString &subject, const QStringList &files) const;

    // The colour of the picture makeSubject writes for a file name, and whether a picture shows it
    // (near enough for a JPEG).
    static QColor colourOf(const QString &fileName);
    static bool shows(const QImage &picture, const QString &fileName);

private:
    QTemporaryDir m_dir;
};

// A small file system of its own at a folder, which a test can fill up or make read-only; gone
// again when the test ends. Mounting needs root: without it, mounted is false.
class SmallDisk
{
public:
    SmallDisk(const QString &where, int kilobytes);
    ~SmallDisk();
    bool mounted() const { return m_mounted; }
    void fill() const;     // takes all the room that is left
    bool readOnly() const; // remounts it read-only
    const QString &path() const { return m_path; }

private:
    QString m_path;
    bool m_mounted = false;
};
