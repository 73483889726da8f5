// The console window's layout: score board, entry boxes, court picture and menus.
#include "console/widgets/MatchConsole.h"
#include "console/widgets/ConsoleColours.h"

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
    homeScore = label(QStringLiteral("0"), big);
    awayScore = label(QStringLiteral("0"), big);
    lbAway = label(QStringLiteral("AWAY"), big);
    lbQuarter = label(QStringLiteral("1. Quarter"), font());
    clockMinute = label(QStringLiteral("10"), big);
    clockMinute->setToolTip(QStringLiteral("Clock minute"));
    panBonusH = label(TeamFoulTally::BonusText(0), font());
    panBonusA = label(TeamFoulTally::BonusText(0), font());
    paint(panBonusH, BonusNormal, Qt::black);
    paint(panBonusA, BonusNormal, Qt::black);
    row->addWidget(panBonusH);
    row->addWidget(lbHome, 1);
    row->addWidget(homeScore);
    row->addWidget(label(QStringLiteral(":"), big));
    row->addWidget(awayScore);
    row->addWidget(lbAway, 1);
    row->addWidget(panBonusA);
    auto *clock = new QVBoxLayout;
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

    grid->addWidget(new QLabel(QStringLiteral("Init:")), 0, 0);
    grid->addWidget(entryBox(EntryBox::Init), 0, 1);
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
