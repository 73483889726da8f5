#include "console/widgets/MatchConsole.h"

#include "common/AppPaths.h"
#include "common/MatchState.h"
#include "common/Messenger.h"
#include "console/widgets/EventsReviewWindow.h"
#include "console/widgets/BoxScoreGrid.h"
#include "console/widgets/Pickers.h"
#include "console/widgets/StatLineGrid.h"
#include "console/widgets/SecondsDialog.h"
#include "data/ActionCodes.h"
#include "data/BoxScore.h"
#include "data/StatLines.h"
#include "data/DataModule.h"

#include <QApplication>
#include <QButtonGroup>
#include <QRadioButton>
#include <QCheckBox>
#include <QCloseEvent>
#include <QColorDialog>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QTimer>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Shows `lines`, newest first, changing only the rows above the part that
// stayed the same: an entry adds one line at the top, and rebuilding a whole
// match's rows after every entry would take longer than the entry itself.
void showLines(QListWidget *list, const QStringList &lines)
{
    const int shown = list->count();
    int kept = 0;
    while (kept < shown && kept < lines.size() &&
           list->item(shown - 1 - kept)->text() == lines[lines.size() - 1 - kept])
        ++kept;
    for (int row = shown - kept - 1; row >= 0; --row)
        delete list->takeItem(row);
    list->insertItems(0, lines.mid(0, lines.size() - kept));
}

const QColor BonusNormal(201, 250, 126);
const QColor BonusReached(255, 164, 164);

void paint(QWidget *w, const QColor &background, const QColor &text)
{
    w->setStyleSheet(QStringLiteral("background-color: %1; color: %2").arg(background.name(), text.name()));
}

QColor contrastOf(const QColor &c) { return ColorFromValue(ColorValue(c) ^ 0xFFFFFF); }

// "HOME" or "AWAY" for a team event keyed without a side; 0 when closed.
int ChooseSide(QWidget *parent, const QString &caption)
{
    QDialog chooser(parent);
    chooser.setObjectName(QStringLiteral("TfrmNobodysOD"));
    chooser.setWindowTitle(caption);
    auto *row = new QHBoxLayout(&chooser);
    int chosen = 0;
    for (int side = 1; side <= 2; ++side) {
        auto *button = new QPushButton(side == 1 ? QStringLiteral("HOME") : QStringLiteral("AWAY"));
        button->setMinimumSize(120, 48);
        QObject::connect(button, &QPushButton::clicked, &chooser, [&chosen, &chooser, side] {
            chosen = side;
            chooser.accept();
        });
        row->addWidget(button);
    }
    chooser.exec();
    return chosen;
}

} // namespace

ConsoleDialogs &TheConsoleDialogs()
{
    static ConsoleDialogs dialogs;
    return dialogs;
}

QColor ColorFromValue(int value) { return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF); }

int ColorValue(const QColor &color) { return color.red() | (color.green() << 8) | (color.blue() << 16); }

ClickLabel::ClickLabel(const QString &text, QWidget *parent) : QLabel(text, parent)
{
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
}

void ClickLabel::mouseReleaseEvent(QMouseEvent *) { emit clicked(); }

EntryGrammar::Hooks TMatchFrm::grammarHooks()
{
    EntryGrammar::Hooks hooks;
    hooks.askSeconds = [this](bool confirm) {
        return answers_.seconds ? answers_.seconds(confirm) : TSecFrm::AskSeconds(confirm, this);
    };
    hooks.refreshCourt = [this] { refreshCourtPanels(); };
    return hooks;
}

