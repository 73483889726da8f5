#include "setup/MatchChooser.h"

#include "common/Messenger.h"
#include "data/FbClient.h"
#include "data/DataModule.h"

MatchChooser::MatchChooser(Tdm &module) : module_(module) {}

bool MatchChooser::Load()
{
    rows_.clear();
    fields_.clear();
    current_ = -1;
    try {
        fb::Query matches(module_.db(), QStringLiteral("select U.ID_UTAKMICA, U.NAZIV, U.REZULTAT, U.DATUMVREME, "
                                                       "H.NAZIV as DOMACIN, G.NAZIV as GOST, L.NAZIV as LIGA, U.KOLO "
                                                       "from UTAKMICA U "
                                                       "left join KLUB H on H.ID_KLUB = U.ID_KLUB1 "
                                                       "left join KLUB G on G.ID_KLUB = U.ID_KLUB2 "
                                                       "left join LIGA L on L.ID_LIGA = U.ID_LIGA "
                                                       "order by U.ID_UTAKMICA desc"));
        matches.exec();
        for (int c = 0; c < matches.columnCount(); ++c)
            fields_ << matches.columnName(c);
        while (matches.next()) {
            QVariantList row;
            for (int c = 0; c < matches.columnCount(); ++c)
                row << matches.value(c);
            rows_ << row;
        }
    } catch (const fb::Error &e) {
        ShowError(e.text());
        rows_.clear();
        return false;
    }
    current_ = rows_.isEmpty() ? -1 : 0;
    return true;
}

QVariant MatchChooser::fieldValue(int record, int field) const
{
    if (record < 0 || record >= rows_.size())
        return QVariant();
    return rows_[record].value(field);
}

bool MatchChooser::moveTo(int record)
{
    if (record < 0 || record >= rows_.size())
        return false;
    current_ = record;
    return true;
}

bool MatchChooser::Search(const QString &text, SearchBy by)
{
    if (by == SearchBy::League)
        return FindNextRecord(this, text, LIGA);
    return FindNextRecord(this, text, DOMACIN, GOST);
}

std::optional<int> MatchChooser::Confirm() const
{
    if (current_ < 0) {
        ShowWarning(QStringLiteral("There is no match to open!"));
        return std::nullopt;
    }
    return fieldValue(current_, ID_UTAKMICA).toInt();
}
