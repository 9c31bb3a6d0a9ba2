// The level list dialog's logic: reading, the buttons, and the CR LF file it saves.
#include <gtest/gtest.h>

#include <fstream>

#include "EditorTestSupport.h"
#include "editor/LevelList.h"
#include "storage/Error.h"
#include "storage/TempFolder.h"

using namespace kx;

namespace {
using Items = std::vector<std::string>;
}

TEST(LevelList, ReadingTrimsLinesAndDropsBlankOnes) {
    const kxtest::TempFolder temp;
    const std::filesystem::path folder = temp.Path();
    std::ofstream(folder / "Levels.lst", std::ios::binary) << "  eins \r\n\r\n   \nzwei\n*default";
    CLevelList list;
    ASSERT_TRUE(list.Load((folder / "Levels.lst").string()));
    EXPECT_EQ(list.GetItems(), (Items{"eins", "zwei", "*default"}));
    EXPECT_EQ(list.GetSelected(), -1);
    EXPECT_FALSE(list.Load((folder / "none.lst").string()));
    EXPECT_TRUE(list.GetItems().empty());
}

TEST(LevelList, ButtonsAddMoveAndDeleteAsTheDialogDoes) {
    CLevelList list;
    EXPECT_FALSE(list.Add("   "));
    EXPECT_TRUE(list.Add(" a "));
    EXPECT_TRUE(list.Add("b"));
    EXPECT_TRUE(list.Add("c"));
    EXPECT_EQ(list.GetItems(), (Items{"a", "b", "c"}));
    EXPECT_EQ(list.GetSelected(), -1) << "appending selects nothing";
    list.SetSelected(2);
    EXPECT_TRUE(list.Add("x"));
    EXPECT_EQ(list.GetItems(), (Items{"a", "b", "x", "c"}));
    EXPECT_EQ(list.GetSelected(), 2) << "the new item is selected";
    EXPECT_TRUE(list.MoveUp());
    EXPECT_EQ(list.GetItems(), (Items{"a", "x", "b", "c"}));
    EXPECT_EQ(list.GetSelected(), 1);
    EXPECT_TRUE(list.MoveBottom());
    EXPECT_EQ(list.GetItems(), (Items{"a", "b", "c", "x"}));
    EXPECT_EQ(list.GetSelected(), 3);
    EXPECT_FALSE(list.MoveDown());
    EXPECT_FALSE(list.MoveBottom());
    EXPECT_TRUE(list.MoveTop());
    EXPECT_EQ(list.GetItems(), (Items{"x", "a", "b", "c"}));
    EXPECT_FALSE(list.MoveUp());
    EXPECT_TRUE(list.MoveDown());
    EXPECT_EQ(list.GetItems(), (Items{"a", "x", "b", "c"}));
    EXPECT_TRUE(list.Delete());
    EXPECT_EQ(list.GetItems(), (Items{"a", "b", "c"}));
    EXPECT_EQ(list.GetSelected(), 0);
    EXPECT_TRUE(list.Delete());
    EXPECT_EQ(list.GetSelected(), 0) << "index 0 while any item is left";
    list.SetItems({"only"});
    list.SetSelected(0);
    EXPECT_TRUE(list.Delete());
    EXPECT_EQ(list.GetSelected(), -1);
    EXPECT_FALSE(list.Delete());
}

TEST(LevelList, SavingWritesCrLfAfterEveryLineAndMakesMissingFolders) {
    const kxtest::TempFolder temp;
    const std::filesystem::path folder = temp.Path();
    const std::string path = (folder / "Data" / "Levels.lst").string();
    CLevelList list;
    list.SetItems({"#|/home/a/one.kxlev", "*|Start", "two"});
    list.Save(path);
    EXPECT_EQ(kxtest::ReadBytes(path), "#|/home/a/one.kxlev\r\n*|Start\r\ntwo\r\n");
    CLevelList again;
    ASSERT_TRUE(again.Load(path));
    EXPECT_EQ(again.GetItems(), list.GetItems());
    // A list that cannot be written raises the file layer's message.
    try {
        list.Save("/proc/no-such-folder/Levels.lst");
        FAIL() << "saved";
    } catch (const CTBException& e) {
        EXPECT_NE(e.GetErrorText().find("konnte nicht angelegt werden"), std::string::npos)
            << e.GetErrorText();
    }
}

TEST(LevelList, TheProposedNameIsTheDocumentsFileNameWithoutExtension) {
    EXPECT_EQ(CLevelList::ProposedName("/home/a/levels/Wald.kxlev"), "Wald");
    EXPECT_EQ(CLevelList::ProposedName(""), "");
    // The entry the game finds: a bare name only beside the game, else the file itself.
    EXPECT_EQ(CLevelList::EntryFor("/opt/k/Wald.kxlev", "/opt/k/"), "Wald");
    EXPECT_EQ(CLevelList::EntryFor("/opt/k/Wald.kxlev", "/opt/k"), "Wald");
    EXPECT_EQ(CLevelList::EntryFor("/home/a/Wald.kxlev", "/opt/k"), "#|/home/a/Wald.kxlev");
    EXPECT_EQ(CLevelList::EntryFor("/opt/k/sub/Wald.kxlev", "/opt/k"), "#|/opt/k/sub/Wald.kxlev");
    EXPECT_EQ(CLevelList::EntryFor("", "/opt/k"), "");
}
