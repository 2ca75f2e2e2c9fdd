#ifndef TARVEL_BENCH_FAKERUN_H
#define TARVEL_BENCH_FAKERUN_H

// A run of the real project with the test double in place of the simulation
// code: the built-in catalogue with its two executables pointing at copies
// of the test double in a temporary folder, the bundled CH4-AIR-GRI30 scheme
// and a project folder. The control files there tell the copies what to do
// (see tests/support/fakeexec). Benchmarks only: any failure ends the
// program with the reason.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

class Options;
class Project;

class FakeRun
{
public:
    // As many columns as a mechanism of some 55 species gives.
    static constexpr int Columns = 60;
    static constexpr int FieldSize = 18;
    static constexpr const char* Success = "CONGRATULATION  -  SIMULATION WAS SUCCESSFUL";

    // Also sets up what the program's start-up does and a run depends on:
    // the messages go to a log file (in the temporary folder), as the
    // window's do, and the translation table is loaded.
    FakeRun();
    ~FakeRun();

    Options& catalogue() const { return *m_catalogue; }
    // A new project over the catalogue with the scheme, in the project
    // folder; the earlier one must be gone.
    std::unique_ptr<Project> makeProject() const;
    QString projectDir() const;
    QString inProject(const QString& name) const;
    // The commands "tarinp.x" or "tarrun.x" carries out at its next start.
    void control(const QString& executable, const QStringList& lines) const;
    // The scheme's end time in seconds.
    double endTime() const { return m_endTime; }

    // The heading of the data file: time, temperature, pressure, volume and
    // species names, Columns cells of FieldSize.
    static QByteArray heading();
    // A data line at the fraction f (0 to 1) of a run ending at `end`, as the
    // test double's "stream" command writes it.
    static QByteArray line(double f, double end);
    // The computation file's block for that line, in the code's format: the
    // time, the state and one line a species.
    static QByteArray profileBlock(double f, double end);

private:
    QTemporaryDir m_root;
    std::unique_ptr<Options> m_catalogue;
    double m_endTime = 0.0;
};

#endif
