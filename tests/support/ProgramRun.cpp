#include "support/ProgramRun.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QtGlobal>

ProgramRun RunProgram(const QString &program, const QString &home, const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QUINTARA_HOME"), home);
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForFinished(120000))
        qFatal("the program did not end");
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            QString::fromUtf8(process.readAllStandardError())};
}
