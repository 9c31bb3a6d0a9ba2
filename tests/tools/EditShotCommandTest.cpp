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
                     "\"switchLayer\":false,\"modified\":false,\"show\":{\"objects\":true,"
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
