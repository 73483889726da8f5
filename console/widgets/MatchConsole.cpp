#include "console/widgets/MatchConsole.h"
#include "console/widgets/ConsoleColours.h"

#include "common/AppPaths.h"
#include "common/MatchState.h"
#include "common/Messenger.h"
#include "console/widgets/EventsReviewWindow.h"
#include "console/SideStatsModel.h"
#include "console/widgets/BoxScoreGrid.h"
#include "console/widgets/Pickers.h"
#include "console/widgets/PlayerTableView.h"
#include "console/widgets/StatLineGrid.h"
#include "console/widgets/SecondsDialog.h"
#include "data/ActionCodes.h"
#include "data/BoxScore.h"
#include "data/StatLines.h"
#include "data/DataModule.h"
#include "publish/LivePageWriter.h"
#include "publish/LiveServer.h"

#include <QApplication>
#include <QButtonGroup>
#include <QRadioButton>
#include <QCheckBox>
#include <QCloseEvent>
#include <QColorDialog>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QTimer>
#include <QMenuBar>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <ranges>

namespace {

// Shows `lines`, newest first, changing only the rows above the part that
// stayed the same: an entry adds one line at the top, and rebuilding a whole
// match's rows after every entry would take longer than the entry itself.
void showLines(QListWidget *list, const QStringList &lines)
{
    const int shown = list->count();
    int kept = 0;
    while (kept < shown && kept < lines.size() &&
           list->item(shown - 1 - kept)->text() == lines[lines.size() - 1 - kept])
        ++kept;
    for (int row = shown - kept - 1; row >= 0; --row)
        delete list->takeItem(row);
    list->insertItems(0, lines.mid(0, lines.size() - kept));
}


} // namespace

QColor ColorFromValue(int value) { return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF); }

int ColorValue(const QColor &color) { return color.red() | (color.green() << 8) | (color.blue() << 16); }

ClickLabel::ClickLabel(const QString &text, QWidget *parent) : QLabel(text, parent)
{
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
}

void ClickLabel::mouseReleaseEvent(QMouseEvent *) { emit clicked(); }

EntryGrammar::Hooks TMatchFrm::grammarHooks()
{
    EntryGrammar::Hooks hooks;
    hooks.askSeconds = [this](bool confirm) {
        return answers_.seconds ? answers_.seconds(confirm) : TSecFrm::AskSeconds(confirm, this);
    };
    hooks.refreshCourt = [this] { refreshCourtPanels(); };
    return hooks;
}

