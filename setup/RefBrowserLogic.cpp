#include "setup/RefBrowserLogic.h"

#include "common/Messenger.h"
#include "data/FbClient.h"
#include "data/DataModule.h"

#include <QBuffer>
#include <QDir>

namespace {

const QString BirthDateColumn = QStringLiteral("DAT_RODJ");

} // namespace

RefBrowserLogic::RefBrowserLogic(BrowserKind kind, Tdm &module, QObject *parent)
    : QObject(parent), member_(Member(kind)), module_(module),
      table_(module, member_.tableObject, member_.keyColumn, member_.writableColumns()),
      leagues_(module, QStringLiteral("tLea"), QStringLiteral("ID_LIGA"), {})
{
    table_.setUniqueName(member_.uniqueName);
}

void RefBrowserLogic::Open()
{
    table_.open();
    if (member_.leaguesList)
        leagues_.open();
    readChoices();
}

void RefBrowserLogic::readChoices()
{
    choices_.clear();
    for (const EditField &field : member_.editFields) {
        if (field.kind != EditField::Kind::Lookup)
            continue;
        QList<ListChoice> list;
        try {
            for (const QVariantMap &row : module_.table(field.lookup.tableObject).rows(module_.db()))
                list.append({row.value(field.lookup.key), row.value(field.lookup.text).toString()});
        } catch (const fb::Error &) {
            // no list to choose from; the column keeps its value
        }
        choices_.insert(field.column, list);
    }
}

QString RefBrowserLogic::countText() const { return QString::number(RecordCount(&table_)); }

QString RefBrowserLogic::stateText() const { return StateText(table_.state(), member_.entityWord); }

QString RefBrowserLogic::busyText(const QString &doing) const
{
    return QStringLiteral("The %1 can not be %2 now: another desk is changing it. Please try again.")
        .arg(member_.entityWord, doing);
}

QString RefBrowserLogic::label(const QString &column) const
{
    const EditField *field = member_.editField(column);
    if (!field)
        return column;
    QString text = field->label;
    if (text.endsWith(QLatin1Char(':')))
        text.chop(1);
    return text;
}

bool RefBrowserLogic::PostPending()
{
    const DataSetState state = table_.state();
    if (state != DataSetState::Edit && state != DataSetState::Insert)
        return true;
    try {
        table_.post();
        return true;
    } catch (const RefTable::MissingValue &missing) {
        ShowError(QStringLiteral("The %1 can not be saved: %2 must be given.")
                      .arg(member_.entityWord, label(missing.column)));
    } catch (const RefTable::DuplicateName &duplicate) {
        ShowError(QStringLiteral("The %1 \"%2\" is already stored%3.")
                      .arg(member_.entityWord, duplicate.name, member_.uniqueName->scopeWords));
    } catch (const fb::Error &e) {
        ShowError(e.isConflict() ? busyText(QStringLiteral("saved"))
                                 : QStringLiteral("The %1 can not be saved:\n%2").arg(member_.entityWord, e.text()));
    }
    return false;
}

bool RefBrowserLogic::Run(Command command)
{
    switch (command) {
    case Command::Insert:
        if (!table_.isOpen() || !PostPending())
            return false;
        table_.insert();
        return true;
    case Command::Delete:
        return Delete();
    case Command::Edit:
        table_.edit();
        return table_.state() == DataSetState::Edit || table_.state() == DataSetState::Insert;
    case Command::Post:
        return PostPending();
    case Command::Cancel:
        table_.cancel();
        return true;
    case Command::Refresh:
        return Refresh();
    }
    return false;
}

bool RefBrowserLogic::Refresh()
{
    if (!PostPending())
        return false;
    table_.refresh();
    if (member_.leaguesList)
        leagues_.refresh();
    readChoices();
    return true;
}

int RefBrowserLogic::usageCount() const
{
    const QVariant key = table_.currentValue(member_.keyColumn);
    if (!member_.usage || key.isNull())
        return 0;
    const RowUsage &usage = *member_.usage;
    QStringList conditions;
    QVariantList keys;
    for (const QString &column : usage.columns) {
        conditions << column + QStringLiteral(" = ?");
        keys << key;
    }
    return module_.db()
        .scalar(QStringLiteral("select count(distinct %1) from %2 where %3")
                    .arg(usage.matchColumn, usage.table, conditions.join(QStringLiteral(" or "))),
                keys)
        .toInt();
}

