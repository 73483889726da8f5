#include "setup/widgets/StartersDialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

TStartersDlg::TStartersDlg(MatchSession &session, int side, const StartersEditor::Hooks &hooks, QWidget *parent)
    : QDialog(parent), grid(new QTableWidget), editor_(session, side), hooks_(hooks)
{
    setWindowTitle(editor_.Caption());
    auto *layout = new QVBoxLayout(this);
    grid->setColumnCount(4);
    grid->setHorizontalHeaderLabels({QStringLiteral("IS STARTER"), QStringLiteral("No"), QStringLiteral("SURNAME"),
                                     QStringLiteral("NAME")});
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->setRowCount(int(editor_.rows.size()));
    for (int r = 0; r < editor_.rows.size(); ++r) {
        const auto &row = editor_.rows[r];
        grid->setItem(r, 1, new QTableWidgetItem(QString::number(row.number)));
        grid->setItem(r, 2, new QTableWidgetItem(row.surname));
        grid->setItem(r, 3, new QTableWidgetItem(row.firstName));
    }
    showMarks();
    grid->setCurrentCell(0, 0);
    grid->installEventFilter(this);
    connect(grid, &QTableWidget::cellDoubleClicked, this, [this](int row) {
        editor_.Toggle(row);
        showMarks();
    });
    layout->addWidget(grid);

    auto *buttons = new QHBoxLayout;
    auto *ok = new QPushButton(QStringLiteral("OK"));
    auto *cancel = new QPushButton(QStringLiteral("Cancel"));
    connect(ok, &QPushButton::clicked, this, &TStartersDlg::PotvrdiClick);
    connect(cancel, &QPushButton::clicked, this, [this] { done(32); });
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    resize(480, 480);
}

void TStartersDlg::showMarks()
{
    for (int r = 0; r < editor_.rows.size(); ++r) {
        auto *mark = new QTableWidgetItem(editor_.rows[r].marked ? QStringLiteral("*") : QString());
        mark->setForeground(Qt::red);
        mark->setBackground(QColor(255, 255, 225));
        mark->setTextAlignment(Qt::AlignCenter);
        QFont big = mark->font();
        big.setPointSize(16);
        big.setBold(true);
        mark->setFont(big);
        grid->setItem(r, 0, mark);
    }
}

bool TStartersDlg::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == grid && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
            editor_.Toggle(grid->currentRow());
            showMarks();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TStartersDlg::PotvrdiClick()
{
    if (editor_.Apply(hooks_)) {
        done(33);
        return;
    }
    grid->setCurrentCell(0, 0);
    grid->setFocus();
}
