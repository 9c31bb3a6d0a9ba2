// The editor's window icon: the installed theme icon, else composed from the sprite sheets.
#include "ProgramIcon.h"

#include <QImage>
#include <QPixmap>

#include "editor/EditorView.h"
#include "graphics/DrawDevice24.h"

namespace kx {

QIcon MakeProgramIcon(const IImageList24& imgfull, const IImageList24& imgtrans) {
    QIcon icon = QIcon::fromTheme(QStringLiteral("net.halvane.KrawlixEditor"));
    if (!icon.isNull()) {
        return icon;
    }
    // The small design of the installed icon: plain ground, a worm's head, the marker.
    CDrawDevice24 surface;
    surface.Create(kViewCell, kViewCell);
    imgfull.DrawCell(surface, 0, 0, 64);
    imgtrans.DrawCell(surface, 0, 0, 147);
    imgtrans.DrawCell(surface, 0, 0, kRectangleMarker);
    QImage image(kViewCell, kViewCell, QImage::Format_BGR888);
    surface.CopyTopDownTo(image.bits(), static_cast<int32_t>(image.bytesPerLine()));
    return QIcon(QPixmap::fromImage(image));
}

} // namespace kx
