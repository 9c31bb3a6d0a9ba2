// The window's zoom, fullscreen and mute values in the profile, beside the game's own.
#include <gtest/gtest.h>

#include "game/HeadlessHost.h"
#include "game/sdl/WindowSettings.h"

namespace kx {
namespace {

TEST(WindowSettings, WrittenValuesReadBackAndLeaveTheLastGameAlone) {
    CHeadlessHost host;
    host.Profile().LoadFromText("[LastGame]\nLevel=4\n");
    WriteWindowSettings(host, {3, true, true});
    EXPECT_EQ(ReadWindowSettings(host), (WindowSettings{3, true, true}));
    EXPECT_EQ(host.GetProfileInt("LastGame", "Level", 0), 4);
    const std::string text = host.Profile().ToText();
    EXPECT_NE(text.find("[Window]"), std::string::npos) << text;
    EXPECT_NE(text.find("Zoom=3"), std::string::npos) << text;
    EXPECT_NE(text.find("[Sound]"), std::string::npos) << text;
    EXPECT_NE(text.find("Mute=1"), std::string::npos) << text;
}

TEST(WindowSettings, AnEmptyProfileGivesNoZoomAWindowAndSound) {
    CHeadlessHost host;
    EXPECT_EQ(ReadWindowSettings(host), (WindowSettings{0, false, false}));
}

TEST(WindowSettings, ZoomsNoWindowCanHaveReadAsNotStored) {
    CHeadlessHost host;
    host.Profile().LoadFromText("[Window]\nZoom=0\nFullscreen=7\n[Sound]\nMute=0\n");
    EXPECT_EQ(ReadWindowSettings(host), (WindowSettings{0, true, false}));
    host.Profile().LoadFromText("[Window]\nZoom=-2\n");
    EXPECT_EQ(ReadWindowSettings(host).zoom, 0);
    host.Profile().LoadFromText("[Window]\nZoom=99999\n");
    EXPECT_EQ(ReadWindowSettings(host).zoom, 0);
    host.Profile().LoadFromText("[Window]\nZoom=zwei\n");
    EXPECT_EQ(ReadWindowSettings(host).zoom, 0);
}

TEST(WindowSettings, AZoomNeverChosenIsNotWritten) {
    CHeadlessHost host;
    WriteWindowSettings(host, {0, false, true});
    EXPECT_EQ(host.Profile().ToText().find("Zoom"), std::string::npos);
}

} // namespace
} // namespace kx
