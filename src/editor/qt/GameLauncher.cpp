// Starts the game beside the editor for a test play and minimises the editor's window.
#include "GameLauncher.h"

#include <QProcess>
#include <QStringList>

#include "QtText.h"

namespace kx {

bool CGameLauncher::StartGame(const std::string& program,
                              const std::vector<std::string>& arguments) {
    QStringList list;
    for (const std::string& argument : arguments) {
        list << QtFromPath(argument);
    }
    return QProcess::startDetached(QtFromPath(program), list);
}

void CGameLauncher::MinimiseEditor() {
    if (window) {
        window->showMinimized();
    }
}

} // namespace kx
