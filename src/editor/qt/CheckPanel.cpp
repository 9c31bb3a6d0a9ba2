// The check panel: the checker's warnings in German with their cells, the solver in a worker
// thread, its progress and its answer.
#include "CheckPanel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QLoggingCategory>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QVBoxLayout>

#include <cstring>
#include <utility>

#include "rules/Game.h"
#include "rules/HeadlessPlay.h"

namespace kx {

// The answers, for whoever watches the editor from outside (the smoke test):
// QT_LOGGING_RULES="krawlix.check.info=true".
Q_LOGGING_CATEGORY(kCheckLog, "krawlix.check", QtWarningMsg)

namespace {

constexpr int kProgressMs = 100;
constexpr uint64_t kSolveSeed = 1;

QString Number(uint64_t n) {
    return QLocale(QLocale::German).toString(static_cast<qulonglong>(n));
}

// The checker speaks English for the tool; the editor shows its warnings in German.
QString GermanWarning(const std::string& english) {
    struct Rule {
        const char* pattern;
        const char* german;
    };
    static const Rule kRules[] = {
        {"^corn in the switch layer of a cell that belongs to no switch: it never comes out, so "
         "the level cannot be won$",
         "Korn in der Schalterebene eines Feldes ohne Schalter: es kommt nie hervor, so ist das "
         "Level nicht zu gewinnen"},
        {"^corn in the switch layer that no worm can reach$",
         "Korn in der Schalterebene, das kein Wurm erreichen kann"},
        {"^corn that no worm can reach$", "Korn, das kein Wurm erreichen kann"},
        {"^worm head on the border: the game ignores heads there$",
         "Wurmkopf am Rand: das Spiel übergeht Köpfe dort"},
        {"^worm body on the border$", "Wurmkörper am Rand"},
        {"^worm head inside a wall or a no-worm cell$",
         "Wurmkopf in einer Mauer oder einem für Würmer gesperrten Feld"},
        {"^worm body inside a wall or a no-worm cell$",
         "Wurmkörper in einer Mauer oder einem für Würmer gesperrten Feld"},
        {"^worm body that no head claims: it vanishes at the start$",
         "Wurmkörper, den kein Kopf beansprucht: er verschwindet beim Start"},
        {"^wall( in the switch layer)? that lets worms or ghosts through \\(flags\\)$",
         "Mauer\\1, durch die Würmer oder Geister gehen (Flags)"},
        {"^block( in the switch layer)? that lets worms or ghosts through \\(flags\\)$",
         "Block\\1, durch den Würmer oder Geister gehen (Flags)"},
        {"^ghost fence( in the switch layer)? without the no-ghost flag$",
         "Geisterzaun\\1 ohne das Flag gegen Geister"},
        {"^open floor( in the switch layer)? that worms may not enter: an invisible wall$",
         "Freier Boden\\1, den Würmer nicht betreten dürfen: eine unsichtbare Mauer"},
        {"^switch without a number: it does nothing$", "Schalter ohne Nummer: er bewirkt nichts"},
        {"^switch (\\d+): no other cell has this number$",
         "Schalter \\1: kein anderes Feld hat diese Nummer"},
        {"^switched cell of number (\\d+), but no switch has it$",
         "Geschaltetes Feld mit Nummer \\1, aber kein Schalter hat sie"},
        {"^no description: the level opens without a help text$",
         "Keine Beschreibung: das Level beginnt ohne Hilfetext"},
        {"^description line (\\d+): unknown mark-up tag /(.*)/ is shown as text$",
         "Beschreibung, Zeile \\1: das unbekannte Tag /\\2/ erscheint als Text"},
        {"^the field is (\\d+) x (\\d+) cells, larger than the window \\((\\d+) x (\\d+)\\), but "
         "everything in it fits on one screen$",
         "Das Feld ist \\1 × \\2 Zellen groß, größer als das Fenster (\\3 × \\4), doch alles "
         "darin passt auf einen Bildschirm"},
        {"^the field has no cells$", "Das Feld hat keine Zellen"},
    };
    QString text = QString::fromStdString(english);
    for (const Rule& rule : kRules) {
        const QRegularExpression pattern(QString::fromUtf8(rule.pattern));
        const QRegularExpressionMatch match = pattern.match(text);
        if (!match.hasMatch()) {
            continue;
        }
        QString german = QString::fromUtf8(rule.german);
        for (int i = 1; i <= pattern.captureCount(); ++i) {
            QString part = match.captured(i);
            if (part == QStringLiteral(" in the switch layer")) {
                part = QStringLiteral(" in der Schalterebene");
            }
            german.replace(QStringLiteral("\\%1").arg(i), part);
        }
        return german;
    }
    return text;
}

} // namespace

bool SameLevel(const CGameFieldBase& a, const CGameFieldBase& b) {
    return a.width == b.width && a.height == b.height && a.cells.size() == b.cells.size() &&
           (a.cells.empty() ||
            std::memcmp(a.cells.data(), b.cells.data(), a.cells.size() * sizeof a.cells[0]) == 0);
}

QString SolverAnswerText(const SolveResult& r, const SolveLimits& limits) {
    const QString states = QString::fromUtf8("nach %1 Zuständen").arg(Number(r.states));
    switch (r.status) {
    case SolveStatus::Solved:
        return QStringLiteral("Lösbar mit %1 Tasten").arg(r.keys.size()) +
               (r.dependsOnSeed ? QString::fromUtf8(" (Geister: für Startwert 1)") : QString());
    case SolveStatus::Unwinnable:
        return QStringLiteral("Nicht lösbar");
    case SolveStatus::StateLimit:
        return QString::fromUtf8("Gestoppt %1: Grenze von %2 Zuständen erreicht")
            .arg(states, Number(limits.maxStates));
    case SolveStatus::TimeLimit:
        return QString::fromUtf8("Gestoppt %1: Grenze von %2 Sekunden erreicht")
            .arg(states)
            .arg(limits.maxSeconds);
    case SolveStatus::MemoryLimit:
        return QString::fromUtf8("Gestoppt %1: Grenze von %2 MB Speicher erreicht")
            .arg(states)
            .arg(limits.maxBytes / (1024 * 1024));
    case SolveStatus::PlayTimeEnd:
        return QString::fromUtf8("Gestoppt %1: ein Tag Levelzeit erreicht").arg(states);
    case SolveStatus::EncodingFault:
        return QString::fromUtf8("Gestoppt %1: ein Zustand, den der Löser nicht halten kann")
            .arg(states);
    case SolveStatus::StateTooLarge:
        return QString::fromUtf8("Gestoppt %1: zu viele Lebewesen für den Löser").arg(states);
    case SolveStatus::Cancelled:
        return QString::fromUtf8("Abgebrochen %1").arg(states);
    }
    return QString();
}

CCheckPanel::CCheckPanel(QWidget* parent) : QDockWidget(QString::fromUtf8("Level prüfen"), parent) {
    setObjectName(QStringLiteral("CheckPanel"));
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
    auto* body = new QWidget(this);
    list = new QListWidget(body);
    list->setWordWrap(true);
    solverLabel = new QLabel(body);
    solverLabel->setWordWrap(true);
    cancelButton = new QPushButton(QStringLiteral("Abbrechen"), body);
    cancelButton->setEnabled(false);
    demonstrateButton = new QPushButton(QString::fromUtf8("Lösung &vorführen"), body);
    demonstrateButton->setEnabled(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cancelButton);
    buttons->addWidget(demonstrateButton);
    auto* layout = new QVBoxLayout(body);
    layout->addWidget(new QLabel(QStringLiteral("Hinweise:"), body));
    layout->addWidget(list, 1);
    layout->addWidget(new QLabel(QString::fromUtf8("Löser:"), body));
    layout->addWidget(solverLabel);
    layout->addLayout(buttons);
    setWidget(body);
    setMinimumWidth(260);

    progressTimer = new QTimer(this);
    progressTimer->setInterval(kProgressMs);
    connect(progressTimer, &QTimer::timeout, this, &CCheckPanel::ShowProgress);
    connect(cancelButton, &QPushButton::clicked, this, &CCheckPanel::Cancel);
    connect(demonstrateButton, &QPushButton::clicked, this, &CCheckPanel::DemonstrateRequested);
    connect(list, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && static_cast<size_t>(row) < warnings.size() && warnings[row].x >= 0) {
            Q_EMIT CellChosen(warnings[row].x, warnings[row].y);
        }
    });
    connect(list, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        const int row = list->row(item);
        if (row >= 0 && static_cast<size_t>(row) < warnings.size() && warnings[row].x >= 0) {
            Q_EMIT CellChosen(warnings[row].x, warnings[row].y);
        }
    });
}

