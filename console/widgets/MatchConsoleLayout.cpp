// The console window's layout: score board, entry boxes, court picture and menus.
#include "console/widgets/MatchConsole.h"
#include "console/widgets/ConsoleColours.h"

#include "common/AppPaths.h"
#include "common/MatchState.h"
#include "common/Messenger.h"
#include "console/widgets/EventsReviewWindow.h"
#include "console/SideStatsModel.h"
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

QWidget *TMatchFrm::buildScoreBoard()
{
    auto *board = new QWidget;
    auto *row = new QHBoxLayout(board);
    row->setContentsMargins(0, 0, 0, 0);
    QFont big = font();
    big.setPointSize(18);
    big.setBold(true);
    auto label = [&](const QString &text, const QFont &f) {
        auto *l = new QLabel(text);
        l->setFont(f);
        l->setAlignment(Qt::AlignCenter);
        return l;
    };
    lbHome = label(QStringLiteral("HOME"), big);
    homeScore = label(QStringLiteral("0"), big);
    awayScore = label(QStringLiteral("0"), big);
    lbAway = label(QStringLiteral("AWAY"), big);
    lbQuarter = label(QStringLiteral("1. Quarter"), font());
    clockMinute = label(QString(), big);
    clockMinute->setToolTip(QStringLiteral("Period and clock minute"));
    clockMinute->setMinimumWidth(QFontMetrics(big).horizontalAdvance(QStringLiteral("OT2 \u00B7 10'")) + 12);
    panBonusH = label(TeamFoulTally::BonusText(0), font());
    panBonusA = label(TeamFoulTally::BonusText(0), font());
    // A team's fouls under its bonus caption, in figures read from a metre.
    auto bonusPanel = [&](QLabel *caption, int side) {
        QFont huge = big;
        huge.setPointSize(22);
        auto *count = label(QStringLiteral("0"), huge);
        teamFoulCounts[size_t(side - 1)] = count;
        auto *panel = new QVBoxLayout;
        panel->setSpacing(0);
        panel->addWidget(caption);
        panel->addWidget(count);
        for (QLabel *l : {caption, count})
            paint(l, BonusNormal, Qt::black);
        return panel;
    };
    // The team's name with its time-outs left beneath.
    auto team = [&](QLabel *name, int side) {
        auto *column = new QVBoxLayout;
        column->setSpacing(0);
        column->addWidget(name);
        auto *timeOuts = label(QString(), font());
        timeOuts->setToolTip(QStringLiteral("Time-outs left in this half"));
        timeOutsLeft[size_t(side - 1)] = timeOuts;
        column->addWidget(timeOuts);
        return column;
    };
    row->addLayout(bonusPanel(panBonusH, 1));
    row->addLayout(team(lbHome, 1), 1);
    row->addWidget(homeScore);
    row->addWidget(label(QStringLiteral(":"), big));
    row->addWidget(awayScore);
    row->addLayout(team(lbAway, 2), 1);
    row->addLayout(bonusPanel(panBonusA, 2));
    auto *clock = new QVBoxLayout;
    clock->setSpacing(0);
    clock->addWidget(clockMinute);
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
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setVerticalSpacing(3);
    auto box = [&](EntryBox which, int maxLength) {
        auto *edit = new QLineEdit;
        edit->setMaxLength(maxLength);
        edit->setFixedWidth(60);
        QFont f = edit->font();
        f.setPointSize(14);
        f.setBold(true);
        edit->setFont(f);
        // The old control names live on as object names.
        static const char *const names[] = {"EditA0",  "EditDA1", "EditDSifra", "EditDA3",
                                            "EditGA1", "EditGSifra", "EditGA3"};
        edit->setObjectName(QLatin1String(names[size_t(which)]));
        boxes_[size_t(which)] = edit;
        connect(edit, &QLineEdit::textEdited, this, [this, which](const QString &text) {
            grammar_.edit(which, text);
        });
        return edit;
    };
    box(EntryBox::Init, 1);
    for (EntryBox b : {EntryBox::HomePlayer, EntryBox::HomeCode, EntryBox::HomeParameter, EntryBox::AwayPlayer,
                       EntryBox::AwayCode, EntryBox::AwayParameter})
        box(b, 3);

    // The boxes on the left, the buttons of each side beside them.
    grid->addWidget(new QLabel(QStringLiteral("Init:")), 0, 0);
    grid->addWidget(entryBox(EntryBox::Init), 0, 1);
    lbQuarter2 = new QLabel;
    grid->addWidget(lbQuarter2, 0, 2);
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

    auto *buttons = new QGridLayout;
    buttons->setVerticalSpacing(2);
    auto *review = new QPushButton(QStringLiteral("EVENTS REVIEW"));
    review->setObjectName(QStringLiteral("btnEditDelete"));
    review->setFocusPolicy(Qt::NoFocus);
    connect(review, &QPushButton::clicked, this, &TMatchFrm::OpenEventsReview);
    buttons->addWidget(review, 0, 0, 1, 2);
    auto *scoreboard = new QPushButton(QStringLiteral("Large Scoreboard"));
    scoreboard->setObjectName(QStringLiteral("btnLargeScoreboard"));
    scoreboard->setFocusPolicy(Qt::NoFocus);
    connect(scoreboard, &QPushButton::clicked, this, &TMatchFrm::OpenLargeScoreboard);
    for (int side = 1; side <= 2; ++side) {
        auto *team = new QPushButton(side == 1 ? QStringLiteral("[F10] Team ...") : QStringLiteral("[F11] Team ..."));
        auto *starters = new QPushButton;
        auto *timeOut = new QPushButton(side == 1 ? QStringLiteral("Time Out (/)") : QStringLiteral("Time Out (*)"));
        auto *offence = new QPushButton(QStringLiteral("Offence"));
        auto *defence = new QPushButton(QStringLiteral("Defence"));
        for (QPushButton *b : {team, starters, timeOut, offence, defence})
            b->setFocusPolicy(Qt::NoFocus);
        connect(team, &QPushButton::clicked, this, [this, side] { OpenRoster(side); });
        connect(starters, &QPushButton::clicked, this, [this, side] { OpenLineUp(side); });
        connect(timeOut, &QPushButton::clicked, this, [this, side] { TimeOut(side); });
        connect(offence, &QPushButton::clicked, this, [this, side] { TeamEvent(side, EvTeamOffence); });
        connect(defence, &QPushButton::clicked, this, [this, side] { TeamEvent(side, EvTeamDefence); });
        startersButtons[size_t(side - 1)] = starters;
        int row = 1;
        for (QPushButton *b : {team, starters, timeOut, offence, defence})
            buttons->addWidget(b, row++, side - 1);
    }
    btnUndo = new QPushButton(QStringLiteral("Undo (U)"));
    btnUndo->setFocusPolicy(Qt::NoFocus);
    btnUndo->hide();
    connect(btnUndo, &QPushButton::clicked, this, &TMatchFrm::Undo);
    buttons->addWidget(btnUndo, 6, 0, 1, 2);
    buttons->addWidget(scoreboard, 7, 0, 1, 2);
    buttons->setRowStretch(8, 1);
    grid->addLayout(buttons, 0, 3, 7, 1);

    lbAtype = new QLabel;
    lbDtype = new QLabel;
    // The attack and defence types, also set by N S F and M Z: each a row
    // of choices beside its text.
    auto typeRow = [this](QLabel *text, const QStringList &keys, const QStringList &names, QButtonGroup *&group,
                          void (MatchSession::*choose)(int)) {
        auto *row = new QHBoxLayout;
        text->setMinimumWidth(text->fontMetrics().horizontalAdvance(QStringLiteral("MAN TO MAN DEFENSE")) + 8);
        row->addWidget(text);
        group = new QButtonGroup(this);
        for (int i = 0; i < keys.size(); ++i) {
            // The key that chooses it, the name in the text beside and as a tip.
            auto *b = new QRadioButton(keys[i]);
            b->setToolTip(names[i]);
            b->setFocusPolicy(Qt::NoFocus);
            group->addButton(b, i);
            row->addWidget(b);
        }
        row->addStretch();
        connect(group, &QButtonGroup::idClicked, this, [this, choose](int id) {
            (session_.*choose)(id);
            showTypes();
        });
        return row;
    };
    grid->addLayout(typeRow(lbAtype, {QStringLiteral("N"), QStringLiteral("S"), QStringLiteral("F")},
                            {QStringLiteral("NORMAL ATTACK"), QStringLiteral("SECOND ATTACK"),
                             QStringLiteral("FAST BREAK")},
                            rgAType, &MatchSession::SetAttackType),
                    7, 0, 1, 4);
    grid->addLayout(typeRow(lbDtype, {QStringLiteral("M"), QStringLiteral("Z")},
                            {QStringLiteral("MAN TO MAN DEFENSE"), QStringLiteral("ZONE DEFENSE")}, rgDType,
                            &MatchSession::SetDefenceType),
                    8, 0, 1, 4);
    grid->setRowStretch(6, 1);
    showTypes();
    return panel;
}