TMatchFrm::TMatchFrm(QWidget *parent)
    : QDialog(parent), session_(*dm()), grammar_(session_, grammarHooks())
{
    session_.AskFoulType = [this] {
        return answers_.foulType ? answers_.foulType() : Pickers().foul ? Pickers().foul->Pick() : 1;
    };

    // Only where the export directory was there at start, as the other live files.
    if (AppPaths::ExportDirectoryReady) {
        livePage_ =
            new LivePageWriter(dm()->db(), [this] { return session_.MatchId(); }, AppPaths::exportDirectory(), this);
        connect(&session_, &MatchSession::matchChanged, livePage_, &LivePageWriter::writeSoon);
        // The match on the web, for as long as the console is open.
        if (LiveServer *web = StartLiveServer(AppPaths::exportDirectory(), this))
            connect(livePage_, &LivePageWriter::pageWritten, web, &LiveServer::publish);
    }
    setWindowTitle(QStringLiteral("Quintara"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 2, 6, 6);
    layout->setSpacing(4);
    layout->setMenuBar(buildMenus());
    layout->addWidget(buildScoreBoard());
    auto *middle = new QHBoxLayout;
    middle->addWidget(buildEntryBoxes());
    middle->addWidget(buildCourt(), 1);
    // Room to spare goes to the court and the event log alike.
    middle->addWidget(buildEventLog(), 1);
    layout->addLayout(middle, 1);
    layout->addWidget(buildStatistics());

    qApp->installEventFilter(this);
    // Every change of the match, whoever made it, reaches the displays here.
    connect(&session_, &MatchSession::matchChanged, this, &TMatchFrm::followMatch);

    // A fresh start for the working tables, and a server backup of the
    // database, written while the statistician starts work, in the pauses
    // of the keying.
    session_.ResetWorkingTables();
    openingBackup_.Start(dm()->options().databaseLocation, dm()->dataFile(QStringLiteral("bkp_proba.gbk")),
                         dm()->db().credentials(), [activity = &dm()->activity()] { activity->WaitForQuiet(); });
    auto *backupWatch = new QTimer(this);
    connect(backupWatch, &QTimer::timeout, this, [this, backupWatch] { reportOpeningBackup(backupWatch); });
    backupWatch->start(200);
    DisableEntry();
    lbQuarter->setText(QStringLiteral("1. Quarter"));
    lbQuarter2->setText(lbQuarter->text());
}

TMatchFrm::~TMatchFrm() { qApp->removeEventFilter(this); }

void TMatchFrm::reportOpeningBackup(QTimer *watch)
{
    const std::optional<QString> outcome = openingBackup_.TakeOutcome();
    if (!outcome)
        return;
    watch->stop();
    if (!outcome->isEmpty())
        ShowError(DiskFullNote(*outcome, dm()->options().dataDirectory) +
                  QStringLiteral("The backup of the database could not be written: %1").arg(*outcome));
}

bool TMatchFrm::OpenExistingMatch(int matchId)
{
    if (!session_.OpenExistingMatch(matchId))
        return false;
    showNames();
    if (session_.BothSidesOnCourt())
        EnableEntry();
    ApplyTeamColors();
    RefreshConsoleData();
    return true;
}

bool TMatchFrm::OpenNewMatch(int matchId)
{
    if (!session_.OpenNewMatch(matchId))
        return false;
    showNames();
    ApplyTeamColors();
    return true;
}

void TMatchFrm::RefreshConsoleData()
{
    const MatchClock clock = session_.Clock();
    clockMinute->setText(clock.Caption());
    lbQuarter->setText(session_.PeriodText());
    lbQuarter2->setText(lbQuarter->text());
}

void TMatchFrm::EnableEntry()
{
    for (QLineEdit *b : boxes_)
        b->setEnabled(true);
    grammar_.Focus(EntryBox::Init);
    syncFromGrammar();
}

void TMatchFrm::DisableEntry()
{
    for (QLineEdit *b : boxes_)
        b->setEnabled(false);
}

void TMatchFrm::ApplyTeamColors()
{
    setSideColor(1, ColorFromValue(session_.HomeColor()));
    setSideColor(2, ColorFromValue(session_.AwayColor()));
}

void TMatchFrm::setSideColor(int side, const QColor &color)
{
    // Text in the inverted colour stays readable on any team colour, unless
    // the statistician chose white or black text.
    const auto &white = whiteText_[size_t(side - 1)];
    const QColor text = white ? (*white ? QColor(Qt::white) : QColor(Qt::black)) : contrastOf(color);
    const bool home = side == 1;
    const auto boxes = home ? std::array{EntryBox::HomePlayer, EntryBox::HomeCode, EntryBox::HomeParameter}
                            : std::array{EntryBox::AwayPlayer, EntryBox::AwayCode, EntryBox::AwayParameter};
    for (QLineEdit *b : boxes | std::views::transform([this](EntryBox e) { return entryBox(e); }))
        paint(b, color, text);
    for (ClickLabel *m : home ? homeCourt : awayCourt)
        paint(m, color, text);
    for (ClickLabel *m : home ? homeBench : awayBench)
        paint(m, color, text);
    boxScores[home ? 0 : 1]->setTeamColor(color, text);
    session_.SetTeamColor(side, ColorValue(color));
}

void TMatchFrm::ShowScore()
{
    const MatchScore score = session_.Score();
    homeScore->setText(QString::number(score.home));
    awayScore->setText(QString::number(score.away));
}

void TMatchFrm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    ShowMatch();
    if (livePage_)
        livePage_->write();
}

void TMatchFrm::showNames()
{
    setWindowTitle(session_.MatchName());
    lbHome->setText(session_.HomeName());
    lbAway->setText(session_.AwayName());
    boxScores[0]->setCaption(session_.HomeName());
    boxScores[1]->setCaption(session_.AwayName());
}

