#include "setup/widgets/MatchDefinitionDialog.h"

#include "setup/widgets/RefBrowser.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimeEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The controls' names on the form.
QString formName(MatchDefinition::Control c)
{
    static const char *const names[] = {"Liga",    "Kolo",    "PlayOff", "Datum",   "Vreme",
                                        "Grad",    "Hala",    "Gledalaca", "Naziv", "Extra",
                                        "Domacin", "Gost",    "Sudija1", "Sudija2", "tMatchID_SUDIJA3",
                                        "Delegat", "Statisticar1", "Statisticar2"};
    return QString::fromLatin1(names[int(c)]);
}

} // namespace

TDataGame::TDataGame(Tdm &module, int matchId, QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), module_(module),
      definition_(module)
{
    setWindowTitle(QStringLiteral("Match Definition"));
    setObjectName(QStringLiteral("TDataGame"));

    auto *layout = new QVBoxLayout(this);
    auto *columns = new QHBoxLayout;
    columns->addWidget(buildMatchGroup(), 1);
    auto *right = new QVBoxLayout;
    right->addWidget(buildTeamsGroup());
    right->addWidget(buildPeopleGroup());
    right->addStretch();
    columns->addLayout(right, 1);
    layout->addLayout(columns);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    Potvrdi = new QPushButton(QStringLiteral("OK"), this);
    Potvrdi->setObjectName(QStringLiteral("Potvrdi"));
    Potvrdi->setDefault(true);
    Potvrdi->setMinimumSize(110, 32);
    Odustani = new QPushButton(QStringLiteral("Cancel"), this);
    Odustani->setObjectName(QStringLiteral("Odustani"));
    Odustani->setAutoDefault(false);
    Odustani->setMinimumSize(110, 32);
    connect(Potvrdi, &QPushButton::clicked, this, &TDataGame::PotvrdiClick);
    connect(Odustani, &QPushButton::clicked, this, &TDataGame::OdustaniClick);
    buttons->addWidget(Potvrdi);
    buttons->addWidget(Odustani);
    layout->addLayout(buttons);

    for (auto it = controls_.cbegin(); it != controls_.cend(); ++it)
        it.value()->setObjectName(formName(it.key()));
    setTabOrders();
    ready_ = definition_.Open(matchId);
    if (ready_)
        loadValues();
    control(Control::Liga)->setFocus();
}

QLineEdit *TDataGame::textEdit(Control c, int maxLength)
{
    auto *edit = new QLineEdit(this);
    edit->setMaxLength(maxLength);
    connect(edit, &QLineEdit::textEdited, this, [this, c](const QString &text) { definition_.setText(c, text); });
    controls_.insert(c, edit);
    return edit;
}

QComboBox *TDataGame::listBox(Control c)
{
    auto *combo = new QComboBox(this);
    combo->setMinimumContentsLength(22);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    connect(combo, &QComboBox::activated, this,
            [this, c, combo](int index) { definition_.setKey(c, combo->itemData(index)); });
    controls_.insert(c, combo);
    return combo;
}

QWidget *TDataGame::withClearButton(Control person)
{
    auto *row = new QWidget(this);
    auto *line = new QHBoxLayout(row);
    line->setContentsMargins(0, 0, 0, 0);
    line->addWidget(listBox(person), 1);
    auto *clear = new QToolButton(row);
    clear->setText(QStringLiteral("X"));
    clear->setToolTip(QStringLiteral("Brisanje"));
    clear->setFocusPolicy(Qt::NoFocus); // the blank entry of the list does the same from the keyboard
    connect(clear, &QToolButton::clicked, this, [this, person] {
        definition_.Clear(person);
        fillList(person);
    });
    clearButtons_.insert(person, clear);
    line->addWidget(clear);
    return row;
}

QWidget *TDataGame::buildMatchGroup()
{
    auto *group = new QGroupBox(QStringLiteral("Match"), this);
    auto *form = new QFormLayout(group);
    form->setLabelAlignment(Qt::AlignRight);

    form->addRow(QStringLiteral("LEAGUE"), listBox(Control::Liga));

    QLineEdit *round = textEdit(Control::Kolo, 5);
    round->setValidator(new QIntValidator(0, 32767, round));
    PlayOff = new QCheckBox(QStringLiteral("PLAY OFF"), this);
    connect(PlayOff, &QCheckBox::toggled, this, [this](bool on) { definition_.setPlayOff(on); });
    controls_.insert(Control::PlayOff, PlayOff);
    auto *roundRow = new QHBoxLayout;
    roundRow->addWidget(round);
    roundRow->addSpacing(16);
    roundRow->addWidget(PlayOff);
    roundRow->addStretch();
    form->addRow(QStringLiteral("ROUND"), roundRow);

    Datum = new QDateEdit(this);
    Datum->setDisplayFormat(QStringLiteral("dd.MM.yyyy."));
    Datum->setCalendarPopup(true);
    connect(Datum, &QDateEdit::dateChanged, this, [this](const QDate &d) { definition_.setDate(d); });
    controls_.insert(Control::Datum, Datum);
    Vreme = new QTimeEdit(this);
    Vreme->setDisplayFormat(QStringLiteral("HH:mm"));
    connect(Vreme, &QTimeEdit::timeChanged, this, [this](const QTime &t) { definition_.setTime(t); });
    controls_.insert(Control::Vreme, Vreme);
    form->addRow(QStringLiteral("DATE:"), Datum);
    form->addRow(QStringLiteral("TIME:"), Vreme);

    form->addRow(QStringLiteral("CITY"), textEdit(Control::Grad, 26));
    form->addRow(QStringLiteral("HALL"), textEdit(Control::Hala, 26));
    QLineEdit *audience = textEdit(Control::Gledalaca, 7);
    audience->setValidator(new QIntValidator(0, 9999999, audience));
    form->addRow(QStringLiteral("AUDITORY"), audience);
    form->addRow(QStringLiteral("CAPTION:"), textEdit(Control::Naziv, 26));
    form->addRow(QStringLiteral("Additional Information:"), textEdit(Control::Extra, 26));
    return group;
}

