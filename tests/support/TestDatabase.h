#pragma once
// Each test works on its own copy of a template database that the test run
// creates once (the make_test_template fixture) with the program's own
// first-start code.

#include "data/DataModule.h"

#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace TestDatabase {

// The directory of the template; its ".firebird" engine directory is shared
// by every test process of the run.
QString templateDirectory();

// Points the embedded engine at the shared engine directory. Every test
// calls it (through a Sandbox) before its first database call.
void prepareEngine();

} // namespace TestDatabase

// A temporary data directory holding a fresh copy of the template database,
// and a data module connected to it.
class Sandbox
{
public:
    // With connect false only the files are laid out; the directory is made
    // in `parent` when one is named (a small disk, say).
    explicit Sandbox(bool withDatabase = true, const QString &parent = QString());
    ~Sandbox();

    QString path() const { return dir_.path(); }
    QString file(const QString &name) const;
    Tdm::Options options() const;

    // A started data module on the sandbox's database.
    Tdm &dm();
    // Ends the data module (commits and disconnects).
    void closeDm() { dm_.reset(); }

private:
    QTemporaryDir dir_;
    std::unique_ptr<Tdm> dm_;
};
