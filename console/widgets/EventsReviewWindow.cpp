#include "console/widgets/EventsReviewWindow.h"

#include "console/widgets/Pickers.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QComboBox *combo(const QStringList &items, QWidget *parent)
{
    auto *box = new QComboBox(parent);
    box->addItems(items);
    return box;
}

QButtonGroup *radioGroup(const QString &title, const QStringList &items, QBoxLayout *into, QWidget *parent)
{
    auto *box = new QGroupBox(title, parent);
    auto *layout = new QVBoxLayout(box);
    auto *group = new QButtonGroup(box);
    for (int i = 0; i < items.size(); ++i) {
        auto *button = new QRadioButton(items[i], box);
        group->addButton(button, i);
        layout->addWidget(button);
    }
    group->button(0)->setChecked(true);
    into->addWidget(box);
    return group;
}

QLineEdit *box(int length, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setMaxLength(length);
    edit->setMaximumWidth(48);
    return edit;
}

} // namespace

TAllActionsViewfrm::TAllActionsViewfrm(fb::Connection &db, int ReviewMatchId, QWidget *parent)
    : QDialog(parent), review_(db, ReviewMatchId)
{
    setWindowTitle(QStringLiteral("Actions List"));
    auto *main = new QVBoxLayout(this);

    auto *filterBox = new QGroupBox(QStringLiteral(" Filter Options "), this);
    auto *filter = new QGridLayout(filterBox);
    edDRES = new QLineEdit(filterBox);
    cbRES = combo(ActionsReview::ActionTypeItems(), filterBox);
    cbP = combo(ActionsReview::PeriodItems(), filterBox);
    cbM = combo(ActionsReview::MinuteItems(), filterBox);
    cbHG = combo(ActionsReview::TeamItems(), filterBox);
    const QList<QPair<QString, QWidget *>> fields{{QStringLiteral("Player No:"), edDRES},
                                                  {QStringLiteral("Action Type:"), cbRES},
                                                  {QStringLiteral("Period:"), cbP},
                                                  {QStringLiteral("Minute:"), cbM},
                                                  {QStringLiteral("Team:"), cbHG}};
    for (int i = 0; i < fields.size(); ++i) {
        filter->addWidget(new QLabel(fields[i].first, filterBox), 0, i);
        filter->addWidget(fields[i].second, 1, i);
    }
    auto *orderLayout = new QHBoxLayout;
    rgOrder = radioGroup(QStringLiteral(" Order By "), ActionsReview::OrderItems(), orderLayout, filterBox);
    filter->addLayout(orderLayout, 0, int(fields.size()), 2, 1);
    btnApply = new QPushButton(QStringLiteral("Apply Filter and Order"), filterBox);
    filter->addWidget(btnApply, 2, 0, 1, 2);
    lbCount = new QLabel(filterBox);
    filter->addWidget(new QLabel(QStringLiteral("Records Count:"), filterBox), 2, 2);
    filter->addWidget(lbCount, 2, 3);
    main->addWidget(filterBox);

    const QStringList captions = ActionsReview::ColumnCaptions();
    grid = new QTableWidget(0, int(captions.size()), this);
    grid->setHorizontalHeaderLabels(captions);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->verticalHeader()->hide();
    main->addWidget(grid, 1);

    auto *navigator = new QHBoxLayout;
    navFirst = new QPushButton(QStringLiteral("|<"), this);
    navPrior = new QPushButton(QStringLiteral("<"), this);
    navNext = new QPushButton(QStringLiteral(">"), this);
    navLast = new QPushButton(QStringLiteral(">|"), this);
    for (auto *b : {navFirst, navPrior, navNext, navLast})
        navigator->addWidget(b);
    navigator->addStretch();
    main->addLayout(navigator);

    auto *bottom = new QHBoxLayout;
    auto *editBox = new QGroupBox(QStringLiteral("Action data:"), this);
    auto *edit = new QHBoxLayout(editBox);
    edHG = box(1, editBox);
    edNODR = box(2, editBox);
    edRES = box(2, editBox);
    edPAR1 = box(2, editBox);
    const QList<QPair<QString, QLineEdit *>> boxes{{QStringLiteral("Init:"), edHG},
                                                   {QStringLiteral("No:"), edNODR},
                                                   {QStringLiteral("Ev:"), edRES},
                                                   {QStringLiteral("Par:"), edPAR1}};
    for (const auto &[caption, widget] : boxes) {
        edit->addWidget(new QLabel(caption, editBox));
        edit->addWidget(widget);
        widget->installEventFilter(this);
    }
    btnUpdate = new QPushButton(QStringLiteral("UPDATE ACTION"), editBox);
    edit->addWidget(btnUpdate);
    bottom->addWidget(editBox);
    rgAttack = radioGroup(QStringLiteral("Attack Type"),
                          {QStringLiteral("NORMAL (N)"), QStringLiteral("SECOND (S)"), QStringLiteral("FAST BREAK (F)")},
                          bottom, this);
    rgDefense = radioGroup(QStringLiteral("Defense Type"), {QStringLiteral("MAN TO MAN (M)"), QStringLiteral("ZONE (Z)")},
                           bottom, this);
    auto *buttons = new QVBoxLayout;
    btnDelete = new QPushButton(QStringLiteral("DELETE ACTION !!!"), this);
    btnLegend = new QPushButton(QStringLiteral("Legend..."), this);
    btnBack = new QPushButton(QStringLiteral("Back >>"), this);
    for (auto *b : {btnDelete, btnLegend, btnBack}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    bottom->addLayout(buttons);
    main->addLayout(bottom);
    btnApply->setAutoDefault(false);
    btnUpdate->setAutoDefault(false);

    connect(btnApply, &QPushButton::clicked, this, &TAllActionsViewfrm::ApplyFilter);
    connect(btnUpdate, &QPushButton::clicked, this, &TAllActionsViewfrm::UpdateAction);
    connect(btnDelete, &QPushButton::clicked, this, &TAllActionsViewfrm::DeleteAction);
    connect(btnLegend, &QPushButton::clicked, this, &TAllActionsViewfrm::ShowLegend);
    connect(btnBack, &QPushButton::clicked, this, &QDialog::reject); // Esc rejects as well
    connect(navFirst, &QPushButton::clicked, this, [this] { moveTo(0); });
    connect(navPrior, &QPushButton::clicked, this, [this] { moveTo(review_.Current() - 1); });
    connect(navNext, &QPushButton::clicked, this, [this] { moveTo(review_.Current() + 1); });
    connect(navLast, &QPushButton::clicked, this, [this] { moveTo(review_.Count() - 1); });
    connect(grid, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (!showing_ && row >= 0) {
            review_.SetCurrent(row);
            showCurrent();
        }
    });
}

