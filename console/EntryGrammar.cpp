#include "console/EntryGrammar.h"

#include "common/Messenger.h"
#include "console/MatchSession.h"
#include "data/ActionCodes.h"

namespace {

const QString NotInteger = QStringLiteral("Data value has to be integer!");
const QString PeriodStartOnlyChanges = QStringLiteral(
    "Before period start you can change lining players only. Type \"+\" or code 3 for minutes change!");
const QString NextNeedsOvertime =
    QStringLiteral("For next action you must enter over time! Type \"+\" or code 3 into Init field.");
const QString EndNeedsOvertime =
    QStringLiteral("For any action you must enter over time! Type \"+\" or code 3 into Init field.");

// The boxes in the order Up and Down walk them.
constexpr EntryBox Column[] = {EntryBox::Init,          EntryBox::HomePlayer, EntryBox::HomeCode,
                               EntryBox::HomeParameter, EntryBox::AwayPlayer, EntryBox::AwayCode,
                               EntryBox::AwayParameter};

bool isPlayerBox(EntryBox b) { return b == EntryBox::HomePlayer || b == EntryBox::AwayPlayer; }
bool isCodeBox(EntryBox b) { return b == EntryBox::HomeCode || b == EntryBox::AwayCode; }

} // namespace

const QString EntryGrammar::AfterEndMessage =
    QStringLiteral("Play has ended: nothing more can be keyed. For an over time type \"+\" or code 3 into Init "
                   "field; to finish, close the match (Esc).");

EntryGrammar::EntryGrammar(MatchSession &session, Hooks hooks) : session_(session), hooks_(std::move(hooks)) {}

int EntryGrammar::side(EntryBox box)
{
    switch (box) {
    case EntryBox::HomePlayer: case EntryBox::HomeCode: case EntryBox::HomeParameter: return 1;
    case EntryBox::AwayPlayer: case EntryBox::AwayCode: case EntryBox::AwayParameter: return 2;
    default: return 0;
    }
}

void EntryGrammar::edit(EntryBox box, const QString &text)
{
    previousTexts_[index(box)] = texts_[index(box)];
    texts_[index(box)] = text;
    selected_ = false;
}

void EntryGrammar::setText(EntryBox box, const QString &text) { texts_[index(box)] = text; }

