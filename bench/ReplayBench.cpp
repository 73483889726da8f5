#include "ReplayBench.h"

#include "data/DataModule.h"
#include "data/EmbeddedEngine.h"
#include "matchscript/widgets/MatchReplay.h"

#include <QDir>
#include <QFile>

#include <stdexcept>

namespace {

int &offscreen(int &argc)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return argc;
}

MatchScript readExample()
{
    QFile file(QStringLiteral(QUINTARA_EXAMPLE_MATCH));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("no example match");
    const auto parsed = ParseMatchScript(QString::fromUtf8(file.readAll()));
    if (!std::holds_alternative<MatchScript>(parsed))
        throw std::runtime_error("the example match does not read");
    return std::get<MatchScript>(parsed);
}

} // namespace

ReplayBench::ReplayBench(int &argc, char **argv) : app_(offscreen(argc), argv), example_(readExample())
{
    EmbeddedEngine::prepare(directory_.path());
    Pickers() = {&zonePicker_, &turnoverPicker_, &foulPicker_};
}

ReplayBench::~ReplayBench() { Pickers() = {}; }

QString ReplayBench::database() const { return QDir(directory_.path()).filePath(QStringLiteral("QNDB.FDB")); }

std::unique_ptr<Tdm> ReplayBench::startModule() const
{
    auto module = std::make_unique<Tdm>(Tdm::Options{database(), directory_.path()});
    if (!module->Start() || !module->connected())
        throw std::runtime_error("the database did not open");
    return module;
}

int ReplayBench::replayExample() const
{
    const MatchReplay::Outcome outcome = MatchReplay().Run(example_);
    if (!outcome.succeeded())
        throw std::runtime_error("the example match was refused");
    return outcome.matchId;
}
