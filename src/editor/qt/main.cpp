// KrawlixEditor: the level editor's entry point.
#include <QApplication>

#include "EditorApp.h"
#include "ProgramIcon.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("KrawlixEditor"));
    QApplication::setOrganizationName(QStringLiteral("Halvane"));
    QApplication::setDesktopFileName(QStringLiteral("net.halvane.KrawlixEditor"));
    kx::CKrawlixEditorApp editor;
    if (!editor.Start(QApplication::arguments())) {
        return 1;
    }
    QApplication::setWindowIcon(kx::MakeProgramIcon(editor.GetImgFull(), editor.GetImgTrans()));
    return application.exec();
}
