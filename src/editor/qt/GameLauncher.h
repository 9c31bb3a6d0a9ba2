// Starts the game beside the editor for a test play, minimises the editor's window and brings it
// back when the game ends.
#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <string>
#include <vector>

#include "editor/TestPlay.h"

namespace kx {

class CGameLauncher : public IGameLauncher {
public:
    explicit CGameLauncher(QWidget* window) : window(window) {}

    // Detached: the game runs on when the editor ends, and the editor does not wait.
    bool StartGame(const std::string& program, const std::vector<std::string>& arguments) override;
    // Minimises the window and watches the game: once it has ended, the window is restored
    // and activated.
    void MinimiseEditor() override;

private:
    QPointer<QWidget> window;
    qint64 pid = 0;
};

} // namespace kx
