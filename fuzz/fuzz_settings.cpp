// The settings reader on any bytes: whatever it keeps is written out as a file it reads whole. The
// same bytes as Tuurbord.ini, now and then past the size limit, go through start-up and "Stoppen"
// in a program folder of its own: a file that reads is left as it is, any other is written anew
// from what was read, and what "Stoppen" writes reads back the same.
#include "core/ProgramState.h"
#include "core/SettingsFile.h"
#include "platform/Files.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

namespace {
void check(bool ok)
{
    if (!ok)
        std::abort();
}

bool sameNumbers(const ProgramState &a, const ProgramState &b)
{
    return a.Kwaliteit == b.Kwaliteit && a.GeluidAan == b.GeluidAan && a.SoortVakje == b.SoortVakje
        && a.Willekeurig == b.Willekeurig;
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    ProgramState state(QStringLiteral("/nonexistent"));
    SettingsFile::parse(bytes, state);
    ProgramState again(QStringLiteral("/nonexistent"));
    check(SettingsFile::parse(SettingsFile::format(state), again) && sameNumbers(again, state));

    static QTemporaryDir folder;
    ProgramState started(folder.path());
    const QString path = started.settingsPath();
    check(Files::writeAtomically(path, bytes).ok());
    // A last byte 0xff makes the file larger than the limit, with a hole that costs no disk.
    const bool tooLarge = size > 0 && data[size - 1] == 0xff;
    if (tooLarge)
        check(QFile::resize(path, SettingsFile::kMaxBytes + qint64(size)));
    ProgramState expected(folder.path());
    const bool reads = !tooLarge && SettingsFile::parse(bytes, expected);
    SettingsFile::load(started);
    check(sameNumbers(started, expected) && started.Onderwerp == expected.Onderwerp);
    check(Files::read(path, SettingsFile::kMaxBytes) == (reads ? bytes : SettingsFile::format(started)));
    check(SettingsFile::save(started).ok());
    ProgramState back(folder.path());
    SettingsFile::load(back);
    check(sameNumbers(back, started) && Files::read(path, SettingsFile::kMaxBytes) == SettingsFile::format(started));
    return 0;
}
