// The windows the console opens: roster, line-up, definition, reference
// lists, the events review and the legend.
#include "console/widgets/MatchConsole.h"

#include "console/PeriodPictures.h"
#include "reports/PeriodPicture.h"
#include "reports/ReportEntries.h"

#include "common/AppPaths.h"
#include "common/MatchState.h"
#include "common/Messenger.h"
#include "console/widgets/EventsReviewWindow.h"
#include "console/widgets/BoxScoreGrid.h"
#include "console/widgets/Pickers.h"
#include "console/widgets/StatLineGrid.h"
#include "console/widgets/SecondsDialog.h"
#include "data/ActionCodes.h"
#include "data/BoxScore.h"
#include "data/StatLines.h"
#include "data/DataModule.h"

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
#include <QVBoxLayout>

ConsoleDialogs &TheConsoleDialogs()
{
    static ConsoleDialogs dialogs;
    return dialogs;
}

void TMatchFrm::SavePeriodSnapshot()
{
    // Only where the export directory was there at start, as the live page.
    if (!AppPaths::ExportDirectoryReady)
        return;
    const QString fileName = PeriodSnapshotFileName(AppPaths::exportDirectory(), session_.MatchId(),
                                                    session_.HomeName(), session_.AwayName(), session_.Clock().period);
    const QString problem =
        SavePeriodPicture(dm()->db(), session_.MatchId(), fileName, ReportsInColour(), AppPaths::dataDirectory());
    if (!problem.isEmpty())
        ShowError(problem);
}

void TMatchFrm::OpenSavedQuarters()
{
    if (TheConsoleDialogs().savedQuarters)
        TheConsoleDialogs().savedQuarters(*this);
}

void TMatchFrm::OpenLargeScoreboard()
{
    if (TheConsoleDialogs().largeScoreboard)
        TheConsoleDialogs().largeScoreboard(*this);
}

void TMatchFrm::OpenRoster(int side)
{
    if (!TheConsoleDialogs().roster)
        return;
    TheConsoleDialogs().roster(*this, side);
    session_.Journal().AppendRosterChanges();
    session_.ReloadRoster();
    session_.Changed(MatchChange::Roster);
    dm()->SaveAllDataSets();
    dm()->RequestSafetyCopy();
    grammar_.Focus(EntryBox::Init);
    syncFromGrammar();
}

void TMatchFrm::OpenLineUp(int side)
{
    if (!TheConsoleDialogs().lineUp)
        return;
    TheConsoleDialogs().lineUp(*this, side);
    refreshCourtPanels();
    // Before the start the five on court are the starters, which the roster
    // marks; after it, the substitutions were announced as they were recorded.
    if (!session_.MatchStarted()) {
        session_.MarkStarters(side);
        session_.Changed(MatchChange::Roster);
    }
    dm()->SaveAllDataSets();
    dm()->RequestSafetyCopy();
    grammar_.Focus(EntryBox::Init);
    syncFromGrammar();
}

void TMatchFrm::OpenReferenceList(ReferenceList list)
{
    if (!TheConsoleDialogs().browser)
        return;
    dm()->OpenAllTables();
    TheConsoleDialogs().browser(*this, list);
    dm()->SaveAllDataSets();
    dm()->RequestSafetyCopy();
    session_.ReloadRoster(); // names may have changed
    session_.Changed(MatchChange::Roster);
}

void TMatchFrm::OpenDefinition()
{
    if (!TheConsoleDialogs().definition || !TheConsoleDialogs().definition(*this))
        return;
    dm()->SaveAllDataSets();
    dm()->RequestSafetyCopy();
    session_.ReloadMatchRow();
}

void TMatchFrm::showLegend()
{
    if (!legend_)
        legend_ = new TEventLegendFrm(this);
    QWidget *focused = QApplication::focusWidget();
    legend_->show();
    legend_->adjustSize();
    legend_->move(frameGeometry().right() - legend_->frameGeometry().width(), frameGeometry().top() + 20);
    if (focused)
        focused->activateWindow(), focused->setFocus();
}

void TMatchFrm::OpenEventsReview()
{
    TAllActionsViewfrm review(dm()->db(), session_.MatchId(), this);
    review.review().Journal = &session_.Journal();
    connect(&review, &TAllActionsViewfrm::recordsChanged, this,
            [this] { session_.Changed(MatchChange::EventsWithdrawn); });
    review.ApplyFilter();
    review.exec();
    AfterEventsReview(review.review().RecordsChanged());
}

void TMatchFrm::AfterEventsReview(bool recordsChanged)
{
    if (recordsChanged)
        dm()->RequestSafetyCopy();
    ShowMatch();
}
