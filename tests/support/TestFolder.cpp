#include "support/TestFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

void TestFolder::write(const QString &relative, const QByteArray &bytes) const
{
    const QString path = file(relative);
    QDir().mkpath(QFileInfo(path).path());
    QFile out(path);
    if (out.open(QIODevice::WriteOnly))
        out.write(bytes);
}

QByteArray TestFolder::read(const QString &relative) const
{
    QFile in(file(relative));
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

void TestFolder::makeSubject(const QString &subject, const QStringList &files) const
{
    QDir().mkpath(file(QStringLiteral("plaatjes/") + subject));
    for (const QString &name : files)
        write(QStringLiteral("plaatjes/") + subject + QLatin1Char('/') + name, QByteArray());
}

bool TestFolder::exists(const QString &relative) const
{
    return QFileInfo::exists(file(relative));
}
