// CGameShell's R, Backspace and H: restart, rewind to the state before a key, the solver's hint;
// the waiting level, its banner and the hint's arrow.
#include "GameShell.h"
#include "GameTexts.h"
#include "fielddraw/DrawCells.h"
#include "storage/TextCodec.h"

namespace kx {

namespace {

// Beyond this the oldest rewind points (never the start) are given up: a level of a million
// cells costs twenty megabytes a point.
constexpr size_t kRewindBytes = size_t{256} << 20;
constexpr uint64_t kNoticeSteps = 150; // a second and a half
constexpr int32_t kBannerFont = 3;
constexpr Colour kArrowColour = 0xFFFF00;

size_t BytesOf(const PlayState& play) {
    size_t bytes = sizeof(PlayState) + play.field.cells.size() * sizeof(FieldCell) +
                   play.ghosts.size() * sizeof(Ghost);
    for (const Worm& worm : play.worms)
        bytes += sizeof(Worm) + worm.segments.size() * sizeof(SegmentPos);
    return bytes;
}

// The arrow pointing right in a cell's own coordinates: a shaft and a wide head.
bool InArrow(int32_t u, int32_t v) {
    if (u >= 3 && u <= 17 && v >= 12 && v <= 19)
        return true;
    const int32_t across = v < 16 ? 15 - v : v - 16;
    return u >= 16 && u <= 29 && across <= 29 - u;
}

// The cell's point (u, v) of an arrow that points in direction, at (px, py) of the cell.
bool ArrowCovers(int32_t direction, int32_t px, int32_t py) {
    if (px < 0 || py < 0 || px >= kCellPixels || py >= kCellPixels)
        return false;
    const int32_t last = kCellPixels - 1;
    switch (direction) {
    case DIR_LEFT:
        return InArrow(last - px, py);
    case DIR_UP:
        return InArrow(last - py, px);
    case DIR_DOWN:
        return InArrow(py, px);
    default:
        return InArrow(px, py);
    }
}

void DrawArrow(CDrawDevice24& surface, int32_t x, int32_t y, int32_t direction) {
    for (int32_t py = -1; py <= kCellPixels; ++py) {
        for (int32_t px = -1; px <= kCellPixels; ++px) {
            if (ArrowCovers(direction, px, py)) {
                surface.SetPixel(x + px, y + py, kArrowColour);
            } else if (ArrowCovers(direction, px - 1, py) || ArrowCovers(direction, px + 1, py) ||
                       ArrowCovers(direction, px, py - 1) || ArrowCovers(direction, px, py + 1)) {
                surface.SetPixel(x + px, y + py, 0x000000);
            }
        }
    }
}

const char* DirectionText(PlayKey key) {
    switch (key) {
    case PlayKey::Up:
        return "Hinweis: nach oben";
    case PlayKey::Down:
        return "Hinweis: nach unten";
    case PlayKey::Left:
        return "Hinweis: nach links";
    case PlayKey::Right:
        return "Hinweis: nach rechts";
    case PlayKey::Tab:
        return "Hinweis: TAB – diesen Wurm steuern";
    }
    return "";
}

} // namespace

void CGameShell::OnRestart() {
    if (!IsPlayingLevel())
        return;
    if (menu.IsOpen() && menu.GetCaption() != T(kWonMenuCaption) &&
        menu.GetCaption() != T(kLostMenuCaption))
        return;
    game.PlaySound("confirm");
    SetLevel(game.currentLevel, false);
}

void CGameShell::Checkpoint() {
    rewindBytes += BytesOf(rewindPoints.back().play);
    while (rewindBytes > kRewindBytes && rewindPoints.size() > 2) {
        rewindBytes -= BytesOf(rewindPoints[1].play);
        rewindPoints.erase(rewindPoints.begin() + 1);
    }
}

void CGameShell::Restore(size_t index) {
    hintSearch.Cancel();
    hint.reset();
    const RewindPoint& point = rewindPoints[index];
    game.play = point.play;
    attemptSteps = point.steps;
    attemptKeys.resize(point.keys);
    attemptEnd.reset();
    game.endShown = false;
    game.SetViewTarget(false);
    pause = PauseKind::Rewound;
    game.RequestRedraw();
}

void CGameShell::OnRewind() {
    // A replay steers alone.
    if (!IsPlayingLevel() || panel.IsVisible() || rewindPoints.empty() || replay)
        return;
    if (menu.IsOpen()) {
        if (menu.GetCaption() != T(kLostMenuCaption))
            return;
        menu.Close();
    }
    // The last point is the state before the last key; once restored it is spent, so that
    // the next rewind reaches the key before. The start stays.
    const size_t last = rewindPoints.size() - 1;
    Restore(last);
    if (last > 0) {
        rewindBytes -= BytesOf(rewindPoints[last].play);
        rewindPoints.pop_back();
    }
}

void CGameShell::OnHint() {
    if (pause == PauseKind::Hint) {
        Resume();
        return;
    }
    if (!IsPlayingLevel() || menu.IsOpen() || panel.IsVisible() || attemptEnd ||
        game.play.worms.empty() || replay)
        return;
    pause = PauseKind::Hint;
    hint = Hint{};
    // The state waits before the attempt's next step, as the solver's start does.
    hintSearch.Start(game.play, LevelTimeMs());
    game.RequestRedraw();
}

void CGameShell::WaitForHint() {
    if (std::optional<Hint> answer = hintSearch.Wait()) {
        hint = answer;
        game.RequestRedraw();
    }
}

void CGameShell::OnSpace() {
    if (!panel.IsVisible() && !menu.IsOpen())
        Resume();
}

void CGameShell::Resume() {
    if (pause == PauseKind::None)
        return;
    pause = PauseKind::None;
    hintSearch.Cancel();
    hint.reset();
    game.RequestRedraw();
}

void CGameShell::ShowNotice(const std::string& text) {
    notice = text;
    noticeSteps = kNoticeSteps;
    game.RequestRedraw();
}

void CGameShell::DrawBanner(const std::string& text, int32_t y) {
    surface.SetFont(kBannerFont);
    const TextSize size = surface.MeasureText(text);
    const int32_t cx = surface.GetWidth() / 2;
    SurfaceRect box{cx - size.width / 2 - 16, y, cx + (size.width + 1) / 2 + 16,
                    y + size.height + 16};
    surface.DarkenRect(box, 2);
    surface.DrawFrame(box, 0xC0C0C0);
    surface.DrawFrame(box.left - 1, box.top - 1, box.right + 1, box.bottom + 1, 0x000000);
    surface.DrawText(cx - size.width / 2, y + 8, text, 0xFFFF00);
}

void CGameShell::DrawPauseAndHint(int32_t offsetX, int32_t offsetY) {
    int32_t y = 12;
    if (pause != PauseKind::None) {
        std::string text = T("Pause – Taste drücken");
        if (pause == PauseKind::Hint) {
            switch (hint ? hint->kind : Hint::Kind::Searching) {
            case Hint::Kind::Searching:
                text = T("Hinweis wird gesucht …");
                break;
            case Hint::Kind::Key:
                text = T(DirectionText(hint->key));
                break;
            case Hint::Kind::NoKeyNeeded:
                text = T("Hinweis: keine Taste mehr nötig");
                break;
            case Hint::Kind::Unwinnable:
                text = T("Von hier aus ist die Ebene nicht mehr zu schaffen – Rücktaste oder R");
                break;
            case Hint::Kind::Unknown:
                text = T("Kein Hinweis gefunden");
                break;
            }
        }
        if (hint && (hint->kind == Hint::Kind::Key || hint->kind == Hint::Kind::NoKeyNeeded)) {
            const int32_t x = hint->cellX * kCellPixels - offsetX;
            const int32_t top = hint->cellY * kCellPixels - offsetY;
            // The cell framed, the key's direction on it; TAB frames the worm it selects.
            for (int32_t i = 0; i < 3; ++i)
                surface.DrawFrame(x - 2 - i, top - 2 - i, x + kCellPixels + 1 + i,
                                  top + kCellPixels + 1 + i, i == 1 ? kArrowColour : 0x000000);
            if (hint->kind == Hint::Kind::Key && hint->key != PlayKey::Tab)
                DrawArrow(surface, x, top, static_cast<int32_t>(hint->key));
        }
        DrawBanner(text, y);
        y += 44;
    }
    if (!notice.empty())
        DrawBanner(notice, y);
}

} // namespace kx
