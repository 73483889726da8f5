#pragma once
#include <QString>

// The embedded Firebird engine opens a database exclusively per process in
// its default mode, which would lock out the restarted program, isql-fb and
// gbak. Before the first connection the program points the client library at
// a private engine directory (".firebird" beside the database file) whose
// configuration selects the shared Classic mode, with a lock directory that
// every process opening that database shares.
namespace EmbeddedEngine {

// Prepares the private directory and sets FIREBIRD and FIREBIRD_LOCK, unless
// FIREBIRD is already set by the user. Must run before any database call.
// Answers an empty text on success, else what went wrong, naming the path.
QString prepare(const QString &home);

// The engine directory kept in `home`.
QString rootDirectory(const QString &home);

} // namespace EmbeddedEngine
