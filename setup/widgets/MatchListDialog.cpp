#include "setup/widgets/MatchListDialog.h"
#include "setup/widgets/SearchKeys.h"

#include <QAbstractListModel>
#include <QButtonGroup>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace {

const QColor SelectedPanel(204, 255, 204);
const QColor Separator(0, 0, 255);

// The matches as rows of a list; the panels read the chooser itself.
class MatchListModel final : public QAbstractListModel
{
public:
    MatchListModel(MatchChooser &chooser, QObject *parent) : QAbstractListModel(parent), chooser_(chooser) {}
    int rowCount(const QModelIndex &parent) const override { return parent.isValid() ? 0 : chooser_.recordCount(); }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
            return QVariant();
        return chooser_.fieldValue(index.row(), MatchChooser::NAZIV);
    }

private:
    MatchChooser &chooser_;
};

// One match as a panel: caption and date, status, the clubs, league and round.
class MatchPanelDelegate final : public QStyledItemDelegate
{
public:
    MatchPanelDelegate(MatchChooser &chooser, QObject *parent) : QStyledItemDelegate(parent), chooser_(chooser) {}

    static int panelHeight(const QFontMetrics &fm) { return 4 * (fm.height() + 3) + 14; }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const override
    {
        return QSize(option.rect.width(), panelHeight(option.fontMetrics));
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const int row = index.row();
        auto text = [&](int field) { return chooser_.fieldValue(row, field).toString(); };
        const bool selected = option.state & QStyle::State_Selected;

        painter->save();
        painter->fillRect(option.rect, selected ? SelectedPanel : option.palette.base().color());
        painter->setPen(option.palette.text().color());
        const QFontMetrics fm = option.fontMetrics;
        const int line = fm.height() + 3;
        QRect r = option.rect.adjusted(10, 6, -10, -6);
        auto lineRect = [&](int n) { return QRect(r.left(), r.top() + n * line, r.width(), line); };

        QFont bold = option.font;
        bold.setBold(true);
        painter->setFont(bold);
        painter->drawText(lineRect(0), Qt::AlignLeft | Qt::AlignVCenter, text(MatchChooser::NAZIV));
        painter->setFont(option.font);
        const QDateTime when = chooser_.fieldValue(row, MatchChooser::DATUMVREME).toDateTime();
        painter->drawText(lineRect(0), Qt::AlignRight | Qt::AlignVCenter,
                          when.isValid() ? when.toString(QStringLiteral("dd.MM.yyyy.  HH:mm")) : QString());
        painter->drawText(lineRect(1), Qt::AlignLeft | Qt::AlignVCenter,
                          QStringLiteral("Status: ") + text(MatchChooser::REZULTAT));
        painter->drawText(lineRect(2), Qt::AlignLeft | Qt::AlignVCenter,
                          QStringLiteral("Home: ") + text(MatchChooser::DOMACIN));
        painter->drawText(lineRect(2), Qt::AlignRight | Qt::AlignVCenter, text(MatchChooser::LIGA));
        painter->drawText(lineRect(3), Qt::AlignLeft | Qt::AlignVCenter,
                          QStringLiteral("Guest: ") + text(MatchChooser::GOST));
        painter->drawText(lineRect(3), Qt::AlignRight | Qt::AlignVCenter,
                          QStringLiteral("Round: ") + text(MatchChooser::KOLO));

        painter->setPen(QPen(Separator, 1));
        painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
        painter->restore();
    }

private:
    MatchChooser &chooser_;
};

// Enter belongs to the search box and the list, not to a default button.
QPushButton *plainButton(const QString &caption, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setAutoDefault(false);
    return b;
}

} // namespace

MatchListDialog::MatchListDialog(Tdm &module, const QString &title, QWidget *owner) : QDialog(owner), chooser_(module)
{
    setWindowTitle(title);
    chooser_.Load();
    auto *layout = new QVBoxLayout(this);

    auto *strip = new QHBoxLayout;
    auto *searchLabel = new QLabel(QStringLiteral("Search:"), this);
    edSearch = new QLineEdit(this);
    edSearch->setObjectName(QStringLiteral("edSearch"));
    searchLabel->setBuddy(edSearch);
    btnBrowse = plainButton(QStringLiteral("Find Next"), this);
    btnBrowse->setObjectName(QStringLiteral("btnBrowse"));
    rgFind = new QButtonGroup(this);
    auto *byTeams = new QRadioButton(QStringLiteral("By Teams"), this);
    auto *byLeague = new QRadioButton(QStringLiteral("By League"), this);
    byTeams->setChecked(true);
    rgFind->addButton(byTeams, int(MatchChooser::SearchBy::Teams));
    rgFind->addButton(byLeague, int(MatchChooser::SearchBy::League));
    strip->addWidget(searchLabel);
    strip->addWidget(edSearch, 1);
    strip->addWidget(btnBrowse);
    strip->addWidget(byTeams);
    strip->addWidget(byLeague);
    layout->addLayout(strip);
    connect(btnBrowse, &QPushButton::clicked, this, &MatchListDialog::Search);
    connect(edSearch, &QLineEdit::returnPressed, this, &MatchListDialog::Search);
    connect(rgFind, &QButtonGroup::idClicked, this, [this] { edSearch->setFocus(); });

    matches = new QListView(this);
    matches->setObjectName(QStringLiteral("matches"));
    matches->setModel(new MatchListModel(chooser_, this));
    matches->setItemDelegate(new MatchPanelDelegate(chooser_, this));
    matches->setSelectionMode(QAbstractItemView::SingleSelection);
    matches->setEditTriggers(QAbstractItemView::NoEditTriggers);
    matches->setUniformItemSizes(true);
    matches->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    matches->setFixedHeight(VisiblePanels * MatchPanelDelegate::panelHeight(matches->fontMetrics()) +
                            2 * matches->frameWidth());
    matches->setMinimumWidth(560);
    matches->installEventFilter(this);
    layout->addWidget(matches, 1);
    connect(matches, &QListView::doubleClicked, this, [this](const QModelIndex &index) {
        chooser_.moveTo(index.row());
        panelChosen();
    });

    buttons_ = new QHBoxLayout;
    buttons_->addStretch();
    layout->addLayout(buttons_);

    setTabOrder(edSearch, btnBrowse);
    setTabOrder(btnBrowse, byTeams);
    setTabOrder(byTeams, byLeague);
    setTabOrder(byLeague, matches);

    connect(matches->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &now) {
                if (now.isValid())
                    chooser_.moveTo(now.row());
            });
    selectCurrent();
    matches->setFocus();
}

QPushButton *MatchListDialog::addButton(const QString &caption, const QString &objectName)
{
    QPushButton *button = plainButton(caption, this);
    button->setMinimumSize(110, 32);
    button->setObjectName(objectName);
    buttons_->addWidget(button);
    return button;
}

void MatchListDialog::selectCurrent()
{
    const int row = chooser_.currentRecord();
    if (row < 0)
        return;
    const QModelIndex index = matches->model()->index(row, 0);
    matches->setCurrentIndex(index);
    matches->scrollTo(index);
}

void MatchListDialog::Search()
{
    if (chooser_.Search(edSearch->text(), MatchChooser::SearchBy(rgFind->checkedId())))
        selectCurrent();
}

bool MatchListDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == matches && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            panelChosen();
            return true;
        case Qt::Key_Escape:
            reject();
            return true;
        default:
            break;
        }
        if (StartSearchWithKey(key, edSearch))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}
