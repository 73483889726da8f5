#pragma once

#include "setup/StartersEditor.h"

class TMatchFrm;

// Lets the match console open the roster, line-up and match definition dialogs.
void RegisterConsoleDialogs();

// What the line-up dialog of a console does around its five: asks the
// seconds of the changes, shows the rules engine's refusals, opens entry.
StartersEditor::Hooks LineUpHooks(TMatchFrm &console);
