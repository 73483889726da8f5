#include "matchscript/widgets/MatchReplay.h"

#include "common/Messenger.h"
#include "console/ActionsReview.h"
#include "console/widgets/MatchConsole.h"
#include "data/ActionCodes.h"
#include "data/BoxScoreText.h"
#include "data/FbClient.h"
#include "data/DataModule.h"
#include "app/ConsoleDialogs.h"
#include "setup/MatchDefinition.h"
#include "setup/RefBrowserLogic.h"
#include "setup/RefBrowserMembers.h"
#include "setup/RosterEditor.h"
#include "setup/StartersEditor.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace {

using Kind = ScriptEntry::Kind;

// The console's messages while a replay runs: errors and warnings are the
// refusal of the entry being played. Questions are answered Yes where the
// script's line expects them (an exit without changes, a deletion, closing
// the console); elsewhere one is answered No and refuses the entry, as a
// bench player's number keyed for a shot would.
class ReplayMessenger final : public Messenger
{
public:
    ReplayMessenger() : previous_(&Messenger::current()) { Messenger::install(this); }
    ~ReplayMessenger() override { Messenger::install(previous_); }

    bool show(Kind kind, const QString &text) override
    {
        if (kind == Kind::Error || kind == Kind::Warning || (kind == Kind::Confirmation && !questionsExpected))
            (betweenEntries ? notices : refusals) << text;
        return kind != Kind::Confirmation || questionsExpected;
    }

    QStringList refusals;
    // What the console's timers report between entries (a safety copy or
    // the server backup that failed) is no entry's refusal.
    QStringList notices;
    bool betweenEntries = false;
    bool questionsExpected = true;

private:
    Messenger *previous_;
};

// The setup failed at a script line with the program's message.
struct SetupFailure
{
    int line;
    QString message;
};

// The reference rows and the match of a script header, found by name or
// made through the reference browsers and the match definition.
class HeaderSetup
{
public:
    HeaderSetup(Tdm &module, ReplayMessenger &messages) : module_(module), messages_(messages) {}

    int DefineMatch(const ScriptHeader &h)
    {
        const int league = findOrAdd(BrowserKind::Leagues, QStringLiteral("select ID_LIGA from LIGA where NAZIV = ?"),
                                     {h.league}, {{QStringLiteral("NAZIV"), h.league}, {QStringLiteral("LIGTUR"), 1}},
                                     h.leagueLine);
        for (int side = 0; side < 2; ++side) {
            const QString name = side == 0 ? h.home : h.away;
            clubs_[size_t(side)] = findOrAdd(BrowserKind::Teams,
                                             QStringLiteral("select ID_KLUB from KLUB where NAZIV = ? and ID_LIGA = ?"),
                                             {name, league}, {{QStringLiteral("NAZIV"), name}},
                                             side == 0 ? h.homeLine : h.awayLine, {{QStringLiteral("ID_LIGA"), league}});
        }
        for (int side = 0; side < 2; ++side) {
            for (const ScriptPlayer &p : h.players[size_t(side)])
                AddPlayer(side + 1, p.person);
            if (const auto &coach = h.coaches[size_t(side)])
                coaches_[size_t(side)] = person(BrowserKind::Coaches, *coach,
                                                {{QStringLiteral("ID_KLUB"), clubs_[size_t(side)]}});
        }

        MatchDefinition definition(module_);
        if (!definition.Open(MatchDefinition::NewMatch))
            throw SetupFailure{h.matchLine, lastMessage(QStringLiteral("the match could not be defined"))};
        using C = MatchDefinition::Control;
        definition.setKey(C::Liga, league);
        definition.RefreshClubList(C::Domacin);
        definition.RefreshClubList(C::Gost);
        definition.setKey(C::Domacin, clubs_[0]);
        definition.setKey(C::Gost, clubs_[1]);
        const C referees[] = {C::Sudija1, C::Sudija2, C::Sudija3};
        for (int i = 0; i < h.referees.size(); ++i)
            definition.setKey(referees[i], person(BrowserKind::Referees, h.referees[i]));
        if (h.delegate)
            definition.setKey(C::Delegat, person(BrowserKind::Delegates, *h.delegate));
        const C statisticians[] = {C::Statisticar1, C::Statisticar2};
        for (int i = 0; i < h.statisticians.size(); ++i)
            definition.setKey(statisticians[i], person(BrowserKind::Statists, h.statisticians[i]));

        // Facts a script leaves out get plain values, so a paper scoresheet
        // with only the teams can still be keyed.
        const auto fact = [&](const char *name, const QString &otherwise) {
            return h.facts.value(QLatin1String(name), otherwise);
        };
        const int factsLine = h.matchLine ? h.matchLine : h.leagueLine;
        definition.setText(C::Naziv, fact("caption", (h.home + QStringLiteral(" - ") + h.away).left(26)));
        definition.setText(C::Kolo, fact("round", QStringLiteral("1")));
        definition.setText(C::Grad, fact("city", QStringLiteral("-")));
        definition.setText(C::Hala, fact("hall", QStringLiteral("-")));
        definition.setText(C::Gledalaca, fact("spectators", QStringLiteral("0")));
        definition.setText(C::Extra, fact("extra", QString()));
        definition.setPlayOff(fact("playoff", QStringLiteral("0")) == QLatin1String("1"));
        const QDate date = QDate::fromString(fact("date", QDate::currentDate().toString(Qt::ISODate)), Qt::ISODate);
        const QTime time = QTime::fromString(fact("time", QStringLiteral("00:00")), QStringLiteral("HH:mm"));
        if (!date.isValid() || !time.isValid())
            throw SetupFailure{factsLine, QStringLiteral("the date is written YYYY-MM-DD and the time HH:MM")};
        definition.setDate(date);
        definition.setTime(time);
        if (!definition.Confirm().saved)
            throw SetupFailure{factsLine, lastMessage(QStringLiteral("the match could not be defined"))};
        match_ = definition.matchId();
        return match_;
    }

