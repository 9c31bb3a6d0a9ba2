// "Level prüfen" beside the view: the level checker's warnings, each leading to its cell, and the
// solver in a worker thread with its count of states, a cancel button and its answer.
#pragma once

#include <QDockWidget>

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "field/GameField.h"
#include "levelcheck/LevelCheck.h"
#include "levelsource/Tape.h"
#include "solver/Solver.h"

class QLabel;
class QListWidget;
class QPushButton;
class QTimer;

namespace kx {

class CCheckPanel : public QDockWidget {
    Q_OBJECT
public:
    explicit CCheckPanel(QWidget* parent = nullptr);
    // Cancels a search that still runs and waits for its thread.
    ~CCheckPanel() override;

    // Checks a copy of the field and then searches it for a solution, both in the worker;
    // a search still running is cancelled first. Shows the panel.
    void Run(const CGameFieldBase& field);
    // The cancel button: the search stops at its next look (every 16 states).
    void Cancel();
    // After a change of the document: an answer about another field is dropped, a search
    // on it cancelled.
    void FieldChanged(const CGameFieldBase& field);
    // The search's limits; `krawlix-tool solve`'s defaults unless a test sets others.
    void SetLimits(const SolveLimits& newLimits) { limits = newLimits; }

    bool IsChecking() const { return job != nullptr && !checked; }
    bool IsSolving() const { return job != nullptr; }
    bool HasSolution() const { return solution.has_value(); }
    // The winning tape (seed, keys, end, "won") of the field FieldOfSolution holds.
    const Tape& Solution() const { return *solution; }
    const CGameFieldBase& FieldOfSolution() const { return solvedField; }
    const std::vector<LevelWarning>& Warnings() const { return warnings; }

    QListWidget* WarningList() const { return list; }
    QLabel* SolverLabel() const { return solverLabel; }
    QPushButton* CancelButton() const { return cancelButton; }
    QPushButton* DemonstrateButton() const { return demonstrateButton; }

Q_SIGNALS:
    // A warning was chosen: its cell (warnings about the whole level have none).
    void CellChosen(int x, int y);
    // The solution came or went.
    void SolutionChanged();
    // The panel's button "Lösung vorführen".
    void DemonstrateRequested();

private:
    // What the worker and the panel share: the worker owns its copy of the field.
    struct Job {
        CGameFieldBase field;
        std::atomic<bool> cancel{false};
        std::atomic<uint64_t> progress{0};
    };

    void OnChecked(uint64_t from, std::vector<LevelWarning> found);
    void OnSolved(uint64_t from, SolveResult result, bool replayWon);
    void ShowProgress();
    void ReapThreads();

    QListWidget* list = nullptr;
    QLabel* solverLabel = nullptr;
    QPushButton* cancelButton = nullptr;
    QPushButton* demonstrateButton = nullptr;
    QTimer* progressTimer = nullptr;
    SolveLimits limits;
    std::vector<LevelWarning> warnings;
    std::shared_ptr<Job> job; // the present search; null when none runs
    bool checked = false;
    uint64_t runs = 0; // the present run's number, so late answers of earlier runs are dropped
    std::vector<std::thread> threads;
    std::vector<std::shared_ptr<std::atomic<bool>>> finished;
    std::optional<Tape> solution;
    CGameFieldBase solvedField;
    CGameFieldBase checkedField;
};

// The solver's answer in the panel's words: "Lösbar mit N Tasten", "Nicht lösbar" or where
// it stopped.
QString SolverAnswerText(const SolveResult& result, const SolveLimits& limits);

// Whether two fields hold the same level for the solver: size and cells.
bool SameLevel(const CGameFieldBase& a, const CGameFieldBase& b);

} // namespace kx
