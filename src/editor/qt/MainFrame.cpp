// CMainFrame, the editor's main window: the document commands, test play, dialogs and dropped
// files.
#include "MainFrame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QUrl>

#include "AboutDialog.h"
#include "CheckPanel.h"
#include "EditorViewWidget.h"
#include "GameLauncher.h"
#include "LevelDialogs.h"
#include "LevelListDialog.h"
#include "QtText.h"
#include "ViewPane.h"
#include "editor/ArchiveException.h"
#include "editor/LevelList.h"
#include "editor/WallStyle.h"
#include "levelsource/Tape.h"
#include "storage/Path.h"

namespace kx {

namespace {

const QString kProgram = QStringLiteral("KrawlixEditor");
const QString kFilter = QStringLiteral("Krawlix Level (*.kxlev)");
const QString kWidthKey = QStringLiteral("View/Bar Icon Width");
const QString kGeometryKey = QStringLiteral("Window/Geometry");
const QString kStateKey = QStringLiteral("Window/State");

} // namespace

QSize FirstWindowSize(QSize available) {
    // The frame the window manager adds and a panel on the screen's edge.
    const QSize room = available - QSize(40, 80);
    return QSize(1200, 920).boundedTo(room).expandedTo(QSize(900, 640));
}

CMainFrame::CMainFrame(CKrawlixEditorDoc& doc, CKrawlixEditorView& view, QSettings& settings,
                       std::function<uint32_t()> random)
    : doc(doc), view(view), settings(settings), random(std::move(random)) {
    setObjectName(QStringLiteral("MainFrame"));
    BuildActions();
    BuildMenus();
    BuildToolBar();
    BuildStatusBar();
    viewPane = new CViewPane(view, this);
    viewWidget = viewPane->View();
    setCentralWidget(viewPane);
    BuildRegionUi();
    viewWidget->setFocus();
    setAcceptDrops(true);
    resize(FirstWindowSize(screen()->availableGeometry().size()));
    checkPanel = new CCheckPanel(this);
    addDockWidget(Qt::RightDockWidgetArea, checkPanel);
    checkPanel->hide();
    connect(checkPanel, &CCheckPanel::CellChosen, this, [this](int x, int y) {
        this->view.ShowMarkedCell(x, y);
        AfterViewCommand();
    });
    connect(checkPanel, &CCheckPanel::SolutionChanged, this, &CMainFrame::UpdateUi);
    connect(checkPanel, &CCheckPanel::DemonstrateRequested, this, &CMainFrame::OnDemonstrate);
    // Size, place and the check panel as the last session left them.
    restoreGeometry(settings.value(kGeometryKey).toByteArray());
    restoreState(settings.value(kStateKey).toByteArray());

    recentFiles.Read(settings);
    RebuildRecentFiles();

    connect(Action(Command::New), &QAction::triggered, this, &CMainFrame::OnFileNew);
    connect(Action(Command::Open), &QAction::triggered, this, &CMainFrame::OnFileOpen);
    connect(Action(Command::Save), &QAction::triggered, this, &CMainFrame::OnFileSave);
    connect(Action(Command::SaveAs), &QAction::triggered, this, &CMainFrame::OnFileSaveAs);
    connect(Action(Command::TestLevel), &QAction::triggered, this, &CMainFrame::OnTestLevel);
    connect(Action(Command::CheckLevel), &QAction::triggered, this, &CMainFrame::OnCheckLevel);
    connect(Action(Command::Demonstrate), &QAction::triggered, this, &CMainFrame::OnDemonstrate);
    connect(Action(Command::Description), &QAction::triggered, this, &CMainFrame::OnDescription);
    connect(Action(Command::LevelList), &QAction::triggered, this, &CMainFrame::OnLevelList);
    connect(Action(Command::Exit), &QAction::triggered, this, &QWidget::close);
    connect(Action(Command::Resize), &QAction::triggered, this, &CMainFrame::OnResize);
    connect(Action(Command::About), &QAction::triggered, this, &CMainFrame::OnAbout);

    auto viewCommand = [this](Command command, auto&& call) {
        connect(Action(command), &QAction::triggered, this, [this, call] {
            call();
            AfterViewCommand();
        });
    };
    viewCommand(Command::Undo, [this] { this->view.Undo(); });
    viewCommand(Command::Redo, [this] { this->view.Redo(); });
    viewCommand(Command::ToolPaint, [this] { this->view.SetTool(ToolPaint); });
    viewCommand(Command::ToolRectangle, [this] { this->view.SetTool(ToolRectangle); });
    viewCommand(Command::ToolFilledRectangle, [this] { this->view.SetTool(ToolFilledRectangle); });
    viewCommand(Command::Merge, [this] { this->view.MergeLegoBlocks(); });
    viewCommand(Command::SwitchLayer, [this] { this->view.ToggleSwitchLayer(); });
    viewCommand(Command::ShowObjects, [this] { this->view.ToggleShowObjects(); });
    viewCommand(Command::ShowItems, [this] { this->view.ToggleShowItems(); });
    viewCommand(Command::ShowCreatures, [this] { this->view.ToggleShowCreatures(); });
    viewCommand(Command::ShowSwitches, [this] { this->view.ToggleShowSwitches(); });
    viewCommand(Command::ShowBlocking, [this] { this->view.ToggleShowBlocking(); });
    viewCommand(Command::ScrollUp, [this] { this->view.PaletteScrollUp(); });
    viewCommand(Command::ScrollDown, [this] { this->view.PaletteScrollDown(); });
    for (int item = 1; item <= 8; ++item) {
        connect(Action(static_cast<Command>(static_cast<int>(Command::Width1) + item - 1)),
                &QAction::triggered, this, [this, item] { OnWidthItem(item); });
    }

    doc.SetChangeListener([this] {
        checkPanel->FieldChanged(this->doc);
        UpdateUi();
    });
    viewWidget->SetChangedCallback([this] { UpdateUi(); });
    UpdateUi();
}

CMainFrame::~CMainFrame() {
    doc.SetChangeListener(nullptr);
}

void CMainFrame::AfterViewCommand() {
    viewWidget->SyncWithView();
    UpdateUi();
}

void CMainFrame::ShowError(const QString& text) {
    QMessageBox::critical(this, kProgram, text);
}

void CMainFrame::OnFileNewFirst() {
    doc.NewDocument(11, 11, "Rot");
    view.OnInitialUpdate();
    AfterViewCommand();
}

void CMainFrame::OnFileNew() {
    if (!SaveModified()) {
        return;
    }
    CNewLevelDialog dialog(this);
    // Cancel leaves the document as it was, its file name and modified flag included.
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    doc.NewDocument(dialog.GetWidth(), dialog.GetHeight(), dialog.GetStyle());
    view.OnInitialUpdate();
    AfterViewCommand();
}

// The file is chosen first; opening it asks to save a modified document.
void CMainFrame::OnFileOpen() {
    const QString start = doc.GetPathName().empty()
                              ? QString()
                              : QFileInfo(QtFromPath(doc.GetPathName())).absolutePath();
    const QString path =
        QFileDialog::getOpenFileName(this, QString::fromUtf8("Öffnen"), start, kFilter);
    if (!path.isEmpty()) {
        OpenDocumentFile(path);
    }
}

bool CMainFrame::RunFileOperation(const QString& path,
                                  void (CKrawlixEditorDoc::*operation)(const std::string&)) {
    try {
        (doc.*operation)(PathFromQt(path));
    } catch (const CArchiveException& error) {
        ShowError(QString::fromStdString(error.GetMessage()));
        return false;
    }
    recentFiles.Add(path);
    recentFiles.Write(settings);
    RebuildRecentFiles();
    return true;
}

bool CMainFrame::OpenDocumentFile(const QString& path) {
    if (!SaveModified() || !RunFileOperation(path, &CKrawlixEditorDoc::OpenFile)) {
        return false;
    }
    view.OnInitialUpdate();
    AfterViewCommand();
    return true;
}

bool CMainFrame::SaveDocumentAs(const QString& path) {
    if (!RunFileOperation(path, &CKrawlixEditorDoc::SaveFile)) {
        return false;
    }
    UpdateUi();
    return true;
}

bool CMainFrame::OnFileSave() {
    if (doc.GetPathName().empty()) {
        return OnFileSaveAs();
    }
    return SaveDocumentAs(QtFromPath(doc.GetPathName()));
}

QString CMainFrame::LevelFolder() const {
    if (!levelFolder.isEmpty()) {
        return levelFolder;
    }
    const std::string documents = GetDocumentsDirectory();
    return documents.empty() ? QString() : QtFromPath(JoinPath(documents, "Krawlix"));
}

bool CMainFrame::OnFileSaveAs() {
    QString suggested = QtFromPath(doc.GetPathName());
    QString hint;
    if (doc.GetPathName().empty()) {
        // A new level starts where the game finds it without any list.
        const QString folder = LevelFolder();
        if (!folder.isEmpty() && QDir().mkpath(folder)) {
            suggested = QDir(folder).filePath(QStringLiteral("KrawlixLevel.kxlev"));
            hint = QString::fromUtf8("Level im Ordner %1 zeigt das Spiel von selbst in seiner "
                                     "Levelliste.")
                       .arg(QDir::toNativeSeparators(folder));
        } else {
            suggested = QStringLiteral("KrawlixLevel.kxlev");
        }
    }
    QFileDialog dialog(this, QStringLiteral("Speichern unter"), suggested, kFilter);
    if (!hint.isEmpty()) {
        // Qt's own dialog, so that the hint can stand in it.
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        if (auto* layout = dialog.layout()) {
            auto* label = new QLabel(hint, &dialog);
            label->setObjectName(QStringLiteral("LevelFolderHint"));
            label->setWordWrap(true);
            layout->addWidget(label);
        }
    }
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("kxlev"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return false;
    }
    return SaveDocumentAs(dialog.selectedFiles().constFirst());
}

bool CMainFrame::SaveModified() {
    if (!doc.IsModified()) {
        return true;
    }
    const QString name = doc.GetPathName().empty()
                             ? QStringLiteral("KrawlixLevel")
                             : QFileInfo(QtFromPath(doc.GetPathName())).fileName();
    QMessageBox box(QMessageBox::Warning, kProgram,
                    QString::fromUtf8("Änderungen in %1 speichern?").arg(name),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, this);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("&Ja"));
    box.button(QMessageBox::No)->setText(QStringLiteral("&Nein"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("Abbrechen"));
    box.setDefaultButton(QMessageBox::Yes);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return OnFileSave();
    case QMessageBox::No:
        return true;
    default:
        return false;
    }
}

