#include "app/ConsoleDialogs.h"

#include "common/AppPaths.h"
#include "common/Messenger.h"
#include "console/widgets/MatchConsole.h"
#include "console/widgets/SecondsDialog.h"
#include "data/DataModule.h"
#include "publish/widgets/LargeScoreboardWindow.h"
#include "publish/widgets/SavedQuartersWindow.h"
#include "setup/widgets/MatchDefinitionDialog.h"
#include "setup/widgets/StartersDialog.h"
#include "setup/widgets/RosterDialog.h"
#include "setup/WindowDirectory.h"

StartersEditor::Hooks LineUpHooks(TMatchFrm &console)
{
    StartersEditor::Hooks hooks;
    hooks.askSeconds = [&console] { return TSecFrm::AskSeconds(false, &console); };
    hooks.refused = [](int result, int player, int parameter) {
        const auto refusal =
            CheckResultMessage(result, QString::number(player), QString::number(parameter));
        if (!refusal.message.isEmpty())
            ShowError(refusal.message);
    };
    hooks.enableEntry = [&console] { console.EnableEntry(); };
    return hooks;
}

void RegisterConsoleDialogs()
{
    ConsoleDialogs &dialogs = TheConsoleDialogs();
    dialogs.roster = [](TMatchFrm &console, int side) {
        TTeamDlg dialog(console.session().MatchId(), side == 1 ? 1 : 0, &console);
        return dialog.exec() == 33;
    };
    dialogs.lineUp = [](TMatchFrm &console, int side) {
        TStartersDlg dialog(console.session(), side == 1 ? 1 : 0, LineUpHooks(console), &console);
        return dialog.exec() == 33;
    };
    dialogs.browser = [](TMatchFrm &console, ReferenceList list) {
        static const std::pair<ReferenceList, BrowserKind> kinds[] = {
            {ReferenceList::Players, BrowserKind::Players},     {ReferenceList::Coaches, BrowserKind::Coaches},
            {ReferenceList::Referees, BrowserKind::Referees},   {ReferenceList::Delegates, BrowserKind::Delegates},
            {ReferenceList::Statists, BrowserKind::Statists},   {ReferenceList::Leagues, BrowserKind::Leagues},
            {ReferenceList::Teams, BrowserKind::Teams}};
        for (const auto &[from, to] : kinds)
            if (from == list)
                ShowReferenceBrowser(to, &console);
    };
    dialogs.savedQuarters = [](TMatchFrm &console) {
        // One window for the console's life, which is the program's: a match per run.
        auto *window = console.findChild<TfrmSavedQuarters *>();
        if (!window)
            window = new TfrmSavedQuarters(AppPaths::exportDirectory(), &console);
        window->SetTeams(console.session().HomeName(), console.session().AwayName());
        window->hide(); // shown again, so the list is read again
        window->show();
        window->raise();
    };
    dialogs.largeScoreboard = [](TMatchFrm &console) {
        // One board for the console's life; shown again where it was left.
        auto *board = console.findChild<TLargeScoreboardFrm *>();
        if (!board)
            board = new TLargeScoreboardFrm(
                [&console] {
                    MatchSession &session = console.session();
                    const MatchScore score = session.Score();
                    const MatchClock clock = session.Clock();
                    return ScoreboardReading{session.HomeName(), session.AwayName(), score.home, score.away,
                                             clock.PeriodText(), clock.minute,
                                             ReadPeriodPoints(dm()->db(), session.MatchId())};
                },
                &console);
        board->show();
        board->raise();
    };
    dialogs.definition = [](TMatchFrm &console) {
        TDataGame definition(*dm(), console.session().MatchId(), &console);
        return definition.isReady() && definition.exec() == MatchDefinition::Confirmed;
    };
}
