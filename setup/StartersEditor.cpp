#include "setup/StartersEditor.h"

#include "common/Messenger.h"
#include "console/MatchSession.h"
#include "data/ActionCodes.h"
#include "data/FbClient.h"
#include "data/DataModule.h"

StartersEditor::StartersEditor(MatchSession &session, int side) : session_(session), side_(side == 1 ? 1 : 2)
{
    caption_ = side_ == 1 ? QStringLiteral("HOME STARTERS: ") + session_.HomeName()
                          : QStringLiteral("AWAY STARTERS: ") + session_.AwayName();
    const QList<int> court = onCourt();
    fb::Query roster(dm()->db(), QStringLiteral("select S.DRES, I.PREZIME, I.IME from SASTAV S "
                                                "join IGRAC I on I.ID_IGRAC = S.ID_IGRAC "
                                                "where S.ID_UTAKMICA = ? and S.DOMGOST = ? order by S.DRES"));
    roster.exec({session_.MatchId(), side_ == 1 ? 1 : 0});
    while (roster.next()) {
        const int number = roster.value(0).toInt();
        rows << Row{number, roster.value(1).toString(), roster.value(2).toString(), court.contains(number)};
    }
}

QList<int> StartersEditor::onCourt()
{
    QList<int> numbers;
    fb::Query court(dm()->db(), QStringLiteral("select DRES from %1 where VREME = 0 order by ID_PETORKA")
                                    .arg(side_ == 1 ? QStringLiteral("PETORKADOM") : QStringLiteral("PETORKAGOSTI")));
    court.exec();
    while (court.next())
        numbers << court.value(0).toInt();
    return numbers;
}

void StartersEditor::Toggle(int row)
{
    if (row >= 0 && row < rows.size())
        rows[row].marked = !rows[row].marked;
}

bool StartersEditor::Apply(const Hooks &hooks)
{
    QList<int> marked;
    for (const Row &r : rows)
        if (r.marked)
            marked << r.number;
    if (marked.size() != RequiredStarters) {
        ShowError(QStringLiteral("You have to select %1. player!!!").arg(RequiredStarters));
        return false;
    }

    // The console shows the five once they are all recorded.
    const MatchSession::OneStep oneStep(session_);
    QList<int> recorded = onCourt();
    auto &db = dm()->db();
    if (recorded.isEmpty()) {
        // The first recording: the match start once per match, then the five starters.
        const bool started = db.scalar(QStringLiteral("select count(*) from AKCIJE where ID_UTAKMICA = ? "
                                                      "and SIFRA = 1 and UNDO = 0"),
                                       {session_.MatchId()})
                                 .toInt() > 0;
        if (!started) {
            const int result = session_.Record({3, 0, EvMatchStart, 0, 0});
            if (result != 1)
                hooks.refused(result, 0, 0);
        }
        for (int number : marked) {
            const int result = session_.Record({side_, number, EvStarters, 0, 0});
            if (result != 1)
                hooks.refused(result, number, 0);
        }
        if (session_.BothSidesOnCourt())
            hooks.enableEntry();
        return true;
    }

    // Players who stay are neither leaving nor entering.
    QList<int> leaving, entering;
    for (int n : recorded)
        if (!marked.contains(n))
            leaving << n;
    for (int n : marked)
        if (!recorded.contains(n))
            entering << n;
    if (leaving.size() != entering.size()) {
        ShowError(QStringLiteral("FATAL ERROR! UstartersDlg.CheckClick"));
        return false;
    }
    if (leaving.isEmpty())
        return true;
    // Once the match runs, the changes are substitutions at one second of the clock.
    int seconds = 0;
    if (session_.MatchStarted()) {
        const auto asked = hooks.askSeconds();
        if (!asked)
            return false;
        seconds = *asked;
    }
    for (int i = 0; i < leaving.size(); ++i) {
        const int result = session_.Record({side_, leaving[i], EvPlayerChange, entering[i], seconds});
        if (result != 1)
            hooks.refused(result, leaving[i], entering[i]);
    }
    return true;
}
