// Quintara: the program entry.
#include "common/AppPaths.h"
#include "common/Messenger.h"
#include "console/widgets/Pickers.h"
#include "data/EmbeddedEngine.h"
#include "data/DataModule.h"
#include "app/ConsoleDialogs.h"
#include "setup/widgets/MainWindow.h"
#include "matchscript/widgets/MatchReplay.h"
#include "app/MessageBoxes.h"
#include "app/TerminationSignals.h"
#include "publish/ExportCommands.h"
#include "publish/ServeCommand.h"
#include "publish/widgets/ExportMatchWindow.h"
#include "reports/ReportCommands.h"
#include "setup/VersionInfo.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <memory>
#include <optional>

namespace {

// Reads a match script; nothing when it cannot be read (said on the terminal).
std::optional<MatchScript> ReadScript(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(fileName), qPrintable(file.errorString()));
        return std::nullopt;
    }
    const auto parsed = ParseMatchScript(QString::fromUtf8(file.readAll()));
    if (const auto *error = std::get_if<ScriptError>(&parsed)) {
        std::fprintf(stderr, "%s:%d: %s\n", qPrintable(fileName), error->line, qPrintable(error->reason));
        return std::nullopt;
    }
    return std::get<MatchScript>(parsed);
}

// A refusal quotes the script's words; the console's own messages run longer than a reason.
constexpr int RefusalLength = 300;

