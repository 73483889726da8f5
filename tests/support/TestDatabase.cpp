#include "support/TestDatabase.h"

#include "common/AppPaths.h"
#include "data/EmbeddedEngine.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace TestDatabase {

QString templateDirectory()
{
    const QString dir = qEnvironmentVariable("QUINTARA_TEST_TEMPLATE_DIR");
    return dir.isEmpty() ? QDir::temp().filePath(QStringLiteral("quintara-test-template")) : dir;
}

void prepareEngine()
{
    QDir().mkpath(templateDirectory());
    const QString problem = EmbeddedEngine::prepare(templateDirectory());
    if (!problem.isEmpty())
        qFatal("%s", qPrintable(problem));
}

} // namespace TestDatabase

Sandbox::Sandbox(bool withDatabase, const QString &parent)
    : dir_(parent.isEmpty() ? QDir::temp().filePath(QStringLiteral("sandbox-XXXXXX"))
                            : QDir(parent).filePath(QStringLiteral("sandbox-XXXXXX")))
{
    TestDatabase::prepareEngine();
    if (withDatabase) {
        const QString source = QDir(TestDatabase::templateDirectory()).filePath(AppPaths::DatabaseFileName);
        if (!QFile::copy(source, file(AppPaths::DatabaseFileName)))
            qFatal("No template database at %s: run the make_test_template test first", qPrintable(source));
    }
}

Sandbox::~Sandbox() { dm_.reset(); }

QString Sandbox::file(const QString &name) const { return QDir(dir_.path()).filePath(name); }

Tdm::Options Sandbox::options() const
{
    return {file(AppPaths::DatabaseFileName), dir_.path()};
}

Tdm &Sandbox::dm()
{
    if (!dm_) {
        dm_ = std::make_unique<Tdm>(options());
        if (!dm_->Start() || !dm_->connected())
            qFatal("The sandbox database did not open");
    }
    return *dm_;
}
