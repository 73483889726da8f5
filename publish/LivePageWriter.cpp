#include "publish/LivePageWriter.h"

#include "common/Messenger.h"
#include "publish/LivePage.h"

#include <QDir>

LivePageWriter::LivePageWriter(fb::Connection &db, std::function<int()> match, const QString &directory,
                               QObject *parent)
    : QObject(parent), db_(db), match_(std::move(match)),
      fileName_(QDir(directory).filePath(QLatin1String(LivePageFileName)))
{
    tick_.setInterval(IntervalMs);
    connect(&tick_, &QTimer::timeout, this, &LivePageWriter::writeNow);
    tick_.start();
    soon_.setSingleShot(true);
    soon_.setInterval(SoonMs);
    connect(&soon_, &QTimer::timeout, this, &LivePageWriter::writeNow);
}

bool LivePageWriter::writeNow()
{
    const int match = match_();
    if (match < 1)
        return false;
    QString failure;
    QByteArray page;
    try {
        page = LivePageBytes(LivePageBuilder(db_).build(match));
        WriteLivePage(fileName_, page);
    } catch (const LivePageError &e) {
        failure = e.reason();
    } catch (const std::exception &e) { // the database's errors among them
        failure = QStringLiteral("match %1: %2").arg(match).arg(QString::fromUtf8(e.what()));
    }
    if (failure.isEmpty()) {
        failing_ = false;
        emit pageWritten(page);
        return true;
    }
    // Once per run of failures: the statistician keys on, the ticks try again.
    if (!failing_) {
        failing_ = true;
        ShowError(QStringLiteral("The live page is not written (%1). It is tried again every %2 seconds.")
                      .arg(failure)
                      .arg(IntervalMs / 1000));
    }
    return false;
}