TMatchFrm::TMatchFrm(QWidget *parent)
    : QDialog(parent), session_(*dm()), grammar_(session_, grammarHooks())
{
    session_.AskFoulType = [this] {
        return answers_.foulType ? answers_.foulType() : Pickers().foul ? Pickers().foul->Pick() : 1;
    };

    setWindowTitle(QStringLiteral("Quintara"));
    auto *layout = new QVBoxLayout(this);
    layout->setMenuBar(buildMenus());
    layout->addWidget(buildScoreBoard());
    auto *middle = new QHBoxLayout;
    middle->addWidget(buildEntryBoxes());
    middle->addWidget(buildCourt(), 1);
    auto *log = new QGroupBox(QStringLiteral("EVENTS LOG"));
    auto *logLayout = new QVBoxLayout(log);
    lbLog = new QListWidget;
    lbLog->setFont(QFont(QStringLiteral("Arial Narrow")));
    lbLog->setFocusPolicy(Qt::NoFocus);
    // One line a row: the list lays out a whole match's rows without measuring each.
    lbLog->setUniformItemSizes(true);
    logLayout->addWidget(lbLog, 3);
    connect(lbLog, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem *item) {
        session_.DeleteLoggedEvent(item->text());
        grammar_.Focus(EntryBox::Init);
        syncFromGrammar();
    });
    DBGrid1 = new QListWidget;
    DBGrid1->setFocusPolicy(Qt::NoFocus);
    DBGrid1->setUniformItemSizes(true);
    DBGrid1->setToolTip(QStringLiteral("MARK"));
    logLayout->addWidget(DBGrid1, 1);
    connect(DBGrid1, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem *item) {
        const int row = DBGrid1->row(item);
        if (row >= 0 && row < undoList_.size())
            session_.DeleteFromUndoList(undoList_, row);
        grammar_.Focus(EntryBox::Init);
        syncFromGrammar();
    });
    log->setMinimumWidth(260);
    middle->addWidget(log);
    layout->addLayout(middle, 1);
    statLines_ = std::make_unique<StatLines>(dm()->db());
    auto *views = new QTabWidget;
    views->setFocusPolicy(Qt::NoFocus);
    auto *boxPage = new QWidget;
    auto *grids = new QHBoxLayout(boxPage);
    auto *linesPage = new QWidget;
    auto *lineGrids = new QHBoxLayout(linesPage);
    for (int side = 1; side <= 2; ++side) {
        statLineGrids[size_t(side - 1)] = new StatLineGrid(side, *statLines_);
        lineGrids->addWidget(statLineGrids[size_t(side - 1)]);
    }
    for (int side = 1; side <= 2; ++side) {
        auto *group = new QGroupBox(side == 1 ? QStringLiteral("HOME STATISTICS") : QStringLiteral("AWAY STATISTICS"));
        auto *inner = new QVBoxLayout(group);
        auto *grid = new BoxScoreGrid(side);
        inner->addWidget(grid);
        boxScores[size_t(side - 1)] = grid;
        boxScoreCaptions[size_t(side - 1)] = group;
        grids->addWidget(group);
    }
    views->addTab(boxPage, QStringLiteral("Box score"));
    views->addTab(linesPage, QStringLiteral("Statistic lines"));
    layout->addWidget(views, 1);

    qApp->installEventFilter(this);
    // Every change of the match, whoever made it, reaches the displays here.
    connect(&session_, &MatchSession::matchChanged, this, &TMatchFrm::followMatch);

    // A fresh start for the working tables, and a server backup of the
    // database, written while the statistician starts work.
    session_.ResetWorkingTables();
    openingBackup_.Start(dm()->options().databaseLocation, dm()->dataFile(QStringLiteral("bkp_proba.gbk")),
                         dm()->db().credentials());
    auto *backupWatch = new QTimer(this);
    connect(backupWatch, &QTimer::timeout, this, [this, backupWatch] { reportOpeningBackup(backupWatch); });
    backupWatch->start(200);
    DisableEntry();
    lbQuarter->setText(QStringLiteral("1. Quarter"));
    lbQuarter2->setText(lbQuarter->text());
}

TMatchFrm::~TMatchFrm() { qApp->removeEventFilter(this); }

void TMatchFrm::reportOpeningBackup(QTimer *watch)
{
    const std::optional<QString> outcome = openingBackup_.TakeOutcome();
    if (!outcome)
        return;
    watch->stop();
    if (!outcome->isEmpty())
        ShowError(QStringLiteral("The backup of the database could not be written: %1").arg(*outcome));
}

QWidget *TMatchFrm::buildScoreBoard()
{
    auto *board = new QWidget;
    auto *row = new QHBoxLayout(board);
    QFont big = font();
    big.setPointSize(20);
    big.setBold(true);
    auto label = [&](const QString &text, const QFont &f) {
        auto *l = new QLabel(text);
        l->setFont(f);
        l->setAlignment(Qt::AlignCenter);
        return l;
    };
    lbHome = label(QStringLiteral("HOME"), big);
    lbResH1 = label(QStringLiteral("0"), big);
    lbResA1 = label(QStringLiteral("0"), big);
    lbAway = label(QStringLiteral("AWAY"), big);
    lbQuarter = label(QStringLiteral("1. Quarter"), font());
    EditMin = label(QStringLiteral("10"), big);
    EditMin->setToolTip(QStringLiteral("Clock minute"));
    panBonusH = label(TeamFoulTally::BonusText(0), font());
    panBonusA = label(TeamFoulTally::BonusText(0), font());
    paint(panBonusH, BonusNormal, Qt::black);
    paint(panBonusA, BonusNormal, Qt::black);
    row->addWidget(panBonusH);
    row->addWidget(lbHome, 1);
    row->addWidget(lbResH1);
    row->addWidget(label(QStringLiteral(":"), big));
    row->addWidget(lbResA1);
    row->addWidget(lbAway, 1);
    row->addWidget(panBonusA);
    auto *clock = new QVBoxLayout;
    clock->addWidget(EditMin);
    clock->addWidget(lbQuarter);
    row->addLayout(clock);
    auto *possession = new QVBoxLayout;
    for (int side = 1; side <= 2; ++side) {
        auto *l = new ClickLabel(side == 1 ? QStringLiteral("POSSESSION HOME") : QStringLiteral("POSSESSION  AWAY"));
        connect(l, &ClickLabel::clicked, this, [this, side] { session_.SetPossession(side); });
        possessionLabels[size_t(side - 1)] = l;
        possession->addWidget(l);
    }
    row->addLayout(possession);
    return board;
}