    // A header that could not be set up leaves nothing behind: the match
    // with everything recorded for it, and the rows added for the header.
    void Withdraw()
    {
        auto &db = module_.db();
        try {
            db.rollbackRetaining();
            if (match_ >= 0) {
                for (const char *sql : {"delete from DTT where IDM = ?", "delete from DTT_DEL where IDM = ?",
                                        "delete from AKCIJE where ID_UTAKMICA = ?",
                                        "delete from SASTAV where ID_UTAKMICA = ?", "delete from INDEKSI where IDGAME = ?",
                                        "delete from ISTORIJA_INDEKSI_PM where IDUTAKMICE = ?",
                                        "delete from UTAKMICA where ID_UTAKMICA = ?"})
                    db.execute(QString::fromLatin1(sql), {match_});
            }
            for (auto made = added_.crbegin(); made != added_.crend(); ++made)
                db.execute(QStringLiteral("delete from %1 where %2 = ?").arg(made->table, made->key), {made->id});
            db.commit();
        } catch (const fb::Error &e) {
            ShowError(QStringLiteral("The rows made for the script's header could not be removed: %1").arg(e.text()));
        }
        added_.clear();
        match_ = -1;
    }

    // A player of a side's club, found by name or added.
    int AddPlayer(int side, const ScriptPerson &p)
    {
        return person(BrowserKind::Players, p,
                      {{QStringLiteral("ID_KLUB"), clubs_[size_t(side - 1)]}});
    }
    std::optional<int> Coach(int side) const { return coaches_[size_t(side - 1)]; }

private:
    using Values = QList<QPair<QString, QVariant>>;

    // The program's own words, or what could not be done when it said none.
    QString lastMessage(const QString &otherwise) const
    {
        return messages_.refusals.isEmpty() ? otherwise : messages_.refusals.last();
    }

    int find(const QString &sql, const QVariantList &params)
    {
        try {
            const QVariant id = module_.db().scalar(sql, params);
            return id.isNull() ? 0 : id.toInt();
        } catch (const fb::Error &) {
            return 0; // a name its column cannot hold is in no row; adding it tells why
        }
    }

    // A row found by `sql`, or inserted through its browser with `values`
    // typed and `choices` taken from the drop-down lists.
    int findOrAdd(BrowserKind kind, const QString &sql, const QVariantList &params, const Values &values, int line,
                  const Values &choices = {})
    {
        if (const int id = find(sql, params))
            return id;
        RefBrowserLogic browser(kind, module_);
        browser.Open();
        if (browser.Run(RefBrowserLogic::Command::Insert)) {
            for (const auto &[column, value] : values)
                browser.SetValue(column, value);
            for (const auto &[column, key] : choices)
                browser.Choose(column, key);
            const qsizetype said = messages_.refusals.size();
            if (browser.Run(RefBrowserLogic::Command::Post)) {
                if (const int id = find(sql, params)) {
                    const BrowserMember &member = Member(kind);
                    added_.push_back({module_.table(member.tableObject).table(), member.keyColumn, id});
                    return id;
                }
            } else if (const int id = find(sql, params)) {
                // Another desk stored the same row meanwhile: it is this one too.
                messages_.refusals.resize(said);
                return id;
            }
        }
        throw SetupFailure{line, lastMessage(QStringLiteral("\"%1\" could not be added to the %2")
                                                 .arg(params.value(0).toString(), Member(kind).caption.toLower()))};
    }

