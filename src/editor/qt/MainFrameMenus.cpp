// CMainFrame's menus, toolbar, status bar and the enabled states and check marks of its commands.
#include "MainFrame.h"

#include <QAction>
#include <QActionGroup>
#include <QFileInfo>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QStatusBar>
#include <QToolBar>

#include "CheckPanel.h"
#include "EditorViewWidget.h"
#include "QtText.h"
#include "ToolbarIcons.h"
#include "editor/IconPalette.h"

namespace kx {

namespace {

const QString kReady = QString::fromUtf8("Bereit");

QString Utf8(const char* text) {
    return QString::fromUtf8(text);
}

} // namespace

QAction* CMainFrame::MakeAction(Command command, const QString& text, const QString& statusText) {
    auto* action = new QAction(text, this);
    // The framework's form "status text\ntool tip": the status bar shows the first part.
    const qsizetype newline = statusText.indexOf(QLatin1Char('\n'));
    action->setStatusTip(newline < 0 ? statusText : statusText.left(newline));
    QString tip = newline < 0 ? text.section(QLatin1Char('\t'), 0, 0) : statusText.mid(newline + 1);
    tip.remove(QLatin1Char('&'));
    action->setToolTip(tip);
    actions[command] = action;
    return action;
}

void CMainFrame::BuildActions() {
    MakeAction(Command::New, Utf8("&Neu...\tStrg+N"), Utf8("Erstellt ein neues Dokument.\nNeu"))
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    MakeAction(Command::Open, Utf8("Ö&ffnen...\tStrg+O"),
               Utf8("Öffnet ein bestehendes Dokument.\nÖffnen"))
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    MakeAction(Command::Save, Utf8("S&peichern\tStrg+S"),
               Utf8("Speichert das aktive Dokument.\nSpeichern"))
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    MakeAction(Command::SaveAs, Utf8("Speichern &unter...\tStrg+Umschalt+S"),
               Utf8("Speichert das aktive Dokument unter neuem Namen.\nSpeichern unter"))
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    MakeAction(Command::TestLevel, Utf8("&Level Testen\tStrg+F5"), QString())
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F5));
    MakeAction(Command::Description, Utf8("&Level-Beschreibung"),
               Utf8("Die Levelbeschreibung bearbeiten"));
    MakeAction(Command::LevelList, Utf8("Level&liste..."), Utf8("Bearbeitet die Levelliste."));
    MakeAction(Command::Exit, Utf8("&Beenden\tStrg+Q"),
               Utf8("Verläßt die Anwendung; fragt, ob Dokumente gespeichert werden sollen.\n"
                    "Beenden"))
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    MakeAction(Command::CheckLevel, Utf8("Level &prüfen\tF7"),
               Utf8("Zeigt die Hinweise des Prüfers und sucht eine Lösung.\nLevel prüfen"))
        ->setShortcut(QKeySequence(Qt::Key_F7));
    MakeAction(Command::Demonstrate, Utf8("Lösung &vorführen"),
               Utf8("Spielt das Level mit der gefundenen Lösung vor.\nLösung vorführen"));

    MakeAction(Command::Undo, Utf8("&Rückgängig\tStrg+Z"),
               Utf8("Macht die letzte Aktion rückgängig.\nRückgängig"))
        ->setShortcuts(
            {QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::ALT | Qt::Key_Backspace)});
    MakeAction(Command::Redo, Utf8("&Wiederholen\tStrg+Y"),
               Utf8("Wiederholt die zuletzt rückgängig gemachte Aktion.\nWiederholen"))
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    MakeAction(Command::ToolPaint, Utf8("Malen"), Utf8("Einzelne Felder malen"));
    MakeAction(Command::ToolRectangle, Utf8("Rechteck"), Utf8("Rechtecke malen"));
    MakeAction(Command::ToolFilledRectangle, Utf8("Rechteck füllen"), Utf8("Rechtecke ausfüllen"));
    MakeAction(Command::Merge, Utf8("Lego-Blöcke zusammenfassen"),
               Utf8("Lego-Blöcke automatisch zusammenfassen"));

    MakeAction(Command::ToggleToolbar, Utf8("&Symbolleiste"),
               Utf8("Blendet die Symbolleiste ein oder aus.\nSymbolleiste ein-/ausschalten"));
    MakeAction(Command::ToggleStatusBar, Utf8("S&tatusleiste"),
               Utf8("Blendet die Statusleiste ein oder aus.\nStatusleiste ein-/ausschalten"));
    MakeAction(Command::SwitchLayer, Utf8("Schalterebene anzeigen\tF4"),
               Utf8("Wechselt zwischen normaler Ebene und Schalterebene."))
        ->setShortcut(QKeySequence(Qt::Key_F4));
    MakeAction(Command::ShowObjects, Utf8("Objekte anzeigen\tF5"),
               Utf8("Zeigt Objekte wie Pfeile, Blöcke, Schalter oder Zäune."))
        ->setShortcut(QKeySequence(Qt::Key_F5));
    MakeAction(Command::ShowItems, Utf8("Gegenstände anzeigen\tF6"),
               Utf8("Zeigt Gegenstände zum Einsammeln (Korn, Beschleuniger usw.)."))
        ->setShortcut(QKeySequence(Qt::Key_F6));
    // F7 is "Level prüfen"; the creatures take Umschalt+F7.
    MakeAction(Command::ShowCreatures, Utf8("Lebewesen anzeigen\tUmschalt+F7"),
               Utf8("Zeigt Würmer und Geister."))
        ->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F7));
    MakeAction(Command::ShowSwitches, Utf8("Schalter anzeigen\tF8"),
               Utf8("Zeigt die Schalternummern."))
        ->setShortcut(QKeySequence(Qt::Key_F8));
    // The menu names F9; the key is bound like F4 to F8.
    MakeAction(Command::ShowBlocking, Utf8("Blockierungen anzeigen\tF9"),
               Utf8("Markiert Felder, die für Würmer oder Geister gesperrt sind."))
        ->setShortcut(QKeySequence(Qt::Key_F9));
    // Page Up and Page Down stay the view's keys (one row); the commands scroll four.
    MakeAction(Command::ScrollUp, Utf8("Icons hochscrollen\tPage Up"), QString());
    MakeAction(Command::ScrollDown, Utf8("Icons runterscrollen\tPage Down"), QString());
    for (int item = 1; item <= kMaxPaletteWidth; ++item) {
        MakeAction(static_cast<Command>(static_cast<int>(Command::Width1) + item - 1),
                   Utf8("Icon-Auswahl Breite %1").arg(item), QString());
    }
    MakeAction(Command::About, Utf8("Inf&o über KrawlixEditor..."),
               Utf8("Zeigt Programminformationen, Versionsnummer und Copyright an.\nInfo"));
    MakeAction(Command::Resize, Utf8("Levelgröße ändern"),
               Utf8("Ändert die Größe des Spielfelds."));

    for (Command c : {Command::ToolPaint, Command::ToolRectangle, Command::ToolFilledRectangle,
                      Command::ToggleToolbar, Command::ToggleStatusBar, Command::SwitchLayer,
                      Command::ShowObjects, Command::ShowItems, Command::ShowCreatures,
                      Command::ShowSwitches, Command::ShowBlocking}) {
        Action(c)->setCheckable(true);
    }
    for (int item = 1; item <= kMaxPaletteWidth; ++item) {
        Action(static_cast<Command>(static_cast<int>(Command::Width1) + item - 1))
            ->setCheckable(true);
    }
    const std::pair<Command, ToolbarIcon> icons[] = {
        {Command::New, ToolbarIcon::New},
        {Command::Open, ToolbarIcon::Open},
        {Command::Save, ToolbarIcon::Save},
        {Command::TestLevel, ToolbarIcon::TestLevel},
        {Command::CheckLevel, ToolbarIcon::Check},
        {Command::Resize, ToolbarIcon::Resize},
        {Command::ToolPaint, ToolbarIcon::Paint},
        {Command::ToolRectangle, ToolbarIcon::Rectangle},
        {Command::ToolFilledRectangle, ToolbarIcon::FilledRectangle},
        {Command::ScrollUp, ToolbarIcon::ScrollUp},
        {Command::ScrollDown, ToolbarIcon::ScrollDown},
        {Command::SwitchLayer, ToolbarIcon::SwitchLayer},
        {Command::ShowObjects, ToolbarIcon::Objects},
        {Command::ShowItems, ToolbarIcon::Items},
        {Command::ShowCreatures, ToolbarIcon::Creatures},
        {Command::ShowSwitches, ToolbarIcon::Switches},
        {Command::ShowBlocking, ToolbarIcon::Blocking},
        {Command::Merge, ToolbarIcon::Merge},
        {Command::Description, ToolbarIcon::Description},
        {Command::About, ToolbarIcon::About},
    };
    for (const auto& [command, icon] : icons) {
        Action(command)->setIcon(MakeToolbarIcon(icon));
        // Menus show the check marks and texts only, as before.
        Action(command)->setIconVisibleInMenu(false);
    }
}