QWidget *TMatchFrm::buildEntryBoxes()
{
    auto *panel = new QGroupBox(QStringLiteral("Entry"));
    auto *grid = new QGridLayout(panel);
    auto box = [&](EntryBox which, int maxLength) {
        auto *edit = new QLineEdit;
        edit->setMaxLength(maxLength);
        edit->setFixedWidth(60);
        QFont f = edit->font();
        f.setPointSize(14);
        f.setBold(true);
        edit->setFont(f);
        boxes_[size_t(which)] = edit;
        connect(edit, &QLineEdit::textEdited, this, [this, which](const QString &text) {
            grammar_.edit(which, text);
        });
        return edit;
    };
    EditA0 = box(EntryBox::Init, 1);
    EditDA1 = box(EntryBox::HomePlayer, 3);
    EditDSifra = box(EntryBox::HomeCode, 3);
    EditDA3 = box(EntryBox::HomeParameter, 3);
    EditGA1 = box(EntryBox::AwayPlayer, 3);
    EditGSifra = box(EntryBox::AwayCode, 3);
    EditGA3 = box(EntryBox::AwayParameter, 3);

    grid->addWidget(new QLabel(QStringLiteral("Init:")), 0, 0);
    grid->addWidget(EditA0, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("HOME")), 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("AWAY")), 1, 2);
    const char *captions[] = {"No:", "Ev:", "Par:"};
    for (int i = 0; i < 3; ++i) {
        grid->addWidget(new QLabel(QString::fromLatin1(captions[i])), i + 2, 0);
        grid->addWidget(boxes_[size_t(1 + i)], i + 2, 1);
        grid->addWidget(boxes_[size_t(4 + i)], i + 2, 2);
    }
    for (size_t i = 0; i + 1 < boxes_.size(); ++i)
        setTabOrder(boxes_[i], boxes_[i + 1]);

    lbAtype = new QLabel;
    lbDtype = new QLabel;
    // The attack and defence types, also set by N S F and M Z.
    auto typeGroup = [this](const QString &title, const QStringList &items, QButtonGroup *&group,
                            void (MatchSession::*choose)(int)) {
        auto *box = new QGroupBox(title);
        auto *column = new QVBoxLayout(box);
        group = new QButtonGroup(box);
        for (int i = 0; i < items.size(); ++i) {
            auto *b = new QRadioButton(items[i]);
            b->setFocusPolicy(Qt::NoFocus);
            group->addButton(b, i);
            column->addWidget(b);
        }
        connect(group, &QButtonGroup::idClicked, this, [this, choose](int id) {
            (session_.*choose)(id);
            showTypes();
        });
        return box;
    };
    grid->addWidget(typeGroup(QStringLiteral("Attack Type"),
                              {QStringLiteral("NORMAL (N)"), QStringLiteral("SECOND (S)"),
                               QStringLiteral("FAST BREAK (F)")},
                              rgAType, &MatchSession::SetAttackType),
                    16, 0, 1, 3);
    grid->addWidget(typeGroup(QStringLiteral("Defense Type"),
                              {QStringLiteral("MAN TO MAN (M)"), QStringLiteral("ZONE (Z)")}, rgDType,
                              &MatchSession::SetDefenceType),
                    17, 0, 1, 3);
    lbQuarter2 = new QLabel;
    grid->addWidget(lbAtype, 5, 0, 1, 3);
    grid->addWidget(lbDtype, 6, 0, 1, 3);
    grid->addWidget(lbQuarter2, 7, 0, 1, 3);
    for (int side = 1; side <= 2; ++side) {
        auto *team = new QPushButton(side == 1 ? QStringLiteral("[F10] Team ...") : QStringLiteral("[F11] Team ..."));
        auto *starters = new QPushButton;
        for (QPushButton *b : {team, starters})
            b->setFocusPolicy(Qt::NoFocus);
        connect(team, &QPushButton::clicked, this, [this, side] { OpenRoster(side); });
        connect(starters, &QPushButton::clicked, this, [this, side] { OpenLineUp(side); });
        startersButtons[size_t(side - 1)] = starters;
        grid->addWidget(team, 8, side);
        grid->addWidget(starters, 9, side);
        auto *timeOut = new QPushButton(side == 1 ? QStringLiteral("Time Out (/)") : QStringLiteral("Time Out (*)"));
        auto *offence = new QPushButton(QStringLiteral("Offence"));
        auto *defence = new QPushButton(QStringLiteral("Defence"));
        for (QPushButton *b : {timeOut, offence, defence})
            b->setFocusPolicy(Qt::NoFocus);
        connect(timeOut, &QPushButton::clicked, this, [this, side] { TimeOut(side); });
        connect(offence, &QPushButton::clicked, this, [this, side] { TeamEvent(side, EvTeamOffence); });
        connect(defence, &QPushButton::clicked, this, [this, side] { TeamEvent(side, EvTeamDefence); });
        grid->addWidget(timeOut, 10, side);
        grid->addWidget(offence, 11, side);
        grid->addWidget(defence, 12, side);
    }
    auto *review = new QPushButton(QStringLiteral("EVENTS REVIEW"));
    review->setObjectName(QStringLiteral("btnEditDelete"));
    review->setFocusPolicy(Qt::NoFocus);
    connect(review, &QPushButton::clicked, this, &TMatchFrm::OpenEventsReview);
    grid->addWidget(review, 14, 0, 1, 3);
    btnUndo = new QPushButton(QStringLiteral("Undo (U)"));
    btnUndo->setFocusPolicy(Qt::NoFocus);
    btnUndo->hide();
    connect(btnUndo, &QPushButton::clicked, this, &TMatchFrm::Undo);
    grid->addWidget(btnUndo, 13, 0, 1, 3);
    grid->setRowStretch(15, 1);
    showTypes();
    return panel;
}

