#ifndef TARVEL_PROJECT_H
#define TARVEL_PROJECT_H

// A project: a scheme together with everything a run produces. It writes the
// input files into its directory, runs the catalogue's executables there one
// after the other, follows their console output and the growing output data
// file, keeps the results, the saved profiles and a small settings store, and
// is saved as a file of the schemes database format. Every page goes through
// it and listens to its signals.

#include "executorrun.h"
#include "outputfield.h"
#include "profilelist.h"
#include "profileresult.h"
#include "runsequence.h"
#include "runstorage.h"
#include "scheme.h"
#include "settingsstore.h"

#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <utility>
#include <vector>

class QIODevice;
class QThread;
class QTimer;

// Where a project stands with its run.
enum class RunStatus { NoResults = 0, ResultsAvailable = 1, Running = 2 };

class Project : public Scheme
{
    Q_OBJECT

public:
    static constexpr int LogLimit = RunSequence::LogLimit;
    static constexpr int StopGraceMs = RunSequence::StopGraceMs;
    static constexpr int PollIntervalMs = 200; // the output data poll during a run
    // The most one poll reads: 4 MB parse in about 13 ms, and with the
    // repaint they cause the window stays under 50 ms; 20 MB a second is
    // still nearly four times what 5,000 lines a second of 60 columns need.
    static constexpr qint64 PollBytes = qint64(4) << 20;

    explicit Project(Options* catalogue, QObject* parent = nullptr);
    ~Project() override;

    // --- content (project.cpp) and the project file (projectfile.cpp)
    void setScheme(const Scheme* scheme);
    void newFromCatalogue();
    [[nodiscard]] bool setPath(const QString& dir);
    QString path() const { return m_path; }
    using Scheme::load;
    [[nodiscard]] bool load(const QString& file);

    // The project file in steps, for a save or an open in a worker thread
    // (ProjectFileJob). Each step says on which thread it may run.
    struct LoadedFile
    {
        std::unique_ptr<Scheme> scheme;
        std::vector<std::unique_ptr<OutputField>> fields;
        qint64 readPos = 0;
        QString error;
    };
    // Own thread: checks and stores what goes into the file.
    [[nodiscard]] bool prepareSave(const QString& fileArgument, QString* file);
    // Own thread: what a worker writes.
    std::unique_ptr<Scheme> snapshot() const;
    qint64 storedSizeEstimate() const;
    // Own thread: the outcome of writing.
    [[nodiscard]] bool finishSave(const QString& file, WriteResult result, const QString& error);
    // Any thread: the file read, its output data parsed; the scheme is moved
    // to `home` when given.
    static LoadedFile readFile(const QString& file, Options* catalogue, int fieldsize,
                               const FileProgress& progress = {}, const std::atomic<bool>* cancelled = nullptr,
                               QThread* home = nullptr);
    // Own thread: the project becomes what was read.
    [[nodiscard]] bool adopt(const QString& file, LoadedFile&& loaded);
    static QString longToShortPath(const QString& path) { return RunSequence::longToShortPath(path); }
    void setStatus(RunStatus status);
    RunStatus status() const { return m_status; }
    int progress() const;
    bool allSucceeded() const;
    // How the last run ended, in words for the user: why it failed, or that
    // it was stopped; empty after a success.
    QString runVerdictText() const { return m_runVerdictText; }

    // --- settings store (projectsettings.cpp): plain values only (bool, int,
    // unsigned, float, double, string, byte array)
    QList<std::pair<QString, QVariant>> settings() const;
    bool hasSetting(const QString& key) const;
    QVariant setting(const QString& key) const;
    [[nodiscard]] bool setSetting(const QString& key, const QVariant& value);
    // Many at once: one change of the stored text, one notification.
    [[nodiscard]] bool setSettings(const QList<std::pair<QString, QVariant>>& pairs);
    static bool isStorableSetting(const QVariant& value) { return SettingsStore::isStorable(value); }

    // --- input files (projectinput.cpp)
    int _removeStdBlock(QString& text, const QString& prefix, const QString& suffix) const;
    [[nodiscard]] bool _writeFile(const QString& fileName, const QString& text) const;

