// The browser's host of the game shell; the page's own script (page.js) does the DOM side.
#include "WebHost.h"

#include <emscripten.h>

#include <algorithm>
#include <cmath>

#include "game/GameResources.h"
#include "sound/SoundNames.h"
#include "storage/TextCodec.h"

namespace kx {

namespace {

// clang-format off
EM_JS(void, JsSetTitle, (const char* utf8), { Module.kxPage.setTitle(UTF8ToString(utf8)); });
EM_JS(void, JsShowMessage, (const char* utf8), { Module.kxPage.showMessage(UTF8ToString(utf8)); });
EM_JS(void, JsOpen, (const char* utf8), { Module.kxPage.open(UTF8ToString(utf8)); });
EM_JS(void, JsStoreProfile, (const char* utf8), { Module.kxPage.storeProfile(UTF8ToString(utf8)); });
EM_JS(void, JsSound, (int slot, const uint8_t* bytes, int size), {
    Module.kxPage.addSound(slot, HEAPU8.slice(bytes, bytes + size));
});
EM_JS(void, JsPlaySound, (int slot), { Module.kxPage.playSound(slot); });
EM_JS(void, JsSetMuted, (int muted), { Module.kxPage.setMuted(muted != 0); });
EM_JS(void, JsEnded, (), { Module.kxPage.ended(); });
EM_JS(void, JsPaint,
      (const uint8_t* rgba, int width, int height, int left, int top, int right, int bottom), {
    Module.kxPage.paint(new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4), width,
                        height, left, top, right - left, bottom - top);
});
// clang-format on

constexpr const char* kSoundSection = "Sound";

std::string ToPage(const std::string& cp1252) {
    return Utf8FromCp1252(cp1252);
}

} // namespace

void CopyToRgba(const CDrawDevice24& surface, const SurfaceRect& area, uint8_t* rgba) {
    const int32_t width = surface.GetWidth();
    const int32_t height = surface.GetHeight();
    const SurfaceRect inside = IntersectionOf(area, surface.Whole());
    const size_t stride = static_cast<size_t>(surface.GetStride());
    for (int32_t y = inside.top; y < inside.bottom; ++y) {
        // The surface is stored bottom row first, blue first.
        const uint8_t* source = surface.GetPixels() + stride * static_cast<size_t>(height - 1 - y) +
                                3 * static_cast<size_t>(inside.left);
        uint8_t* target = rgba + static_cast<size_t>(4 * width) * static_cast<size_t>(y) +
                          4 * static_cast<size_t>(inside.left);
        for (int32_t x = inside.left; x < inside.right; ++x, source += 3, target += 4) {
            target[0] = source[2];
            target[1] = source[1];
            target[2] = source[0];
            target[3] = 255;
        }
    }
}

void ShowOnCanvas(const CDrawDevice24& surface, const SurfaceRect& changed) {
    if (!surface.HasPixels())
        return;
    // The canvas and this copy keep the last picture: only what changed since is converted
    // and handed over, unless the picture shown last came from another surface.
    static std::vector<uint8_t> rgba;
    static const CDrawDevice24* shown = nullptr;
    const SurfaceRect whole = surface.Whole();
    const size_t size = static_cast<size_t>(whole.right) * static_cast<size_t>(whole.bottom) * 4;
    SurfaceRect area = IntersectionOf(changed, whole);
    if (shown != &surface || rgba.size() != size) {
        rgba.assign(size, 0);
        shown = &surface;
        area = whole;
    }
    if (area.IsEmpty())
        return;
    CopyToRgba(surface, area, rgba.data());
    JsPaint(rgba.data(), whole.right, whole.bottom, area.left, area.top, area.right, area.bottom);
}

CWebHost::CWebHost(const std::string& profileText) {
    // Whatever the page stored, the game starts: an oversized text is not read (nor
    // overwritten), any other is read as far as it makes sense.
    if (profileText.size() <= kMaxProfileBytes)
        profile.LoadFromText(profileText);
}

CWebHost::~CWebHost() {
    End();
}

