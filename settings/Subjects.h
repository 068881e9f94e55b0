#pragma once

#include <QString>
#include <QStringList>

// The subjects: the folders directly below the pictures folder. The folder is named by the
// caller; nothing here ever reaches above it or below the subject folders themselves.
class Subjects
{
public:
    enum class Result {
        Done,
        InvalidName, // not a single plain folder name
        Exists,      // an entry of that name exists already, in any letter case
        NotFound,    // no such subject folder (or it is a link, which is never removed)
        NotEmpty,    // the folder still holds files or folders
        Failed,      // the file system refused
    };

    explicit Subjects(QString picturesRoot) : m_root(std::move(picturesRoot)) {}


    // The subject folders, alphabetically without regard to case, as the file system spells them.
    QStringList list() const;

    // Creates the folder; the pictures folder itself is made when it is missing.
    Result add(const QString &name) const;

    // Removes the folder of that name (found without regard to case) when it is empty.
    Result remove(const QString &name) const;

    // A name that can be made into one folder directly below the pictures folder on any platform
    // the program has run on: no separators, no "." or "..", no control characters, none of
    // < > : " | ? *, at most 255 bytes in UTF-8, not ending in a blank or a dot.
    static bool isValidName(const QString &name);

private:
    // The entry of the pictures folder with this name in any case (an exact match first), or empty.
    QString entryNamed(const QString &name) const;
    // True when root/name lies directly in the pictures folder once the path is cleaned.
    bool staysDirectlyBelowRoot(const QString &name) const;

    QString m_root;
};