CCheckPanel::~CCheckPanel() {
    if (job) {
        job->cancel = true;
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
}

void CCheckPanel::ReapThreads() {
    for (size_t i = 0; i < threads.size();) {
        if (finished[i]->load()) {
            threads[i].join();
            threads.erase(threads.begin() + static_cast<std::ptrdiff_t>(i));
            finished.erase(finished.begin() + static_cast<std::ptrdiff_t>(i));
        } else {
            ++i;
        }
    }
}

void CCheckPanel::Run(const CGameFieldBase& field) {
    if (job) {
        job->cancel = true;
    }
    ReapThreads();
    auto fresh = std::make_shared<Job>();
    fresh->field = field;
    checkedField = field;
    job = fresh;
    checked = false;
    warnings.clear();
    list->clear();
    list->addItem(QString::fromUtf8("Prüfe …"));
    if (solution) {
        solution.reset();
        Q_EMIT SolutionChanged();
    }
    demonstrateButton->setEnabled(false);
    cancelButton->setEnabled(true);
    solverLabel->setText(QString::fromUtf8("Wartet auf die Prüfung …"));
    show();
    raise();

    auto done = std::make_shared<std::atomic<bool>>(false);
    const SolveLimits jobLimits = limits;
    const uint64_t id = ++runs;
    // The worker posts to the panel; the panel's destructor joins it first, so the panel
    // outlives every post, and posts that were not delivered go with it.
    threads.emplace_back([this, fresh, done, jobLimits, id] {
        std::vector<LevelWarning> found = CheckLevel(fresh->field);
        QMetaObject::invokeMethod(
            this,
            [this, id, found = std::move(found)]() mutable { OnChecked(id, std::move(found)); },
            Qt::QueuedConnection);
        SolveLimits solveLimits = jobLimits;
        solveLimits.cancel = &fresh->cancel;
        solveLimits.progress = &fresh->progress;
        SolveResult result = Solve(fresh->field, kSolveSeed, solveLimits);
        bool replayWon = false;
        if (result.status == SolveStatus::Solved) {
            // The answer is what the real headless play confirms, nothing less.
            CGame game;
            game.Random().Seed(kSolveSeed);
            game.play.field = fresh->field;
            PlayOptions options;
            options.keys = result.keys;
            options.untilMs = result.winMs;
            const PlayOutcome replay = PlayHeadless(game, options);
            replayWon = replay.result == PlayResult::Won && replay.timeMs == result.winMs;
        }
        QMetaObject::invokeMethod(
            this,
            [this, id, result = std::move(result), replayWon]() mutable {
                OnSolved(id, std::move(result), replayWon);
            },
            Qt::QueuedConnection);
        done->store(true);
    });
    finished.push_back(done);
    progressTimer->start();
}

void CCheckPanel::OnChecked(uint64_t from, std::vector<LevelWarning> found) {
    if (!job || runs != from) {
        return;
    }
    checked = true;
    warnings = std::move(found);
    list->clear();
    for (const LevelWarning& warning : warnings) {
        const QString text = GermanWarning(warning.text);
        list->addItem(warning.x >= 0
                          ? QStringLiteral("(%1, %2) %3").arg(warning.x).arg(warning.y).arg(text)
                          : text);
    }
    if (warnings.empty()) {
        list->addItem(QString::fromUtf8("Keine Hinweise: der Prüfer fand nichts."));
    }
    ShowProgress();
}

void CCheckPanel::OnSolved(uint64_t from, SolveResult result, bool replayWon) {
    if (!job || runs != from) {
        return;
    }
    progressTimer->stop();
    cancelButton->setEnabled(false);
    if (result.status == SolveStatus::Solved && !replayWon) {
        solverLabel->setText(
            QString::fromUtf8("Fehler des Lösers: die gefundene Lösung gewinnt nicht."));
    } else {
        solverLabel->setText(SolverAnswerText(result, limits));
    }
    qCInfo(kCheckLog, "%d Hinweise; %s", static_cast<int>(warnings.size()),
           qUtf8Printable(solverLabel->text()));
    if (result.status == SolveStatus::Solved && replayWon) {
        Tape tape;
        tape.seed = kSolveSeed;
        tape.keys = result.keys;
        tape.untilMs = result.winMs;
        tape.expect = "won";
        solution = std::move(tape);
        solvedField = job->field;
        demonstrateButton->setEnabled(true);
        Q_EMIT SolutionChanged();
    }
    job.reset();
    ReapThreads();
}

void CCheckPanel::ShowProgress() {
    if (!job) {
        return;
    }
    if (!checked) {
        solverLabel->setText(QString::fromUtf8("Wartet auf die Prüfung …"));
        return;
    }
    solverLabel->setText(
        QString::fromUtf8("Sucht … %1 Zustände").arg(Number(job->progress.load())));
}

void CCheckPanel::Cancel() {
    if (job) {
        job->cancel = true;
        cancelButton->setEnabled(false);
    }
}

void CCheckPanel::FieldChanged(const CGameFieldBase& field) {
    if (solution && !SameLevel(field, solvedField)) {
        solution.reset();
        demonstrateButton->setEnabled(false);
        solverLabel->setText(solverLabel->text() +
                             QString::fromUtf8(" – das Level wurde seitdem geändert."));
        Q_EMIT SolutionChanged();
    }
    if (job && !SameLevel(field, checkedField)) {
        Cancel();
    }
}

} // namespace kx