QWidget *TMatchFrm::buildCourt()
{
    auto *court = new QFrame;
    court->setObjectName(QStringLiteral("Court"));
    court->setStyleSheet(QStringLiteral("#Court { background-color: rgb(214, 160, 96); border: 2px solid white; }"
                                        "QLabel { color: black; }"));
    auto *grid = new QGridLayout(court);

    auto marker = [&](int side, int index, bool bench) {
        auto *m = new ClickLabel(bench ? QStringLiteral("99") : QStringLiteral("00"));
        m->setAlignment(Qt::AlignCenter);
        m->setFixedSize(bench ? 34 : 44, bench ? 34 : 44);
        QFont f = m->font();
        f.setBold(true);
        m->setFont(f);
        connect(m, &ClickLabel::clicked, this, [this, side, index, bench] {
            bench ? BenchMarkerClicked(side, index) : CourtMarkerClicked(side, index);
        });
        return m;
    };
    auto *homeCourtColumn = new QVBoxLayout;
    auto *awayCourtColumn = new QVBoxLayout;
    for (int i = 0; i < 5; ++i) {
        homeCourtColumn->addWidget(homeCourt[size_t(i)] = marker(1, i, false));
        awayCourtColumn->addWidget(awayCourt[size_t(i)] = marker(2, i, false));
    }
    auto *homeBenchRow = new QHBoxLayout;
    auto *awayBenchRow = new QHBoxLayout;
    for (int i = 0; i < 7; ++i) {
        homeBenchRow->addWidget(homeBench[size_t(i)] = marker(1, i, true));
        awayBenchRow->addWidget(awayBench[size_t(i)] = marker(2, i, true));
        homeBench[size_t(i)]->hide();
        awayBench[size_t(i)]->hide();
    }
    grid->addLayout(homeCourtColumn, 0, 0, 3, 1);
    grid->addLayout(awayCourtColumn, 0, 4, 3, 1);
    grid->addLayout(homeBenchRow, 4, 0, 1, 2);
    grid->addLayout(awayBenchRow, 4, 3, 1, 2);

    // The shot labels: MADE and Miss for one, two and three points, on each half.
    for (int half = 0; half < 2; ++half) {
        auto *shots = new QGridLayout;
        const char *kinds[] = {"MADE", "Miss"};
        for (int k = 0; k < 2; ++k) {
            auto *caption = new QLabel(QString::fromLatin1(kinds[k]));
            caption->setStyleSheet(QStringLiteral("font-weight: bold"));
            shots->addWidget(caption, k, 0);
            for (int points = 1; points <= 3; ++points) {
                auto *l = new ClickLabel(QStringLiteral(" %1 ").arg(points));
                l->setStyleSheet(QStringLiteral("background: white; font-weight: bold; font-size: 14pt"));
                const int code = EvMade1 + (points - 1) * 2 + k;
                connect(l, &ClickLabel::clicked, this, [this, code, l] {
                    ShotLabelClicked(code, l->mapTo(this, QPoint(0, 0)));
                });
                shots->addWidget(l, k, points);
            }
        }
        grid->addLayout(shots, 0, half == 0 ? 1 : 3);
    }

    auto *events = new QVBoxLayout;
    const std::pair<int, const char *> eventLabels[] = {
        {EvReboundDefence, "  REBOUND DEFENCE (10)  "}, {EvReboundOffence, "  REBOUND OFFENCE (11)  "},
        {EvAssist, "  ASSIST (12)  "},                  {EvSteal, "  STEAL BALL (13)  "},
        {EvTurnover, "  TURNOVER (14)  "},              {EvPersonalFoul, "  PERSONAL FAULT (15)  "},
        {EvTechnicalPlayer, "  TECHNICAL FAULT (16)  "}, {EvBlock, "  BLOCK (17)  "},
        {EvPlayerChange, "  CHANGE PLAYER (18)  "}};
    for (const auto &[code, caption] : eventLabels) {
        auto *l = new ClickLabel(QString::fromLatin1(caption));
        l->setStyleSheet(QStringLiteral("background: rgba(255, 255, 255, 160)"));
        const int c = code;
        connect(l, &ClickLabel::clicked, this, [this, c, l] { EventLabelClicked(c, l->mapTo(this, QPoint(0, 0))); });
        events->addWidget(l);
    }
    for (int side = 1; side <= 2; ++side) {
        auto *coach = new ClickLabel(QStringLiteral("TF to coach [ 19 ]"));
        coach->setToolTip(side == 1 ? QStringLiteral("HOME") : QStringLiteral("AWAY"));
        coach->setStyleSheet(QStringLiteral("background: rgba(255, 255, 255, 160)"));
        connect(coach, &ClickLabel::clicked, this, [this, side] { CoachTechnicalClicked(side); });
        events->addWidget(coach);
    }
    auto *time = new ClickLabel(QStringLiteral("TIME"));
    time->setToolTip(QStringLiteral("Minute Change , Start , End"));
    time->setAlignment(Qt::AlignCenter);
    time->setStyleSheet(QStringLiteral("background: black; color: yellow; font-size: 16pt; font-weight: bold"));
    connect(time, &ClickLabel::clicked, this, &TMatchFrm::TimePanelClicked);
    events->addWidget(time);
    grid->addLayout(events, 0, 2, 3, 1);
    grid->setColumnStretch(2, 1);
    return court;
}

