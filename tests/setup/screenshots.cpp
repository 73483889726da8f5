// Pictures of the windows for a look at their layout: the main window (at
// the first start and with sample rows), the
// players and teams browsers, the match definition, the match chooser, the
// export window and the roster dialog, each alone in the middle of the screen, on a database
// of sample rows made in a temporary data directory; then the match console
// with the example match replayed into it, filling the screen less a task bar.
//   quintara_screenshots OUTPUT_DIRECTORY
// Run under a real X server (scripts/screenshots.sh starts Xvfb).
#include "app/ConsoleDialogs.h"
#include "common/AppPaths.h"
#include "common/Messenger.h"
#include "console/widgets/MatchConsole.h"
#include "console/widgets/Pickers.h"
#include "matchscript/widgets/MatchReplay.h"
#include "data/EmbeddedEngine.h"
#include "data/FbClient.h"
#include "data/DataModule.h"
#include "publish/widgets/ExportMatchWindow.h"
#include "reports/widgets/ReportChoosers.h"
#include "reports/widgets/ReportDesk.h"
#include "reports/widgets/ReportPrinting.h"
#include "reports/widgets/ReportsMenu.h"
#include "console/PeriodPictures.h"
#include "publish/widgets/LargeScoreboardWindow.h"
#include "publish/widgets/SavedQuartersWindow.h"
#include "setup/widgets/MainWindow.h"
#include "setup/widgets/MatchChooserDialog.h"
#include "setup/widgets/MatchDefinitionDialog.h"
#include "setup/widgets/Pictures.h"
#include "setup/widgets/RefBrowser.h"
#include "setup/widgets/RosterDialog.h"

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QListView>
#include <QFile>
#include <QFileInfo>
#include <QScreen>
#include <QTableView>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include "common/MatchState.h"

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

// Messages go to the terminal: nobody is there to press OK.
class PrintingMessenger final : public Messenger
{
public:
    bool show(Kind, const QString &text) override
    {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        return false;
    }
};

QByteArray png(const QPixmap &pixmap)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    pixmap.save(&buffer, "PNG");
    return bytes;
}

