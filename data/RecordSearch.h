#pragma once
// What every list of records on screen shares: a current record that the
// user moves, the search that walks from it, the row count and the text
// that tells what the list is doing. The reference browsers, the match
// chooser and the export window search their lists the same way.

#include <QString>
#include <QVariant>

#include <optional>

// Rows with numbered fields and a current row.
class RecordList
{
public:
    virtual ~RecordList() = default;

    virtual int fieldCount() const = 0;
    // All rows, fetched when they were not yet.
    virtual int recordCount() const = 0;
    // The current row, -1 when there is none.
    virtual int currentRecord() const = 0;
    virtual QVariant fieldValue(int record, int field) const = 0;
    // Makes `record` the current row; answers false when the list refuses.
    virtual bool moveTo(int record) = 0;
};

// Looks for `text` as a part of field A, then of field B, of the rows after
// the current one, going round past the last row to the first. Capitals and
// small letters are the same. The current row itself is never tested, so
// repeating a search moves on to the next matching row; an empty text never
// matches. A negative field position means no field; a position beyond the
// field list ends the search unsuccessfully. On success the list stays on
// the row found; otherwise it stays where it was.
bool FindNextRecord(RecordList *list, const QString &text, int fieldA, int fieldB = -1);

// The number of rows; 0 when there is no list.
int RecordCount(const RecordList *list);

// What a list is doing. Without a list its text is "UNKNOWN".
enum class DataSetState { Inactive, Browse, Edit, Insert };

// "INACTIVE", "BROWSING", "CHANGE SELECTED " + word, "ADDING NEW " + word.
QString StateText(std::optional<DataSetState> state, const QString &entityWord);

// A key typed into a list starts a search with it: a letter (as a capital)
// or a digit becomes the whole search text. Answers an empty text for
// every other key.
QString SearchTextForKey(const QString &typed);