QMenuBar *TMatchFrm::buildMenus()
{
    auto *bar = new QMenuBar;
    // Windows of a later version of the program.
    const auto later = [this](const QString &title) {
        return [this, title] { ShowInformation(QStringLiteral("%1 is not available in this version.").arg(title)); };
    };
    QMenu *file = bar->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("Match Definition"), this, &TMatchFrm::OpenDefinition);
    QMenu *teams = file->addMenu(QStringLiteral("Teams"));
    teams->addAction(QStringLiteral("Home"), this, [this] { OpenRoster(1); });
    teams->addAction(QStringLiteral("Away"), this, [this] { OpenRoster(2); });
    QMenu *actors = file->addMenu(QStringLiteral("Actors"));
    actors->addAction(QStringLiteral("Home"), this, [this] { OpenLineUp(1); });
    actors->addAction(QStringLiteral("Away"), this, [this] { OpenLineUp(2); });
    file->addSeparator();
    file->addAction(QStringLiteral("Exit"), this, &QWidget::close);
    QMenu *reports = bar->addMenu(QStringLiteral("&Reports"));
    reports->addAction(QStringLiteral("Basic Report"), this, later(QStringLiteral("Basic Report")));
    QMenu *edit = bar->addMenu(QStringLiteral("&Edit"));
    const std::pair<const char *, ReferenceList> lists[] = {
        {"Players", ReferenceList::Players},     {"Coaches", ReferenceList::Coaches},
        {"Referees", ReferenceList::Referees},   {"Delegates", ReferenceList::Delegates},
        {"Statists", ReferenceList::Statists}};
    for (const auto &[caption, list] : lists) {
        const ReferenceList which = list;
        edit->addAction(QString::fromLatin1(caption), this, [this, which] { OpenReferenceList(which); });
    }
    QMenu *view = bar->addMenu(QStringLiteral("&View"));
    view->addAction(QStringLiteral("Events"), QKeySequence(Qt::Key_F2), this, &TMatchFrm::showLegend);
    view->addAction(QStringLiteral("Large Scoreboard"), this, later(QStringLiteral("Large Scoreboard")));
    view->addAction(QStringLiteral("Saved Quarters"), this, later(QStringLiteral("Saved Quarters")));
    QMenu *colors = view->addMenu(QStringLiteral("Colors"));
    for (int side = 1; side <= 2; ++side)
        colors->addAction(side == 1 ? QStringLiteral("Home") : QStringLiteral("Away"), this, [this, side] {
            const QColor chosen = QColorDialog::getColor(ColorFromValue(side == 1 ? session_.HomeColor()
                                                                                  : session_.AwayColor()),
                                                         this);
            if (chosen.isValid())
                setSideColor(side, chosen);
        });
    for (int side = 1; side <= 2; ++side) {
        QAction *toggle = view->addAction(side == 1 ? QStringLiteral("Font Color White HOME")
                                                    : QStringLiteral("Font Color White AWAY"));
        toggle->setCheckable(true);
        connect(toggle, &QAction::toggled, this, [this, side](bool white) {
            whiteText_[size_t(side - 1)] = white;
            ApplyTeamColors();
        });
    }
    return bar;
}

QLineEdit *TMatchFrm::entryBox(EntryBox box) const { return boxes_[size_t(box)]; }

EntryBox TMatchFrm::boxOf(QObject *widget) const
{
    for (size_t i = 0; i < boxes_.size(); ++i)
        if (boxes_[i] == widget)
            return EntryBox(i);
    return EntryBox::Init;
}

bool TMatchFrm::OpenExistingMatch(int matchId)
{
    if (!session_.OpenExistingMatch(matchId))
        return false;
    showNames();
    if (session_.BothSidesOnCourt())
        EnableEntry();
    ApplyTeamColors();
    RefreshConsoleData();
    return true;
}

bool TMatchFrm::OpenNewMatch(int matchId)
{
    if (!session_.OpenNewMatch(matchId))
        return false;
    showNames();
    ApplyTeamColors();
    return true;
}

void TMatchFrm::RefreshConsoleData()
{
    const MatchClock clock = session_.Clock();
    EditMin->setText(QString::number(clock.minute));
    lbQuarter->setText(session_.PeriodText());
    lbQuarter2->setText(lbQuarter->text());
}

void TMatchFrm::EnableEntry()
{
    for (QLineEdit *b : boxes_)
        b->setEnabled(true);
    grammar_.Focus(EntryBox::Init);
    syncFromGrammar();
}

void TMatchFrm::DisableEntry()
{
    for (QLineEdit *b : boxes_)
        b->setEnabled(false);
}

void TMatchFrm::ApplyTeamColors()
{
    setSideColor(1, ColorFromValue(session_.HomeColor()));
    setSideColor(2, ColorFromValue(session_.AwayColor()));
}

void TMatchFrm::setSideColor(int side, const QColor &color)
{
    // Text in the inverted colour stays readable on any team colour, unless
    // the statistician chose white or black text.
    const auto &white = whiteText_[size_t(side - 1)];
    const QColor text = white ? (*white ? QColor(Qt::white) : QColor(Qt::black)) : contrastOf(color);
    const bool home = side == 1;
    for (QLineEdit *b : home ? std::array{EditDA1, EditDSifra, EditDA3} : std::array{EditGA1, EditGSifra, EditGA3})
        paint(b, color, text);
    for (ClickLabel *m : home ? homeCourt : awayCourt)
        paint(m, color, text);
    for (ClickLabel *m : home ? homeBench : awayBench)
        paint(m, color, text);
    boxScores[home ? 0 : 1]->setTeamColor(color, text);
    session_.SetTeamColor(side, ColorValue(color));
}

void TMatchFrm::ShowScore()
{
    const MatchScore score = session_.Score();
    lbResH1->setText(QString::number(score.home));
    lbResA1->setText(QString::number(score.away));
}

void TMatchFrm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    ShowMatch();
}

void TMatchFrm::showNames()
{
    setWindowTitle(session_.MatchName());
    lbHome->setText(session_.HomeName());
    lbAway->setText(session_.AwayName());
    boxScoreCaptions[0]->setTitle(QStringLiteral("HOME STATISTICS ") + session_.HomeName());
    boxScoreCaptions[1]->setTitle(QStringLiteral("AWAY STATISTICS ") + session_.AwayName());
}