// Replays a match script into the database and prints what came of it;
// nothing of a match whose header could not be set up.
int Replay(const QString &fileName, const MatchScript &script, bool lenient)
{
    const MatchReplay::Outcome outcome = MatchReplay(lenient).Run(script);
    for (const auto &refusal : outcome.refusals)
        std::fprintf(stderr, "%s:%d: refused: %s\n", qPrintable(fileName), refusal.line,
                     qPrintable(PrintableText(refusal.message, RefusalLength)));
    for (const QString &notice : outcome.notices)
        std::fprintf(stderr, "%s: %s\n", qPrintable(fileName), qPrintable(PrintableText(notice, RefusalLength)));
    if (outcome.matchId < 0)
        return 1;
    std::printf("%s", qPrintable(MatchReplay::Summary(outcome)));
    std::printf("\nJournal: %s\n", qPrintable(outcome.journal));
    return outcome.succeeded() && outcome.notices.isEmpty() ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    QElapsedTimer sinceStart;
    sinceStart.start();
    BlockTerminationSignals();
    // A replay and the export commands need no display: the console runs
    // offscreen, and the offscreen platform's notes would only bury the
    // command's own report.
    static const char *const HeadlessOptions[] = {"--replay",   "--export",    "--export-all", "--read-qnt",
                                                  "--live-page", "--report",   "--serve"};
    for (int i = 1; i < argc; ++i) {
        if (std::none_of(std::begin(HeadlessOptions), std::end(HeadlessOptions),
                         [&](const char *option) { return std::strcmp(argv[i], option) == 0; }))
            continue;
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &text) {
            if (type == QtCriticalMsg || type == QtFatalMsg)
                std::fprintf(stderr, "%s\n", qPrintable(text));
        });
    }
    // The options are read before a window can open: --help, --version and a
    // mistyped option answer on a terminal without a display.
    auto reading = std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Quintara"));
    QCoreApplication::setApplicationVersion(ShownVersion());

    QCommandLineParser options;
    options.setApplicationDescription(QStringLiteral(
        "Quintara: basketball match statistics desk.\n\n"
        "Files go to the data directory: the directory of this program, or the one named by QUINTARA_HOME\n"
        "(the database QNDB.FDB, its safety copies, match journals, the engine's settings in .firebird/).\n"
        "QUINTARA_LIVE_DIR names the export directory for the live page (default: live in the data directory).\n"
        "QUINTARA_DATABASE names another database: a file, or a server's host:/path/QNDB.FDB."));
    options.addHelpOption();
    options.addVersionOption();
    const QCommandLineOption startupTime(QStringLiteral("startup-time"),
                                         QStringLiteral("Print how long the start took, then end."));
    options.addOption(startupTime);
    const QCommandLineOption replay(QStringLiteral("replay"),
                                    QStringLiteral("Replay the match script <file> through the console, print the "
                                                   "final score and the box scores, then end."),
                                    QStringLiteral("file"));
    options.addOption(replay);
    const QCommandLineOption lenient(QStringLiteral("lenient"),
                                     QStringLiteral("With --replay: report a refused entry and go on."));
    options.addOption(lenient);
    const QCommandLineOption exportMatch(QStringLiteral("export"),
                                         QStringLiteral("Export the match <match> (its number) to the file given "
                                                        "after the option, then end."),
                                         QStringLiteral("match"));
    options.addOption(exportMatch);
    const QCommandLineOption exportAll(QStringLiteral("export-all"),
                                       QStringLiteral("Export every stored match into <directory>, each under its "
                                                      "proposed name, then end."),
                                       QStringLiteral("directory"));
    options.addOption(exportAll);
    const QCommandLineOption readQnt(QStringLiteral("read-qnt"),
                                     QStringLiteral("Print the match file <file> decoded as text, then end."),
                                     QStringLiteral("file"));
    options.addOption(readQnt);
    const QCommandLineOption livePage(QStringLiteral("live-page"),
                                      QStringLiteral("Write the live page of the stored match given by --match to "
                                                     "the file given by --out (standard output without it), then end."));
    options.addOption(livePage);
    const QCommandLineOption serve(QStringLiteral("serve"),
                                   QStringLiteral("Serve the match given by --match (the newest without it) on the web "
                                                  "while others record it, until Ctrl+C; QUINTARA_LIVE_LISTEN says where."));
    options.addOption(serve);
    const QCommandLineOption liveMatch(QStringLiteral("match"),
                                       QStringLiteral("With --live-page, --report or --serve: the match number."),
                                       QStringLiteral("id"));
    options.addOption(liveMatch);
    const QCommandLineOption liveOut(QStringLiteral("out"), QStringLiteral("With --live-page: the file to write."),
                                     QStringLiteral("file"));
    options.addOption(liveOut);
    const ReportCommandLine reportLine;
    reportLine.addTo(options);
    options.addPositionalArgument(QStringLiteral("file"), QStringLiteral("With --export: the file to write."),
                                  QStringLiteral("[file]"));
    options.process(*reading);
    if (options.isSet(lenient) && !options.isSet(replay)) {
        std::fprintf(stderr, "--lenient goes with --replay <file>.\n");
        return 1;
    }
    if (const QString misplaced = reportLine.misplacedFlag(options); !misplaced.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(misplaced));
        return 2;
    }
    // A script that cannot be read ends the replay before a database is made for it.
    std::optional<MatchScript> script;
    if (options.isSet(replay) && !(script = ReadScript(options.value(replay))))
        return 2;
    reading.reset();
    QApplication app(argc, argv);

    QTextStream out(stdout), errors(stderr);
    if (options.isSet(readQnt))
        return ReadQntCommand(options.value(readQnt), out, errors);

    QuitOnTerminationSignals();
    MessageBoxMessenger boxes;
    TerminalMessenger terminal;
    const bool headless =
        options.isSet(replay) || options.isSet(exportMatch) || options.isSet(exportAll) || options.isSet(livePage) ||
        options.isSet(serve) || reportLine.requested(options);
    Messenger::install(headless ? static_cast<Messenger *>(&terminal) : &boxes);

    // Every file of the program goes to the data directory: without one
    // there is nothing to do, and one message says so.
    if (const QString problem = AppPaths::dataDirectoryProblem(); !problem.isEmpty()) {
        ShowError(problem);
        return 1;
    }
    // The engine's settings must be in place before the first database call.
    const QString engineProblem = EmbeddedEngine::prepare(AppPaths::engineHome());
    if (!engineProblem.isEmpty())
        ShowError(engineProblem);

    // The main window's creation runs before the data module exists.
    TMainFrm mainWindow;
    Tdm dataModule;
    if (!dataModule.Start())
        return 1;
    // The parameter pickers live as long as the program.
    TShootPosFrm zonePicker;
    TTurnoverTypesFrm turnoverPicker;
    TPFTypesFrm foulPicker;
    Pickers() = {&zonePicker, &turnoverPicker, &foulPicker};
    RegisterConsoleDialogs();
    RegisterExportWindow();

    if (headless) {
        int result = 0;
        if (options.isSet(replay))
            result = Replay(options.value(replay), *script, options.isSet(lenient));
        else if (!dataModule.connected())
            result = 1; // the data module has said why
        else if (options.isSet(exportMatch))
            result = ExportMatchCommand(dataModule.db(), options.value(exportMatch),
                                        options.positionalArguments().value(0), dataModule.options().dataDirectory, out,
                                        errors);
        else if (options.isSet(livePage))
            result = LivePageCommand(dataModule.db(), options.value(liveMatch), options.value(liveOut), out, errors);
        else if (options.isSet(serve))
            result = ServeCommand(dataModule.db(), options.value(liveMatch), AppPaths::exportDirectory(), out, errors);
        else if (reportLine.requested(options))
            result = reportLine.run(dataModule.db(), options, options.value(liveMatch), out, errors);
        else
            result = ExportAllCommand(dataModule.db(), options.value(exportAll), dataModule.options().dataDirectory,
                                      out, errors);
        Pickers() = {};
        Messenger::install(nullptr);
        return result;
    }
    mainWindow.show();
    if (options.isSet(startupTime)) {
        QTimer::singleShot(0, &app, [&] {
            std::printf("main window shown after %.1f ms\n", double(sinceStart.nsecsElapsed()) / 1e6);
            QApplication::quit();
        });
    }
    const int result = app.exec();
    Pickers() = {};
    Messenger::install(nullptr);
    return result;
}