QWidget *TMatchFrm::buildCourt()
{
    auto *court = new QFrame;
    court->setObjectName(QStringLiteral("Court"));
    court->setStyleSheet(QStringLiteral("#Court { background-color: rgb(214, 160, 96); border: 2px solid white; }"
                                        "QLabel { color: black; }"
                                        "QLabel[fouledOut=\"true\"] { border: 3px solid rgb(220, 0, 0); }"));
    auto *grid = new QGridLayout(court);
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setVerticalSpacing(4);

    auto marker = [&](int side, int index, bool bench) {
        auto *m = new ClickLabel(bench ? QStringLiteral("99") : QStringLiteral("00"));
        m->setAlignment(Qt::AlignCenter);
        const int size = bench ? 30 : 40;
        m->setFixedSize(size, size);
        QFont f = m->font();
        f.setBold(true);
        m->setFont(f);
        connect(m, &ClickLabel::clicked, this, [this, side, index, bench] {
            bench ? BenchMarkerClicked(side, index) : CourtMarkerClicked(side, index);
        });
        if (!bench) {
            // The player's personal fouls in the marker's corner.
            auto *fouls = new QLabel(m);
            fouls->setAlignment(Qt::AlignCenter);
            fouls->setGeometry(size - 15, size - 15, 15, 15);
            fouls->setStyleSheet(QStringLiteral("QLabel { background: white; color: black; font-size: 8pt; "
                                                "border: 1px solid black; }"
                                                "QLabel[fouledOut=\"true\"] { background: rgb(220, 0, 0); "
                                                "color: white; border-color: rgb(220, 0, 0); font-weight: bold; }"));
            fouls->hide();
            (side == 1 ? homeCourtFouls : awayCourtFouls)[size_t(index)] = fouls;
        }
        return m;
    };
    auto *homeCourtColumn = new QVBoxLayout;
    auto *awayCourtColumn = new QVBoxLayout;
    homeCourtColumn->setSpacing(4);
    awayCourtColumn->setSpacing(4);
    for (int i = 0; i < 5; ++i) {
        homeCourtColumn->addWidget(homeCourt[size_t(i)] = marker(1, i, false));
        awayCourtColumn->addWidget(awayCourt[size_t(i)] = marker(2, i, false));
    }
    auto *homeBenchRow = new QHBoxLayout;
    auto *awayBenchRow = new QHBoxLayout;
    homeBenchRow->setSpacing(3);
    awayBenchRow->setSpacing(3);
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
                l->setStyleSheet(QStringLiteral("background: white; font-weight: bold; font-size: 12pt"));
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
        {EvReboundDefence, "REBOUND DEFENCE (10)"}, {EvReboundOffence, "REBOUND OFFENCE (11)"},
        {EvAssist, "ASSIST (12)"},                  {EvSteal, "STEAL BALL (13)"},
        {EvTurnover, "TURNOVER (14)"},              {EvPersonalFoul, "PERSONAL FAULT (15)"},
        {EvTechnicalPlayer, "TECHNICAL FAULT (16)"}, {EvBlock, "BLOCK (17)"},
        {EvPlayerChange, "CHANGE PLAYER (18)"}};
    const QString eventLabelStyle = QStringLiteral("background: rgba(255, 255, 255, 160); padding: 0px 4px");
    for (const auto &[code, caption] : eventLabels) {
        auto *l = new ClickLabel(QString::fromLatin1(caption));
        l->setStyleSheet(eventLabelStyle);
        const int c = code;
        connect(l, &ClickLabel::clicked, this, [this, c, l] { EventLabelClicked(c, l->mapTo(this, QPoint(0, 0))); });
        events->addWidget(l);
    }
    for (int side = 1; side <= 2; ++side) {
        auto *coach = new ClickLabel(QStringLiteral("TF to coach [ 19 ]"));
        coach->setToolTip(side == 1 ? QStringLiteral("HOME") : QStringLiteral("AWAY"));
        coach->setStyleSheet(eventLabelStyle);
        connect(coach, &ClickLabel::clicked, this, [this, side] { CoachTechnicalClicked(side); });
        events->addWidget(coach);
    }
    auto *time = new ClickLabel(QStringLiteral("TIME"));
    time->setObjectName(QStringLiteral("TimePanel"));
    time->setToolTip(QStringLiteral("Minute Change , Start , End"));
    time->setAlignment(Qt::AlignCenter);
    time->setStyleSheet(QStringLiteral("background: black; color: yellow; font-size: 16pt; font-weight: bold"));
    connect(time, &ClickLabel::clicked, this, &TMatchFrm::TimePanelClicked);
    events->addWidget(time);
    grid->addLayout(events, 0, 2, 3, 1);
    grid->setColumnStretch(2, 1);
    return court;
}