bool RefBrowserLogic::Delete()
{
    if (table_.currentRecord() < 0 || !AskConfirmation(QStringLiteral("Delete record?")))
        return false;
    if (table_.state() == DataSetState::Insert) {
        table_.cancel(); // the new row was never stored
        return true;
    }
    try {
        if (const int matches = usageCount()) {
            ShowError(QStringLiteral("This %1 can not be deleted: it is used by %2 %3.")
                          .arg(member_.entityWord)
                          .arg(matches)
                          .arg(matches == 1 ? QStringLiteral("match") : QStringLiteral("matches")));
            return false;
        }
        table_.cancel(); // changes typed into a row being deleted go with it
        table_.remove();
        return true;
    } catch (const fb::Error &e) {
        ShowError(e.isConflict() ? busyText(QStringLiteral("deleted"))
                                 : QStringLiteral("The %1 can not be deleted:\n%2").arg(member_.entityWord, e.text()));
        return false;
    }
}

bool RefBrowserLogic::Navigate(Move move)
{
    const int last = table_.rowCount() - 1;
    const int current = table_.currentRecord();
    switch (move) {
    case Move::First:
        return MoveTo(0);
    case Move::Prior:
        return MoveTo(std::max(current - 1, 0));
    case Move::Next:
        return MoveTo(std::min(current + 1, last));
    case Move::Last:
        return MoveTo(last);
    }
    return false;
}

bool RefBrowserLogic::MoveTo(int row)
{
    if (row == table_.currentRecord())
        return true;
    // Posting may reorder the rows: the target is found again by its key.
    const QVariant target = table_.value(row, member_.keyColumn);
    if (!PostPending())
        return false;
    const int found = table_.rowOf(target);
    return table_.moveTo(found >= 0 ? found : row);
}

bool RefBrowserLogic::Search(const QString &text, int choice)
{
    if (!hasSearch() || !PostPending())
        return false;
    const SearchChoice &search = member_.searches.value(std::clamp(choice, 0, int(member_.searches.size()) - 1));
    const int fieldA = table_.fieldIndex(search.fields.value(0));
    const int fieldB = search.fields.size() > 1 ? table_.fieldIndex(search.fields[1]) : -1;
    return FindNextRecord(&table_, text, fieldA, fieldB);
}

void RefBrowserLogic::SetValue(const QString &column, const QVariant &value) { table_.setValue(column, value); }

void RefBrowserLogic::Choose(const QString &column, const QVariant &key)
{
    const EditField *field = member_.editField(column);
    table_.setValue(column, key);
    if (!field || field->kind != EditField::Kind::Lookup)
        return;
    QString shown;
    for (const ListChoice &choice : choices_.value(column))
        if (!key.isNull() && choice.key == key)
            shown = choice.text;
    table_.setValue(field->lookup.shownAs, shown);
}

std::optional<QDate> RefBrowserLogic::BirthDateToShow() const
{
    const QVariant date = value(BirthDateColumn);
    if (date.isNull())
        return std::nullopt;
    return date.toDateTime().date();
}

void RefBrowserLogic::BirthDatePicked(const std::optional<QDate> &date)
{
    const DataSetState state = table_.state();
    if (state == DataSetState::Edit || state == DataSetState::Insert)
        table_.setValue(BirthDateColumn, date ? QVariant(QDateTime(*date, QTime(0, 0))) : QVariant());
}

bool RefBrowserLogic::LoadPicture(const QString &fileName)
{
    if (!member_.picture)
        return false;
    QImage image(fileName);
    if (image.isNull()) {
        ShowError(QStringLiteral("The file %1 is not a picture that can be loaded.")
                      .arg(QDir::toNativeSeparators(fileName)));
        return false;
    }
    if (image.width() > PictureSize || image.height() > PictureSize)
        image = image.scaled(PictureSize, PictureSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    table_.setValue(member_.picture->column, png);
    return true;
}

void RefBrowserLogic::ClearPicture()
{
    if (member_.picture)
        table_.setValue(member_.picture->column, QVariant());
}

QImage RefBrowserLogic::picture() const
{
    if (!member_.picture)
        return QImage();
    return QImage::fromData(value(member_.picture->column).toByteArray());
}

bool RefBrowserLogic::Close() { return PostPending(); }
