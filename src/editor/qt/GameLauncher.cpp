// Starts the game beside the editor for a test play, minimises the editor's window and restores it
// when the game has ended.
#include "GameLauncher.h"

#include <QProcess>
#include <QStringList>

#include <cerrno>
#include <csignal>

#include "QtText.h"

namespace kx {

namespace {

constexpr int kWatchMs = 250;

// The detached game is no child of the editor, so its end is seen by asking whether the
// process is still there.
bool IsRunning(qint64 pid) {
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH;
}

} // namespace

bool CGameLauncher::StartGame(const std::string& program,
                              const std::vector<std::string>& arguments) {
    QStringList list;
    for (const std::string& argument : arguments) {
        list << QtFromPath(argument);
    }
    return QProcess::startDetached(QtFromPath(program), list, QString(), &pid);
}

void CGameLauncher::MinimiseEditor() {
    if (!window) {
        return;
    }
    window->showMinimized();
    if (pid <= 0) {
        return;
    }
    // The timer belongs to the window, so it goes with it.
    auto* watch = new QTimer(window);
    const qint64 game = pid;
    QPointer<QWidget> target = window;
    QObject::connect(watch, &QTimer::timeout, watch, [watch, game, target] {
        if (IsRunning(game)) {
            return;
        }
        watch->stop();
        watch->deleteLater();
        if (target) {
            // As it was before: a maximised window comes back maximised.
            target->setWindowState(target->windowState() & ~Qt::WindowMinimized);
            target->show();
            target->raise();
            target->activateWindow();
        }
    });
    watch->start(kWatchMs);
}

} // namespace kx