QWidget *TDataGame::buildTeamsGroup()
{
    auto *group = new QGroupBox(QStringLiteral("Teams"), this);
    auto *form = new QFormLayout(group);
    form->setLabelAlignment(Qt::AlignRight);
    for (const Control side : {Control::Domacin, Control::Gost}) {
        QComboBox *clubs = listBox(side);
        clubs->installEventFilter(this); // entering the list offers the league's clubs
        form->addRow(side == Control::Domacin ? QStringLiteral("HOME TEAM") : QStringLiteral("GUEST TEAM"), clubs);
    }
    return group;
}

QWidget *TDataGame::buildPeopleGroup()
{
    auto *box = new QWidget(this);
    auto *column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);

    auto *referees = new QGroupBox(QStringLiteral("REFEREES"), box);
    auto *refereeForm = new QFormLayout(referees);
    refereeForm->setLabelAlignment(Qt::AlignRight);
    refereeForm->addRow(QStringLiteral("FIRST:"), withClearButton(Control::Sudija1));
    refereeForm->addRow(QStringLiteral("SECOND:"), withClearButton(Control::Sudija2));
    refereeForm->addRow(QStringLiteral("THIRD:"), withClearButton(Control::Sudija3));
    column->addWidget(referees);

    auto *delegate = new QGroupBox(QStringLiteral("DELEGATE"), box);
    auto *delegateForm = new QFormLayout(delegate);
    delegateForm->addRow(withClearButton(Control::Delegat));
    column->addWidget(delegate);

    auto *statists = new QGroupBox(QStringLiteral("STATISTS"), box);
    auto *statistForm = new QFormLayout(statists);
    statistForm->setLabelAlignment(Qt::AlignRight);
    statistForm->addRow(QStringLiteral("FIRST:"), withClearButton(Control::Statisticar1));
    statistForm->addRow(QStringLiteral("SECOND:"), withClearButton(Control::Statisticar2));
    btnEditStatists = new QPushButton(QStringLiteral("..."), statists);
    btnEditStatists->setObjectName(QStringLiteral("btnEditStatists"));
    btnEditStatists->setToolTip(QStringLiteral("Statists"));
    btnEditStatists->setAutoDefault(false);
    btnEditStatists->setFixedWidth(btnEditStatists->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 24);
    connect(btnEditStatists, &QPushButton::clicked, this, &TDataGame::EditStatists);
    auto *more = new QHBoxLayout;
    more->addStretch();
    more->addWidget(btnEditStatists);
    statistForm->addRow(more);
    column->addWidget(statists);
    return box;
}

void TDataGame::fillList(Control c)
{
    auto *combo = static_cast<QComboBox *>(controls_.value(c));
    const QVariant key = definition_.key(c);
    combo->clear();
    combo->addItem(QString(), QVariant());
    for (const ListChoice &choice : definition_.choices(c))
        combo->addItem(choice.text, choice.key);
    const int at = key.isNull() ? 0 : combo->findData(key);
    combo->setCurrentIndex(std::max(at, 0));
}

void TDataGame::loadValues()
{
    for (auto it = controls_.cbegin(); it != controls_.cend(); ++it) {
        if (auto *edit = qobject_cast<QLineEdit *>(it.value()))
            edit->setText(definition_.text(it.key()));
        else if (qobject_cast<QComboBox *>(it.value()))
            fillList(it.key());
    }
    PlayOff->setChecked(definition_.playOff());
    Datum->setDate(definition_.date());
    Vreme->setTime(definition_.time());
}

void TDataGame::setTabOrders()
{
    const Control order[] = {Control::Liga,    Control::Kolo,    Control::PlayOff,      Control::Datum,
                             Control::Vreme,   Control::Grad,    Control::Hala,         Control::Gledalaca,
                             Control::Naziv,   Control::Extra,   Control::Domacin,      Control::Gost,
                             Control::Sudija1, Control::Sudija2, Control::Sudija3,      Control::Delegat,
                             Control::Statisticar1, Control::Statisticar2};
    QWidget *previous = nullptr;
    for (const Control c : order) {
        if (previous)
            setTabOrder(previous, control(c));
        previous = control(c);
    }
    setTabOrder(previous, btnEditStatists);
    setTabOrder(btnEditStatists, Potvrdi);
    setTabOrder(Potvrdi, Odustani);
}

bool TDataGame::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        for (const Control side : {Control::Domacin, Control::Gost}) {
            if (watched == control(side)) {
                definition_.RefreshClubList(side);
                fillList(side);
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TDataGame::PotvrdiClick()
{
    Potvrdi->setEnabled(false);
    const MatchDefinition::Outcome outcome = definition_.Confirm();
    Potvrdi->setEnabled(true);
    if (outcome.saved) {
        done(MatchDefinition::Confirmed);
        return;
    }
    if (outcome.focus) {
        QWidget *at = control(*outcome.focus);
        at->setFocus();
        if (auto *edit = qobject_cast<QLineEdit *>(at))
            edit->selectAll();
    }
}

void TDataGame::OdustaniClick() { done(MatchDefinition::Cancelled); }

void TDataGame::reject() { OdustaniClick(); }

void TDataGame::EditStatists()
{
    {
        TRefBrowser browser(BrowserKind::Statists, module_, this);
        browser.exec();
    }
    definition_.ReloadStatists();
    fillList(Control::Statisticar1);
    fillList(Control::Statisticar2);
}
