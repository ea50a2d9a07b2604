// config.ini's values as ReadSettings meets them: one input line per key, in
// the order a save writes them; keys past the last line are missing.
#include <cstdint>

#include "app/settings.h"
#include "fuzz_input.h"

using namespace zelvar;

namespace {

const wchar_t* const kKeys[] = {L"autoload", L"tray",         L"allclose",    L"autoexe", L"logosound",
                                L"autoupd",  L"resetafteron", L"actsheduler", L"fs",      L"lng"};
constexpr size_t kKeyCount = sizeof kKeys / sizeof kKeys[0];

bool SameOptions(const Settings& a, const Settings& b) {
    return a.autoload == b.autoload && a.tray == b.tray && a.allclose == b.allclose && a.autoexe == b.autoexe &&
           a.logosound == b.logosound && a.autoupd == b.autoupd && a.resetafteron == b.resetafteron &&
           a.schedulerRunning == b.schedulerRunning && a.lng == b.lng;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::vector<std::string_view> lines = fuzz::Lines(fuzz::Bytes(data, size), kKeyCount);
    MemoryIni ini;
    for (size_t i = 0; i < lines.size(); ++i) ini.Write(kOptionsSection, kKeys[i], fuzz::Text(lines[i]));
    const int lngDefault = size % 2 ? 0 : 1;

    const Settings read = ReadSettings(ini, lngDefault);
    ZELVAR_FUZZ_CHECK(read.lng >= 0 && read.lng <= 2);
    for (const std::wstring& entry : read.autoexe)
        ZELVAR_FUZZ_CHECK(!IsBlank(entry) && entry.find(L'|') == std::wstring::npos);

    // What a save writes reads back as the same options, and no longer as a first start.
    MemoryIni saved;
    ZELVAR_FUZZ_CHECK(WriteSettings(saved, read));
    const Settings again = ReadSettings(saved, lngDefault);
    ZELVAR_FUZZ_CHECK(SameOptions(read, again));
    ZELVAR_FUZZ_CHECK(!again.firstStart);

    // Joining and splitting the start-up list loses and invents nothing.
    if (lines.size() > 3) {
        const std::vector<std::wstring> entries = ParseAutoexe(fuzz::Text(lines[3]));
        ZELVAR_FUZZ_CHECK(ParseAutoexe(JoinAutoexe(entries)) == entries);
    }
    return 0;
}
