#include "publish/ExportCommands.h"

#include "publish/LivePage.h"
#include "publish/MatchExport.h"
#include "publish/QntReader.h"

#include <QDir>
#include <QFile>
#include <QTextStream>

int ExportMatchCommand(fb::Connection &db, const QString &matchId, const QString &fileName,
                       const QString &logDirectory, QTextStream &out, QTextStream &errors)
{
    bool isNumber = false;
    const int match = matchId.toInt(&isNumber);
    if (!isNumber || fileName.isEmpty()) {
        errors << "--export needs a match number and a file name, as in --export 7 match.qnt\n";
        return 2;
    }
    try {
        ExportMatch(db, match, fileName, logDirectory);
    } catch (const ExportError &e) {
        errors << "export failed: " << e.reason() << '\n';
        return 1;
    } catch (const std::exception &e) { // the database's errors among them
        errors << "export failed: match " << match << ": " << QString::fromUtf8(e.what()) << '\n';
        return 1;
    }
    out << "match " << match << ": " << QDir::toNativeSeparators(fileName) << '\n';
    return 0;
}

int ExportAllCommand(fb::Connection &db, const QString &directory, const QString &logDirectory, QTextStream &out,
                     QTextStream &errors)
{
    int failed = 0;
    try {
        ExportAllMatches(db, directory, logDirectory, [&](const ExportedFile &file) {
            if (file.error.isEmpty()) {
                out << "match " << file.match << ": " << QDir::toNativeSeparators(file.fileName) << '\n';
            } else {
                errors << "export failed: " << file.error << '\n';
                ++failed;
            }
        });
    } catch (const ExportError &e) {
        errors << "export failed: " << e.reason() << '\n';
        return 1;
    } catch (const std::exception &e) {
        errors << "export failed: " << QString::fromUtf8(e.what()) << '\n';
        return 1;
    }
    return failed == 0 ? 0 : 1;
}

int ReadQntCommand(const QString &fileName, QTextStream &out, QTextStream &errors)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        errors << QDir::toNativeSeparators(fileName) << ": " << file.errorString() << '\n';
        return 1;
    }
    const auto read = ReadMatchStream(file.readAll());
    if (const auto *error = std::get_if<QntReadError>(&read)) {
        errors << QDir::toNativeSeparators(fileName) << ": " << error->text() << '\n';
        return 1;
    }
    out << QntMatchText(std::get<QntMatch>(read));
    return 0;
}

int LivePageCommand(fb::Connection &db, const QString &matchId, const QString &fileName, QTextStream &out,
                    QTextStream &errors)
{
    bool isNumber = false;
    const int match = matchId.toInt(&isNumber);
    if (!isNumber) {
        errors << "--live-page needs a match number, as in --live-page --match 7 --out data.htm\n";
        return 2;
    }
    try {
        const QByteArray page = LivePageBytes(LivePageBuilder(db).build(match));
        if (fileName.isEmpty()) {
            out.flush();
            QFile standardOutput;
            if (!standardOutput.open(stdout, QIODevice::WriteOnly) || standardOutput.write(page) != page.size())
                throw LivePageError(QStringLiteral("cannot write the page: %1").arg(standardOutput.errorString()));
        } else {
            WriteLivePage(fileName, page);
            out << "match " << match << ": " << QDir::toNativeSeparators(fileName) << '\n';
        }
    } catch (const LivePageError &e) {
        errors << "live page failed: match " << match << ": " << e.reason() << '\n';
        return 1;
    } catch (const std::exception &e) { // the database's errors among them
        errors << "live page failed: match " << match << ": " << QString::fromUtf8(e.what()) << '\n';
        return 1;
    }
    return 0;
}
