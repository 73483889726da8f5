#pragma once

// Ends the program in an orderly way (the data module commits and
// disconnects) when it is asked to terminate (SIGTERM, SIGINT, SIGHUP).
// The database engine reacts to these signals on its own threads by shutting
// itself down under the program's feet, after which closing the connection
// hangs; so the signals are blocked in every thread before the engine starts
// and read by the event loop instead.

// First thing in main, before any thread exists.
void BlockTerminationSignals();
// Once the application object exists.
void QuitOnTerminationSignals();