void CMainFrame::BuildMenus() {
    fileMenu = menuBar()->addMenu(Utf8("&Datei"));
    fileMenu->addActions({Action(Command::New), Action(Command::Open), Action(Command::Save),
                          Action(Command::SaveAs)});
    fileMenu->addSeparator();
    fileMenu->addAction(Action(Command::TestLevel));
    fileMenu->addSeparator();
    fileMenu->addAction(Action(Command::Description));
    fileMenu->addAction(Action(Command::LevelList));
    fileMenu->addSeparator();
    recentPlaceholder = fileMenu->addAction(Utf8("Letzte Datei"));
    recentPlaceholder->setEnabled(false);
    recentEnd = fileMenu->addSeparator();
    fileMenu->addAction(Action(Command::Exit));

    QMenu* edit = menuBar()->addMenu(Utf8("&Bearbeiten"));
    edit->addActions({Action(Command::Undo), Action(Command::Redo)});
    edit->addSeparator();
    edit->addActions({Action(Command::ToolPaint), Action(Command::ToolRectangle),
                      Action(Command::ToolFilledRectangle), Action(Command::Merge)});
    edit->addSeparator();
    edit->addActions({Action(Command::CheckLevel), Action(Command::Demonstrate)});

    QMenu* show = menuBar()->addMenu(Utf8("&Ansicht"));
    show->addActions({Action(Command::ToggleToolbar), Action(Command::ToggleStatusBar)});
    show->addSeparator();
    show->addAction(Action(Command::SwitchLayer));
    show->addSeparator();
    show->addActions({Action(Command::ShowObjects), Action(Command::ShowItems),
                      Action(Command::ShowCreatures), Action(Command::ShowSwitches),
                      Action(Command::ShowBlocking)});
    show->addSeparator();
    show->addActions({Action(Command::ScrollUp), Action(Command::ScrollDown)});
    show->addSeparator();
    for (int item = 1; item <= kMaxPaletteWidth; ++item) {
        show->addAction(Action(static_cast<Command>(static_cast<int>(Command::Width1) + item - 1)));
    }

    QMenu* help = menuBar()->addMenu(Utf8("&?"));
    help->addAction(Action(Command::About));
}