void CMainFrame::OnTestLevel() {
    CGameLauncher launcher(this);
    ShowTestPlayResult(TestLevel(doc, random(), launcher, testPlay));
}

void CMainFrame::OnCheckLevel() {
    view.ClearMark();
    checkPanel->Run(doc);
    AfterViewCommand();
}

void CMainFrame::OnDemonstrate() {
    if (!checkPanel->HasSolution()) {
        return;
    }
    CGameLauncher launcher(this);
    ShowTestPlayResult(DemonstrateLevel(checkPanel->FieldOfSolution(),
                                        FormatTape(checkPanel->Solution()), random(), launcher,
                                        testPlay));
}

void CMainFrame::ShowTestPlayResult(const TestPlayResult& result) {
    switch (result.outcome) {
    case TestPlayResult::Outcome::Started:
        break;
    case TestPlayResult::Outcome::WriteFailed:
        ShowError(QString::fromStdString(result.error));
        break;
    case TestPlayResult::Outcome::StartFailed:
        // Said aloud instead of leaving the editor minimised with nothing started.
        ShowError(QStringLiteral("Krawlix konnte nicht gestartet werden."));
        break;
    }
}

void CMainFrame::OnDescription() {
    CDescriptionDialog dialog(this);
    dialog.SetText(doc.GetDescriptionForEdit());
    if (dialog.exec() == QDialog::Accepted) {
        doc.SetDescriptionFromEdit(dialog.GetText());
        AfterViewCommand();
    }
}