void addSampleRows(fb::Connection &db)
{
    const QByteArray ball = png(Pictures::Basketball(96));
    db.execute(u"insert into LIGA (ID_LIGA, NAZIV, OZNAKA, LIGTUR, MAINID, LOGO) values "
               "(1, 'Košarkaška liga Srbije', 'KL', 1, 101, ?)"_s,
               {ball});
    db.execute(u"insert into LIGA (ID_LIGA, NAZIV, OZNAKA, LIGTUR, MAINID) values (2, 'ABA liga', 'AB', 2, 102)"_s);
    const QStringList clubs{u"Partizan"_s, u"Crvena zvezda"_s, u"FMP"_s, u"Mega"_s, u"Borac Čačak"_s,
                            u"Spartak Subotica"_s, u"Budućnost"_s};
    for (int i = 0; i < clubs.size(); ++i)
        db.execute(u"insert into KLUB (ID_KLUB, NAZIV, ID_LIGA, MAINID, EBR, AMBLEM) values (?, ?, ?, ?, ?, ?)"_s,
                   {i + 1, clubs[i], i < 6 ? 1 : 2, 200 + i, u"SRB-%1"_s.arg(1000 + i), i == 0 ? QVariant(ball)
                                                                                          : QVariant()});
    struct Player
    {
        const char *surname, *name;
        int club, position, height, weight;
        const char *born;
    };
    const Player players[] = {
        {"Đorđević", "Saša", 1, 1, 191, 88, "1993-03-02"},   {"Šiškić", "Marko", 1, 2, 198, 92, "1996-11-21"},
        {"O'Neal", "Jermaine", 1, 4, 211, 115, nullptr},     {"Bogdanović", "Bogdan", 1, 3, 198, 100, "1992-08-18"},
        {"Žižić", "Ante", 1, 5, 211, 113, "1997-01-04"},     {"Micić", "Vasilije", 2, 1, 196, 93, "1994-01-13"},
        {"Teodosić", "Miloš", 2, 1, 196, 97, "1987-03-19"},  {"Čančar", "Vlatko", 2, 3, 203, 107, "1997-04-10"},
        {"Nedović", "Nemanja", 2, 2, 192, 90, "1991-06-16"}, {"Jović", "Stefan", 3, 1, 198, 95, "1990-11-03"},
        {"Lučić", "Vladimir", 3, 4, 204, 104, "1989-06-17"}, {"Kalinić", "Nikola", 4, 3, 203, 101, "1991-11-05"},
        {"Davidovac", "Dejan", 5, 2, 196, 94, "1995-01-17"},
        // The rest of a full Partizan roster.
        {"Avramović", "Aleksa", 1, 1, 191, 88, "1994-10-25"}, {"Koprivica", "Balša", 1, 5, 216, 120, "2000-05-01"},
        {"Nunnally", "James", 1, 2, 201, 93, "1990-07-14"},   {"Jaramaz", "Ognjen", 1, 1, 193, 89, "1995-07-17"},
        {"Marinković", "Vanja", 1, 2, 201, 95, "1997-01-09"}, {"Smailagić", "Alen", 1, 4, 208, 98, "2000-08-18"},
        {"Trifunović", "Aleksej", 1, 2, 198, 92, "1999-12-09"},
    };
    for (const Player &p : players)
        db.execute(u"insert into IGRAC (PREZIME, IME, ID_KLUB, ID_POZ, VISINA, TEZINA, DAT_RODJ, EBR, MAINID) "
                   "values (?, ?, ?, ?, ?, ?, ?, ?, ?)"_s,
                   {QString::fromUtf8(p.surname), QString::fromUtf8(p.name), p.club, p.position, p.height, p.weight,
                    p.born ? QVariant(QDateTime::fromString(QString::fromLatin1(p.born), Qt::ISODate)) : QVariant(),
                    u"KSS-%1"_s.arg(p.height * 7), p.weight * 3});
    const char *people[][3] = {{"Pukl", "Jovan", "Beograd"}, {"Radojković", "Ilija", "Niš"},
                               {"Šternić", "Goran", "Novi Sad"}, {"Obradović", "Ana", "Čačak"}};
    for (const auto &person : people)
        for (const QString &table : {u"SUDIJA"_s, u"DELEGAT"_s, u"STATISTICARI"_s})
            db.execute(u"insert into %1 (PREZIME, IME, GRAD) values (?, ?, ?)"_s.arg(table),
                       {QString::fromUtf8(person[0]), QString::fromUtf8(person[1]), QString::fromUtf8(person[2])});
    db.execute(u"insert into TRENER (PREZIME, IME, ID_KLUB, ID_POL) values ('Obradović', 'Željko', 1, 1)"_s);
    db.execute(u"insert into TRENER (PREZIME, IME, ID_KLUB, ID_POL) values ('Sfairopoulos', 'Ioannis', 2, 1)"_s);
    const int matches[][4] = {{1, 2, 1, 14}, {1, 3, 4, 15}, {2, 7, 1, 3}, {1, 1, 2, 28}};
    for (const auto &m : matches)
        db.execute(u"insert into UTAKMICA (NAZIV, ID_LIGA, ID_KLUB1, ID_KLUB2, KOLO, GRAD, MESTO, DATUMVREME, "
                   "BR_GLEDALACA, ID_SUDIJA1, ID_SUDIJA2, ID_SUDIJA3, ID_DELEGAT, ID_STAT1, ID_STAT2, BOJAD, BOJAG, "
                   "PLAYOFF, REZULTAT) values (?, ?, ?, ?, ?, 'Beograd', 'Beogradska arena', "
                   "'2025-03-14 20:00', 18000, 1, 2, 3, 4, 1, 2, 16777215, 16777215, 0, ?)"_s,
                   {u"%1 - %2"_s.arg(clubs[m[1] - 1], clubs[m[2] - 1]).left(26), m[0], m[1], m[2], m[3],
                    m[3] == 28 ? u"NOT FINISHED"_s : u"%1 : %2"_s.arg(70 + m[3]).arg(80 - m[3])});
    db.commitRetaining();
}