    // --- the run (projectrun.cpp)
    int addExecutor(const QString& name, const QString& path, const QString& success, const QString& failure);
    [[nodiscard]] bool checkReady(bool quiet) const;
    // Why a run cannot start now (the translated reason), or empty.
    QString notReadyReason() const;
    void appendOutput(const QByteArray& bytes) { m_sequence->appendOutput(bytes); }
    void _saveFileToExtra(const QString& extraName, const QString& fileName);
    const QList<ExecutorRun>& runs() const { return m_sequence->runs(); }
    int currentRun() const { return m_sequence->currentRun(); }
    bool isStopRequested() const { return m_sequence->isStopRequested(); }
    float endTime() const { return m_endTime; }
    QProcess::ProcessState processState() const { return m_sequence->processState(); }
    // While a run's results are being stored (the status is still 2).
    bool isStoring() const { return m_storage->isBusy(); }

    // --- output data (projectoutput.cpp)
    // Without `final`, a poll: at most PollBytes are read, so that a poll
    // that finds much new data (a fast writer, a window that was busy)
    // stays short; the rest comes with the next polls or the end of the run.
    void _readOutData(QIODevice& device, bool final);
    void _readDataFile(bool final);
    void _updateTime();
    int timeColumn() const;
    [[nodiscard]] bool exportOutData(const QString& fileName);
    const std::vector<std::unique_ptr<OutputField>>& outData() const { return m_outData; }
    int fieldCount() const { return int(m_outData.size()); }
    // The field's address stays while the output data lives (until the next
    // start() or clear()); views may keep it.
    const OutputField* field(int index) const;
    int timeStepCount() const;
    float currentTime() const { return m_currentTime; }
    qint64 readPos() const { return m_readPos; }
    QString datafile() const { return m_datafile; }
    QString compufile() const { return m_compufile; }
    int fieldsize() const { return m_fieldsize; }
    QString timefield() const { return m_timefield; }

    // --- profiles (projectprofiles.cpp)
    ProfileResult saveProfile(const QString& name, int step);
    void removeProfile(int index);
    bool renameProfile(int index, const QString& name);
    Profile* profileAt(int index) const { return m_profiles.at(index); }
    QStringList profileNames() const { return m_profiles.names(); }
    [[nodiscard]] bool setCurrentProfile(int index);
    int currentProfile() const { return m_profiles.current(); }
    QList<Profile*> profiles() const { return m_profiles.all(); }
    void _appendProfileToFort3(int index);
    void _storeProfiles();
    void _loadProfiles();

public slots:
    void clear() override;
    [[nodiscard]] bool save(const QString& file = QString()) override;

    void generateFiles();
    void calculate();
    void start();
    void stop();
    void readOutput();
    // Reads the whole output data file and exports it as "test87.txt": a
    // check of the reader by hand.
    void testRead();

signals:
    void statusChanged();
    void progUpdated(int idx);
    void progFinished(int idx);
    void outDataUpdated();
    void simulationStarted();
    void simulationFinished();
    void simulationFailure();
    void aboutToSave();
    void dataUpdated();
    void profilesChanged();
    // The end of a run is being stored (true) or has been (false): meanwhile
    // nothing may start, save or replace the project.
    void storingChanged(bool storing);

private:
    void copyCatalogueSettings();
    void connectSequence();
    void programStarted();
    void beforeNextProgram(int finished);
    void sequenceFinished(RunSequence::Verdict verdict);
    void endRun();
    void resultsStored();
    void storeExtraText(const QString& extraName, const QString& text);
    void emptyOutData();
    void refuseOutput();
    QString projectFile(const QString& fileName) const;

    RunStatus m_status = RunStatus::NoResults;
    RunSequence* m_sequence = nullptr;
    RunStorage* m_storage = nullptr;
    QString m_path;
    QString m_datafile;
    QString m_compufile;
    int m_fieldsize = 0;
    QString m_duroption;
    float m_endTime = 0.0f;
    // By pointer: views keep the fields' value vectors while the data grows.
    std::vector<std::unique_ptr<OutputField>> m_outData;
    qint64 m_readPos = 0;
    QString m_timefield;
    float m_currentTime = 0.0f;
    QTimer* m_timer = nullptr;
    ProfileList m_profiles;
    bool m_fieldsizeWarned = false;
    QString m_runVerdictText;
    bool m_outputMissing = false;
    // The output data was refused as damaged: nothing more of it is read.
    bool m_outputRefused = false;
};

#endif