    // A person by surname and first name (and club, for players and coaches).
    int person(BrowserKind kind, const ScriptPerson &p, const Values &choices = {})
    {
        const BrowserMember &browser = Member(kind);
        QString sql = QStringLiteral("select first 1 %1 from %2 where PREZIME = ? and IME = ?")
                          .arg(browser.keyColumn, module_.table(browser.tableObject).table());
        QVariantList params{p.surname, p.firstName};
        for (const auto &[column, key] : choices) {
            sql += QStringLiteral(" and %1 = ?").arg(column);
            params << key;
        }
        Values values{{QStringLiteral("PREZIME"), p.surname}, {QStringLiteral("IME"), p.firstName}};
        if (!p.city.isEmpty())
            values << qMakePair(QStringLiteral("GRAD"), QVariant(p.city));
        return findOrAdd(kind, sql, params, values, p.line, choices);
    }

    struct AddedRow
    {
        QString table, key;
        int id;
    };

    Tdm &module_;
    ReplayMessenger &messages_;
    std::vector<AddedRow> added_;
    int match_ = -1;
    std::array<int, 2> clubs_{};
    std::array<std::optional<int>, 2> coaches_;
};

// The console window keyed as a statistician keys it.
class ConsoleKeys
{
public:
    explicit ConsoleKeys(TMatchFrm &console) : console_(console) {}

    void key(int key, const QString &text = QString(), Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget *target = QApplication::focusWidget();
        if (!target || !console_.isAncestorOf(target))
            target = box(console_.grammar().focus());
        QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
        QApplication::sendEvent(target, &release);
    }
    void type(int number)
    {
        for (const QChar digit : QString::number(number))
            key(Qt::Key_0 + digit.digitValue(), QString(digit));
    }
    void enter() { key(Qt::Key_Return, QStringLiteral("\r")); }
    // A click into the Init box, where every entry begins.
    void focusInit()
    {
        console_.entryBox(EntryBox::Init)->setFocus(Qt::MouseFocusReason);
        console_.entryBox(EntryBox::Init)->selectAll();
    }

private:
    QLineEdit *box(EntryBox b) const { return console_.entryBox(b); }

    TMatchFrm &console_;
};

// Keys a script's entries into the console and answers its questions.
class EntryKeyer
{
public:
    EntryKeyer(TMatchFrm &console, HeaderSetup &setup, ReplayMessenger &messages)
        : console_(console), keys_(console), setup_(setup), messages_(messages)
    {
        console_.AnswerWith({[this](bool) { return std::optional<int>(seconds_); }, [this] { return foulType_; }});
        saved_ = TheConsoleDialogs();
        TheConsoleDialogs().roster = [this](TMatchFrm &, int side) { return applyRoster(side); };
        TheConsoleDialogs().lineUp = [this](TMatchFrm &, int side) { return applyLineUp(side); };
    }
    ~EntryKeyer() { TheConsoleDialogs() = saved_; }

    // The rosters, colours and starters of the header, as keyed in the console's dialogs.
    void Prepare(const ScriptHeader &h)
    {
        for (int side = 1; side <= 2; ++side) {
            roster_ = h.players[size_t(side - 1)];
            coach_ = setup_.Coach(side);
            keys_.key(side == 1 ? Qt::Key_F10 : Qt::Key_F11);
            const int line = roster_.isEmpty() ? h.leagueLine : roster_.first().person.line;
            if (!messages_.refusals.isEmpty())
                throw SetupFailure{line, messages_.refusals.first()};
        }
        if (h.colors) {
            console_.session().SetTeamColor(1, (*h.colors)[0]);
            console_.session().SetTeamColor(2, (*h.colors)[1]);
            console_.ApplyTeamColors();
        }
        for (int side = 1; side <= 2; ++side) {
            if (h.starters[size_t(side - 1)].isEmpty())
                continue;
            five_ = h.starters[size_t(side - 1)];
            keys_.key(side == 1 ? Qt::Key_F8 : Qt::Key_F9);
            if (!messages_.refusals.isEmpty())
                throw SetupFailure{h.startersLines[size_t(side - 1)], messages_.refusals.first()};
        }
    }