QWidget *TMatchFrm::buildEventLog()
{
    auto *log = new QGroupBox(QStringLiteral("EVENTS LOG"));
    auto *logLayout = new QVBoxLayout(log);
    logLayout->setContentsMargins(4, 4, 4, 4);
    eventLog = new QListWidget;
    eventLog->setFont(QFont(QStringLiteral("Arial Narrow")));
    eventLog->setFocusPolicy(Qt::NoFocus);
    // One line a row: the list lays out a whole match's rows without measuring each.
    eventLog->setUniformItemSizes(true);
    logLayout->addWidget(eventLog, 3);
    connect(eventLog, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem *item) {
        session_.DeleteLoggedEvent(item->text());
        grammar_.Focus(EntryBox::Init);
        syncFromGrammar();
    });
    eventsInForce = new QListWidget;
    eventsInForce->setFocusPolicy(Qt::NoFocus);
    eventsInForce->setUniformItemSizes(true);
    eventsInForce->setToolTip(QStringLiteral("MARK"));
    logLayout->addWidget(eventsInForce, 1);
    connect(eventsInForce, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem *item) {
        const int row = eventsInForce->row(item);
        if (row >= 0 && row < undoList_.size())
            session_.DeleteFromUndoList(undoList_, row);
        grammar_.Focus(EntryBox::Init);
        syncFromGrammar();
    });
    log->setMinimumWidth(280);
    return log;
}

