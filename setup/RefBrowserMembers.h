#pragma once
// The nine reference browsers are one browser; this is what differs between
// them: caption, table, the word for one row, grid columns, search choices,
// the fields of the edit panel, the colour of the navigation strip, the
// picture column, and which matches still use a row.

#include "setup/RefBrowserTable.h"
#include "setup/WindowDirectory.h"

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

// One entry of a drop-down list: the key written and the text shown.
struct ListChoice
{
    QVariant key;
    QString text;
};

// A drop-down of the edit panel: the key column of the edited table is
// chosen from the rows of another table object.
struct LookupList
{
    QString tableObject;  // e.g. tTea
    QString key;          // its key, e.g. ID_KLUB
    QString text;         // its column shown, e.g. NAZIV
    QString shownAs;      // the looked-up field of the edited rows, e.g. TEAMNAME
};

struct EditField
{
    enum class Kind { Text, Integer, Lookup, BirthDate, Picture };
    QString label; // "SURNAME:"
    QString column;
    Kind kind = Kind::Text;
    LookupList lookup = {};
};

struct SearchChoice
{
    QString caption;    // "By Name/Surname"
    QStringList fields; // one or two, tested in this order
};

// Columns of another table that point at a row; a row still pointed at
// by a match is not deleted.
struct RowUsage
{
    QString table;       // e.g. UTAKMICA
    QStringList columns; // e.g. ID_KLUB1, ID_KLUB2
    QString matchColumn; // the match of a using row, e.g. ID_UTAKMICA
};

struct PictureExtra
{
    QString column;       // LOGO
    QString loadCaption;  // "Load Image ..."
    QString clearCaption; // "Clear Image"
};

struct BrowserMember
{
    BrowserKind kind = BrowserKind::Referees;
    QString formName;     // TRefFrm
    QString caption;      // "REFEREES"
    QString tableObject;  // tRef
    QString keyColumn;    // ID_SUDIJA
    QString entityWord;   // "REFEREE"
    QList<GridColumn> columns;
    QList<SearchChoice> searches; // empty: no search strip
    QList<EditField> editFields;  // in the order of the panel
    int firstEditField = 0;       // where the focus goes around a command
    std::optional<QColor> stripColour; // none: the window colour
    std::optional<PictureExtra> picture;
    bool leaguesList = false;     // "Show Teams By Leagues"
    std::optional<RowUsage> usage;
    std::optional<UniqueName> uniqueName; // none: names may repeat

    // The columns an edit writes.
    QStringList writableColumns() const;
    // The edit field of a column, or nullptr.
    const EditField *editField(const QString &column) const;
};

const BrowserMember &Member(BrowserKind kind);
const QList<BrowserKind> &AllBrowserKinds();
