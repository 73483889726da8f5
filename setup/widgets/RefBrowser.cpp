#include "setup/widgets/RefBrowser.h"
#include "setup/widgets/SearchKeys.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTableView>
#include <QVBoxLayout>

namespace {

using Command = RefBrowserLogic::Command;
using Move = RefBrowserLogic::Move;

// Fields per column of the edit panel.
constexpr int PanelRows = 5;

// What the birth-date picker holds for a player without one.
const QDate NoBirthDate(1900, 1, 1);

QTableView *makeGrid(QAbstractItemModel *model, QWidget *parent)
{
    auto *grid = new QTableView(parent);
    grid->setModel(model);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setAlternatingRowColors(true);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 8);
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setHighlightSections(false);
    return grid;
}

// Sizes the columns to their contents, the columns of names taking the
// width to spare; answers the width they need.
int fitColumns(QTableView *grid, const RefTableModel &columns)
{
    grid->resizeColumnsToContents();
    QHeaderView *header = grid->horizontalHeader();
    int total = 0;
    for (int c = 0; c < columns.columnCount(); ++c) {
        grid->setColumnWidth(c, std::max(grid->columnWidth(c) + 12, 40));
        total += grid->columnWidth(c);
        if (columns.isNameColumn(c))
            header->setSectionResizeMode(c, QHeaderView::Stretch);
    }
    return total;
}

} // namespace

TRefBrowser::TRefBrowser(BrowserKind kind, Tdm &module, QWidget *owner)
    : QDialog(owner), logic_(kind, module, this)
{
    const BrowserMember &member = logic_.member();
    setWindowTitle(member.caption);
    setObjectName(member.formName);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(buildSearchStrip());

    RefTableModel *leaguesModel = nullptr;
    if (member.leaguesList) {
        leaguesModel = new RefTableModel(logic_.leagues(),
                                         {{QStringLiteral("League"), QStringLiteral("NAZIV")},
                                          {QStringLiteral("Sym"), QStringLiteral("OZNAKA")},
                                          {QStringLiteral("TYPE"), QStringLiteral("LIGTUR")}},
                                         this);
        leaguesList = makeGrid(leaguesModel, this);
        leaguesList->setObjectName(QStringLiteral("leaguesList"));
        leaguesList->setStyleSheet(QStringLiteral("QTableView { background: rgb(255, 255, 204); }"));
        leaguesList->setAlternatingRowColors(false);
        leaguesList->setMaximumHeight(150);
        leaguesList->installEventFilter(this);
        leaguesList->hide();
        layout->addWidget(leaguesList);
        connect(chkShowLeagues, &QCheckBox::toggled, leaguesList, &QWidget::setVisible);
    }

    auto *rowsModel = new RefTableModel(logic_.table(), member.columns, this);
    sorted_ = new RefSortModel(*rowsModel, this);
    dbg = makeGrid(sorted_, this);
    dbg->setObjectName(QStringLiteral("dbg"));
    // A click on a column's header orders the rows by it; until then they
    // stay in the table's own order.
    dbg->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    dbg->setSortingEnabled(true);
    dbg->installEventFilter(this);
    layout->addWidget(dbg, 1);
    layout->addWidget(buildNavigationStrip());

    auto *lower = new QHBoxLayout;
    lower->addWidget(buildEditPanel(), 1);
    lower->addWidget(buildCommandGroup());
    layout->addLayout(lower);

    RefTable &table = logic_.table();
    connect(&table, &RefTable::rowsReset, this, [this] {
        loadEditors();
        updateTexts();
    });
    connect(&table, &RefTable::currentChanged, this, [this] {
        selectCurrentRow();
        loadEditors();
        updateTexts();
    });
    connect(&table, &RefTable::stateChanged, this, &TRefBrowser::updateTexts);
    connect(dbg->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &now) {
                if (loading_ || !now.isValid())
                    return;
                if (!logic_.MoveTo(sorted_->mapToSource(now).row()))
                    selectCurrentRow();
            });

    logic_.Open();
    const int gridWidth = fitColumns(dbg, *rowsModel);
    if (leaguesList)
        fitColumns(leaguesList, *leaguesModel);
    loadEditors();
    selectCurrentRow();
    updateTexts();
    fixTabOrder();
    // Wide enough for every column where the screen allows it.
    int width = std::max({sizeHint().width(), gridWidth + 60, 960});
    if (const QScreen *screen = this->screen())
        width = std::min(width, screen->availableGeometry().width() - 40);
    resize(width, 660);
    if (logic_.hasSearch())
        edSearch->setFocus();
    else
        dbg->setFocus();
}

