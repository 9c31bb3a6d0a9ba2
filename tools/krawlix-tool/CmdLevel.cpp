// krawlix-tool's level commands: dump, info, convert and compile level files.
#include <cstdio>
#include <string>

#include "Command.h"
#include "FieldJson.h"
#include "Json.h"
#include "OptionReader.h"
#include "field/LevelFile.h"
#include "levelsource/LevelSource.h"
#include "levelsource/LevelSourceWriter.h"
#include "rules/Game.h"
#include "storage/FileEx.h"
#include "storage/MemBlock.h"
#include "storage/MemSerializer.h"
#include "storage/OutputFile.h"
#include "storage/TextCodec.h"

namespace kxtool {
namespace {

// Writes version 4, whole or not at all.
bool SaveLevelFile(const std::string& path, const kx::CGameFieldBase& field, std::string& error) {
    kx::CMemBlock bytes;
    {
        kx::CMemSerializer out(bytes, true);
        if (!kx::WriteLevel(field, out)) {
            error = path + ": the field has no valid size";
            return false;
        }
    }
    if (!kx::WriteWholeFile(path, bytes.data, bytes.size, &error)) {
        error = kx::Utf8FromCp1252(error);
        return false;
    }
    return true;
}

int Dump(const Args& commandLine) {
    Args args;
    if (auto exit = COptionReader("level dump").Positionals(args, 1, 1).Read(commandLine))
        return *exit;
    kx::CGameFieldBase field;
    uint32_t version = 0;
    std::string error;
    if (!LoadLevelFile(args[0], field, &version, error, true))
        return Fail(error);
    std::string out;
    JsonWriter json(out);
    WriteFieldJson(json, field, version);
    out += '\n';
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

int Convert(const Args& commandLine) {
    Args args;
    if (auto exit = COptionReader("level convert").Positionals(args, 2, 2).Read(commandLine))
        return *exit;
    kx::CGameFieldBase field;
    uint32_t version = 0;
    std::string error;
    if (!LoadLevelFile(args[0], field, &version, error, true) ||
        !SaveLevelFile(args[1], field, error))
        return Fail(error);
    return 0;
}

int Info(const Args& commandLine) {
    Args args;
    if (auto exit = COptionReader("level info").Positionals(args, 1, 1).Read(commandLine))
        return *exit;
    kx::CGameFieldBase field;
    uint32_t version = 0;
    std::string error;
    if (!LoadLevelFile(args[0], field, &version, error, true))
        return Fail(error);
    int walls = 0, corn = 0, switchCorn = 0, worms = 0, ghosts = 0, switches = 0;
    bool current = false;
    for (const kx::FieldCell& c : field.cells) {
        walls += c.ground <= kx::GROUND_WALL_LAST;
        corn += c.item == kx::ITEM_CORN;
        switchCorn += c.swItem == kx::ITEM_CORN;
        worms += c.creature == kx::CREATURE_WORM_HEAD || c.creature == kx::CREATURE_WORM_CURRENT;
        current = current || c.creature == kx::CREATURE_WORM_CURRENT;
        ghosts += c.creature == kx::CREATURE_GHOST || c.creature == kx::CREATURE_GHOST_MARKED;
        switches += (c.flags & kx::FLAG_SWITCH) && c.switchNo != kx::kNothing;
    }
    std::printf("%s\n", args[0].c_str());
    std::printf("  version:     %u\n", version);
    std::printf("  size:        %d x %d\n", field.width, field.height);
    std::printf("  walls:       %d\n", walls);
    std::printf("  corn:        %d (switch layer %d)\n", corn, switchCorn);
    std::printf("  worms:       %d%s\n", worms, current ? "" : " (none current)");
    std::printf("  ghosts:      %d\n", ghosts);
    std::printf("  switches:    %d\n", switches);
    kx::CGame game;
    game.play.field = field;
    game.PrepareLevel();
    std::printf("  seed:        %s\n", kx::DependsOnSeed(game.play)
                                           ? "matters (ghosts walk or larvae may hatch them)"
                                           : "does not matter");
    std::string text = kx::Utf8FromCp1252(field.description);
    if (text.empty()) {
        std::printf("  description: (none)\n");
    } else {
        std::printf("  description:\n");
        size_t at = 0;
        while (at <= text.size()) {
            size_t nl = text.find('\n', at);
            std::string line = text.substr(at, nl == std::string::npos ? nl : nl - at);
            std::printf("    %s\n", line.c_str());
            if (nl == std::string::npos)
                break;
            at = nl + 1;
        }
    }
    return 0;
}

int Compile(const Args& commandLine) {
    Args args;
    if (auto exit = COptionReader("level compile").Positionals(args, 2, 2).Read(commandLine))
        return *exit;
    std::string source;
    std::string error;
    if (!ReadFileBytes(args[0], source, error))
        return Fail(error);
    kx::CGameFieldBase field;
    if (!kx::CompileLevelSource(source, field, error))
        return Fail(args[0] + ": " + error);
    if (!SaveLevelFile(args[1], field, error))
        return Fail(error);
    return 0;
}

int Decompile(const Args& commandLine) {
    Args args;
    if (auto exit = COptionReader("level decompile").Positionals(args, 2, 2).Read(commandLine))
        return *exit;
    kx::CGameFieldBase field;
    uint32_t version = 0;
    std::string error;
    if (!LoadLevelFile(args[0], field, &version, error, true))
        return Fail(error);
    std::string source;
    if (!kx::DecompileLevelSource(field, source, error))
        return Fail(args[0] + ": " + error);
    if (!kx::WriteWholeFile(args[1], source.data(), source.size(), &error))
        return Fail(kx::Utf8FromCp1252(error));
    return 0;
}

const Register dumpCommand{
    {"level dump", "FILE", "prints a level file of any version as one JSON object", Dump}};
const Register convertCommand{{"level convert", "IN OUT",
                               "reads a level of any version and writes it as version 4", Convert}};
const Register infoCommand{
    {"level info", "FILE", "a short summary: version, size, walls, corn, creatures", Info}};
const Register compileCommand{{"level compile", "SOURCE.txt OUT.kxlev",
                               "compiles a text-art level source into a level file", Compile}};

const Register decompileCommand{
    {"level decompile", "LEVEL.kxlev OUT.txt",
     "writes a level file of any version as a source (built-in characters where a cell matches "
     "one, legend entries otherwise) whose compilation gives the same version-4 file byte for "
     "byte; fails when the level has more kinds of cell than a source has characters (92) or a "
     "description line that no source line can carry",
     Decompile}};

} // namespace
} // namespace kxtool
