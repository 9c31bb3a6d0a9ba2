// KrawlixEditor: the level editor's entry point.
#include <QApplication>

#include <cstdio>
#include <cstring>

#include "AboutDialog.h"
#include "EditorApp.h"
#include "ProgramIcon.h"

namespace {

// Answered before QApplication exists, which needs a display: the manual page is made from
// this text at build time, where there is none.
bool AnswerHelpOrVersion(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::fputs(
                "Aufruf: KrawlixEditor [DATEI.kxlev]\n"
                "       KrawlixEditor --help | --version\n"
                "\n"
                "Der Level-Editor von Krawlix. Eine angegebene Level-Datei wird geöffnet,\n"
                "sonst beginnt er mit einem neuen Level. \"Level Testen\" (Strg+F5) startet\n"
                "das Spiel auf einer Kopie des Levels.\n"
                "\n"
                "  --help     diese Hilfe zeigen\n"
                "  --version  die Version zeigen\n",
                stdout);
            return true;
        }
    }
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("KrawlixEditor %s\n", kx::kEditorVersion);
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (AnswerHelpOrVersion(argc, argv)) {
        return 0;
    }
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
