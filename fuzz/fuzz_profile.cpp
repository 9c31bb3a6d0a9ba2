// Fuzzes the profile reader: any text keeps its lines through a write and a read, and the
// values the game sets read back as set, records included.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "ScratchFolder.h"
#include "game/ProfileFile.h"
#include "game/Records.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = kxfuzz::ScratchFolder("fuzz_profile") + "/Krawlix.conf";
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    kx::CProfileFile profile;
    profile.LoadFromText(text);
    const std::string written = profile.ToText();
    // Every line survives: the text comes back, with a line feed at its end if it had none.
    if (written.compare(0, size, text) != 0 || written.size() > size + 1) {
        std::abort();
    }

    if (!profile.Save(path)) {
        std::abort();
    }
    kx::CProfileFile reread;
    if (reread.Load(path) != kx::CProfileFile::LoadResult::Loaded || reread.ToText() != written) {
        std::abort();
    }

    // Setting changes or adds only the lines of the value; other values stay as they were.
    const std::optional<std::string> level = profile.GetString("LastGame", "Level");
    profile.SetInt("Window", "Zoom", -7);
    profile.SetString("Sound", "Mute", "1");
    if (profile.GetInt("Window", "Zoom", 0) != -7 || profile.GetInt("Sound", "Mute", 0) != 1 ||
        profile.GetString("LastGame", "Level") != level ||
        profile.ToText().size() > written.size() + 40) {
        std::abort();
    }

    // Records: whatever the section holds loads without harm, and a level of any name (the
    // input's first bytes) reads back the record written for it.
    kx::CRecordTable records;
    records.Load(profile.SectionEntries(kx::kRecordsSection));
    const std::string name(text.substr(0, 24));
    const kx::LevelRecord record{size, size * 7};
    profile.SetString(kx::kRecordsSection, kx::RecordEntry(name), kx::FormatRecord(record));
    kx::CProfileFile again;
    again.LoadFromText(profile.ToText());
    records.Load(again.SectionEntries(kx::kRecordsSection));
    const auto found = records.Find(name);
    if (!found || found->keys != record.keys || found->ms != record.ms) {
        std::abort();
    }
    return 0;
}
