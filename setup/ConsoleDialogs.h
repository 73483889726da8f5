#pragma once

// Lets the match console open the roster, line-up and match definition dialogs.
void RegisterConsoleDialogs();
