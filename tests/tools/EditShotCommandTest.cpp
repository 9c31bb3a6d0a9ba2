// krawlix-tool edit-shot: the editor core driven by an event script, its state, frame and saved
// level.
#include <gtest/gtest.h>

#include <string>

#include "ToolRun.h"
#include "field/LevelFile.h"
#include "graphics/Bitmap24.h"
#include "graphics/PngFile.h"
#include "storage/FileEx.h"
#include "storage/TempFolder.h"

using kxtest::RunTool;

namespace {

class EditShot : public testing::Test {
protected:
    kxtest::ToolResult Run(std::vector<std::string> args) const {
        args.insert(args.begin(), "edit-shot");
        return RunTool(args, folder.Path());
    }
    kx::CGameFieldBase Load(const std::string& path) const {
        kx::CGameFieldBase field;
        kx::CFileEx file(false);
        file.SetPath(path);
        EXPECT_TRUE(file.OpenRead());
        EXPECT_TRUE(kx::ReadLevel(field, file));
        return field;
    }
    kxtest::TempFolder folder;
};

} // namespace

TEST_F(EditShot, StateOfTheStartDocumentIsTheDocumentedJson) {
    const auto r = Run({"--state"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "{\"width\":11,\"height\":11,\"scrollX\":0,\"scrollY\":0,\"tool\":0,"
                     "\"selected\":-1,\"selectedDescription\":\"\",\"first\":0,\"paletteWidth\":3,"
                     "\"switchLayer\":false,\"modified\":false,\"problems\":null,\"zoom\":100,"
                     "\"selection\":null,"
                     "\"show\":{\"objects\":true,"
                     "\"items\":true,\"creatures\":true,\"switches\":true,\"blocking\":false}}\n");
}

TEST_F(EditShot, APaintStrokeIsSavedAndReportedAndUndoRestoresTheStart) {
    const std::string painted = folder.Path("painted.kxlev");
    auto r = Run({"--events", "select:70,down:40:40,move:72:40,move:104:72,up:104:72", "--save",
                  painted, "--state"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"selected\":70,\"selectedDescription\":\"Korn (länger)\""),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("\"modified\":true"), std::string::npos) << "the state before the save";
    kx::CGameFieldBase field = Load(painted);
    EXPECT_EQ(field.CellAt(1, 1).item, 0);
    EXPECT_EQ(field.CellAt(2, 1).item, 0);
    EXPECT_EQ(field.CellAt(3, 2).item, 0);
    EXPECT_EQ(field.CellAt(3, 1).item, 255);

    const std::string undone = folder.Path("undone.kxlev");
    const std::string start = folder.Path("start.kxlev");
    ASSERT_EQ(Run({"--save", start}).status, 0);
    r = Run({"--events", "select:70,down:40:40,move:72:40,up:72:40,cmd:undo", "--save", undone,
             "--state"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"modified\":false"), std::string::npos) << r.out;
    EXPECT_EQ(kxtest::ReadFileBytes(undone), kxtest::ReadFileBytes(start));
}

TEST_F(EditShot, CommandsBuildResizeAndDescribeTheLevelAndOpenIt) {
    const std::string level = folder.Path("level.kxlev");
    auto r = Run({"--events",
                  "cmd:new:20:15:Grün,cmd:resize:22:15:Leer:0,cmd:describe:Eins\\, zwei\\nDrei,"
                  "cmd:layer,cmd:blocking,cmd:width:6,key:right,key:ctrl+down",
                  "--save", level, "--state"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"width\":22,\"height\":15"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"paletteWidth\":7,\"switchLayer\":true"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"scrollX\":5,\"scrollY\":1"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"blocking\":true"), std::string::npos) << r.out;
    kx::CGameFieldBase field = Load(level);
    EXPECT_EQ(field.description, "Eins, zwei\nDrei");
    EXPECT_EQ(field.CellAt(0, 0).ground, 255) << "two empty columns at the left";
    EXPECT_EQ(field.CellAt(2, 0).ground, 17) << "the old green corner";

    const std::string picture = folder.Path("shot.png");
    r = Run({level, picture, "--size", "640x360", "--state"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"width\":22,\"height\":15"), std::string::npos) << r.out;
    kx::CBitmap24 shot;
    ASSERT_TRUE(kx::ReadPngFile(picture, shot));
    EXPECT_EQ(shot.GetWidth(), 640);
    EXPECT_EQ(shot.GetHeight(), 360);
    EXPECT_EQ(shot.GetPixel(640 - 96 - 4, 100), 0xE0E0E0u) << "the separator";
}

TEST_F(EditShot, CheckReportsTheCheckersProblemsAtThatPointOfTheScript) {
    // A corn behind a wall at (6, 1); the check runs before the description is written.
    kxtest::WriteFileBytes(folder.Path("walled.txt"), "map\n########\n#bW.#c.#\n########\nend\n");
    const std::string level = folder.Path("walled.kxlev");
    ASSERT_EQ(RunTool({"level", "compile", folder.Path("walled.txt"), level}, folder.Path()).status,
              0);
    const auto r = Run({level, "--events", "cmd:check,cmd:describe:Hallo", "--state"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(
        r.out.find("\"problems\":[{\"x\":5,\"y\":1,\"text\":\"corn that no worm can reach\"}"),
        std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("{\"x\":-1,\"y\":-1,\"text\":\"no description"), std::string::npos)
        << r.out;
    const auto again = Run({level, "--events", "cmd:describe:Hallo,cmd:check", "--state"});
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_NE(again.out.find("\"problems\":[{\"x\":5,\"y\":1,"), std::string::npos) << again.out;
    EXPECT_EQ(again.out.find("no description"), std::string::npos) << again.out;
    EXPECT_EQ(Run({"--events", "cmd:check:1"}).status, 1);
}

TEST_F(EditShot, RefusesBadEventsBadLevelsAndDialogValuesTheDialogsRefuse) {
    for (const char* script : {"jump:1:2", "down:1", "key:f4", "cmd:new:2:10:Rot",
                               "cmd:resize:10:10:Rot:4", "cmd:width:9", "select:x"}) {
        const auto r = Run({"--events", script});
        EXPECT_EQ(r.status, 1) << script;
        EXPECT_NE(r.err.find("bad event"), std::string::npos) << r.err;
    }
    kxtest::WriteFileBytes(folder.Path("bad.kxlev"), "not a level");
    const auto r = Run({folder.Path("bad.kxlev"), "--state"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("unerwartetes Format"), std::string::npos) << r.err;
}

TEST_F(EditShot, RegionToolsZoomAndPickAreOneStepEachAndIgnoreWhatIsOutOfRange) {
    // Corn at (2, 2) and (3, 2); select them, copy, paste the block at (7, 8) and at the edge,
    // cut the first pair, flood the inside with water from (5, 5), pick the water back.
    const std::string level = folder.Path("region.kxlev");
    auto r = Run({"--events",
                  "select:70,down:72:72,move:104:72,up:104:72,tool:select,down:72:72,"
                  "move:104:72,up:104:72,cmd:copy,cmd:paste:7:8,cmd:paste:9:1,cmd:paste:40:40,"
                  "cmd:paste:-1:3,tool:select,down:72:72,up:72:72,cmd:cut,select:41,tool:flood,"
                  "down:168:168,up:168:168,select:3,cmd:pick:5:5,cmd:pick:99:5,cmd:zoom:25",
                  "--save", level, "--state"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"selected\":41,"), std::string::npos) << "water picked: " << r.out;
    EXPECT_NE(r.out.find("\"zoom\":25,\"selection\":[2,2,2,2]"), std::string::npos) << r.out;
    kx::CGameFieldBase field = Load(level);
    EXPECT_EQ(field.CellAt(7, 8).item, 0);
    EXPECT_EQ(field.CellAt(8, 8).item, 0);
    EXPECT_EQ(field.CellAt(9, 1).item, 0);
    EXPECT_EQ(field.CellAt(10, 1).item, 0) << "clipped: the border's cell took the corn";
    EXPECT_EQ(field.CellAt(2, 2).item, 255) << "cut";
    EXPECT_EQ(field.CellAt(3, 2).item, 0);
    EXPECT_EQ(field.CellAt(5, 5).ground, 65);
    EXPECT_EQ(field.CellAt(2, 2).ground, 65) << "the cut cell is plain ground again, then water";
    EXPECT_EQ(field.CellAt(0, 5).ground, 5) << "the wall stops the flood";
    EXPECT_EQ(field.CellAt(1, 3).ground, 65);

    // At 50 % a paste follows the pointer, Esc stops it, the next one lands where pressed.
    r = Run({level, "--events",
             "cmd:zoom:50,tool:select,down:32:32,move:80:48,up:80:48,cmd:copy,key:esc,"
             "cmd:paste,move:16:80,key:esc,cmd:paste,move:144:144,down:144:144,up:144:144",
             "--state"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"zoom\":50,\"selection\":[9,9,10,10]"), std::string::npos)
        << "the block placed at 50 % where the pointer was, cut at the edge: " << r.out;
    // At 12.5 % a cell is 4 pixels: pixel 22 lies in cell 5.
    r = Run(
        {"--events", "cmd:zoom:12.5,select:70,down:22:22,up:22:22", "--save", level, "--state"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"zoom\":12.5,"), std::string::npos) << r.out;
    EXPECT_EQ(Load(level).CellAt(5, 5).item, 0);
    for (const char* bad :
         {"cmd:zoom:30", "cmd:zoom:12", "cmd:paste:1", "cmd:pick", "tool:lasso", "key:tab"}) {
        EXPECT_EQ(Run({"--events", bad}).status, 1) << bad;
    }
}