void TMatchFrm::followMatch(MatchChanges what)
{
    if (what & MatchChange::Details) {
        showNames();
        ShowPossession();
    }
    if (what & MatchChange::Colours)
        ApplyTeamColors();
    if (!(what & ~MatchChanges(MatchChange::Details | MatchChange::Colours)))
        return;
    refreshCourtPanels();
    RefreshConsoleData();
    showBonus();
    showTypes();
    RefreshBoxScore();
    UpdateStartersCaptions();
    showEventLog();
}

void TMatchFrm::ShowMatch()
{
    session_.ResetShowingState();
    refreshCourtPanels();
    if (!session_.StartersDefined(1))
        ShowError(QStringLiteral("Home Team Starters are not defined!"));
    if (!session_.StartersDefined(2))
        ShowError(QStringLiteral("Away Team Starters are not defined!"));
    session_.MarkStarters(1);
    session_.MarkStarters(2);
    for (BoxScoreGrid *grid : boxScores)
        grid->actorsOnly->setChecked(true);
    session_.Changed(MatchChange::EventsWithdrawn | MatchChange::Roster | MatchChange::Details);
    syncFromGrammar();
}

void TMatchFrm::showEventLog()
{
    showLines(lbLog, session_.EventLogLines());
    lbLog->setCurrentRow(0);
    // Showing or hiding the button lays the window out again: only on a change.
    if (btnUndo->isVisibleTo(this) != session_.UndoOffered())
        btnUndo->setVisible(session_.UndoOffered());
    undoList_ = session_.UndoList();
    QStringList inForce;
    for (const auto &row : undoList_)
        inForce << row.display;
    showLines(DBGrid1, inForce);
}

void TMatchFrm::UpdateStartersCaptions()
{
    const QString what = session_.MatchStarted() ? QStringLiteral("Line up ...") : QStringLiteral("Starters ...");
    startersButtons[0]->setText(QStringLiteral("[F8] ") + what);
    startersButtons[1]->setText(QStringLiteral("[F9] ") + what);
}

void TMatchFrm::OpenRoster(int side)
{
    if (!TheConsoleDialogs().roster)
        return;
    TheConsoleDialogs().roster(*this, side);
    session_.Journal().AppendRosterChanges();
    session_.ReloadRoster();
    session_.Changed(MatchChange::Roster);
    dm()->SaveAllDataSets();
    dm()->BackupDatabaseFile();
    grammar_.Focus(EntryBox::Init);
    syncFromGrammar();
}

void TMatchFrm::OpenLineUp(int side)
{
    if (!TheConsoleDialogs().lineUp)
        return;
    TheConsoleDialogs().lineUp(*this, side);
    refreshCourtPanels();
    // Before the start the five on court are the starters.
    if (!session_.MatchStarted())
        session_.MarkStarters(side);
    session_.Changed(MatchChange::Roster);
    dm()->SaveAllDataSets();
    dm()->BackupDatabaseFile();
    grammar_.Focus(EntryBox::Init);
    syncFromGrammar();
}

void TMatchFrm::OpenReferenceList(ReferenceList list)
{
    if (!TheConsoleDialogs().browser)
        return;
    dm()->OpenAllTables();
    TheConsoleDialogs().browser(*this, list);
    dm()->SaveAllDataSets();
    dm()->BackupDatabaseFile();
    session_.ReloadRoster(); // names may have changed
    session_.Changed(MatchChange::Roster);
}

void TMatchFrm::OpenDefinition()
{
    if (!TheConsoleDialogs().definition || !TheConsoleDialogs().definition(*this))
        return;
    dm()->SaveAllDataSets();
    dm()->BackupDatabaseFile();
    session_.ReloadMatchRow();
}

void TMatchFrm::closeEvent(QCloseEvent *event)
{
    if (!AskConfirmation(QStringLiteral("Stop working with match ?"))) {
        event->ignore();
        return;
    }
    session_.Close(session_.Clock().Ended());
    closing_ = true;
    QDialog::closeEvent(event);
}

void TMatchFrm::reject()
{
    // Esc and the window's close button end the match work only after the question.
    if (closing_)
        QDialog::reject();
    else
        close();
}

void TMatchFrm::syncFromGrammar()
{
    for (size_t i = 0; i < boxes_.size(); ++i) {
        const QString text = grammar_.text(EntryBox(i));
        if (boxes_[i]->text() != text)
            boxes_[i]->setText(text);
    }
    QLineEdit *focused = entryBox(grammar_.focus());
    if (focused->isEnabled()) {
        focused->setFocus();
        if (grammar_.selected())
            focused->selectAll();
    }
}

int TMatchFrm::sideOfInit() const { return grammar_.text(EntryBox::Init) == QLatin1String("2") ? 2 : 1; }

void TMatchFrm::pressEnter(EntryBox box, const QString &text)
{
    grammar_.Focus(box);
    grammar_.edit(box, text);
    grammar_.Enter();
    syncFromGrammar();
}

void TMatchFrm::RefreshBoxScore()
{
    BusyCursor busy;
    const BoxScoreSet box = session_.BoxScore();
    boxScores[0]->show(box.home);
    boxScores[1]->show(box.away);
    for (StatLineGrid *grid : statLineGrids)
        grid->refreshWhenShown();
    ShowScore();
}

