// Quintara: the program entry.
#include "common/AppPaths.h"
#include "common/Messenger.h"
#include "console/Pickers.h"
#include "data/EmbeddedEngine.h"
#include "data/dmU.h"
#include "setup/ConsoleDialogs.h"
#include "setup/MainU.h"
#include "setup/MessageBoxes.h"
#include "setup/TerminationSignals.h"
#include "setup/VersionInfo.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>

int main(int argc, char **argv)
{
    QElapsedTimer sinceStart;
    sinceStart.start();
    BlockTerminationSignals();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quintara"));
    QApplication::setApplicationVersion(ProgramVersion());

    QCommandLineParser options;
    options.setApplicationDescription(QStringLiteral("Quintara: basketball match statistics desk."));
    options.addHelpOption();
    options.addVersionOption();
    const QCommandLineOption startupTime(QStringLiteral("startup-time"),
                                         QStringLiteral("Print how long the start took, then end."));
    options.addOption(startupTime);
    options.process(app);

    QuitOnTerminationSignals();
    MessageBoxMessenger messages;
    Messenger::install(&messages);

    // The engine's settings must be in place before the first database call.
    const QString engineProblem = EmbeddedEngine::prepare(AppPaths::dataDirectory());
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