void CMainFrame::BuildToolBar() {
    toolBar = addToolBar(Utf8("Symbolleiste"));
    toolBar->setObjectName(QStringLiteral("ToolBar"));
    toolBar->setIconSize(QSize(kToolbarIconWidth, kToolbarIconHeight));
    const std::initializer_list<std::initializer_list<Command>> groups = {
        {Command::New, Command::Open, Command::Save},
        {Command::TestLevel, Command::CheckLevel},
        {Command::Resize},
        {Command::ToolPaint, Command::ToolRectangle, Command::ToolFilledRectangle},
        {Command::ScrollUp, Command::ScrollDown},
        {Command::SwitchLayer},
        {Command::ShowObjects, Command::ShowItems, Command::ShowCreatures, Command::ShowSwitches,
         Command::ShowBlocking},
        {Command::Merge, Command::Description},
        {Command::About},
    };
    bool first = true;
    for (const auto& group : groups) {
        if (!first) {
            toolBar->addSeparator();
        }
        first = false;
        for (Command command : group) {
            toolBar->addAction(Action(command));
        }
    }
    // The menu item shows and hides the toolbar and follows it.
    connect(Action(Command::ToggleToolbar), &QAction::triggered, toolBar, &QToolBar::setVisible);
    connect(toolBar, &QToolBar::visibilityChanged, Action(Command::ToggleToolbar),
            &QAction::setChecked);
}

