#include "core/SettingsFile.h"

#include "core/ProgramState.h"
#include "core/RecordForm.h"
#include "platform/Files.h"

namespace SettingsFile {

bool parse(const QByteArray &bytes, ProgramState &state)
{
    RecordReader reader(bytes);
    const auto kwaliteit = reader.readNumber(0, 255);
    if (!kwaliteit)
        return false;
    state.Kwaliteit = std::uint8_t(*kwaliteit);
    const auto onderwerp = reader.readString();
    if (!onderwerp)
        return false;
    state.Onderwerp = *onderwerp;
    const auto geluid = reader.readBool();
    if (!geluid)
        return false;
    state.GeluidAan = *geluid;
    const auto soort = reader.readNumber(0, 255);
    if (!soort)
        return false;
    state.SoortVakje = std::uint8_t(*soort);
    const auto willekeurig = reader.readBool();
    if (!willekeurig)
        return false;
    state.Willekeurig = *willekeurig;
    return true;
}

QByteArray format(const ProgramState &state)
{
    RecordWriter writer;
    writer.writeNumber(state.Kwaliteit);
    writer.writeString(state.Onderwerp);
    writer.writeBool(state.GeluidAan);
    writer.writeNumber(state.SoortVakje);
    writer.writeBool(state.Willekeurig);
    return writer.bytes();
}

void load(ProgramState &state)
{
    const auto bytes = Files::read(state.settingsPath(), kMaxBytes);
    if (bytes && parse(*bytes, state))
        return;
    // A link, a folder or a pipe in its place is not ours to replace before "Stoppen".
    if (Files::entryAt(state.settingsPath()) != Files::Entry::Other)
        save(state);
}

Files::Outcome save(const ProgramState &state)
{
    return Files::writeAtomically(state.settingsPath(), format(state));
}

}