// Shows the window alone in the middle of the screen and saves the screen.
bool shoot(QWidget &window, const QString &file)
{
    QScreen *screen = QGuiApplication::primaryScreen();
    window.show();
    if (window.isWindow() && !(window.windowState() & Qt::WindowFullScreen))
        window.move(screen->geometry().center() - window.rect().center());
    if (!QTest::qWaitForWindowExposed(&window))
        return false;
    QTest::qWait(300); // let the X server paint
    const bool saved = screen->grabWindow(0).save(file);
    std::printf("%s %s (window %dx%d)\n", saved ? "wrote" : "could not write", qPrintable(file), window.width(),
                window.height());
    window.hide();
    return saved;
}

// The reports of the example match: the console's page of them, the
// choosers, the reports menu and the basic report's print preview.
bool shootReports(TMatchFrm &console, int match, const QString &file)
{
    if (auto *views = console.findChild<QTabWidget *>())
        views->setCurrentIndex(2);
    bool ok = shoot(console, file + u"_reports_page.png"_s);
    ReportContext context{.db = &dm()->db(),
                          .match = match,
                          .clock = console.session().Clock(),
                          .pictureDirectory = QString(),
                          .exportDirectory = QString()};
    const QString directory = QFileInfo(file).path() + u'/';
    TBasicRepChooseFrm basic(context, nullptr);
    ok = ok && shoot(basic, directory + u"report_basic_chooser.png"_s);
    TRep3Dlg turnovers(context, nullptr);
    ok = ok && shoot(turnovers, directory + u"report_turnovers_chooser.png"_s);
    TReportsMenuFrm menu(context, nullptr);
    ok = ok && shoot(menu, directory + u"report_menu.png"_s);
    const std::optional<report::Content> content = MakeBasicReport(context, {});
    if (!content)
        return false;
    const auto shootPreview = [&](const report::Content &shown, const QString &name) {
        ReportPreview preview(shown, nullptr);
        preview.resize(QGuiApplication::primaryScreen()->geometry().size() - QSize(0, 40));
        return shoot(preview, directory + name);
    };
    ok = ok && shootPreview(*content, u"report_basic_preview.png"_s);
    // Three of the family: zones on the half court, the lead list, charts.
    for (const auto &[entry, name] : {std::pair{ReportEntry::PointsByPlayers, u"report_points_by_players_preview.png"_s},
                                      {ReportEntry::GraphicalView, u"report_table_summary_preview.png"_s},
                                      {ReportEntry::Diagrams, u"report_diagrams_preview.png"_s}}) {
        const std::vector<report::Content> reports = MakeEntryReports(context, entry);
        ok = ok && !reports.empty() && shootPreview(reports.front(), name);
    }
    return ok;
}

// The large scoreboard at its first size and enlarged, and the saved
// quarters of the console's match (pictures named as the console names them).
bool shootPublishing(TMatchFrm &console, const QDir &output)
{
    RegisterConsoleDialogs();
    console.OpenLargeScoreboard();
    auto *board = console.findChild<TLargeScoreboardFrm *>();
    bool ok = board && shoot(*board, output.filePath(u"large_scoreboard.png"_s));
    if (board) {
        board->resize(board->size() * 2);
        ok = ok && shoot(*board, output.filePath(u"large_scoreboard_enlarged.png"_s));
    }
    const MatchSession &session = console.session();
    for (int period = 1; period <= 4; ++period) {
        QFile picture(PeriodSnapshotFileName(AppPaths::exportDirectory(), session.MatchId(), session.HomeName(),
                                             session.AwayName(), period));
        ok = ok && picture.open(QIODevice::WriteOnly);
    }
    console.OpenSavedQuarters();
    auto *quarters = console.findChild<TfrmSavedQuarters *>();
    return ok && quarters && shoot(*quarters, output.filePath(u"saved_quarters.png"_s));
}

