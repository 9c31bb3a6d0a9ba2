// The editor's window icon: the installed theme icon, else composed from the sprite sheets.
#pragma once

#include <QIcon>

#include "graphics/ImageList24.h"

namespace kx {

QIcon MakeProgramIcon(const IImageList24& imgfull, const IImageList24& imgtrans);

} // namespace kx
