#include "console/SideStatsModel.h"

#include "common/MatchState.h"

namespace {

// How a box-score column is written: one count, made/attempted, the three
// rebound counts, time on court or plus-minus.
struct BoxColumnShown
{
    enum Kind { Count, MadeAttempted, Rebounds, Minutes, PlusMinus } kind;
    const char *header;
    const char *tip;
    BoxColumn made = BC_DRES, attempted = BC_DRES;
};

constexpr BoxColumnShown BoxColumns[] = {
    {BoxColumnShown::Minutes, "MIN", "Minutes on court"},
    {BoxColumnShown::Count, "PTS", "Points", BC_POENI},
    {BoxColumnShown::MadeAttempted, "2P", "Two-point shots made/attempted", BC_P2OK, BC_P2UK},
    {BoxColumnShown::MadeAttempted, "3P", "Three-point shots made/attempted", BC_P3OK, BC_P3UK},
    {BoxColumnShown::MadeAttempted, "FT", "Free throws made/attempted", BC_P1OK, BC_P1UK},
    {BoxColumnShown::Rebounds, "REB O/D/T", "Rebounds offensive/defensive/total"},
    {BoxColumnShown::Count, "AST", "Assists", BC_ASISTENCIJA},
    {BoxColumnShown::Count, "STL", "Steals", BC_UKRADENA},
    {BoxColumnShown::Count, "TO", "Turnovers", BC_IZGUBLJENA},
    {BoxColumnShown::Count, "BLK", "Blocks", BC_BLOK},
    {BoxColumnShown::Count, "PF", "Personal fouls", BC_LG},
    {BoxColumnShown::PlusMinus, "+/-", "Plus-minus: points scored less points conceded while on court"},
    {BoxColumnShown::Count, "EFF", "Efficiency index", BC_INDEKS},
};
constexpr int PlayerColumns = 2; // number and name
constexpr int ShownBoxColumns = int(std::size(BoxColumns));

// The statistic lines' columns as the view shows them: the shirt number is
// the player column, the line's key means nothing to a statistician.
QList<StatLineField> shownLineFields()
{
    QList<StatLineField> fields = StatLineFields();
    fields.removeIf([](const StatLineField &f) {
        return f.name == QLatin1String("ID_STAT") || f.name == QLatin1String("DRES");
    });
    return fields;
}

QString shirtText(int shirt) { return shirt == 100 ? QStringLiteral("00") : QString::number(shirt); }

} // namespace

SideStatsModel::SideStatsModel(int side, QObject *parent)
    : QAbstractTableModel(parent), side_(side), lineFields_(shownLineFields())
{
}

SideStatsModel::Group SideStatsModel::group(int column) const
{
    if (column < PlayerColumns)
        return Group::Player;
    return column < PlayerColumns + ShownBoxColumns ? Group::BoxScore : Group::StatLines;
}

void SideStatsModel::setBoxScore(const BoxSide &box, const QHash<int, int> &plusMinus)
{
    box_ = box;
    std::vector<Row> rows;
    rows.reserve(box.players.size());
    for (const BoxRow &player : box.players) {
        const int shirt = player.count(BC_DRES);
        // A line and a time stay with their player until they are read again.
        const auto kept = std::find_if(rows_.begin(), rows_.end(),
                                       [shirt](const Row &r) { return r.box.count(BC_DRES) == shirt; });
        Row row = kept != rows_.end() ? *kept : Row{};
        row.box = player;
        row.plusMinus = plusMinus.value(shirt);
        rows.push_back(row);
    }
    if (rows.size() != rows_.size()) {
        beginResetModel();
        rows_ = std::move(rows);
        takeTotals();
        endResetModel();
        return;
    }
    std::swap(rows_, rows);
    const Row totalsBefore = totals_;
    takeTotals();
    for (size_t r = 0; r < rows_.size(); ++r)
        announceChanges(int(r), rows[r], rows_[r]);
    announceChanges(int(rows_.size()), totalsBefore, totals_);
}

