// Helpers of the editor's Qt tests: a fresh editor, modal dialogs answered by a timer.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

#include "EditorApp.h"
#include "EditorViewWidget.h"
#include "MainFrame.h"
#include "QtText.h"
#include "editor/IconPalette.h"

namespace kxtest {

// The editor as the program starts it, on the project's archive, with a fixed seed.
inline std::unique_ptr<kx::CKrawlixEditorApp> StartEditor(const QStringList& arguments = {}) {
    auto app = std::make_unique<kx::CKrawlixEditorApp>();
    kx::EditorStartOptions options;
    options.archiveFile = KX_OUTPUT_DIR "/Krawlix.bfres";
    options.seed = 1;
    options.show = true;
    if (!app->Start(QStringList{QStringLiteral("KrawlixEditor")} + arguments, options)) {
        return nullptr;
    }
    return app;
}

// Forgets the profile (recent files, palette width) between tests.
inline void ClearProfile() {
    QSettings settings(QStringLiteral("Halvane"), QStringLiteral("KrawlixEditor"));
    settings.clear();
    settings.sync();
}

// A fresh profile and a fresh editor, shown, for each test function.
inline bool StartFresh(std::unique_ptr<kx::CKrawlixEditorApp>& app, kx::CMainFrame*& frame) {
    ClearProfile();
    app = StartEditor();
    frame = app ? app->GetMainFrame() : nullptr;
    return frame != nullptr && QTest::qWaitForWindowExposed(frame);
}

// Answers the next modal dialogs in turn, one action each, as they are shown (the call that
// opens them blocks). Count tells afterwards how many appeared; Text the first message.
class ModalAnswer {
public:
    explicit ModalAnswer(std::function<void(QWidget*)> action) : ModalAnswer(Actions{action}) {}
    using Actions = std::vector<std::function<void(QWidget*)>>;
    explicit ModalAnswer(Actions actions) : state(std::make_shared<State>()) {
        state->actions = std::move(actions);
        Poll(state);
    }
    ModalAnswer(const ModalAnswer&) = delete;
    ModalAnswer& operator=(const ModalAnswer&) = delete;
    // Stops answering, so that actions left over cannot answer a later test's dialogs.
    ~ModalAnswer() { state->stopped = true; }
    bool Seen() const { return state->done > 0; }
    int Count() const { return state->done; }
    const QString& Text() const { return state->text; }

private:
    struct State {
        Actions actions;
        int done = 0;
        int tries = 0;
        QWidget* last = nullptr;
        QString text;
        bool stopped = false;
    };

    static void Poll(std::shared_ptr<State> state) {
        QTimer::singleShot(10, [state] {
            if (state->stopped) {
                return;
            }
            QWidget* modal = QApplication::activeModalWidget();
            if (modal == nullptr) {
                state->last = nullptr;
            }
            if (modal != nullptr && modal != state->last && modal->isVisible()) {
                state->last = modal;
                if (auto* box = qobject_cast<QMessageBox*>(modal); box && state->text.isEmpty()) {
                    state->text = box->text();
                }
                state->actions[static_cast<size_t>(state->done++)](modal);
                if (static_cast<size_t>(state->done) == state->actions.size()) {
                    return;
                }
            }
            if (++state->tries < 1000) {
                Poll(state);
            }
        });
    }

    std::shared_ptr<State> state;
};

// Clicks the message box button with the given role.
inline std::function<void(QWidget*)> Press(QMessageBox::StandardButton which) {
    return [which](QWidget* modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            box->button(which)->click();
        } else {
            modal->close();
        }
    };
}

inline std::function<void(QWidget*)> Accept() {
    return [](QWidget* modal) {
        if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            dialog->accept();
        }
    };
}

inline std::function<void(QWidget*)> Reject() {
    return [](QWidget* modal) {
        if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            dialog->reject();
        }
    };
}

// Waits until the file exists and is not empty, at most timeoutMs.
inline bool WaitForFile(const QString& path, int timeoutMs = 5000) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        QFile file(path);
        if (file.exists() && file.size() > 0) {
            return true;
        }
        QTest::qWait(20);
    }
    return false;
}

// The centre of palette icon index in the view widget, as the palette is scrolled now.
inline QPoint PaletteIconCentre(kx::CKrawlixEditorApp& app, int index) {
    const kx::CIconPalette& palette = app.GetView().GetPalette();
    const int w = palette.GetWidth();
    const int left = app.GetMainFrame()->ViewWidget()->width() - kx::kPaletteIcon * w;
    const int row = index / w - palette.GetFirst() / w;
    return QPoint(left + kx::kPaletteIcon * (index % w) + kx::kPaletteIcon / 2,
                  kx::kPaletteIcon * row + kx::kPaletteIcon / 2);
}

// The whole file, or nothing when it cannot be read.
inline QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Triggers the command (test play or demonstration) with the fake game in place of Krawlix;
// the fake writes the arguments it was given into folder. Returns them, one a line, or
// nothing when the game never started.
inline QList<QByteArray> ArgumentsOfFakeGame(kx::CMainFrame& frame, kx::Command command,
                                             const QString& folder) {
    const QString log = QDir(folder).filePath(QStringLiteral("arguments.txt"));
    qputenv("KX_FAKE_GAME_LOG", log.toLocal8Bit());
    kx::TestPlaySettings settings;
    settings.folder = kx::PathFromQt(folder);
    settings.program = KX_FAKE_GAME;
    frame.SetTestPlaySettings(settings);
    frame.Action(command)->trigger();
    if (!WaitForFile(log)) {
        return {};
    }
    return ReadBytes(log).split('\n');
}

} // namespace kxtest