    void Play(const ScriptEntry &e)
    {
        switch (e.kind) {
        case Kind::Event: return event(e);
        case Kind::MinuteChange:
            keys_.focusInit();
            return keys_.key(Qt::Key_Plus, QStringLiteral("+"), Qt::KeypadModifier);
        case Kind::TimeOut:
            return keys_.key(e.side == 1 ? Qt::Key_Slash : Qt::Key_Asterisk, e.side == 1 ? QStringLiteral("/")
                                                                                           : QStringLiteral("*"));
        case Kind::TeamEvent: return console_.TeamEvent(e.side, e.code); // the side chosen in the chooser
        case Kind::JumpBall: return keys_.key(e.side == 1 ? Qt::Key_F6 : Qt::Key_F7);
        case Kind::Possession: return letter(e.side == 1 ? 'H' : 'A');
        case Kind::AttackType: return letter("NSF"[e.value]);
        case Kind::DefenceType: return letter("MZ"[e.value]);
        case Kind::LineUp:
        case Kind::Starters:
            five_ = e.five;
            seconds_ = e.seconds;
            return keys_.key(e.side == 1 ? Qt::Key_F8 : Qt::Key_F9);
        case Kind::Undo:
            if (!console_.btnUndo->isVisible())
                return refuse(QStringLiteral("the console offers no undo now"));
            return console_.btnUndo->click();
        case Kind::Delete: return deleteLogged(e.value);
        case Kind::MarkDelete:
            if (e.value > console_.eventsInForce->count())
                return refuse(QStringLiteral("the events in force have no row %1").arg(e.value));
            return emit console_.eventsInForce->itemDoubleClicked(console_.eventsInForce->item(e.value - 1));
        case Kind::ReviewDelete:
        case Kind::ReviewUpdate: return review(e);
        case Kind::Color:
            console_.session().SetTeamColor(e.side, e.value);
            return console_.ApplyTeamColors();
        case Kind::RosterPlayer:
            setup_.AddPlayer(e.side, e.person);
            roster_ = {ScriptPlayer{e.number, e.person}};
            coach_.reset();
            return keys_.key(e.side == 1 ? Qt::Key_F10 : Qt::Key_F11);
        }
    }

private:
    bool refused() const { return !messages_.refusals.isEmpty(); }
    void refuse(const QString &message) { messages_.refusals << message; }
    void letter(char c) { keys_.key(Qt::Key_A + (c - 'A'), QString(QLatin1Char(c))); }

    // The side into Init, then the number, the code and the parameter, each
    // closed with Enter; a refusal ends the entry where the console stopped it.
    void event(const ScriptEntry &e)
    {
        keys_.focusInit();
        keys_.type(e.side);
        keys_.type(e.number);
        keys_.enter();
        if (refused() || e.code == EvExitWithoutChanges)
            return;
        seconds_ = e.seconds;
        foulType_ = e.foulType;
        keys_.type(e.code);
        keys_.enter();
        if (refused() || !ActionCodes().NeedsParameter(e.code))
            return;
        keys_.type(e.parameter);
        keys_.enter();
    }

    void deleteLogged(int number)
    {
        const QString prefix = QStringLiteral("%1. ").arg(number);
        for (int row = 0; row < console_.eventLog->count(); ++row)
            if (console_.eventLog->item(row)->text().startsWith(prefix))
                return emit console_.eventLog->itemDoubleClicked(console_.eventLog->item(row));
        refuse(QStringLiteral("the event log has no event %1").arg(number));
    }

    void review(const ScriptEntry &e)
    {
        ActionsReview review(dm()->db(), console_.session().MatchId());
        review.Journal = &console_.session().Journal();
        review.ApplyFilter(ActionsFilter{});
        for (int position = 0; position < review.Count(); ++position) {
            if (review.Rows()[size_t(position)].RBAction != e.value)
                continue;
            review.SetCurrent(position);
            if (e.kind == Kind::ReviewDelete)
                review.Delete();
            else
                review.Update(QString::number(e.side), QString::number(e.number), QString::number(e.code),
                              QString::number(e.parameter));
            return console_.AfterEventsReview(review.RecordsChanged());
        }
        refuse(QStringLiteral("the events review has no event %1").arg(e.value));
    }

    // The roster dialog with the script's players numbered (and the others kept).
    bool applyRoster(int side)
    {
        RosterEditor editor(dm()->db(), console_.session().MatchId(), side == 1 ? 1 : 0);
        for (const ScriptPlayer &p : roster_)
            for (RosterEditor::Row &row : editor.rows)
                if (row.surname == p.person.surname && row.firstName == p.person.firstName)
                    row.number = p.number;
        if (coach_)
            editor.coachId = coach_;
        return editor.Apply();
    }

