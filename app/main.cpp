// Quintara: the program entry.
#include "common/AppPaths.h"
#include "common/Messenger.h"
#include "data/EmbeddedEngine.h"
#include "data/dmU.h"
#include "setup/MainU.h"
#include "setup/MessageBoxes.h"
#include "setup/TerminationSignals.h"
#include "setup/VersionInfo.h"

#include <QApplication>

int main(int argc, char **argv)
{
    BlockTerminationSignals();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quintara"));
    QApplication::setApplicationVersion(ProgramVersion());

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

    mainWindow.show();
    const int result = app.exec();
    Messenger::install(nullptr);
    return result;
}
