// CMainFrame, the editor's main window: menus, toolbar, status bar, recent files and the commands.
#pragma once

#include <QMainWindow>
#include <QPoint>
#include <QSize>

#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "RecentFiles.h"
#include "editor/EditorDoc.h"
#include "editor/EditorView.h"
#include "editor/TestPlay.h"

class QAction;
class QLabel;
class QActionGroup;
class QMenu;
class QSettings;
class QToolBar;

namespace kx {

class CCheckPanel;
class CEditorViewWidget;
class CViewPane;

// The window's size on its first start, for a screen with that much room: large enough for a
// 200 x 200 field at the smallest zoom beside the palette and the check list, never above the
// room there is, never below the 900 x 640 of a small screen.
QSize FirstWindowSize(QSize available);

// The commands by name, for the menus, the toolbar and tests.
enum class Command {
    New,
    Open,
    Save,
    SaveAs,
    TestLevel,
    Description,
    LevelList,
    Exit,
    Undo,
    Redo,
    ToolPaint,
    ToolRectangle,
    ToolFilledRectangle,
    Merge,
    ToggleToolbar,
    ToggleStatusBar,
    SwitchLayer,
    ShowObjects,
    ShowItems,
    ShowCreatures,
    ShowSwitches,
    ShowBlocking,
    ScrollUp,
    ScrollDown,
    Width1,
    Width2,
    Width3,
    Width4,
    Width5,
    Width6,
    Width7,
    Width8,
    // The region tools and the zoom.
    ToolSelect,
    ToolFlood,
    Cut,
    Copy,
    Paste,
    Delete,
    ZoomIn,
    ZoomOut,
    Zoom100,
    Zoom50,
    Zoom25,
    Zoom12,
    About,
    Resize,
    CheckLevel,
    Demonstrate,
};

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    CMainFrame(CKrawlixEditorDoc& doc, CKrawlixEditorView& view, QSettings& settings,
               std::function<uint32_t()> random);
    ~CMainFrame() override;

    QAction* Action(Command command) const { return actions.at(command); }
    QMenu* RecentFilesMenuAnchor() const { return fileMenu; }
    QToolBar* ToolBar() const { return toolBar; }
    CEditorViewWidget* ViewWidget() const { return viewWidget; }
    CViewPane* ViewPane() const { return viewPane; }
    // The status bar's panes: the cell under the pointer and what it holds, the field's size,
    // the shown layer with the zoom.
    QString CellStatus() const;
    QString SizeStatus() const;
    QString LayerStatus() const;
    CCheckPanel* CheckPanel() const { return checkPanel; }
    // Where "Speichern unter" starts for a level without a file: the documents folder's
    // "Krawlix", whose levels the game lists by itself. Tests point it elsewhere.
    void SetLevelFolder(const QString& folder) { levelFolder = folder; }
    QString LevelFolder() const;
    const CRecentFileList& RecentFiles() const { return recentFiles; }
    // The recent-file actions as the "&Datei" menu shows them.
    QList<QAction*> RecentFileActions() const { return recentActions; }

    // The program's first document: 11 x 11 "Rot" without a dialog.
    void OnFileNewFirst();
    // Opens the file after asking to save a modified document; false on Cancel or failure
    // (the message was shown; the document stays as it was).
    bool OpenDocumentFile(const QString& path);
    // Saves to path; false after the message when it fails.
    bool SaveDocumentAs(const QString& path);
    // Asks "save the changes?" for a modified document: false when the user cancels or
    // the save fails.
    bool SaveModified();
    // The game started for a test play; empty: "Krawlix" in the program folder.
    void SetTestPlaySettings(const TestPlaySettings& settings) { testPlay = settings; }
    // Title, enabled states and check marks after a change.
    void UpdateUi();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QAction* MakeAction(Command command, const QString& text, const QString& statusText);
    void BuildActions();
    void BuildMenus();
    void BuildToolBar();
    void BuildStatusBar();
    void RebuildRecentFiles();
    // Opening and saving: the document's operation on path, its failure shown, the file
    // put on top of the recent files on success.
    bool RunFileOperation(const QString& path,
                          void (CKrawlixEditorDoc::*operation)(const std::string&));

    void OnFileNew();
    void OnFileOpen();
    bool OnFileSave();
    bool OnFileSaveAs();
    void OnTestLevel();
    void OnCheckLevel();
    void OnDemonstrate();
    void ShowTestPlayResult(const TestPlayResult& result);
    void OnDescription();
    void OnLevelList();
    void OnResize();
    void OnAbout();
    void OnWidthItem(int item);
    void AfterViewCommand();
    // Region tools, clipboard, zoom and the status bar's panes (MainFrameRegion.cpp).
    void BuildRegionUi();
    void UpdateRegionUi();
    void ShowPointer(QPoint surface, bool inside);
    void ShowError(const QString& text);

    CKrawlixEditorDoc& doc;
    CKrawlixEditorView& view;
    QSettings& settings;
    std::function<uint32_t()> random;
    TestPlaySettings testPlay;
    CRecentFileList recentFiles;
    std::map<Command, QAction*> actions;
    QList<QAction*> recentActions;
    QAction* recentPlaceholder = nullptr;
    QAction* recentEnd = nullptr;
    QMenu* fileMenu = nullptr;
    QToolBar* toolBar = nullptr;
    CEditorViewWidget* viewWidget = nullptr;
    CViewPane* viewPane = nullptr;
    QLabel* cellLabel = nullptr;
    QLabel* sizeLabel = nullptr;
    QLabel* layerLabel = nullptr;
    CCheckPanel* checkPanel = nullptr;
    QString levelFolder;
};

} // namespace kx
