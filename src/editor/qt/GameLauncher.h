// Starts the game beside the editor for a test play and minimises the editor's window.
#pragma once

#include <QPointer>
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
    void MinimiseEditor() override;

private:
    QPointer<QWidget> window;
};

} // namespace kx