ActionsFilter TAllActionsViewfrm::currentFilter() const
{
    ActionsFilter f;
    f.playerNo = edDRES->text();
    f.actionType = cbRES->currentIndex();
    f.period = cbP->currentIndex();
    f.minute = cbM->currentIndex();
    f.team = cbHG->currentIndex();
    f.order = ActionsOrder(std::max(0, rgOrder->checkedId()));
    return f;
}

void TAllActionsViewfrm::ApplyFilter()
{
    if (review_.ApplyFilter(currentFilter()))
        showRows();
}

void TAllActionsViewfrm::UpdateAction()
{
    if (review_.Update(edHG->text(), edNODR->text(), edRES->text(), edPAR1->text())) {
        showRows();
        emit recordsChanged();
    }
}

void TAllActionsViewfrm::DeleteAction()
{
    if (review_.Delete()) {
        showRows();
        emit recordsChanged();
    }
}

void TAllActionsViewfrm::ShowLegend()
{
    TEventLegendFrm legend(this);
    legend.exec();
}

void TAllActionsViewfrm::showRows()
{
    showing_ = true;
    const auto &rows = review_.Rows();
    grid->clearContents();
    grid->setRowCount(int(rows.size()));
    for (int r = 0; r < int(rows.size()); ++r)
        for (int c = 0; c < grid->columnCount(); ++c)
            grid->setItem(r, c, new QTableWidgetItem(ActionsReview::ColumnText(rows[size_t(r)], c)));
    lbCount->setText(review_.CountText());
    showing_ = false;
    showCurrent();
}

void TAllActionsViewfrm::moveTo(int position)
{
    if (review_.Count() == 0)
        return;
    review_.SetCurrent(position);
    showCurrent();
}

void TAllActionsViewfrm::showCurrent()
{
    showing_ = true;
    const int current = review_.Current();
    if (current >= 0) {
        grid->setCurrentCell(current, 0);
        grid->scrollToItem(grid->item(current, 0));
    }
    showing_ = false;
    const ActionEditValues values = review_.CurrentEditValues();
    edHG->setText(values.init);
    edNODR->setText(values.no);
    edRES->setText(values.ev);
    edPAR1->setText(values.par);
    if (auto *b = rgAttack->button(values.attackType))
        b->setChecked(true);
    if (auto *b = rgDefense->button(values.defenseType))
        b->setChecked(true);
}

bool TAllActionsViewfrm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == edHG)
                edNODR->setFocus();
            else if (watched == edNODR)
                edRES->setFocus();
            else if (watched == edRES)
                edPAR1->setFocus();
            else if (watched == edPAR1)
                btnUpdate->setFocus();
            else
                return QDialog::eventFilter(watched, event);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