void CMainFrame::OnLevelList() {
    LevelPlaces places;
    places.programFolder = GetModuleDirectory();
    places.documentsLevels = PathFromQt(LevelFolder());
    CLevelListDlg dialog(CLevelList::FindListPath(),
                         CLevelList::EntryFor(doc.GetPathName(), places.programFolder), this,
                         places);
    dialog.exec();
}

void CMainFrame::OnResize() {
    CResizeLevelDialog dialog(doc.width, doc.height, this);
    if (dialog.exec() == QDialog::Accepted) {
        view.ResizeField(dialog.GetWidth(), dialog.GetHeight(), dialog.GetStyle(),
                         dialog.GetCorner());
        AfterViewCommand();
    }
}

void CMainFrame::OnAbout() {
    CAboutDlg dialog(this);
    dialog.exec();
}

void CMainFrame::OnWidthItem(int item) {
    if (view.ChooseWidthItem(item)) {
        settings.setValue(kWidthKey, view.GetPalette().GetWidth());
        settings.sync();
    }
    AfterViewCommand();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (!SaveModified()) {
        event->ignore();
        return;
    }
    checkPanel->Cancel();
    recentFiles.Write(settings);
    settings.setValue(kGeometryKey, saveGeometry());
    settings.setValue(kStateKey, saveState());
    settings.sync();
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void CMainFrame::dropEvent(QDropEvent* event) {
    // Each dropped file is opened in turn, so the last one stays open.
    const QList<QUrl> urls = event->mimeData()->urls();
    event->acceptProposedAction();
    activateWindow();
    for (const QUrl& url : urls) {
        if (url.isLocalFile() && !OpenDocumentFile(url.toLocalFile())) {
            break;
        }
    }
}

} // namespace kx
