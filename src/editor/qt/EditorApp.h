// CKrawlixEditorApp, the editor program: its profile, archive, fonts, sheets, document and window.
#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <random>
#include <string>

#include "editor/EditorDoc.h"
#include "editor/EditorView.h"
#include "graphics/FontTable.h"
#include "graphics/ImageList24.h"
#include "storage/ResourceArchive.h"

namespace kx {

class CMainFrame;

// Qt's German translation for its own texts, and German number formats; false when the
// translation is not installed.
bool InstallQtGerman();

struct EditorStartOptions {
    // The archive to read instead of the data-file search from the program folder.
    std::string archiveFile;
    // The generator's seed; 0: the calendar time.
    uint32_t seed = 0;
    // Show the window (tests keep it hidden).
    bool show = true;
};

class CKrawlixEditorApp {
public:
    CKrawlixEditorApp();
    ~CKrawlixEditorApp();
    CKrawlixEditorApp(const CKrawlixEditorApp&) = delete;
    CKrawlixEditorApp& operator=(const CKrawlixEditorApp&) = delete;

    // Start-up in order: profile, archive and fonts, the two sheets (a missing one is
    // reported and ends the program), the document and window, the command line (a file
    // name opens it), the window shown with dropped files accepted, the generator seeded.
    // False when the program should end.
    bool Start(const QStringList& arguments, const EditorStartOptions& options = {});

    CMainFrame* GetMainFrame() { return frame.get(); }
    CKrawlixEditorDoc& GetDocument() { return doc; }
    CKrawlixEditorView& GetView() { return *view; }
    QSettings& GetSettings() { return settings; }
    const CImageList24& GetImgFull() const { return imgfull; }
    const CImageList24& GetImgTrans() const { return imgtrans; }

private:
    bool LoadSheet(CImageList24& sheet, const char* name, Colour transparent);

    QSettings settings;
    CResourceArchive archive;
    CFontTable fonts;
    CImageList24 imgfull;
    CImageList24 imgtrans;
    CKrawlixEditorDoc doc;
    std::unique_ptr<CKrawlixEditorView> view;
    std::mt19937 random;
    std::unique_ptr<CMainFrame> frame;
};

} // namespace kx
