#include "data/RecordSearch.h"

namespace {

enum class Test { Match, NoMatch, Failed };

Test fieldContains(const RecordList &list, int record, int field, const QString &wanted)
{
    if (field < 0)
        return Test::NoMatch;
    const QVariant value = list.fieldValue(record, field);
    if (value.isNull())
        return Test::NoMatch;
    if (!value.canConvert<QString>())
        return Test::Failed;
    return value.toString().toUpper().contains(wanted) ? Test::Match : Test::NoMatch;
}

} // namespace

bool FindNextRecord(RecordList *list, const QString &text, int fieldA, int fieldB)
{
    if (!list)
        return false;
    const int fields = list->fieldCount();
    if (fieldA >= fields || fieldB >= fields)
        return false;
    const int count = list->recordCount();
    if (count == 0)
        return false;
    const QString wanted = text.toUpper();
    if (wanted.isEmpty())
        return false; // every text "contains" the empty one; the search must not stop on it

    const int start = list->currentRecord();
    int record = start;
    for (int step = 0; step < count; ++step) {
        record = (record + 1) % count;
        if (record == start)
            return false;
        for (const int field : {fieldA, fieldB}) {
            switch (fieldContains(*list, record, field, wanted)) {
            case Test::Match:
                return list->moveTo(record);
            case Test::Failed:
                return false;
            case Test::NoMatch:
                break;
            }
        }
    }
    return false;
}

int RecordCount(const RecordList *list) { return list ? list->recordCount() : 0; }

QString StateText(std::optional<DataSetState> state, const QString &entityWord)
{
    if (!state)
        return QStringLiteral("UNKNOWN");
    switch (*state) {
    case DataSetState::Inactive:
        return QStringLiteral("INACTIVE");
    case DataSetState::Edit:
        return QStringLiteral("CHANGE SELECTED ") + entityWord;
    case DataSetState::Insert:
        return QStringLiteral("ADDING NEW ") + entityWord;
    case DataSetState::Browse:
        break;
    }
    return QStringLiteral("BROWSING");
}

QString SearchTextForKey(const QString &typed)
{
    if (typed.size() != 1 || !(typed[0].isLetter() || typed[0].isDigit()))
        return QString();
    return typed.toUpper();
}