bool CWebHost::Start(const std::string& commandLine, const std::string& levelName) {
    End();
    quitPosted = false;
    counter = static_cast<uint64_t>(emscripten_get_now() * 1000.0);
    shell = std::make_unique<CGameShell>(*this, nullptr);
    shell->SetProgramFolder(kWebProgramFolder);
    shell->SetDocumentsFolder("");
    shell->SetSoundObserver(this);
    shell->ParseCommandLine(commandLine);
    if (!shell->Initialize()) {
        shell.reset();
        return false;
    }
    HandOverSounds();
    muted = profile.GetInt(kSoundSection, "Mute", 0) != 0;
    JsSetMuted(muted ? 1 : 0);
    shell->InitWindow();
    if (!levelName.empty()) {
        // The address is UTF-8, the level list the game's own code page.
        const std::string wanted = Cp1252FromUtf8(levelName);
        const auto& levels = shell->Levels();
        const auto match = std::find_if(levels.begin(), levels.end(), [&](const std::string& e) {
            return e == "*|" + wanted || e == wanted;
        });
        if (match != levels.end())
            shell->SetLevel(static_cast<int32_t>(match - levels.begin()) + 1);
        else
            ShowMessageBox(T("Diese Ebene gibt es nicht: ") + wanted, MessageIcon::Warning);
    }
    steps.Reset(counter + kTickIntervalMs * 1000, kTickIntervalMs * 1000);
    started = true;
    // The first picture goes on the canvas at once, not a frame later.
    RepaintNow();
    ShowPicture(true);
    return true;
}

void CWebHost::HandOverSounds() {
    for (int slot = 0; slot < kSoundCount; ++slot) {
        const CResource* sound =
            shell->Archive().LookupResource("sound", kSoundNames[static_cast<size_t>(slot)]);
        if (sound != nullptr && sound->data.size > 0)
            JsSound(slot, sound->data.data, static_cast<int>(sound->data.size));
    }
}

void CWebHost::End() {
    if (!shell)
        return;
    shell->SaveProgress();
    shell.reset();
}

void CWebHost::Frame(double nowMs) {
    if (!IsRunning())
        return;
    const uint64_t now = static_cast<uint64_t>(std::max(nowMs, 0.0) * 1000.0);
    uint64_t stepTime = 0;
    while (!quitPosted && steps.Next(now, stepTime)) {
        counter = stepTime;
        shell->Tick();
    }
    if (quitPosted) {
        // "Beenden" in a browser: the progress is kept and the page says the game has ended.
        End();
        JsEnded();
        return;
    }
    ShowPicture(false);
}

void CWebHost::ShowPicture(bool whole) {
    if (!IsRunning() || !(whole || dirty))
        return;
    ShowOnCanvas(shell->Surface(), whole ? shell->Surface().Whole() : changed);
    dirty = false;
    changed = {};
}

void CWebHost::Perform(WebAction action) {
    if (!IsRunning() || PerformShellAction(*shell, action))
        return;
    if (action == WebAction::ToggleMute) {
        muted = !muted;
        JsSetMuted(muted ? 1 : 0);
        WriteProfileInt(kSoundSection, "Mute", muted ? 1 : 0);
        shell->ShowNotice(MuteNotice(muted));
    }
}

void CWebHost::Click(int32_t x, int32_t y) {
    if (IsRunning())
        shell->OnClick(x, y);
}

void CWebHost::SetWindowTitle(const std::string& title) {
    JsSetTitle(ToPage(title).c_str());
}

void CWebHost::RepaintNow() {
    // The picture is composed at once, as the host seam asks; the canvas takes it once a
    // frame, however many steps the frame ran.
    if (shell && started) {
        shell->Paint(kClientSize, kClientSize);
        for (const SurfaceRect& area : shell->PaintedAreas())
            changed = UnionOf(changed, area);
        dirty = true;
    }
}

void CWebHost::ShowMessageBox(const std::string& text, MessageIcon) {
    JsShowMessage(ToPage(text).c_str());
}

void CWebHost::OpenWebAddress(const std::string& address) {
    JsOpen(ToPage(address).c_str());
}

int32_t CWebHost::GetProfileInt(const std::string& section, const std::string& entry,
                                int32_t defaultValue) {
    return profile.GetInt(section, entry, defaultValue);
}

void CWebHost::WriteProfileInt(const std::string& section, const std::string& entry,
                               int32_t value) {
    profile.SetInt(section, entry, value);
    JsStoreProfile(profile.ToText().c_str());
}

std::vector<std::pair<std::string, std::string>>
CWebHost::GetProfileSection(const std::string& section) {
    return profile.SectionEntries(section);
}

void CWebHost::WriteProfileString(const std::string& section, const std::string& entry,
                                  const std::string& value) {
    profile.SetString(section, entry, value);
    JsStoreProfile(profile.ToText().c_str());
}

void CWebHost::PlaySound(const std::string& name) {
    const int slot = FindSoundSlot(name);
    if (slot >= 0 && !muted)
        JsPlaySound(slot);
}

} // namespace kx