void TMatchFrm::refreshCourtPanels()
{
    const MatchSession::CourtPanels panels = session_.RefreshCourtPanels();
    for (int s = 0; s < 2; ++s) {
        auto &court = s == 0 ? homeCourt : awayCourt;
        auto &bench = s == 0 ? homeBench : awayBench;
        for (int i = 0; i < 5; ++i)
            court[size_t(i)]->setText(i < panels.court[s].size() ? QString::number(panels.court[s][i])
                                                                 : QStringLiteral("?"));
        for (int i = 0; i < 7; ++i) {
            const bool used = i < panels.bench[s].size();
            bench[size_t(i)]->setVisible(used);
            if (used)
                bench[size_t(i)]->setText(QString::number(panels.bench[s][i]));
        }
    }
}

void TMatchFrm::showBonus()
{
    for (int side = 1; side <= 2; ++side) {
        QLabel *panel = side == 1 ? panBonusH : panBonusA;
        panel->setText(TeamFoulTally::BonusText(session_.TeamFouls(side)));
        paint(panel, session_.InBonus(side) ? BonusReached : BonusNormal, Qt::black);
    }
}

void TMatchFrm::showTypes()
{
    const int attack = session_.AttackType;
    lbAtype->setText(attack == 1   ? QStringLiteral("SECOND ATTACK")
                     : attack == 2 ? QStringLiteral("FAST BREAK")
                                   : QStringLiteral("NORMAL ATTACK"));
    lbDtype->setText(session_.DefenceType == 1 ? QStringLiteral("ZONE DEFENSE")
                                               : QStringLiteral("MAN TO MAN DEFENSE"));
    if (rgAType && rgDType) {
        rgAType->button(attack)->setChecked(true);
        rgDType->button(session_.DefenceType)->setChecked(true);
    }
}

void TMatchFrm::showLegend()
{
    if (!legend_)
        legend_ = new TEventLegendFrm(this);
    QWidget *focused = QApplication::focusWidget();
    legend_->show();
    legend_->adjustSize();
    legend_->move(frameGeometry().right() - legend_->frameGeometry().width(), frameGeometry().top() + 20);
    if (focused)
        focused->activateWindow(), focused->setFocus();
}

void TMatchFrm::ShotLabelClicked(int code, const QPoint &where)
{
    const int side = sideOfInit();
    const EntryBox codeBox = side == 2 ? EntryBox::AwayCode : EntryBox::HomeCode;
    if (grammar_.focus() != codeBox)
        return;
    pressEnter(codeBox, QString::number(code));
    const bool needsZone = code != EvMade1 && code != EvMiss1;
    if (!needsZone)
        return;
    if (grammar_.EntryRefused) {
        grammar_.EntryRefused = false;
        return;
    }
    const int zone = Pickers().zone ? Pickers().zone->Pick(mapToGlobal(where + QPoint(209, 30))) : 0;
    if (zone > 0)
        pressEnter(side == 2 ? EntryBox::AwayParameter : EntryBox::HomeParameter, QString::number(zone));
}

void TMatchFrm::EventLabelClicked(int code, const QPoint &where)
{
    const int side = sideOfInit();
    const EntryBox codeBox = side == 2 ? EntryBox::AwayCode : EntryBox::HomeCode;
    if (grammar_.focus() != codeBox)
        return;
    pressEnter(codeBox, QString::number(code));
    if (code == EvTurnover && grammar_.focus() != codeBox) {
        const int type = Pickers().turnover ? Pickers().turnover->Pick(mapToGlobal(where + QPoint(209, 30))) : 0;
        if (type > 0)
            pressEnter(side == 2 ? EntryBox::AwayParameter : EntryBox::HomeParameter, QString::number(type));
    }
}

void TMatchFrm::CourtMarkerClicked(int side, int index)
{
    const QString number = (side == 1 ? homeCourt : awayCourt)[size_t(index)]->text();
    // A marker of the other side names the opponent of a foul or block.
    const EntryBox otherParameter = side == 1 ? EntryBox::AwayParameter : EntryBox::HomeParameter;
    if (grammar_.focus() == otherParameter) {
        pressEnter(otherParameter, number);
        return;
    }
    pressEnter(EntryBox::Init, QString::number(side));
    const EntryBox player = side == 1 ? EntryBox::HomePlayer : EntryBox::AwayPlayer;
    grammar_.Focus(player);
    if (number != QLatin1String("?"))
        grammar_.edit(player, number);
    grammar_.Enter();
    syncFromGrammar();
}

void TMatchFrm::BenchMarkerClicked(int side, int index)
{
    const QString number = (side == 1 ? homeBench : awayBench)[size_t(index)]->text();
    EventLabelClicked(EvPlayerChange, QPoint());
    const EntryBox parameter = side == 1 ? EntryBox::HomeParameter : EntryBox::AwayParameter;
    if (grammar_.focus() == parameter) {
        grammar_.edit(side == 1 ? EntryBox::HomeCode : EntryBox::AwayCode, QString::number(EvPlayerChange));
        pressEnter(parameter, number);
    }
}

void TMatchFrm::ShowPossession()
{
    const int side = session_.Possession();
    for (int s = 1; s <= 2; ++s) {
        QLabel *l = possessionLabels[size_t(s - 1)];
        const bool hasBall = s == side;
        l->setText((hasBall ? QStringLiteral("\u25CF ") : QString()) +
                   (s == 1 ? QStringLiteral("POSSESSION HOME") : QStringLiteral("POSSESSION  AWAY")));
        l->setStyleSheet(hasBall ? QStringLiteral("font-weight: bold; color: darkred") : QString());
    }
}

