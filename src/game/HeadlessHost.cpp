// CHeadlessHost: repaints through the handler, keeps the profile in memory or in a file.
#include "HeadlessHost.h"

namespace kx {

void CHeadlessHost::UseProfileFile(const std::string& path) {
    profilePath.reset();
    if (profile.Load(path) != CProfileFile::LoadResult::Unreadable)
        profilePath = path;
}

void CHeadlessHost::RepaintNow() {
    ++repaints;
    if (repaint)
        repaint();
}

void CHeadlessHost::WriteProfileInt(const std::string& section, const std::string& entry,
                                    int32_t value) {
    ++profileWrites;
    profile.SetInt(section, entry, value);
    if (profilePath && !profile.Save(*profilePath, &profileSaveError))
        profileSaveFailed = true;
}

void CHeadlessHost::WriteProfileString(const std::string& section, const std::string& entry,
                                       const std::string& value) {
    ++profileWrites;
    profile.SetString(section, entry, value);
    if (profilePath && !profile.Save(*profilePath, &profileSaveError))
        profileSaveFailed = true;
}

} // namespace kx
