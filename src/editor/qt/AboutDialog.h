// CAboutDlg, "Info über KrawlixEditor": the program icon, its version and its licence.
#pragma once

#include <QDialog>

namespace kx {

inline constexpr const char* kEditorVersion = "1.0";
// The licence as the about box names it (UTF-8).
inline constexpr const char* kEditorLicenceText =
    "Freie Software unter der GNU General Public License,\n"
    "Version 3 oder (nach Wahl) jeder späteren Version.\n"
    "Bilder, Töne und Level: CC BY-SA 4.0.";

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

} // namespace kx