void TMatchFrm::followMatch(MatchChanges what)
{
    if (what & MatchChange::Details) {
        showNames();
        ShowPossession();
    }
    if (what & MatchChange::Colours)
        ApplyTeamColors();
    if (!(what & ~MatchChanges(MatchChange::Details | MatchChange::Colours)))
        return;
    refreshCourtPanels();
    RefreshConsoleData();
    showBonus();
    showTypes();
    showEventLog();
    RefreshBoxScore();
    // Changed cells only ever widen their columns; a correction may narrow them.
    if (what & MatchChange::EventsWithdrawn) {
        for (BoxScoreGrid *grid : boxScores)
            grid->view->fitColumns();
        for (StatLineGrid *grid : statLineGrids)
            if (grid->isVisible()) // else fitted when shown
                grid->view->fitColumns();
    }
    // Time-outs left and time on court change with the clock, a correction,
    // a time-out or a substitution only: the other entries do without the reads.
    const bool clockOrHistory = what & (MatchChange::Clock | MatchChange::EventsWithdrawn | MatchChange::Roster);
    if (clockOrHistory || session_.LastEventCode() == EvTimeOut)
        showTimeOuts();
    if (clockOrHistory || session_.LastEventCode() == EvPlayerChange)
        showTimesOnCourt();
    UpdateStartersCaptions();
}

void TMatchFrm::ShowMatch()
{
    session_.ResetShowingState();
    refreshCourtPanels();
    if (!session_.StartersDefined(1))
        ShowError(QStringLiteral("Home Team Starters are not defined!"));
    if (!session_.StartersDefined(2))
        ShowError(QStringLiteral("Away Team Starters are not defined!"));
    session_.MarkStarters(1);
    session_.MarkStarters(2);
    session_.Changed(MatchChange::EventsWithdrawn | MatchChange::Roster | MatchChange::Details);
    syncFromGrammar();
}

void TMatchFrm::showEventLog()
{
    showLines(eventLog, session_.EventLogLines());
    eventLog->setCurrentRow(0);
    // Showing or hiding the button lays the window out again: only on a change.
    if (btnUndo->isVisibleTo(this) != session_.UndoOffered())
        btnUndo->setVisible(session_.UndoOffered());
    undoList_ = session_.UndoList();
    QStringList inForce;
    for (const auto &row : undoList_)
        inForce << row.display;
    showLines(eventsInForce, inForce);
}

void TMatchFrm::UpdateStartersCaptions()
{
    const QString what = session_.MatchStarted() ? QStringLiteral("Line up ...") : QStringLiteral("Starters ...");
    startersButtons[0]->setText(QStringLiteral("[F8] ") + what);
    startersButtons[1]->setText(QStringLiteral("[F9] ") + what);
}

void TMatchFrm::closeEvent(QCloseEvent *event)
{
    if (!AskConfirmation(QStringLiteral("Stop working with match ?"))) {
        event->ignore();
        return;
    }
    session_.Close(session_.Clock().Ended());
    closing_ = true;
    QDialog::closeEvent(event);
}

void TMatchFrm::reject()
{
    // Esc and the window's close button end the match work only after the question.
    if (closing_)
        QDialog::reject();
    else
        close();
}

void TMatchFrm::RefreshBoxScore()
{
    BusyCursor busy;
    const BoxScoreSet box = session_.BoxScore();
    const auto plusMinus = session_.PlusMinusBalances();
    for (int side = 1; side <= 2; ++side)
        sideStats[size_t(side - 1)]->setBoxScore(box.side(side), plusMinus[size_t(side - 1)]);
    showCourtFouls(box);
    for (StatLineGrid *grid : statLineGrids)
        grid->refreshWhenShown();
    ShowScore();
}