QWidget *TMatchFrm::buildStatistics()
{
    statLines_ = std::make_unique<StatLines>(dm()->db());
    auto *views = new QTabWidget;
    views->setFocusPolicy(Qt::NoFocus);
    auto *boxPage = new QWidget;
    auto *grids = new QHBoxLayout(boxPage);
    auto *linesPage = new QWidget;
    auto *lineGrids = new QHBoxLayout(linesPage);
    for (auto *page : {grids, lineGrids})
        page->setContentsMargins(2, 2, 2, 2);
    for (int side = 1; side <= 2; ++side) {
        auto *model = new SideStatsModel(side, this);
        sideStats[size_t(side - 1)] = model;
        boxScores[size_t(side - 1)] = new BoxScoreGrid(*model);
        grids->addWidget(boxScores[size_t(side - 1)]);
        statLineGrids[size_t(side - 1)] = new StatLineGrid(*model, *statLines_);
        lineGrids->addWidget(statLineGrids[size_t(side - 1)]);
    }
    views->addTab(boxPage, QStringLiteral("Box score"));
    views->addTab(linesPage, QStringLiteral("Statistic lines"));
    views->addTab(buildReportsPage(), QStringLiteral("Reports and Settings"));
    auto *legend = new QLabel(QStringLiteral("<b>bold</b>: on court · *: starter · "
                                             "<span style=\"color: rgb(200, 0, 0)\">red</span>: fouled out"));
    views->setCornerWidget(legend);
    return views;
}

QMenuBar *TMatchFrm::buildMenus()
{
    auto *bar = new QMenuBar;
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
    addReportEntries(reports);
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
    view->addAction(QStringLiteral("Large Scoreboard"), this, &TMatchFrm::OpenLargeScoreboard);
    view->addAction(QStringLiteral("Saved Quarters"), this, &TMatchFrm::OpenSavedQuarters);
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
