// krawlix-tool given damaged, endless or impossible input: a clear message, at once, and
// damage that is used anyway is reported.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ToolRun.h"
#include "storage/TempFolder.h"

namespace fs = std::filesystem;

namespace {

class DamagedInput : public testing::Test {
protected:
    kxtest::ToolResult Run(const std::vector<std::string>& args) const {
        return kxtest::RunTool(args, folder.Path());
    }
    std::string Path(const std::string& name) const { return folder.Path(name); }
    std::string Write(const std::string& name, const std::string& bytes) const {
        return folder.Write(name, bytes);
    }
    std::string SmallLevel() const {
        return kxtest::ReadFileBytes(fs::path(KX_TEST_DATA_DIR) / "levels" / "small_v4.kxlev");
    }

    kxtest::TempFolder folder;
};

} // namespace

TEST_F(DamagedInput, ALevelCutShortIsReadAsFarAsItGoesWithAWarning) {
    const std::string whole = SmallLevel();
    const std::string cut = Write("cut.kxlev", whole.substr(0, whole.size() - 10));
    const std::string complete = Write("whole.kxlev", whole);
    const std::string warning = "warning: " + cut + ": the level file is cut short";
    for (const std::vector<std::string>& args : {std::vector<std::string>{"level", "info", cut},
                                                 {"level", "dump", cut},
                                                 {"level", "convert", cut, Path("out.kxlev")}}) {
        SCOPED_TRACE(args[1]);
        const kxtest::ToolResult run = Run(args);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_NE(run.err.find(warning), std::string::npos) << run.err;
    }
    const kxtest::ToolResult clean = Run({"level", "info", complete});
    EXPECT_EQ(clean.status, 0);
    EXPECT_EQ(clean.err, "");
    // The converted copy is complete, so it no longer warns.
    EXPECT_EQ(Run({"level", "info", Path("out.kxlev")}).err, "");
}
