#include "publish/LivePageWriter.h"

#include "common/Messenger.h"
#include "data/FbClient.h"
#include "publish/LivePage.h"

#include <QDir>

#include <memory>

namespace {

// Lives on the writer's thread and keeps its own attachment there: a build
// reads committed rows only, and ends its transaction so that it holds back
// no record versions between builds.
class LivePageBuild final : public QObject
{
    Q_OBJECT

public:
    LivePageBuild(QString location, fb::Credentials credentials)
        : location_(std::move(location)), credentials_(std::move(credentials))
    {
    }

    void run(int match, const QString &fileName)
    {
        QString failure;
        QByteArray page;
        try {
            if (!db_)
                db_ = fb::Connection::attach(location_, credentials_);
            page = LivePageBytes(LivePageBuilder(*db_).build(match));
            db_->commit();
            WriteLivePage(fileName, page);
        } catch (const LivePageError &e) {
            failure = e.reason();
        } catch (const std::exception &e) { // the database's errors among them
            failure = QStringLiteral("match %1: %2").arg(match).arg(QString::fromUtf8(e.what()));
            db_.reset(); // attached again for the next build
        }
        if (db_ && db_->inTransaction())
            db_->rollback();
        emit done(page, failure);
    }

signals:
    void done(const QByteArray &page, const QString &failure);

private:
    QString location_;
    fb::Credentials credentials_;
    std::unique_ptr<fb::Connection> db_;
};

} // namespace

LivePageWriter::LivePageWriter(fb::Connection &db, std::function<int()> match, const QString &directory,
                               QObject *parent)
    : QObject(parent), match_(std::move(match)),
      fileName_(QDir(directory).filePath(QLatin1String(LivePageFileName)))
{
    auto *build = new LivePageBuild(db.location(), db.credentials());
    build->moveToThread(&thread_);
    // The build and its connection end on their own thread, after its last build.
    connect(&thread_, &QThread::finished, build, &QObject::deleteLater);
    connect(this, &LivePageWriter::buildRequested, build, &LivePageBuild::run);
    connect(build, &LivePageBuild::done, this, &LivePageWriter::built);
    thread_.setObjectName(QStringLiteral("live page"));
    thread_.start(QThread::LowPriority);

    tick_.setInterval(IntervalMs);
    connect(&tick_, &QTimer::timeout, this, &LivePageWriter::write);
    tick_.start();
    soon_.setSingleShot(true);
    soon_.setInterval(SoonMs);
    connect(&soon_, &QTimer::timeout, this, &LivePageWriter::write);
}

LivePageWriter::~LivePageWriter()
{
    thread_.quit();
    thread_.wait();
}

void LivePageWriter::write()
{
    if (building_) {
        again_ = true;
        return;
    }
    const int match = match_();
    if (match < 1)
        return;
    building_ = true;
    emit buildRequested(match, fileName_);
}

void LivePageWriter::built(const QByteArray &page, const QString &failure)
{
    building_ = false;
    if (failure.isEmpty()) {
        failing_ = false;
        emit pageWritten(page);
    } else if (!failing_) {
        // Once per run of failures: the statistician keys on, the ticks try again.
        failing_ = true;
        ShowError(QStringLiteral("The live page is not written (%1). It is tried again every %2 seconds.")
                      .arg(failure)
                      .arg(IntervalMs / 1000));
    }
    if (again_) {
        again_ = false;
        write();
    }
}

#include "LivePageWriter.moc"
