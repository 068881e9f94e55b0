#include "support/TestFolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>

#include <sys/mount.h>

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

QStringList TestFolder::tree() const
{
    QStringList entries;
    QDirIterator it(path(), QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        entries << QDir(path()).relativeFilePath(it.next());
    entries.sort();
    return entries;
}

QColor TestFolder::colourOf(const QString &fileName)
{
    const QByteArray hash = QCryptographicHash::hash(fileName.toUtf8(), QCryptographicHash::Md5);
    // Far from grey and from each other, so that a JPEG's small errors never mix two up.
    return QColor::fromHsv(quint8(hash[0]) * 359 / 255, 255, 230);
}

bool TestFolder::shows(const QImage &picture, const QString &fileName)
{
    if (picture.isNull())
        return false;
    const QRgb want = colourOf(fileName).rgb();
    const QRgb got = picture.pixel(picture.width() / 2, picture.height() / 2);
    return qAbs(qRed(got) - qRed(want)) <= 6 && qAbs(qGreen(got) - qGreen(want)) <= 6 && qAbs(qBlue(got) - qBlue(want)) <= 6;
}

namespace {
// Qt writes no GIF: a picture of one pixel, made by hand.
QByteArray gif(const QColor &colour)
{
    QByteArray bytes("GIF89a\x01\x00\x01\x00\x80\x00\x00", 13);
    bytes += char(colour.red());
    bytes += char(colour.green());
    bytes += char(colour.blue());
    bytes += QByteArray("\x00\x00\x00,\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;", 19);
    return bytes;
}
}

void TestFolder::makeSubject(const QString &subject, const QStringList &files) const
{
    QDir().mkpath(file(QStringLiteral("plaatjes/") + subject));
    for (const QString &name : files) {
        const QString relative = QStringLiteral("plaatjes/") + subject + QLatin1Char('/') + name;
        const QString suffix = QFileInfo(name).suffix().toLower();
        QImage picture(8, 6, QImage::Format_RGB32);
        picture.fill(colourOf(name));
        if (suffix == QLatin1String("gif"))
            write(relative, gif(colourOf(name)));
        else if (suffix == QLatin1String("jpg") || suffix == QLatin1String("bmp"))
            picture.save(file(relative), suffix == QLatin1String("jpg") ? "JPEG" : "BMP", 100);
        else
            write(relative, "geen plaatje");
    }
}

SmallDisk::SmallDisk(const QString &where, int kilobytes) : m_path(where)
{
    QDir().mkpath(m_path);
    const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k";
    m_mounted = ::mount("tuurbord-test", m_path.toLocal8Bit().constData(), "tmpfs", 0, options.constData()) == 0;
}

SmallDisk::~SmallDisk()
{
    if (m_mounted)
        ::umount(m_path.toLocal8Bit().constData());
}

void SmallDisk::fill() const
{
    QFile filler(m_path + QStringLiteral("/vol"));
    if (filler.open(QIODevice::WriteOnly))
        while (filler.write(QByteArray(4096, 'x')) > 0 && filler.flush()) {
        }
}

bool SmallDisk::readOnly() const
{
    return ::mount(nullptr, m_path.toLocal8Bit().constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}