void SideStatsModel::announceChanges(int row, const Row &before, const Row &after)
{
    if (before.box.columns == after.box.columns && before.plusMinus == after.plusMinus)
        return;
    const BoxRow &was = before.box, &is = after.box;
    const int lastBoxColumn = PlayerColumns + ShownBoxColumns - 1;
    // A changed mark (bold on court, red fouled out, the starter's "*") or
    // player repaints the whole row.
    if (was.count(BC_DRES) != is.count(BC_DRES) || was.count(BC_AKTER) != is.count(BC_AKTER) ||
        was.count(BC_STARTER) != is.count(BC_STARTER) || was.FouledOut() != is.FouledOut() ||
        was.surname != is.surname || was.firstName != is.firstName) {
        emit dataChanged(index(row, 0), index(row, lastBoxColumn));
        return;
    }
    // Otherwise only the cells whose text changed, so that a view measures
    // and paints a few cells after an entry, not the table.
    const bool totals = isTotals(row);
    int runStart = -1;
    for (int c = 0; c <= ShownBoxColumns; ++c) {
        const bool changed = c < ShownBoxColumns && boxText(before, c, totals) != boxText(after, c, totals);
        if (changed && runStart < 0)
            runStart = c;
        if (!changed && runStart >= 0) {
            emit dataChanged(index(row, PlayerColumns + runStart), index(row, PlayerColumns + c - 1));
            runStart = -1;
        }
    }
}

void SideStatsModel::setTimesOnCourt(const QHash<int, TimeOnCourt> &times)
{
    TimeOnCourt total;
    for (Row &row : rows_) {
        row.time = times.value(row.box.count(BC_DRES));
        total.seconds += row.time->seconds;
    }
    totals_.time = total;
    emit dataChanged(index(0, PlayerColumns), index(rowCount() - 1, PlayerColumns));
}

void SideStatsModel::setBoxTotals(bool onCourtOnly, bool ofShownRowsOnly)
{
    totalsOnCourtOnly_ = onCourtOnly;
    totalsOfShownOnly_ = ofShownRowsOnly;
    takeTotals();
    emit dataChanged(index(rowCount() - 1, 0), index(rowCount() - 1, columnCount() - 1));
}

void SideStatsModel::takeTotals()
{
    totals_.box = box_.view(totalsOnCourtOnly_, totalsOfShownOnly_).totals;
}

void SideStatsModel::setStatLines(const std::vector<StatLine> &lines, const StatLine &totals, const QSet<int> &actors)
{
    for (Row &row : rows_) {
        const int shirt = row.box.count(BC_DRES);
        const auto line =
            std::find_if(lines.begin(), lines.end(), [shirt](const StatLine &l) { return l.DRES == shirt; });
        row.line = line != lines.end() ? std::optional<StatLine>(*line) : std::nullopt;
    }
    totals_.line = totals;
    lineActors_ = actors;
    statLinesRead_ = true;
    emit dataChanged(index(0, PlayerColumns + ShownBoxColumns), index(rowCount() - 1, columnCount() - 1));
}

int SideStatsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(rows_.size()) + 1;
}

int SideStatsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : PlayerColumns + ShownBoxColumns + int(lineFields_.size());
}

QString SideStatsModel::boxText(const Row &row, int boxColumn, bool totals) const
{
    const BoxColumnShown &shown = BoxColumns[boxColumn];
    const BoxRow &b = row.box;
    switch (shown.kind) {
    case BoxColumnShown::Count:
        // The index is a player's figure, not a team's.
        return totals && shown.made == BC_INDEKS ? QString() : QString::number(b.count(shown.made));
    case BoxColumnShown::MadeAttempted:
        return QStringLiteral("%1/%2").arg(b.count(shown.made)).arg(b.count(shown.attempted));
    case BoxColumnShown::Rebounds:
        return QStringLiteral("%1/%2/%3").arg(b.count(BC_SKOKN)).arg(b.count(BC_SKOKO)).arg(b.count(BC_SKOKOVI));
    case BoxColumnShown::Minutes:
        return row.time ? QString::number(row.time->minutes()) : QString();
    case BoxColumnShown::PlusMinus:
        if (totals)
            return QString();
        return row.plusMinus > 0 ? QStringLiteral("+%1").arg(row.plusMinus) : QString::number(row.plusMinus);
    }
    return QString();
}

