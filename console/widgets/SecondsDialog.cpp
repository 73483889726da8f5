#include "console/widgets/SecondsDialog.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>

TSecFrm::TSecFrm(bool confirm, QWidget *parent)
    : QDialog(parent), seSec(new QSpinBox), tbSec(new QSlider(Qt::Horizontal)), yes(new QPushButton)
{
    setWindowTitle(QStringLiteral("SECONDS SETTINGS"));
    auto *layout = new QGridLayout(this);

    seSec->setRange(0, 59);
    seSec->setStyleSheet(QStringLiteral("background: black; color: white; font-size: 20pt"));
    seSec->findChild<QLineEdit *>()->installEventFilter(this);
    tbSec->setRange(0, 59);
    tbSec->setPageStep(5);
    tbSec->setTickPosition(QSlider::TicksBelow);
    tbSec->setTickInterval(10);
    connect(seSec, &QSpinBox::valueChanged, tbSec, &QSlider::setValue);
    connect(tbSec, &QSlider::valueChanged, seSec, &QSpinBox::setValue);

    layout->addWidget(seSec, 0, 0, 1, 2);
    layout->addWidget(tbSec, 1, 0, 1, 2);
    auto *ticks = new QLabel(QStringLiteral("0        10        20        30        40        50      59"));
    layout->addWidget(ticks, 2, 0, 1, 2);

    yes->setDefault(true);
    connect(yes, &QPushButton::clicked, this, &QDialog::accept);
    if (confirm) {
        layout->addWidget(new QLabel(QStringLiteral("ARE YOU SURE TO CHANGE PLAYER?")), 3, 0, 1, 2);
        yes->setText(QStringLiteral("YES"));
        auto *no = new QPushButton(QStringLiteral("NO"));
        connect(no, &QPushButton::clicked, this, &QDialog::reject);
        layout->addWidget(yes, 4, 0);
        layout->addWidget(no, 4, 1);
    } else {
        yes->setText(QStringLiteral("OK"));
        layout->addWidget(yes, 4, 0, 1, 2, Qt::AlignCenter);
    }
    seSec->setFocus();
    seSec->selectAll();
}

bool TSecFrm::eventFilter(QObject *watched, QEvent *event)
{
    // Only digits and backspace; a third digit or a value of 60 or more is refused.
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            accept();
            return true;
        }
        const QString typed = key->text();
        if (key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Escape || typed.isEmpty())
            return QDialog::eventFilter(watched, event);
        if (!typed.at(0).isDigit())
            return true;
        auto *edit = seSec->findChild<QLineEdit *>();
        QString next = edit->text();
        next.replace(edit->selectionStart() < 0 ? edit->cursorPosition() : edit->selectionStart(),
                     edit->selectedText().size(), typed);
        return next.size() > 2 || next.toInt() >= 60;
    }
    return QDialog::eventFilter(watched, event);
}

std::optional<int> TSecFrm::AskSeconds(bool confirm, QWidget *parent)
{
    TSecFrm dialog(confirm, parent);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    if (confirm && !accepted)
        return std::nullopt;
    return dialog.seSec->value();
}