void TMatchFrm::showCourtFouls(const BoxScoreSet &box)
{
    for (int side = 1; side <= 2; ++side) {
        const auto &markers = side == 1 ? homeCourt : awayCourt;
        const auto &fouls = side == 1 ? homeCourtFouls : awayCourtFouls;
        for (size_t i = 0; i < markers.size(); ++i) {
            bool isNumber = false;
            const BoxRow *row = box.side(side).player(markers[i]->text().toInt(&isNumber));
            fouls[i]->setVisible(isNumber && row);
            if (!isNumber || !row)
                continue;
            const int personal = row->count(BC_LG);
            fouls[i]->setText(QString::number(personal));
            fouls[i]->setToolTip(QStringLiteral("%1 personal fouls").arg(personal));
            // Out of the game: marker and count turn red (the court's style
            // sheet), to be seen across the desk.
            for (QWidget *w : {static_cast<QWidget *>(markers[i]), static_cast<QWidget *>(fouls[i])}) {
                if (w->property("fouledOut").toBool() == row->FouledOut())
                    continue;
                w->setProperty("fouledOut", row->FouledOut());
                w->style()->unpolish(w);
                w->style()->polish(w);
            }
        }
    }
}

void TMatchFrm::showTimesOnCourt()
{
    const auto times = session_.TimesOnCourt();
    for (size_t i : {0u, 1u})
        sideStats[i]->setTimesOnCourt(times[i]);
}

void TMatchFrm::showTimeOuts()
{
    const std::array<int, 2> left = session_.TimeOutsLeft();
    for (size_t i : {0u, 1u})
        timeOutsLeft[i]->setText(QStringLiteral("T.O. left: %1").arg(left[i]));
}

void TMatchFrm::refreshCourtPanels()
{
    const MatchSession::CourtPanels panels = session_.RefreshCourtPanels();
    for (int s = 0; s < 2; ++s) {
        auto &court = s == 0 ? homeCourt : awayCourt;
        auto &bench = s == 0 ? homeBench : awayBench;
        for (int i = 0; i < 5; ++i)
            court[size_t(i)]->setText(i < panels.court[s].size() ? QString::number(panels.court[s][i])
                                                                 : QStringLiteral("?"));
        for (int i = 0; i < 7; ++i) {
            const bool used = i < panels.bench[s].size();
            bench[size_t(i)]->setVisible(used);
            if (used)
                bench[size_t(i)]->setText(QString::number(panels.bench[s][i]));
        }
    }
}

void TMatchFrm::showBonus()
{
    for (int side = 1; side <= 2; ++side) {
        QLabel *panel = side == 1 ? panBonusH : panBonusA;
        QLabel *count = teamFoulCounts[size_t(side - 1)];
        panel->setText(TeamFoulTally::BonusText(session_.TeamFouls(side)));
        count->setText(QString::number(session_.TeamFouls(side)));
        for (QLabel *l : {panel, count})
            paint(l, session_.InBonus(side) ? BonusReached : BonusNormal, Qt::black);
    }
}

void TMatchFrm::showTypes()
{
    const int attack = session_.AttackType;
    lbAtype->setText(attack == 1   ? QStringLiteral("SECOND ATTACK")
                     : attack == 2 ? QStringLiteral("FAST BREAK")
                                   : QStringLiteral("NORMAL ATTACK"));
    lbDtype->setText(session_.DefenceType == 1 ? QStringLiteral("ZONE DEFENSE")
                                               : QStringLiteral("MAN TO MAN DEFENSE"));
    if (rgAType && rgDType) {
        rgAType->button(attack)->setChecked(true);
        rgDType->button(session_.DefenceType)->setChecked(true);
    }
}

void TMatchFrm::ShowPossession()
{
    const int side = session_.Possession();
    for (int s = 1; s <= 2; ++s) {
        QLabel *l = possessionLabels[size_t(s - 1)];
        const bool hasBall = s == side;
        l->setText((hasBall ? QStringLiteral("\u25CF ") : QString()) +
                   (s == 1 ? QStringLiteral("POSSESSION HOME") : QStringLiteral("POSSESSION  AWAY")));
        l->setStyleSheet(hasBall ? QStringLiteral("font-weight: bold; color: darkred") : QString());
    }
}

void TMatchFrm::Undo()
{
    session_.Undo();
    grammar_.Focus(EntryBox::Init);
    syncFromGrammar();
}

