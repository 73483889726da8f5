#include "reports/ExampleReports.h"

#include "matchscript/MatchScript.h"
#include "matchscript/widgets/MatchReplay.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace {

QByteArray fileBytes(const QString &name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

int ReplayExampleMatch()
{
    const auto parsed = ParseMatchScript(QString::fromUtf8(fileBytes(QStringLiteral(QUINTARA_EXAMPLE_MATCH))));
    if (!std::holds_alternative<MatchScript>(parsed)) {
        QTest::qFail("the example match does not parse", __FILE__, __LINE__);
        return 0;
    }
    const MatchReplay::Outcome outcome = MatchReplay().Run(std::get<MatchScript>(parsed));
    if (!outcome.succeeded()) {
        QTest::qFail("the example match was refused", __FILE__, __LINE__);
        return 0;
    }
    return outcome.matchId;
}

void CompareWithReference(const QString &text, const QString &reference)
{
    const QString expected = QString::fromUtf8(fileBytes(QStringLiteral(QUINTARA_REPORT_REFERENCES "/") + reference));
    if (text != expected) {
        QFile made(QDir::current().filePath(reference));
        if (made.open(QIODevice::WriteOnly))
            made.write(text.toUtf8());
        const QStringList got = text.split(u'\n'), want = expected.split(u'\n');
        for (qsizetype i = 0; i < std::min(got.size(), want.size()); ++i)
            QCOMPARE(got[i], want[i]);
    }
    QCOMPARE(text, expected);
}