// The console on the example match, replayed through it first: `file`.png
// and `file`_statistic_lines.png.
bool shootConsole(const QString &file)
{
    QFile script(QStringLiteral(QUINTARA_EXAMPLE_MATCH));
    if (!script.open(QIODevice::ReadOnly))
        return false;
    const auto parsed = ParseMatchScript(QString::fromUtf8(script.readAll()));
    if (!std::holds_alternative<MatchScript>(parsed))
        return false;
    TShootPosFrm zonePicker;
    TTurnoverTypesFrm turnoverPicker;
    TPFTypesFrm foulPicker;
    Pickers() = {&zonePicker, &turnoverPicker, &foulPicker};
    const MatchReplay::Outcome outcome = MatchReplay().Run(std::get<MatchScript>(parsed));
    bool ok = outcome.succeeded();
    if (ok) {
        CurrentMatch().reset();
        TMatchFrm console;
        ok = console.OpenExistingMatch(outcome.matchId);
        // The screen less a task bar of 40 pixels.
        console.setGeometry(QGuiApplication::primaryScreen()->geometry().adjusted(0, 0, 0, -40));
        ok = ok && shoot(console, file + u".png"_s);
        // The same players with the rules engine's counts.
        if (auto *views = console.findChild<QTabWidget *>())
            views->setCurrentIndex(1);
        ok = ok && shoot(console, file + u"_statistic_lines.png"_s);
        ok = ok && shootReports(console, outcome.matchId, file);
        ok = ok && shootPublishing(console, QFileInfo(file).path());
    }
    Pickers() = {};
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIRECTORY\n", argv[0]);
        return 2;
    }
    const QDir output(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(output.path());
    PrintingMessenger messages;
    Messenger::install(&messages);

    QTemporaryDir data;
    qputenv("QUINTARA_HOME", data.path().toLocal8Bit());
    const QString live = QDir(data.path()).filePath(u"live"_s);
    QDir().mkpath(live);
    qputenv("QUINTARA_LIVE_DIR", live.toLocal8Bit());
    QFile marker(QDir(data.path()).filePath(u"qntlea.txt"_s)); // shows the administrator actions
    marker.open(QIODevice::WriteOnly);
    marker.close();
    const QString engineProblem = EmbeddedEngine::prepare(data.path());
    if (!engineProblem.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(engineProblem));
        return 1;
    }

    TMainFrm mainWindow;
    Tdm module({QDir(data.path()).filePath(u"QNDB.FDB"_s), data.path()});
    if (!module.Start() || !module.connected())
        return 1;
    // A first start, before there is a league: the main window says what to do.
    bool ok = shoot(mainWindow, output.filePath(u"main_window_first_start.png"_s));
    addSampleRows(module.db());

    ok &= shoot(mainWindow, output.filePath(u"main_window.png"_s));
    {
        TRefBrowser players(BrowserKind::Players, module, &mainWindow);
        players.dbg->selectRow(1);
        ok &= shoot(players, output.filePath(u"browser_players.png"_s));
    }
    {
        TRefBrowser teams(BrowserKind::Teams, module, &mainWindow);
        teams.chkShowLeagues->setChecked(true);
        teams.dbg->selectRow(teams.logic().table().rowOf(1)); // the club with an emblem
        ok &= shoot(teams, output.filePath(u"browser_teams.png"_s));
    }
    {
        TDataGame definition(module, 1, &mainWindow);
        ok &= definition.isReady() && shoot(definition, output.filePath(u"match_definition.png"_s));
    }
    {
        TOpenDlg chooser(module, &mainWindow);
        ok &= shoot(chooser, output.filePath(u"match_chooser.png"_s));
    }
    {
        TExportMatchFrm exportWindow(module, &mainWindow);
        exportWindow.matches->setCurrentIndex(exportWindow.matches->model()->index(1, 0));
        ok &= shoot(exportWindow, output.filePath(u"export_window.png"_s));
    }
    {
        // The home roster of the match not yet finished: shirt numbers typed, the coach chosen.
        TTeamDlg roster(4, 1, &mainWindow);
        const int numbers[] = {4, 7, 9, 10, 12, 13, 15, 21, 24, 33, 44, 55};
        for (int row = 0; row < roster.grid->rowCount() && row < int(std::size(numbers)); ++row)
            roster.grid->item(row, 2)->setText(QString::number(numbers[row]));
        roster.coach->setCurrentIndex(1);
        ok &= shoot(roster, output.filePath(u"roster.png"_s));
    }
    ok &= shootConsole(output.filePath(u"console"_s));
    Messenger::install(nullptr);
    return ok ? 0 : 1;
}
