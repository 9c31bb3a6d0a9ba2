// CAboutDlg, "Info über KrawlixEditor": the program icon and its version.
#pragma once

#include <QDialog>

namespace kx {

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

} // namespace kx
