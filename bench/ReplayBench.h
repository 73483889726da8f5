#pragma once
// What the benchmarks that replay the example match share: the offscreen
// application, the example's script, a temporary data directory with the
// engine's settings, and the console's parameter pickers.

#include "console/widgets/Pickers.h"
#include "matchscript/MatchScript.h"

#include <QApplication>
#include <QTemporaryDir>

#include <memory>

class Tdm;

class ReplayBench
{
public:
    // Throws when the example match cannot be read.
    ReplayBench(int &argc, char **argv);
    ~ReplayBench();

    const MatchScript &example() const { return example_; }
    QString directory() const { return directory_.path(); }
    QString database() const;
    // A data module started on the database (created on first start).
    std::unique_ptr<Tdm> startModule() const;
    // Replays the example match into the started module's database;
    // answers its match number, throws when an entry is refused.
    int replayExample() const;

private:
    QApplication app_;
    MatchScript example_;
    QTemporaryDir directory_;
    TShootPosFrm zonePicker_;
    TTurnoverTypesFrm turnoverPicker_;
    TPFTypesFrm foulPicker_;
};