void TMatchFrm::OpenEventsReview()
{
    TAllActionsViewfrm review(dm()->db(), session_.MatchId(), this);
    review.review().Journal = &session_.Journal();
    connect(&review, &TAllActionsViewfrm::recordsChanged, this,
            [this] { session_.Changed(MatchChange::EventsWithdrawn); });
    review.ApplyFilter();
    review.exec();
    AfterEventsReview(review.review().RecordsChanged());
}

void TMatchFrm::AfterEventsReview(bool recordsChanged)
{
    if (recordsChanged)
        dm()->RequestSafetyCopy();
    ShowMatch();
}

void TMatchFrm::Undo()
{
    session_.Undo();
    grammar_.Focus(EntryBox::Init);
    syncFromGrammar();
}

void TMatchFrm::TimeOut(int side)
{
    grammar_.TimeOut(side);
    syncFromGrammar();
}

void TMatchFrm::TeamEvent(int side, int code)
{
    if (side < 1)
        return;
    grammar_.TeamEvent(side, code);
    syncFromGrammar();
}

void TMatchFrm::CoachTechnicalClicked(int side)
{
    // A technical foul to the coach is keyed with any player of the side on court.
    const auto &court = side == 1 ? homeCourt : awayCourt;
    pressEnter(EntryBox::Init, QString::number(side));
    pressEnter(side == 1 ? EntryBox::HomePlayer : EntryBox::AwayPlayer, court[0]->text());
    pressEnter(side == 1 ? EntryBox::HomeCode : EntryBox::AwayCode, QString::number(EvTechnicalCoach));
}

void TMatchFrm::TimePanelClicked()
{
    grammar_.Focus(EntryBox::Init);
    grammar_.MinuteChange();
    syncFromGrammar();
}

bool TMatchFrm::formKey(QKeyEvent *key)
{
    switch (key->key()) {
    case Qt::Key_F2:
        showLegend();
        return true;
    case Qt::Key_F3: TeamEvent(ChooseSide(this, QStringLiteral("TEAM OFFENCE")), EvTeamOffence); return true;
    case Qt::Key_F4: TeamEvent(ChooseSide(this, QStringLiteral("TEAM DEFENCE")), EvTeamDefence); return true;
    case Qt::Key_F5: TeamEvent(ChooseSide(this, QStringLiteral("TEAM TURNOVER")), EvTeamTurnover); return true;
    case Qt::Key_F6: TeamEvent(1, EvJumpBall); return true;
    case Qt::Key_F7: TeamEvent(2, EvJumpBall); return true;
    case Qt::Key_U:
        if (btnUndo->isVisible())
            Undo();
        return true;
    case Qt::Key_Slash: TimeOut(1); return true;
    case Qt::Key_Asterisk: TimeOut(2); return true;
    case Qt::Key_F8: OpenLineUp(1); return true;
    case Qt::Key_F9: OpenLineUp(2); return true;
    case Qt::Key_F10: OpenRoster(1); return true;
    case Qt::Key_F11: OpenRoster(2); return true;
    case Qt::Key_F12: OpenDefinition(); return true;
    case Qt::Key_N: session_.SetAttackType(0); break;
    case Qt::Key_S: session_.SetAttackType(1); break;
    case Qt::Key_F: session_.SetAttackType(2); break;
    case Qt::Key_M: session_.SetDefenceType(0); break;
    case Qt::Key_Z: session_.SetDefenceType(1); break;
    case Qt::Key_H:
    case Qt::Key_A:
        session_.SetPossession(key->key() == Qt::Key_H ? 1 : 2);
        return true;
    default:
        return false;
    }
    showTypes();
    return true;
}

bool TMatchFrm::eventFilter(QObject *watched, QEvent *event)
{
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || (widget != this && !isAncestorOf(widget)) || !isVisible())
        return QDialog::eventFilter(watched, event);

    if (event->type() == QEvent::FocusIn) {
        const auto it = std::find(boxes_.begin(), boxes_.end(), widget);
        if (it != boxes_.end() && grammar_.focus() != boxOf(widget)) {
            grammar_.Focus(boxOf(widget));
            syncFromGrammar();
        }
        return false;
    }
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return QDialog::eventFilter(watched, event);

    auto *key = static_cast<QKeyEvent *>(event);
    const bool isBox = std::find(boxes_.begin(), boxes_.end(), widget) != boxes_.end();
    if (event->type() == QEvent::KeyRelease) {
        if (isBox && boxOf(widget) == EntryBox::Init) {
            const bool digit = key->key() >= Qt::Key_0 && key->key() <= Qt::Key_9;
            grammar_.KeyReleased(digit ? key->key() - Qt::Key_0 : -1);
            syncFromGrammar();
        }
        return false;
    }
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return false;
    const bool keypad = key->modifiers() & Qt::KeypadModifier;
    if (formKey(key))
        return true;
    if (!isBox)
        return false;
    const EntryBox box = boxOf(widget);
    if (box == EntryBox::HomeCode || box == EntryBox::AwayCode)
        grammar_.CodeKeyPressed();
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        grammar_.Enter();
        break;
    case Qt::Key_Up:
        grammar_.Up();
        break;
    case Qt::Key_Down:
        grammar_.Down();
        break;
    case Qt::Key_Plus:
        if (!keypad)
            return false;
        grammar_.NumPlus();
        break;
    default:
        return false;
    }
    syncFromGrammar();
    return true;
}
