#pragma once
// The match console window. It shows what the match session holds and
// passes every key and click of the statistician to the entry grammar.

#include "console/EntryGrammar.h"
#include "console/MatchSession.h"
#include "data/BackgroundBackup.h"

#include <QDialog>
#include <QLabel>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class QLineEdit;
class QListWidget;
class QMenuBar;
class TEventLegendFrm;
class BoxScoreGrid;
class SideStatsModel;
class StatLineGrid;
class StatLines;
class QTimer;
class QButtonGroup;

// A label that acts on a click without taking the focus from the entry boxes.
class ClickLabel final : public QLabel
{
    Q_OBJECT
public:
    explicit ClickLabel(const QString &text, QWidget *parent = nullptr);
signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};

// Colour values are stored as 0x00BBGGRR.
QColor ColorFromValue(int value);
int ColorValue(const QColor &color);

class TMatchFrm;
class LivePageWriter;
class QMenu;
class QPushButton;
class QSpinBox;
enum class ReportEntry;

// The dialogs the console opens that belong to the match setup; the program
// fills them in when it starts. Each shows its dialog modally and answers
// whether it was confirmed; the saved quarters window is shown beside the
// console. Sides are 1 home, 2 away.
enum class ReferenceList { Players, Coaches, Referees, Delegates, Statists, Leagues, Teams };

struct ConsoleDialogs
{
    std::function<bool(TMatchFrm &, int side)> roster;
    std::function<bool(TMatchFrm &, int side)> lineUp;
    std::function<bool(TMatchFrm &)> definition;
    std::function<void(TMatchFrm &, ReferenceList)> browser;
    std::function<void(TMatchFrm &)> savedQuarters;
    std::function<void(TMatchFrm &)> largeScoreboard;
};
ConsoleDialogs &TheConsoleDialogs();

class TMatchFrm final : public QDialog
{
    Q_OBJECT

public:
    explicit TMatchFrm(QWidget *parent = nullptr);
    ~TMatchFrm() override;

    MatchSession &session() { return session_; }
    EntryGrammar &grammar() { return grammar_; }

    // Where the console's questions are answered: its own dialogs, unless a
    // replay answers them from its script.
    struct Answers
    {
        std::function<std::optional<int>(bool confirm)> seconds; // of a player change
        std::function<int()> foulType;                            // 1..9
    };
    void AnswerWith(Answers answers) { answers_ = std::move(answers); }

    bool OpenExistingMatch(int matchId);
    bool OpenNewMatch(int matchId);
    void RefreshConsoleData();
    void EnableEntry();
    void DisableEntry();
    void ApplyTeamColors();
    void ShowScore();

    // The entry boxes, in the order of the Tab key.
    QLineEdit *entryBox(EntryBox box) const;
    QLabel *lbHome, *lbAway, *homeScore, *awayScore, *lbQuarter, *lbQuarter2, *clockMinute;
    QLabel *panBonusH, *panBonusA, *lbAtype, *lbDtype;
    // Beside each bonus panel its count, large enough to read from a metre;
    // beside each team name the time-outs left in this half (index 0 home, 1 away).
    std::array<QLabel *, 2> teamFoulCounts{}, timeOutsLeft{};
    QButtonGroup *rgAType = nullptr, *rgDType = nullptr;
    // "POSSESSION HOME" / "POSSESSION  AWAY"; the one with the ball is marked.
    std::array<QLabel *, 2> possessionLabels{};
    void ShowPossession();
    std::array<ClickLabel *, 5> homeCourt{}, awayCourt{};
    std::array<ClickLabel *, 7> homeBench{}, awayBench{};
    // The personal fouls of each player on court, on his marker.
    std::array<QLabel *, 5> homeCourtFouls{}, awayCourtFouls{};
    QListWidget *eventLog;
    // The rules engine's events in force, newest first (double-click removes one).
    QListWidget *eventsInForce = nullptr;
    // The console's showing steps, also after a correction.
    void ShowMatch();
    // Each side's players (index 0 home, 1 away), shown by the box score and
    // by the statistic lines the rules engine keeps.
    std::array<SideStatsModel *, 2> sideStats{};
    std::array<BoxScoreGrid *, 2> boxScores{};
    std::array<StatLineGrid *, 2> statLineGrids{};
    void RefreshBoxScore();

    // The mouse shortcuts of the court picture.
    void ShotLabelClicked(int code, const QPoint &where);
    void EventLabelClicked(int code, const QPoint &where);
    void CourtMarkerClicked(int side, int index);
    void BenchMarkerClicked(int side, int index);
    void TimePanelClicked();
    // Page 1 of the basic report as a picture in the export directory, at
    // the end of a quarter or of play; a failure is said and play goes on.
    void SavePeriodSnapshot();
    // The report entries of the "Reports" menu and the "Reports and
    // Settings" page, for the open match.
    void OpenReport(ReportEntry entry);
    void FastReportClicked();
    QSpinBox *fastReportCopies = nullptr;
    QPushButton *fastReportButton = nullptr;
    void CoachTechnicalClicked(int side);
    // "EVENTS REVIEW": filters, edits and deletes event records.
    void OpenEventsReview();
    // What follows the review window, however its corrections were made.
    void AfterEventsReview(bool recordsChanged);
    // "Undo (U)": takes back the newest clock event.
    void Undo();
    QPushButton *btnUndo = nullptr;
    // Time-outs ("/" home, "*" away) and team events (F3 to F7, buttons).
    void TimeOut(int side);
    void TeamEvent(int side, int code);

    // The roster (F10 / F11) and line-up (F8 / F9) of a side, and the match definition (F12).
    void OpenRoster(int side);
    void OpenLineUp(int side);
    void OpenDefinition();
    void OpenSavedQuarters();
    void OpenLargeScoreboard();
    void OpenReferenceList(ReferenceList list);
    void UpdateStartersCaptions();
    std::array<QPushButton *, 2> startersButtons{};

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void reject() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    EntryGrammar::Hooks grammarHooks();
    QWidget *buildScoreBoard();
    QWidget *buildEntryBoxes();
    QWidget *buildCourt();
    QWidget *buildEventLog();
    QWidget *buildStatistics();
    QMenuBar *buildMenus();
    void addReportEntries(QMenu *reports);
    QWidget *buildReportsPage();
    EntryBox boxOf(QObject *widget) const;
    int sideOfInit() const;
    void pressEnter(EntryBox box, const QString &text);
    void syncFromGrammar();
    void followMatch(MatchChanges what);
    void reportOpeningBackup(QTimer *watch);
    void showNames();
    void refreshCourtPanels();
    void showBonus();
    void showCourtFouls(const BoxScoreSet &box);
    void showTimeOuts();
    void showTimesOnCourt();
    void showEventLog();
    void showTypes();
    void showLegend();
    bool formKey(QKeyEvent *key);
    void setSideColor(int side, const QColor &color);

    BackgroundBackup openingBackup_;
    MatchSession session_;
    // After the session: its timer asks the session for the open match. None
    // while the export directory is missing at start.
    LivePageWriter *livePage_ = nullptr;
    EntryGrammar grammar_;
    std::array<QLineEdit *, 7> boxes_{};
    TEventLegendFrm *legend_ = nullptr;
    bool closing_ = false;
    // Set by the View menu's font toggles: white (true) or black text instead
    // of the team colour's contrast.
    std::array<std::optional<bool>, 2> whiteText_{};
    std::unique_ptr<StatLines> statLines_;
    QList<MatchSession::UndoListRow> undoList_;
    Answers answers_;
};