void CMainFrame::BuildStatusBar() {
    QStatusBar* bar = statusBar();
    // "Bereit" whenever no command is highlighted.
    connect(bar, &QStatusBar::messageChanged, bar, [bar](const QString& message) {
        if (message.isEmpty()) {
            bar->showMessage(kReady);
        }
    });
    bar->showMessage(kReady);
    connect(Action(Command::ToggleStatusBar), &QAction::triggered, bar, &QStatusBar::setVisible);
}

void CMainFrame::RebuildRecentFiles() {
    for (QAction* action : recentActions) {
        fileMenu->removeAction(action);
        action->deleteLater();
    }
    recentActions.clear();
    const QStringList& files = recentFiles.GetFiles();
    recentPlaceholder->setVisible(files.isEmpty());
    for (int i = 0; i < files.size(); ++i) {
        auto* action = new QAction(CRecentFileList::MenuText(i, files[i]), this);
        action->setStatusTip(Utf8("Öffnet dieses Dokument."));
        const QString path = files[i];
        connect(action, &QAction::triggered, this, [this, path] { OpenDocumentFile(path); });
        fileMenu->insertAction(recentEnd, action);
        recentActions << action;
    }
}

void CMainFrame::UpdateUi() {
    const QString name = doc.GetPathName().empty()
                             ? QStringLiteral("KrawlixLevel")
                             : QFileInfo(QtFromPath(doc.GetPathName())).completeBaseName();
    // Qt's mark of unsaved changes: "name* - KrawlixEditor".
    setWindowTitle(name + QStringLiteral("[*] - KrawlixEditor"));
    setWindowModified(doc.IsModified());
    Action(Command::Demonstrate)->setEnabled(checkPanel != nullptr && checkPanel->HasSolution());
    Action(Command::Undo)->setEnabled(doc.CanUndo() && !view.HasMouseCapture());
    Action(Command::Redo)->setEnabled(doc.CanRedo() && !view.HasMouseCapture());
    const bool canChange = view.CanChangeTool();
    const Command tools[] = {Command::ToolPaint, Command::ToolRectangle,
                             Command::ToolFilledRectangle};
    for (int t = 0; t < 3; ++t) {
        Action(tools[t])->setEnabled(canChange);
        Action(tools[t])->setChecked(view.tool == t);
    }
    Action(Command::SwitchLayer)->setChecked(view.switchLayer);
    Action(Command::ShowObjects)->setChecked(view.showObjects);
    Action(Command::ShowItems)->setChecked(view.showItems);
    Action(Command::ShowCreatures)->setChecked(view.showCreatures);
    Action(Command::ShowSwitches)->setChecked(view.showSwitches);
    Action(Command::ShowBlocking)->setChecked(view.showBlocking);
    for (int item = 1; item <= kMaxPaletteWidth; ++item) {
        Action(static_cast<Command>(static_cast<int>(Command::Width1) + item - 1))
            ->setChecked(view.GetPalette().IsWidthItemChecked(item));
    }
    Action(Command::ToggleToolbar)->setChecked(!toolBar->isHidden());
    Action(Command::ToggleStatusBar)->setChecked(!statusBar()->isHidden());
    UpdateRegionUi();
}

} // namespace kx
