// CKrawlixEditorApp, the editor program: its profile, archive, fonts, sheets, document and window.
#include "EditorApp.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QTranslator>

#include <ctime>

#include "MainFrame.h"
#include "QtText.h"
#include "storage/Error.h"
#include "storage/MemBlock.h"
#include "storage/MemSerializer.h"

namespace kx {

CKrawlixEditorApp::CKrawlixEditorApp()
    : settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Halvane"),
               QStringLiteral("KrawlixEditor")) {}

CKrawlixEditorApp::~CKrawlixEditorApp() = default;

bool CKrawlixEditorApp::LoadSheet(CImageList24& sheet, const char* name, Colour transparent) {
    const CResource* resource = archive.LookupResource("image", name);
    bool loaded = false;
    if (resource != nullptr) {
        CMemBlock bytes(resource->data, true);
        CMemSerializer store(bytes, false);
        loaded = sheet.LoadSheet(store, kViewCell, kViewCell, transparent);
    }
    if (!loaded) {
        QMessageBox::critical(nullptr, QStringLiteral("KrawlixEditor"),
                              QStringLiteral("Fehlende Resource: %1").arg(QLatin1String(name)));
    }
    return loaded;
}

Q_LOGGING_CATEGORY(kTranslationLog, "krawlix.translation", QtWarningMsg)

bool InstallQtGerman() {
    static QTranslator* installed = nullptr;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    if (installed != nullptr) {
        return true;
    }
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        qCWarning(kTranslationLog, "Qt's German translation (qtbase_de.qm) is not installed");
        return false;
    }
    QCoreApplication::installTranslator(translator);
    installed = translator;
    qCInfo(kTranslationLog, "Qt-Texte aus %s", qUtf8Printable(translator->filePath()));
    return true;
}

bool CKrawlixEditorApp::Start(const QStringList& arguments, const EditorStartOptions& options) {
    // Qt's own texts (file dialogs, buttons, questions) in German like the editor's; without
    // the translation they stay English.
    InstallQtGerman();
    // A missing archive or font is not fatal by itself: the sheets decide below.
    try {
        if (!options.archiveFile.empty()) {
            archive.LoadArchiveFile(options.archiveFile);
        } else {
            archive.LoadArchiveFromProgramFolder("Krawlix");
        }
    } catch (const CTBException& error) {
        QMessageBox::critical(nullptr, QStringLiteral("KrawlixEditor"),
                              QtFromCp1252(error.GetErrorText()));
    }
    fonts.LoadFontsNoThrow(&archive);
    if (!LoadSheet(imgfull, "imgfull", kNoTransparentColour) ||
        !LoadSheet(imgtrans, "imgtrans", 0xFF00FF)) {
        return false;
    }

    view = std::make_unique<CKrawlixEditorView>(doc);
    view->SetSprites(&imgfull, &imgtrans);
    view->SetFontTable(&fonts);
    bool widthRead = false;
    const int width = settings.value(QStringLiteral("View/Bar Icon Width")).toInt(&widthRead);
    if (widthRead) {
        view->GetPalette().SetWidth(width);
    }
    random.seed(options.seed != 0 ? options.seed : static_cast<uint32_t>(std::time(nullptr)));
    frame = std::make_unique<CMainFrame>(doc, *view, settings,
                                         [this] { return static_cast<uint32_t>(random()); });

    // The framework's command line: a file name opens it, else a new document.
    QString file;
    for (const QString& argument : arguments.mid(1)) {
        if (!argument.startsWith(QLatin1Char('-'))) {
            file = argument;
            break;
        }
    }
    frame->OnFileNewFirst();
    if (!file.isEmpty() && !frame->OpenDocumentFile(file)) {
        return false;
    }
    if (options.show) {
        frame->show();
    }
    return true;
}

} // namespace kx
