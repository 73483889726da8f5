#pragma once
// What a reference browser decides, apart from its widgets: the commands of
// the command bar with their confirmation and refusals, the state texts,
// the search, the drop-down lists of the edit panel, the birth-date picker
// and the pictures. Every message goes through the Messenger.

#include "setup/RefBrowserMembers.h"
#include "setup/RefBrowserTable.h"

#include <QDate>
#include <QImage>
#include <QObject>

#include <optional>

class Tdm;

class RefBrowserLogic final : public QObject
{
    Q_OBJECT

public:
    enum class Command { Insert, Delete, Edit, Post, Cancel, Refresh };
    enum class Move { First, Prior, Next, Last };

    RefBrowserLogic(BrowserKind kind, Tdm &module, QObject *parent = nullptr);

    const BrowserMember &member() const { return member_; }
    RefTable &table() { return table_; }

    // Opens the table and reads the drop-down lists (when the window shows).
    void Open();

    QString countText() const;
    QString stateText() const;
    bool hasSearch() const { return !member_.searches.isEmpty(); }

    // The command bar. Answers whether the command was carried out; a
    // refusal has been shown.
    bool Run(Command command);
    // The navigation bar: leaving a row being edited posts it first.
    bool Navigate(Move move);
    bool MoveTo(int row);
    // Posts a pending insert or edit; the refusal is shown, the row stays.
    bool PostPending();
    // "Find Next" with the search choice at `choice`; a search that finds
    // nothing says nothing and stays.
    bool Search(const QString &text, int choice);

    // The edit panel. Values typed start an edit of the current row.
    QVariant value(const QString &column) const { return table_.currentValue(column); }
    void SetValue(const QString &column, const QVariant &value);
    QList<ListChoice> choices(const QString &column) const { return choices_.value(column); }
    // Chooses the drop-down entry with `key` (null for none); the shown
    // name follows in the grid at once.
    void Choose(const QString &column, const QVariant &key);

    // The players' birth-date picker: what it shows for the current row
    // (nothing when the row has no birth date), and a date picked or taken
    // away, written only while the row is edited or added.
    std::optional<QDate> BirthDateToShow() const;
    void BirthDatePicked(const std::optional<QDate> &date);

    // League logo and club emblem: a picture file is read, stored as PNG
    // with the row when it is posted, and shown again.
    bool LoadPicture(const QString &fileName);
    void ClearPicture();
    QImage picture() const;

    // The leagues under "Show Teams By Leagues".
    RefTable &leagues() { return leagues_; }

    // Closing the window: a row still being edited or added is posted;
    // answers false (the window stays) when that is refused.
    bool Close();

    // The longest side of a stored picture.
    static constexpr int PictureSize = 400;

private:
    bool Delete();
    bool Refresh();
    void readChoices();
    int usageCount() const;
    QString label(const QString &column) const;
    // The refusal when another desk held the row through every retry.
    QString busyText(const QString &doing) const;

    const BrowserMember &member_;
    Tdm &module_;
    RefTable table_;
    RefTable leagues_;
    QHash<QString, QList<ListChoice>> choices_;
};
