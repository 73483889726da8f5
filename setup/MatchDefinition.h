#pragma once
// What the match definition dialog decides, apart from its widgets: the
// lists it offers, the values of the match row being defined, the checks of
// OK in their order with the control that takes the focus, and the writing
// of the row. One class serves a new match and an existing one.

#include "setup/RefBrowserMembers.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <QTime>
#include <QVariant>

#include <optional>

class Tdm;

class MatchDefinition
{
public:
    // The dialog's controls, named as on the form.
    enum class Control {
        Liga, Kolo, PlayOff, Datum, Vreme, Grad, Hala, Gledalaca, Naziv, Extra,
        Domacin, Gost, Sudija1, Sudija2, Sudija3, Delegat, Statisticar1, Statisticar2
    };
    static constexpr int NewMatch = -1;
    static constexpr int White = 0xFFFFFF;
    static constexpr int Confirmed = 33;
    static constexpr int Cancelled = 32;

    explicit MatchDefinition(Tdm &module);

    // Reads the lists and begins a new match (NewMatch) or the existing
    // one. A missing match or league is reported; then the dialog is not
    // shown and the answer is false.
    bool Open(int matchId);
    bool isNew() const { return matchId_ == NewMatch; }

    // The drop-down lists. The people are ordered by surname and name.
    QList<ListChoice> choices(Control control) const;
    // A club list offers only the clubs of the league now chosen, from the
    // moment its drop-down is entered.
    void RefreshClubList(Control side);
    // After the statisticians browser: a person just added can be chosen.
    void ReloadStatists();

    // Values of the row. Text controls answer text, drop-downs their key.
    QString text(Control control) const { return texts_.value(control); }
    void setText(Control control, const QString &text) { texts_.insert(control, text); }
    QVariant key(Control control) const { return keys_.value(control); }
    void setKey(Control control, const QVariant &key) { keys_.insert(control, key); }
    // The name a drop-down shows for its key: empty when the key is not in
    // its list.
    QString shownText(Control control) const;
    // The small clear buttons beside the six person fields.
    void Clear(Control person);

    bool playOff() const { return playOff_; }
    void setPlayOff(bool on) { playOff_ = on; }
    QDate date() const { return date_; }
    void setDate(const QDate &date) { date_ = date; }
    QTime time() const { return time_; }
    void setTime(const QTime &time) { time_ = time; }
    // Values a new row starts with and the dialog does not show.
    int homeColour() const { return homeColour_; }
    int awayColour() const { return awayColour_; }
    QString result() const { return result_; }

    // OK: the first check that fails is shown and its control answered for
    // the focus; otherwise the row is written and committed. A refusal of
    // the database is shown too (no control then).
    struct Outcome
    {
        bool saved = false;
        std::optional<Control> focus;
    };
    Outcome Confirm();

    // The saved row's identifier and caption (after a successful OK).
    int matchId() const { return matchId_; }
    QString caption() const { return text(Control::Naziv); }

    // The eleven checks, in order; answers the first failure.
    struct Refusal
    {
        QString message;
        Control focus;
    };
    std::optional<Refusal> Check() const;

private:
    QList<ListChoice> readList(const QString &tableObject, const QString &keyColumn, const QString &textColumn,
                               const QString &where = QString(), const QVariantList &params = {}) const;
    void write();

    Tdm &module_;
    int matchId_ = NewMatch;
    QHash<Control, QString> texts_;
    QHash<Control, QVariant> keys_;
    QHash<Control, QList<ListChoice>> lists_;
    bool playOff_ = false;
    QDate date_;
    QTime time_;
    int homeColour_ = White;
    int awayColour_ = White;
    QString result_;
};

inline size_t qHash(MatchDefinition::Control control, size_t seed = 0) noexcept
{
    return ::qHash(int(control), seed);
}
