#pragma once
// Runs the program as a user's script would, with its data directory given
// by QUINTARA_HOME, and answers what it printed and how it ended.

#include <QByteArray>
#include <QString>
#include <QStringList>

struct ProgramRun
{
    int exitCode = -1; // -1 when the program did not end normally
    QByteArray out;
    QString errors;
};

ProgramRun RunProgram(const QString &program, const QString &home, const QStringList &arguments);