QString SideStatsModel::text(int r, int column) const
{
    const bool totals = isTotals(r);
    const Row &row = totals ? totals_ : rows_[size_t(r)];
    if (column == 0)
        return totals ? QString() : shirtText(row.box.count(BC_DRES));
    if (column == 1) {
        if (totals)
            return QStringLiteral("Totals");
        // "*" marks a starter, as in the line-up dialogs.
        return (row.box.count(BC_STARTER) ? QStringLiteral("*") : QString()) +
               ShortPlayerName(row.box.surname, row.box.firstName);
    }
    if (group(column) == Group::BoxScore)
        return boxText(row, column - PlayerColumns, totals);
    if (!row.line)
        return QString();
    return QString::number(row.line->field(lineFields_[column - PlayerColumns - ShownBoxColumns].name));
}

QVariant SideStatsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const int r = index.row();
    const bool totals = isTotals(r);
    const BoxRow &box = totals ? totals_.box : rows_[size_t(r)].box;
    switch (role) {
    case Qt::DisplayRole:
        return text(r, index.column());
    case Qt::TextAlignmentRole:
        return int(index.column() == 1 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
    case Qt::ToolTipRole: {
        if (totals || index.column() != 1)
            return {};
        QStringList facts;
        if (box.count(BC_STARTER))
            facts << QStringLiteral("starter");
        if (box.count(BC_AKTER))
            facts << QStringLiteral("on court");
        if (box.FouledOut())
            facts << QStringLiteral("fouled out");
        const auto &time = rows_[size_t(r)].time;
        if (time)
            facts << QStringLiteral("%1:%2 on court")
                         .arg(time->minutes())
                         .arg(time->remainingSeconds(), 2, 10, QLatin1Char('0'));
        return QStringLiteral("%1 %2: %3").arg(box.firstName, box.surname, facts.join(QStringLiteral(", ")));
    }
    case OnCourtRole:
        return !totals && box.count(BC_AKTER) == 1;
    case StarterRole:
        return !totals && box.count(BC_STARTER) == 1;
    case FouledOutRole:
        return !totals && box.FouledOut();
    case TotalsRole:
        return totals;
    case LineActorRole:
        return !totals && lineActors_.contains(box.count(BC_DRES));
    default:
        return {};
    }
}

QVariant SideStatsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return {};
    const bool tip = role == Qt::ToolTipRole;
    if (role != Qt::DisplayRole && !tip)
        return {};
    if (section < PlayerColumns)
        return section == 0 ? (tip ? QStringLiteral("Shirt number") : QStringLiteral("No"))
                            : (tip ? QStringLiteral("* starter") : QStringLiteral("Player"));
    if (group(section) == Group::BoxScore) {
        const BoxColumnShown &shown = BoxColumns[section - PlayerColumns];
        return QString::fromLatin1(tip ? shown.tip : shown.header);
    }
    const StatLineField &field = lineFields_[section - PlayerColumns - ShownBoxColumns];
    return tip ? field.name : field.caption;
}

void ShownRowsFilter::setMarkedOnly(bool markedOnly)
{
    markedOnly_ = markedOnly;
    invalidateFilter();
}

bool ShownRowsFilter::filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const
{
    if (!markedOnly_)
        return true;
    const QModelIndex index = sourceModel()->index(sourceRow, 0, sourceParent);
    return index.data(SideStatsModel::TotalsRole).toBool() || index.data(role_).toBool();
}