    // The starters or line-up dialog with exactly the script's five marked.
    bool applyLineUp(int side)
    {
        StartersEditor editor(console_.session(), side == 1 ? 1 : 0);
        for (StartersEditor::Row &row : editor.rows)
            row.marked = five_.contains(row.number);
        StartersEditor::Hooks hooks = LineUpHooks(console_);
        hooks.askSeconds = [this] { return std::optional<int>(seconds_); };
        return editor.Apply(hooks);
    }

    TMatchFrm &console_;
    ConsoleKeys keys_;
    HeaderSetup &setup_;
    ReplayMessenger &messages_;
    ConsoleDialogs saved_;
    QList<ScriptPlayer> roster_;
    std::optional<int> coach_;
    QList<int> five_;
    int seconds_ = 0;
    int foulType_ = 1;
};

// The console on top and active, so keys reach its boxes as they would.
void activate(TMatchFrm &console)
{
    console.show();
    console.activateWindow();
    QElapsedTimer waited;
    waited.start();
    while (!console.isActiveWindow() && waited.elapsed() < 2000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

} // namespace

MatchReplay::Outcome MatchReplay::Run(const MatchScript &script)
{
    Outcome outcome;
    ReplayMessenger messages;
    HeaderSetup setup(*dm(), messages);
    // The header is set up whole or not at all.
    const auto refuseHeader = [&](const SetupFailure &failure) {
        outcome.refusals << Refusal{failure.line, failure.message};
        outcome.matchId = -1;
        setup.Withdraw();
        return outcome;
    };
    try {
        outcome.matchId = setup.DefineMatch(script.header);
    } catch (const SetupFailure &failure) {
        return refuseHeader(failure);
    }

    TMatchFrm console;
    std::optional<SetupFailure> unprepared;
    std::optional<EntryKeyer> keyer;
    if (console.OpenNewMatch(outcome.matchId)) {
        activate(console);
        keyer.emplace(console, setup, messages);
        try {
            keyer->Prepare(script.header);
        } catch (const SetupFailure &failure) {
            unprepared = failure;
        }
    } else {
        unprepared = SetupFailure{script.header.matchLine,
                                  messages.refusals.value(0, QStringLiteral("the console could not open the match"))};
    }
    if (unprepared) {
        // The journal of a match that is withdrawn goes with it.
        QFile::remove(console.session().Journal().FileName(outcome.matchId));
        console.session().Journal().Close();
        return refuseHeader(*unprepared);
    }

    QElapsedTimer timer;
    for (const ScriptEntry &entry : script.entries) {
        messages.refusals.clear();
        messages.questionsExpected = entry.kind != Kind::Event || entry.code == EvExitWithoutChanges;
        timer.start();
        try {
            keyer->Play(entry);
        } catch (const SetupFailure &failure) {
            messages.refusals << failure.message; // a player the roster dialog could not add
        }
        const qint64 took = timer.nsecsElapsed();
        ++outcome.entriesPlayed;
        if (entryPlayed)
            entryPlayed(entry, took);
        const bool refused = !messages.refusals.isEmpty();
        if (refused)
            outcome.refusals << Refusal{entry.line, messages.refusals.first()};
        // Timers of the console (safety copies) run between keystrokes.
        messages.betweenEntries = true;
        QApplication::processEvents();
        messages.betweenEntries = false;
        if (refused && !lenient_)
            break;
    }
    outcome.score = console.session().Score();
    outcome.homeName = console.session().HomeName();
    outcome.awayName = console.session().AwayName();
    outcome.journal = console.session().Journal().FileName(outcome.matchId);
    messages.questionsExpected = true;
    messages.betweenEntries = true;
    console.close(); // "Stop working with match ?" answered Yes
    dm()->WaitForSafetyCopies();
    outcome.notices = messages.notices;
    return outcome;
}

QString MatchReplay::Summary(const Outcome &outcome)
{
    const BoxScoreSet box = BoxScoreBuilder(dm()->db()).build(outcome.matchId);
    return QStringLiteral("Final score: %1 %2 : %3 %4\n\n")
               .arg(outcome.homeName)
               .arg(outcome.score.home)
               .arg(outcome.score.away)
               .arg(outcome.awayName) +
           BoxScoreText(outcome.homeName, box.home) + QLatin1Char('\n') +
           BoxScoreText(outcome.awayName, box.away);
}