QPushButton *TRefBrowser::button(const QString &caption, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    // Enter belongs to the search box and the edit fields, not to a default button.
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

QWidget *TRefBrowser::buildSearchStrip()
{
    const BrowserMember &member = logic_.member();
    auto *strip = new QWidget(this);
    auto *row = new QHBoxLayout(strip);
    row->setContentsMargins(0, 0, 0, 0);

    auto *searchLabel = new QLabel(QStringLiteral("Search:"), strip);
    edSearch = new QLineEdit(strip);
    edSearch->setObjectName(QStringLiteral("edSearch"));
    edSearch->setMinimumWidth(220);
    searchLabel->setBuddy(edSearch);
    btnBrowse = button(QStringLiteral("Find Next"), strip);
    btnBrowse->setObjectName(QStringLiteral("btnBrowse"));
    connect(btnBrowse, &QPushButton::clicked, this, &TRefBrowser::Search);
    connect(edSearch, &QLineEdit::returnPressed, this, &TRefBrowser::Search);

    rgFind = new QWidget(strip);
    rgFind->setObjectName(QStringLiteral("rgFind"));
    auto *choices = new QHBoxLayout(rgFind);
    choices->setContentsMargins(8, 0, 8, 0);
    findChoices = new QButtonGroup(rgFind);
    for (int i = 0; i < member.searches.size(); ++i) {
        auto *choice = new QRadioButton(member.searches[i].caption, rgFind);
        choice->setChecked(i == 0);
        findChoices->addButton(choice, i);
        choices->addWidget(choice);
    }
    connect(findChoices, &QButtonGroup::idClicked, this, [this] { edSearch->setFocus(); });

    row->addWidget(searchLabel);
    row->addWidget(edSearch);
    row->addWidget(btnBrowse);
    row->addWidget(rgFind);
    const bool search = logic_.hasSearch();
    searchLabel->setVisible(search);
    edSearch->setVisible(search);
    btnBrowse->setVisible(search);
    rgFind->setVisible(member.searches.size() > 1);

    if (member.leaguesList) {
        chkShowLeagues = new QCheckBox(QStringLiteral("Show Teams By Leagues"), strip);
        chkShowLeagues->setObjectName(QStringLiteral("chkShowLeagues"));
        row->addWidget(chkShowLeagues);
    }
    row->addStretch();
    backButton = button(QStringLiteral("Back >>"), strip);
    backButton->setObjectName(QStringLiteral("BitBtn1"));
    connect(backButton, &QPushButton::clicked, this, &TRefBrowser::reject);
    row->addWidget(backButton);
    return strip;
}

QWidget *TRefBrowser::buildNavigationStrip()
{
    const BrowserMember &member = logic_.member();
    auto *strip = new QWidget(this);
    strip->setObjectName(QStringLiteral("navigationStrip"));
    if (member.stripColour) {
        strip->setAutoFillBackground(true);
        QPalette colour = strip->palette();
        colour.setColor(QPalette::Window, *member.stripColour);
        strip->setPalette(colour);
    }
    auto *row = new QHBoxLayout(strip);
    row->setContentsMargins(6, 4, 6, 4);

    DBNavigator1 = new QWidget(strip);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    auto *buttons = new QHBoxLayout(DBNavigator1);
    buttons->setContentsMargins(0, 0, 0, 0);
    const std::pair<const char *, Move> moves[] = {
        {"First", Move::First}, {"Prior", Move::Prior}, {"Next", Move::Next}, {"Last", Move::Last}};
    for (const auto &[caption, move] : moves) {
        QPushButton *b = button(QString::fromLatin1(caption), DBNavigator1);
        connect(b, &QPushButton::clicked, this, [this, move] { logic_.Navigate(move); });
        buttons->addWidget(b);
        navigation_ << b;
    }
    QPushButton *refresh = button(QStringLiteral("Refresh"), DBNavigator1);
    connect(refresh, &QPushButton::clicked, this, [this] { RunCommand(Command::Refresh); });
    buttons->addWidget(refresh);
    navigation_ << refresh;

    row->addWidget(DBNavigator1);
    row->addStretch();
    row->addWidget(new QLabel(QStringLiteral("Count:"), strip));
    lbCount = new QLabel(strip);
    lbCount->setObjectName(QStringLiteral("lbCount"));
    lbCount->setMinimumWidth(40);
    QFont bold = lbCount->font();
    bold.setBold(true);
    lbCount->setFont(bold);
    row->addWidget(lbCount);
    return strip;
}

QWidget *TRefBrowser::makeEditor(const EditField &field)
{
    RefTable &table = logic_.table();
    const QString column = field.column;
    switch (field.kind) {
    case EditField::Kind::Text:
    case EditField::Kind::Integer: {
        auto *edit = new QLineEdit;
        if (field.kind == EditField::Kind::Integer) {
            edit->setValidator(table.isSmallInt(column) ? new QIntValidator(-32768, 32767, edit)
                                                        : new QIntValidator(edit));
            connect(edit, &QLineEdit::textEdited, this, [this, column](const QString &text) {
                logic_.SetValue(column, text.isEmpty() ? QVariant() : QVariant(text.toInt()));
            });
        } else {
            connect(edit, &QLineEdit::textEdited, this,
                    [this, column](const QString &text) { logic_.SetValue(column, text); });
        }
        return edit;
    }
    case EditField::Kind::Lookup: {
        auto *combo = new QComboBox;
        combo->setMinimumContentsLength(18);
        connect(combo, &QComboBox::activated, this,
                [this, combo, column](int index) { logic_.Choose(column, combo->itemData(index)); });
        return combo;
    }
    case EditField::Kind::BirthDate: {
        birthDate = new QDateEdit;
        birthDate->setObjectName(QStringLiteral("birthDate"));
        birthDate->setDisplayFormat(QStringLiteral("dd.MM.yyyy."));
        birthDate->setCalendarPopup(true);
        // The lowest date stands for none and shows as an empty box.
        birthDate->setMinimumDate(NoBirthDate);
        birthDate->setSpecialValueText(QStringLiteral(" "));
        birthDate->setDate(NoBirthDate);
        connect(birthDate, &QDateEdit::dateChanged, this, [this](const QDate &date) {
            if (!loading_)
                logic_.BirthDatePicked(date == NoBirthDate ? std::optional<QDate>() : date);
        });
        return birthDate;
    }
    case EditField::Kind::Picture:
        break;
    }
    return nullptr;
}

QWidget *TRefBrowser::buildPictureEditor(const EditField &field)
{
    const PictureExtra &extra = *logic_.member().picture;
    auto *box = new QWidget;
    auto *column = new QVBoxLayout(box);
    column->setContentsMargins(12, 0, 0, 0);
    column->addWidget(new QLabel(field.label));
    pictureView = new QLabel;
    pictureView->setObjectName(QStringLiteral("pictureView"));
    pictureView->setFixedSize(150, 110);
    pictureView->setFrameShape(QFrame::StyledPanel);
    pictureView->setAlignment(Qt::AlignCenter);
    column->addWidget(pictureView);
    auto *buttons = new QHBoxLayout;
    QPushButton *load = button(extra.loadCaption);
    QPushButton *clear = button(extra.clearCaption);
    connect(load, &QPushButton::clicked, this, [this, extra] {
        const QString file = QFileDialog::getOpenFileName(
            this, extra.loadCaption, QString(), QStringLiteral("Pictures (*.png *.jpg *.jpeg *.bmp *.gif)"));
        if (!file.isEmpty() && logic_.LoadPicture(file))
            showPicture();
    });
    connect(clear, &QPushButton::clicked, this, [this] {
        logic_.ClearPicture();
        showPicture();
    });
    buttons->addWidget(load);
    buttons->addWidget(clear);
    pictureButtons_ << load << clear;
    column->addLayout(buttons);
    column->addStretch();
    editors_.insert(field.column, pictureView);
    return box;
}

QWidget *TRefBrowser::buildEditPanel()
{
    auto *panel = new QGroupBox(QStringLiteral("Selected Data Edit"), this);
    auto *row = new QHBoxLayout(panel);
    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    row->addLayout(grid, 1);
    int placed = 0;
    for (const EditField &field : logic_.member().editFields) {
        if (field.kind == EditField::Kind::Picture) {
            row->addWidget(buildPictureEditor(field));
            continue;
        }
        QWidget *editor = makeEditor(field);
        editor->setObjectName(field.column);
        auto *caption = new QLabel(field.label);
        caption->setBuddy(editor);
        const int gridRow = placed % PanelRows;
        const int gridColumn = (placed / PanelRows) * 2;
        grid->addWidget(caption, gridRow, gridColumn);
        grid->addWidget(editor, gridRow, gridColumn + 1);
        grid->setColumnStretch(gridColumn + 1, 1);
        editors_.insert(field.column, editor);
        ++placed;
    }
    grid->setRowStretch(PanelRows, 1);
    return panel;
}

QWidget *TRefBrowser::buildCommandGroup()
{
    auto *group = new QGroupBox(QStringLiteral(" Action Commands "), this);
    auto *column = new QVBoxLayout(group);
    auto *state = new QHBoxLayout;
    state->addWidget(new QLabel(QStringLiteral("Current Action:")));
    lbCurrentAction = new QLabel;
    lbCurrentAction->setObjectName(QStringLiteral("lbCurrentAction"));
    QFont bold = lbCurrentAction->font();
    bold.setBold(true);
    lbCurrentAction->setFont(bold);
    lbCurrentAction->setMinimumWidth(lbCurrentAction->fontMetrics().horizontalAdvance(
        QStringLiteral("CHANGE SELECTED ") + logic_.member().entityWord + QStringLiteral("  ")));
    state->addWidget(lbCurrentAction, 1);
    column->addLayout(state);

    DBNavigator2 = new QWidget(group);
    DBNavigator2->setObjectName(QStringLiteral("DBNavigator2"));
    auto *buttons = new QGridLayout(DBNavigator2);
    buttons->setContentsMargins(0, 0, 0, 0);
    const std::pair<const char *, Command> commands[] = {{"Insert", Command::Insert}, {"Delete", Command::Delete},
                                                         {"Edit", Command::Edit},     {"Post", Command::Post},
                                                         {"Cancel", Command::Cancel}, {"Refresh", Command::Refresh}};
    int i = 0;
    for (const auto &[caption, command] : commands) {
        QPushButton *b = button(QString::fromLatin1(caption), DBNavigator2);
        b->setMinimumHeight(30);
        connect(b, &QPushButton::clicked, this, [this, command] { RunCommand(command); });
        buttons->addWidget(b, i / 3, i % 3);
        commands_.insert(int(command), b);
        ++i;
    }
    column->addWidget(DBNavigator2);
    column->addStretch();
    return group;
}

void TRefBrowser::focusFirstEditField()
{
    const QList<EditField> &fields = logic_.member().editFields;
    const int first = logic_.member().firstEditField;
    if (first < fields.size())
        if (QWidget *editor = editors_.value(fields[first].column))
            editor->setFocus();
}

void TRefBrowser::RunCommand(Command command)
{
    focusFirstEditField();
    logic_.Run(command);
    updateTexts();
    focusFirstEditField();
}

void TRefBrowser::Search()
{
    logic_.Search(edSearch->text(), std::max(findChoices->checkedId(), 0));
}

void TRefBrowser::updateTexts()
{
    lbCount->setText(logic_.countText());
    lbCurrentAction->setText(logic_.stateText());
    const DataSetState state = logic_.table().state();
    const bool browsing = state == DataSetState::Browse;
    const bool editing = state == DataSetState::Edit || state == DataSetState::Insert;
    const bool hasRow = logic_.table().currentRecord() >= 0;
    commands_.value(int(Command::Insert))->setEnabled(browsing);
    commands_.value(int(Command::Delete))->setEnabled(browsing && hasRow);
    commands_.value(int(Command::Edit))->setEnabled(browsing && hasRow);
    commands_.value(int(Command::Post))->setEnabled(editing);
    commands_.value(int(Command::Cancel))->setEnabled(editing);
    commands_.value(int(Command::Refresh))->setEnabled(state != DataSetState::Inactive);
    for (QPushButton *b : navigation_)
        b->setEnabled(state != DataSetState::Inactive);
}

void TRefBrowser::loadEditors()
{
    loading_ = true;
    for (const EditField &field : logic_.member().editFields) {
        QWidget *editor = editors_.value(field.column);
        const QVariant value = logic_.value(field.column);
        switch (field.kind) {
        case EditField::Kind::Text:
        case EditField::Kind::Integer: {
            auto *edit = static_cast<QLineEdit *>(editor);
            if (field.kind == EditField::Kind::Text)
                edit->setMaxLength(std::max(logic_.table().maxLength(field.column), 1));
            edit->setText(value.toString());
            break;
        }
        case EditField::Kind::Lookup: {
            auto *combo = static_cast<QComboBox *>(editor);
            combo->clear();
            combo->addItem(QString(), QVariant());
            for (const ListChoice &choice : logic_.choices(field.column))
                combo->addItem(choice.text, choice.key);
            const int at = value.isNull() ? 0 : combo->findData(value);
            combo->setCurrentIndex(std::max(at, 0));
            break;
        }
        case EditField::Kind::BirthDate:
            birthDate->setDate(logic_.BirthDateToShow().value_or(NoBirthDate));
            break;
        case EditField::Kind::Picture:
            break;
        }
    }
    showPicture();
    loading_ = false;
}

void TRefBrowser::showPicture()
{
    if (!pictureView)
        return;
    const QImage image = logic_.picture();
    if (image.isNull())
        pictureView->clear();
    else
        pictureView->setPixmap(QPixmap::fromImage(
            image.scaled(pictureView->size() - QSize(4, 4), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

void TRefBrowser::selectCurrentRow()
{
    const bool wasLoading = loading_;
    loading_ = true;
    const int row = logic_.table().currentRecord();
    if (row >= 0) {
        const QModelIndex shown = sorted_->mapFromSource(sorted_->sourceModel()->index(row, 0));
        dbg->selectRow(shown.row());
        dbg->scrollTo(shown);
    } else {
        dbg->clearSelection();
    }
    loading_ = wasLoading;
}

void TRefBrowser::fixTabOrder()
{
    QList<QWidget *> order{edSearch, btnBrowse};
    for (QAbstractButton *choice : findChoices->buttons())
        order << choice;
    if (chkShowLeagues)
        order << chkShowLeagues << leaguesList;
    order << dbg;
    for (QPushButton *b : navigation_)
        order << b;
    const QList<EditField> &fields = logic_.member().editFields;
    for (const EditField &field : fields)
        if (field.kind != EditField::Kind::Picture)
            order << editors_.value(field.column);
    order << pictureButtons_;
    for (const Command c : {Command::Insert, Command::Delete, Command::Edit, Command::Post, Command::Cancel,
                            Command::Refresh})
        order << commands_.value(int(c));
    order << backButton;
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

bool TRefBrowser::eventFilter(QObject *watched, QEvent *event)
{
    if ((watched == dbg || watched == leaguesList) && event->type() == QEvent::KeyPress && logic_.hasSearch()) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (StartSearchWithKey(key, edSearch))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TRefBrowser::reject()
{
    if (logic_.Close())
        QDialog::reject();
}
