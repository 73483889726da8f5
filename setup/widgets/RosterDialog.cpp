#include "setup/widgets/RosterDialog.h"

#include "data/FbClient.h"
#include "data/DataModule.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
enum Column { Surname, Name, Number };
constexpr int MaxShirtNumber = 100;
} // namespace

TTeamDlg::TTeamDlg(int matchId, int side, QWidget *parent)
    : QDialog(parent), grid(new QTableWidget), coach(new QComboBox)
{
    dm()->db().commitRetaining();
    editor_ = std::make_unique<RosterEditor>(dm()->db(), matchId, side);
    setWindowTitle(editor_->Caption());

    auto *layout = new QVBoxLayout(this);
    grid->setColumnCount(3);
    grid->setHorizontalHeaderLabels({QStringLiteral("SURNAME"), QStringLiteral("NAME"), QStringLiteral("No")});
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    grid->horizontalHeader()->setSectionResizeMode(Number, QHeaderView::ResizeToContents);
    layout->addWidget(grid);
    showRows();
    // A number is 0 to 100, or empty for a player who does not play.
    connect(grid, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
        if (item->column() != Number)
            return;
        bool ok = false;
        const int n = item->text().trimmed().toInt(&ok);
        auto &row = editor_->rows[item->row()];
        if (item->text().trimmed().isEmpty())
            row.number.reset();
        else if (ok && n >= 0 && n <= MaxShirtNumber)
            row.number = n;
        const QString shown = row.number ? QString::number(*row.number) : QString();
        if (item->text() != shown) {
            QSignalBlocker block(grid);
            item->setText(shown);
        }
    });

    auto *coachRow = new QHBoxLayout;
    coachRow->addWidget(new QLabel(QStringLiteral("COACH")));
    coach->addItem(QString(), QVariant());
    for (const auto &c : editor_->coaches)
        coach->addItem(c.name, c.id);
    coach->setCurrentIndex(editor_->coachId ? std::max(0, coach->findData(*editor_->coachId)) : 0);
    coachRow->addWidget(coach, 1);
    auto *clearCoach = new QPushButton(QStringLiteral("Clear"));
    clearCoach->setToolTip(QStringLiteral("Brisanje"));
    clearCoach->setAutoDefault(false); // Enter confirms the roster, it never clears the coach
    connect(clearCoach, &QPushButton::clicked, this, [this] { coach->setCurrentIndex(0); });
    coachRow->addWidget(clearCoach);
    layout->addLayout(coachRow);

    auto *buttons = new QHBoxLayout;
    auto *clearAll = new QPushButton(QStringLiteral("Clear All Numbers"));
    connect(clearAll, &QPushButton::clicked, this, [this] {
        editor_->ClearAllNumbers();
        showRows();
    });
    auto *ok = new QPushButton(QStringLiteral("OK"));
    auto *cancel = new QPushButton(QStringLiteral("Cancel"));
    clearAll->setAutoDefault(false);
    cancel->setAutoDefault(false);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &TTeamDlg::PotvrdiClick);
    connect(cancel, &QPushButton::clicked, this, &TTeamDlg::OdustaniClick);
    buttons->addWidget(clearAll);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    resize(520, 520);
}

void TTeamDlg::showRows()
{
    QSignalBlocker block(grid);
    grid->setRowCount(int(editor_->rows.size()));
    for (int r = 0; r < editor_->rows.size(); ++r) {
        const auto &row = editor_->rows[r];
        auto readOnly = [](const QString &text) {
            auto *item = new QTableWidgetItem(text);
            item->setFlags(item->flags() & ~Qt::ItemIsEditable);
            return item;
        };
        grid->setItem(r, Surname, readOnly(row.surname));
        grid->setItem(r, Name, readOnly(row.firstName));
        grid->setItem(r, Number, new QTableWidgetItem(row.number ? QString::number(*row.number) : QString()));
    }
}

void TTeamDlg::PotvrdiClick()
{
    const QVariant chosen = coach->currentData();
    editor_->coachId = chosen.isValid() ? std::optional<int>(chosen.toInt()) : std::nullopt;
    int focusRow = -1;
    if (editor_->Apply(&focusRow)) {
        done(33);
        return;
    }
    if (focusRow >= 0) {
        grid->setCurrentCell(focusRow, Number);
        grid->setFocus();
    }
}

void TTeamDlg::OdustaniClick()
{
    dm()->db().rollbackRetaining();
    done(32);
}
