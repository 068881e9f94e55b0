// The settings reader on any bytes: whatever it keeps is written out as a file it reads whole.
#include "core/ProgramState.h"
#include "core/SettingsFile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ProgramState state(QStringLiteral("/nonexistent"));
    SettingsFile::parse(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)), state);
    ProgramState again(QStringLiteral("/nonexistent"));
    if (!SettingsFile::parse(SettingsFile::format(state), again))
        std::abort();
    if (again.Kwaliteit != state.Kwaliteit || again.GeluidAan != state.GeluidAan
        || again.SoortVakje != state.SoortVakje || again.Willekeurig != state.Willekeurig)
        std::abort();
    return 0;
}
