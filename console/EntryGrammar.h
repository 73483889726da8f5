#pragma once
// The keyboard grammar of the console's seven entry boxes: which key moves
// where, what each box checks on Enter and on leaving, and when a complete
// entry goes to the match session. The console window mirrors the boxes'
// texts, focus and selection from here; tests drive it directly.

#include <QString>

#include <array>
#include <functional>
#include <optional>

class MatchSession;

enum class EntryBox { Init, HomePlayer, HomeCode, HomeParameter, AwayPlayer, AwayCode, AwayParameter };

class EntryGrammar
{
public:
    struct Hooks
    {
        // The seconds of a player change; nothing when the statistician declines.
        std::function<std::optional<int>(bool confirm)> askSeconds = [](bool) { return std::optional<int>(0); };
        // The players on court may have changed.
        std::function<void()> refreshCourt = [] {};
    };

    EntryGrammar(MatchSession &session, Hooks hooks);

    // The boxes as the window shows them.
    QString text(EntryBox box) const { return texts_[index(box)]; }
    // The statistician typed: the box's new text.
    void edit(EntryBox box, const QString &text);
    EntryBox focus() const { return focus_; }
    bool selected() const { return selected_; }
    // Whether the last Enter in a code box was refused.
    bool EntryRefused = false;

    // Keys and focus changes.
    void Focus(EntryBox box);
    void Enter();
    void Up();
    void Down();
    void NumPlus();
    // A key released in the Init box; `digit` is the digit key, or -1.
    void KeyReleased(int digit);
    // Esc in a box: a box with text is emptied (answers true); in an empty
    // box Esc is left to close the console, after its question.
    bool Escape(EntryBox box);
    // Any key pressed in a code box.
    void CodeKeyPressed() { EntryRefused = false; }
    // After the end of play only a minute change (an overtime) goes on: "3"
    // and Enter ("\n"), or "+", in the Init box. Answers whether a character
    // typed in `box` is refused; the first refusal says why and how to go on, the
    // next ones stay silent until play goes on.
    bool RefusedAfterEnd(EntryBox box, const QString &typed);
    static const QString AfterEndMessage;

    // A minute change, as from the Init box.
    void MinuteChange();
    // A time-out of a side ("/" home, "*" away).
    void TimeOut(int side);
    // Team offence (31), team defence (32), team turnover (33) or jump ball (34) of a side.
    void TeamEvent(int side, int code);

    static int side(EntryBox box);

private:
    static size_t index(EntryBox box) { return size_t(box); }
    static EntryBox playerBox(int side) { return side == 2 ? EntryBox::AwayPlayer : EntryBox::HomePlayer; }
    static EntryBox codeBox(int side) { return side == 2 ? EntryBox::AwayCode : EntryBox::HomeCode; }
    static EntryBox parameterBox(int side) { return side == 2 ? EntryBox::AwayParameter : EntryBox::HomeParameter; }

    void setText(EntryBox box, const QString &text);
    // Focus with the text selected; also how a refusal returns to the box at fault.
    void moveTo(EntryBox box);
    void leave(EntryBox box);
    std::optional<int> integerIn(EntryBox box) const;

    void enterInit();
    void enterPlayer(int side);
    void enterCode(int side);
    void enterParameter(int side);
    std::optional<int> checkEventCode(EntryBox box);
    bool checkPlayerNumber(EntryBox box, int side);
    bool submit(int side, int player, int code, int parameter, int seconds);

    MatchSession &session_;
    Hooks hooks_;
    std::array<QString, 7> texts_;
    std::array<QString, 7> previousTexts_;
    EntryBox focus_ = EntryBox::Init;
    bool selected_ = false;
    bool endNoticeGiven_ = false;
};
