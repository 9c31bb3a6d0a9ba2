// krawlix-tool's archive commands: list, extract and pack .bfres resource archives.
#include <cstdio>
#include <string>
#include <vector>

#include "Command.h"
#include "OptionReader.h"
#include "storage/ArchiveManifest.h"
#include "storage/OutputFile.h"
#include "storage/Path.h"
#include "storage/ResourceArchive.h"
#include "storage/TextCodec.h"

namespace kxtool {
namespace {

// The manifest's lines, with files relative to the manifest's folder; false with a message
// naming the manifest when it cannot be read or a line is malformed.
bool ReadManifest(const std::string& path, std::vector<kx::ArchiveManifestLine>& lines,
                  std::string& error) {
    std::string text;
    if (!ReadFileBytes(path, text, error)) {
        return false;
    }
    std::string folder;
    std::string ignored;
    kx::SplitPath(path, folder, ignored);
    if (!kx::ParseArchiveManifest(text, folder, lines, error)) {
        error = path + ":" + error;
        return false;
    }
    return true;
}

int RunList(const Args& args) {
    std::vector<std::string> files;
    if (auto exit = COptionReader("archive list").Positionals(files, 1, 1).Read(args))
        return *exit;
    kx::CResourceArchive archive;
    archive.LoadArchiveFile(files[0]);
    for (size_t i = 0; i < archive.GetCount(); ++i) {
        const kx::CResource& r = archive.ResourceAt(i);
        std::printf("%s %s %08X %u\n", r.kind.c_str(), r.name.c_str(), r.recordType, r.data.size);
    }
    return 0;
}

int RunExtract(const Args& commandLine) {
    std::vector<std::string> args;
    if (auto exit = COptionReader("archive extract").Positionals(args, 4, 4).Read(commandLine))
        return *exit;
    kx::CResourceArchive archive;
    archive.LoadArchiveFile(args[0]);
    const kx::CResource* resource = archive.LookupResource(args[1], args[2]);
    if (resource == nullptr) {
        return Fail("no resource of kind \"" + args[1] + "\" named \"" + args[2] + "\" in " +
                    args[0]);
    }
    std::string error;
    if (!kx::WriteWholeFile(args[3], resource->data.data, resource->data.size, &error)) {
        return FailWrite(error);
    }
    return 0;
}

int RunPack(const Args& commandLine) {
    std::vector<std::string> args;
    if (auto exit = COptionReader("archive pack").Positionals(args, 2, 2).Read(commandLine))
        return *exit;
    std::vector<kx::ArchiveManifestLine> lines;
    std::string error;
    if (!ReadManifest(args[1], lines, error)) {
        return Fail(error);
    }
    std::vector<std::string> contents(lines.size());
    std::vector<kx::ArchiveSource> sources;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (!ReadFileBytes(lines[i].file, contents[i], error)) {
            return Fail(error);
        }
        if (contents[i].size() > UINT32_MAX) {
            return Fail("\"" + lines[i].file + "\" is too large");
        }
        sources.push_back({lines[i].kind, lines[i].name,
                           reinterpret_cast<const uint8_t*>(contents[i].data()),
                           static_cast<uint32_t>(contents[i].size())});
    }
    kx::COutputFile file(false);
    if (!file.Open(args[0]) || !kx::WriteArchive(file, sources) || !file.Commit()) {
        return FailWrite(file.GetErrorText());
    }
    return 0;
}

// The archive's texts are Windows-1252; their sources are UTF-8.
int RunText(const Args& commandLine) {
    std::vector<std::string> args;
    if (auto exit = COptionReader("archive text").Positionals(args, 2, 2).Read(commandLine))
        return *exit;
    std::string text;
    std::string error;
    if (!ReadFileBytes(args[0], text, error)) {
        return Fail(error);
    }
    const std::string converted = kx::Cp1252FromUtf8(text);
    if (kx::Utf8FromCp1252(converted) != text) {
        return Fail(args[0] + ": not UTF-8, or a character that Windows-1252 lacks");
    }
    if (!kx::WriteWholeFile(args[1], converted.data(), converted.size(), &error)) {
        return FailWrite(error);
    }
    return 0;
}

Register list{{"archive list", "FILE",
               "one line per resource: kind, name, record type (hex), size in bytes", RunList}};
Register extract{
    {"archive extract", "FILE KIND NAME OUT", "writes one resource's bytes to OUT", RunExtract}};
Register pack{{"archive pack", "OUT MANIFEST",
               "writes a .bfres from a UTF-8 manifest of \"kind name file\" lines (a name in "
               "double quotes may hold blanks; paths relative to the manifest's folder)",
               RunPack}};
Register text{{"archive text", "IN OUT",
               "writes the UTF-8 text IN in Windows-1252, the encoding of the archive's texts",
               RunText}};

} // namespace
} // namespace kxtool