std::optional<int> EntryGrammar::integerIn(EntryBox box) const
{
    bool ok = false;
    const int value = text(box).trimmed().toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

void EntryGrammar::moveTo(EntryBox box)
{
    Focus(box);
    selected_ = true;
}

void EntryGrammar::Focus(EntryBox box)
{
    if (box != focus_)
        leave(focus_);
    focus_ = box;
    selected_ = true;
    const int s = side(box);
    if (s == 0)
        return;
    // After the end of play only a minute change (an overtime) goes on; the
    // Init box keeps what it held, so that a key released there starts nothing.
    if (session_.Clock().Ended()) {
        focus_ = EntryBox::Init;
        ShowInformation(EndNeedsOvertime);
        endNoticeGiven_ = true;
        return;
    }
    setText(EntryBox::Init, QString::number(s));
}

bool EntryGrammar::Escape(EntryBox box)
{
    if (text(box).isEmpty())
        return false;
    edit(box, QString());
    return true;
}

bool EntryGrammar::RefusedAfterEnd(EntryBox box, const QString &typed)
{
    if (!session_.Clock().Ended()) {
        endNoticeGiven_ = false;
        return false;
    }
    const bool minuteChange = typed == QLatin1String("3") || typed == QLatin1String("+") ||
                              (typed == QLatin1String("\n") && text(EntryBox::Init) == QLatin1String("3"));
    if (box == EntryBox::Init && minuteChange)
        return false;
    if (!endNoticeGiven_)
        ShowInformation(AfterEndMessage);
    endNoticeGiven_ = true;
    moveTo(EntryBox::Init);
    return true;
}

void EntryGrammar::leave(EntryBox box)
{
    if (isPlayerBox(box)) {
        const auto number = integerIn(box);
        if (!number || session_.IsTeam(side(box), *number) != 1)
            setText(box, QString());
    } else if (isCodeBox(box)) {
        const auto typed = integerIn(box);
        int slot = typed.value_or(0);
        if (!typed)
            setText(box, QString());
        else if (!ActionCodes().FindCode(slot))
            setText(box, box == EntryBox::HomeCode ? previousTexts_[index(box)] : QString());
    }
}

void EntryGrammar::Enter()
{
    const EntryBox box = focus_;
    if (box == EntryBox::Init)
        enterInit();
    else if (isPlayerBox(box))
        enterPlayer(side(box));
    else if (isCodeBox(box))
        enterCode(side(box));
    else
        enterParameter(side(box));
}

void EntryGrammar::Up()
{
    if (focus_ == EntryBox::Init)
        return;
    moveTo(Column[index(focus_) - 1]);
}

void EntryGrammar::Down()
{
    if (focus_ == EntryBox::Init || focus_ == EntryBox::AwayParameter)
        return;
    moveTo(Column[index(focus_) + 1]);
}

void EntryGrammar::NumPlus()
{
    if (focus_ != EntryBox::Init)
        return;
    setText(EntryBox::Init, QString());
    MinuteChange();
}

void EntryGrammar::KeyReleased(int digit)
{
    if (focus_ != EntryBox::Init)
        return;
    const QString t = text(EntryBox::Init);
    if (t.trimmed().startsWith(QLatin1Char('+')))
        setText(EntryBox::Init, QString());
    else if (t == QLatin1String("1") && digit == 1)
        moveTo(EntryBox::HomePlayer);
    else if (t == QLatin1String("2") && digit == 2)
        moveTo(EntryBox::AwayPlayer);
}

void EntryGrammar::enterInit()
{
    const auto value = integerIn(EntryBox::Init);
    if (!value) {
        ShowError(NotInteger);
        return;
    }
    if (*value == 1)
        moveTo(EntryBox::HomePlayer);
    else if (*value == 2)
        moveTo(EntryBox::AwayPlayer);
    else if (*value == 3)
        MinuteChange();
}

void EntryGrammar::MinuteChange()
{
    selected_ = focus_ == EntryBox::Init;
    const int result = session_.Record({3, 0, EvMinuteChange, 0, 0});
    switch (result) {
    case 60:
        ShowInformation(QStringLiteral("Finish of %1. quarter").arg(session_.Clock().period - 1));
        break;
    case 66:
        ShowInformation(QStringLiteral("Finish. For over time type \"+\" or code 3 into Init box!"));
        break;
    case 10:
        ShowError(QStringLiteral("Home team starters are not defined!"));
        break;
    case 11:
        ShowError(QStringLiteral("Away team starters are not defined!"));
        break;
    default:
        break;
    }
}

void EntryGrammar::TimeOut(int s)
{
    if (session_.Clock().Ended()) {
        ShowInformation(NextNeedsOvertime);
        moveTo(EntryBox::Init);
        return;
    }
    if (session_.PeriodStart()) {
        ShowWarning(PeriodStartOnlyChanges);
        return;
    }
    if (submit(s, 0, EvTimeOut, 0, 0))
        ShowInformation(s == 1 ? QStringLiteral("Home Time Out!") : QStringLiteral("AWAY Time Out!"));
}

void EntryGrammar::TeamEvent(int s, int code)
{
    // No period-start rule here: a jump ball starts a period.
    if (session_.Clock().Ended()) {
        ShowInformation(NextNeedsOvertime);
        moveTo(EntryBox::Init);
        return;
    }
    const int result = session_.Record({s, 0, code, 0, 0});
    if (MatchSession::Recorded(code, result)) {
        moveTo(EntryBox::Init);
    } else if (result >= 0) {
        // Refusals of team events are shown with the home boxes.
        const auto refusal = CheckResultMessage(result, text(EntryBox::HomePlayer),
                                                              text(EntryBox::HomeParameter));
        if (!refusal.message.isEmpty())
            ShowError(refusal.message);
    }
}

void EntryGrammar::enterPlayer(int s)
{
    const EntryBox box = playerBox(s);
    const QString typed = text(box);
    const auto number = integerIn(box);
    if (!number) {
        ShowError(NotInteger);
        setText(box, QString());
        return;
    }
    switch (session_.IsTeam(s, *number)) {
    case 1:
        moveTo(codeBox(s));
        break;
    case 2:
        ShowError(s == 1 ? QStringLiteral("Player with No %1 is not playing at present!").arg(typed)
                         : QStringLiteral("Player No %1 is not playing at present").arg(typed));
        setText(box, QString());
        moveTo(box);
        break;
    case 0:
        ShowError(QStringLiteral("There is no player with No %1").arg(typed));
        setText(box, QString());
        moveTo(box);
        break;
    default:
        break;
    }
}

std::optional<int> EntryGrammar::checkEventCode(EntryBox box)
{
    const auto typed = integerIn(box);
    if (!typed) {
        ShowError(NotInteger);
        moveTo(box);
        return std::nullopt;
    }
    // Exit without changes is typed as 210, so that a slip of 21 records nothing.
    int code = *typed == 210 ? int(EvExitWithoutChanges) : (*typed == EvExitWithoutChanges ? -1 : *typed);
    if (!ActionCodes().FindCode(code)) {
        ShowError(QStringLiteral("Error. Unknown event! Press F2 for legend."));
        moveTo(box);
        return std::nullopt;
    }
    return code;
}

bool EntryGrammar::checkPlayerNumber(EntryBox box, int s)
{
    const auto number = integerIn(box);
    if (!number) {
        ShowError(NotInteger);
        moveTo(box);
        return false;
    }
    const int team = session_.IsTeam(s, *number);
    if (team == 0 || team == 2) {
        ShowError(team == 0 ? QStringLiteral("There is no player with No %1").arg(text(box))
                            : QStringLiteral("Player No %1 is not playing at present!").arg(text(box)));
        moveTo(box);
        return false;
    }
    return true;
}

void EntryGrammar::enterCode(int s)
{
    const EntryBox box = codeBox(s);
    EntryRefused = false;
    if (session_.PeriodStart() && text(box) != QLatin1String("18")) {
        ShowWarning(PeriodStartOnlyChanges);
        moveTo(box);
        EntryRefused = true;
        return;
    }
    const auto code = checkEventCode(box);
    if (!code || !checkPlayerNumber(playerBox(s), s))
        return;
    if (ActionCodes().NeedsParameter(*code)) {
        moveTo(parameterBox(s));
        return;
    }
    if (*code == EvExitWithoutChanges) {
        const QString question = QStringLiteral("Are you sure to make Exit Without Change ? ");
        // The home side, keyed first and most often, is asked twice.
        const int asks = s == 1 ? 2 : 1;
        for (int i = 0; i < asks; ++i)
            if (!AskConfirmation(question))
                return;
    }
    if (!submit(s, *integerIn(playerBox(s)), *code, 0, 0))
        EntryRefused = true;
}

void EntryGrammar::enterParameter(int s)
{
    const EntryBox box = parameterBox(s);
    if (!checkPlayerNumber(playerBox(s), s))
        return;
    const auto code = checkEventCode(codeBox(s));
    if (!code)
        return;
    int seconds = 0;
    if (*code == EvPlayerChange) {
        const auto asked = hooks_.askSeconds(true);
        if (!asked)
            return;
        seconds = *asked;
    }
    if (!ActionCodes().NeedsParameter(*code)) {
        moveTo(box);
        ShowError(QStringLiteral("Event or action is not created correctly!"));
        return;
    }
    const auto player = integerIn(playerBox(s));
    const auto parameter = integerIn(box);
    if (!player || !parameter) {
        ShowError(NotInteger);
        setText(box, QString());
        moveTo(box);
        return;
    }
    const bool accepted = submit(s, *player, *code, *parameter, seconds);
    // The court is redrawn after every player change keyed here, refused or not.
    if (*code == EvPlayerChange && (accepted || s == 2))
        hooks_.refreshCourt();
}

bool EntryGrammar::submit(int s, int player, int code, int parameter, int seconds)
{
    const int result = session_.Record({s, player, code, parameter, seconds});
    if (MatchSession::Recorded(code, result)) {
        moveTo(EntryBox::Init);
        return true;
    }
    if (result < 0)
        return false; // the session has reported the failure
    const auto refusal = CheckResultMessage(result, text(playerBox(s)), text(parameterBox(s)));
    switch (refusal.focus) {
    case Refusal::Player: moveTo(playerBox(s)); break;
    case Refusal::Parameter: moveTo(parameterBox(s)); break;
    case Refusal::Init: moveTo(EntryBox::Init); break;
    case Refusal::None: break;
    }
    if (!refusal.message.isEmpty())
        ShowError(refusal.message);
    return false;
}
