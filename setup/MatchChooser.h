#pragma once
// What the match chooser decides, apart from its widgets: the stored
// matches newest first with their club and league names, the selected one,
// the search by teams or by league, and the answer of OK.

#include "data/RecordSearch.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <optional>

class Tdm;

class MatchChooser final : public RecordList
{
public:
    // Field positions of the list, as the search knows them.
    enum Field { ID_UTAKMICA, NAZIV, REZULTAT, DATUMVREME, DOMACIN, GOST, LIGA, KOLO };
    enum class SearchBy { Teams, League };
    static constexpr int Open = 33;
    static constexpr int Cancelled = 32;

    explicit MatchChooser(Tdm &module);

    // Reads the matches; the newest is selected. Answers false after
    // showing a database error.
    bool Load();

    // RecordList.
    int fieldCount() const override { return int(fields_.size()); }
    int recordCount() const override { return int(rows_.size()); }
    int currentRecord() const override { return current_; }
    QVariant fieldValue(int record, int field) const override;
    bool moveTo(int record) override;

    QString fieldName(int field) const { return fields_.value(field); }

    // "Find Next": "By Teams" looks at the home club, then the away club;
    // "By League" at the league alone.
    bool Search(const QString &text, SearchBy by);

    // OK: the selected match, or nothing after the warning of an empty list.
    std::optional<int> Confirm() const;

private:
    Tdm &module_;
    QStringList fields_;
    QList<QVariantList> rows_;
    int current_ = -1;
};
