#include "setup/WindowDirectory.h"

#include "common/Messenger.h"
#include "console/widgets/MatchConsole.h"
#include "data/DataModule.h"
#include "setup/widgets/MatchChooserDialog.h"
#include "setup/widgets/MatchDefinitionDialog.h"
#include "setup/widgets/RefBrowser.h"

namespace {

std::function<bool(QWidget *)> &exportWindow()
{
    static std::function<bool(QWidget *)> open;
    return open;
}

} // namespace

void ShowReferenceBrowser(BrowserKind kind, QWidget *owner)
{
    TRefBrowser browser(kind, *dm(), owner);
    browser.exec();
}

namespace {

// The statistician's window for two hours: the whole screen.
void runConsole(TMatchFrm &console)
{
    console.setWindowFlag(Qt::WindowMaximizeButtonHint);
    console.setWindowState(Qt::WindowMaximized);
    console.exec();
}

} // namespace

bool RunNewMatch(QWidget *owner)
{
    Tdm &module = *dm();
    TDataGame definition(module, MatchDefinition::NewMatch, owner);
    if (!definition.isReady() || definition.exec() != MatchDefinition::Confirmed)
        return false;
    module.SaveAllDataSets();
    module.RequestSafetyCopy();
    TMatchFrm console(owner);
    if (!console.OpenNewMatch(definition.matchId()))
        return false;
    runConsole(console);
    return true;
}

bool RunExistingMatch(QWidget *owner)
{
    TOpenDlg chooser(*dm(), owner);
    if (chooser.exec() != MatchChooser::Open)
        return false;
    TMatchFrm console(owner);
    {
        BusyCursor busy;
        if (!console.OpenExistingMatch(chooser.matchId()))
            return false;
    }
    runConsole(console);
    return true;
}

bool RunExportMatch(QWidget *owner)
{
    return exportWindow() && exportWindow()(owner);
}

void SetExportWindow(std::function<bool(QWidget *owner)> open) { exportWindow() = std::move(open); }
