// Creates the template database of a test run with the program's own
// first-start code, so every test starts from exactly what users get.
#include "common/AppPaths.h"
#include "data/DataModule.h"
#include "support/TestDatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    TestDatabase::prepareEngine();
    const QString dir = TestDatabase::templateDirectory();
    const QString database = QDir(dir).filePath(AppPaths::DatabaseFileName);
    // Made under another name and renamed, so a test copying the template
    // meanwhile never reads half a database.
    const QString making = database + QStringLiteral(".making");
    QFile::remove(making);
    {
        Tdm module({making, dir});
        if (!module.Start() || !module.connected()) {
            std::fprintf(stderr, "could not create %s\n", qPrintable(database));
            return 1;
        }
    }
    if (std::rename(QFile::encodeName(making).constData(), QFile::encodeName(database).constData()) != 0) {
        std::fprintf(stderr, "could not rename %s\n", qPrintable(making));
        return 1;
    }
    std::printf("template database %s\n", qPrintable(database));
    return 0;
}
