#ifndef TARVEL_PROJECT_H
#define TARVEL_PROJECT_H

// A project: a scheme together with everything a run produces. It writes the
// input files into its directory, runs the catalogue's executables there one
// after the other, follows their console output and the growing output data
// file, keeps the results, the saved profiles and a small settings store, and
// is saved as a file of the schemes database format. Every page goes through
// it and listens to its signals.

#include "project/executorrun.h"
#include "project/outputfield.h"
#include "scheme/scheme.h"

#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <utility>
#include <vector>

class Profile;
class QIODevice;
class QTimer;

class Project : public Scheme
{
    Q_OBJECT

public:
    static constexpr int LogLimit = 40000;    // characters kept of each executable's console output
    static constexpr int StopGraceMs = 3000;  // the longest stop() blocks
    static constexpr int PollIntervalMs = 200; // the output data poll during a run

    explicit Project(Options* catalogue, QObject* parent = nullptr);
    ~Project() override;

    // --- content and the project file (project.cpp)
    void setScheme(const Scheme* scheme);
    void newFromCatalogue();
    [[nodiscard]] bool setPath(const QString& dir);
    QString path() const { return m_path; }
    using Scheme::load;
    bool load(const QString& file);
    static QString longToShortPath(const QString& path);
    void setStatus(int status);
    int status() const { return m_status; }
    int progress() const;
    bool allSucceeded() const;

    // --- settings store (projectsettings.cpp): plain values only (bool, int,
    // unsigned, float, double, string, byte array)
    QList<std::pair<QString, QVariant>> settings() const;
    bool hasSetting(const QString& key) const;
    QVariant setting(const QString& key) const;
    bool setSetting(const QString& key, const QVariant& value);
    static bool isStorableSetting(const QVariant& value);

    // --- input files (projectinput.cpp)
    int _removeStdBlock(QString& text, const QString& prefix, const QString& suffix) const;
    [[nodiscard]] bool _writeFile(const QString& fileName, const QString& text) const;

    // --- the run (projectrun.cpp)
    int addExecutor(const QString& name, const QString& path, const QString& success, const QString& failure);
    [[nodiscard]] bool checkReady(bool quiet) const;
    void appendOutput(const QByteArray& bytes);
    void _saveFileToExtra(const QString& extraName, const QString& fileName);
    const QList<ExecutorRun>& runs() const { return m_runs; }
    int currentRun() const { return m_currentRun; }
    bool isStopRequested() const { return m_stopRequested; }
    float endTime() const { return m_endTime; }
    QProcess::ProcessState processState() const { return m_process->state(); }

    // --- output data (projectoutput.cpp)
    void _readOutData(QIODevice& device, bool final);
    void _readDataFile(bool final);
    void _updateTime();
    int timeColumn() const;
    bool exportOutData(const QString& fileName);
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
    int saveProfile(const QString& name, int step);
    void removeProfile(int index);
    bool renameProfile(int index, const QString& name);
    Profile* profileAt(int index) const;
    QStringList profileNames() const;
    bool setCurrentProfile(int index);
    int currentProfile() const { return m_currentProfile; }
    const QList<Profile*>& profiles() const { return m_profiles; }
    void _appendProfileToFort3(int index);
    void _storeProfiles();
    void _loadProfiles();

public slots:
    void clear() override;
    bool save(const QString& file = QString()) override;

    void generateFiles();
    void calculate();
    void start();
    void stop();
    void pause();
    void testRead();
    void onProcessStateChange(QProcess::ProcessState newState);
    void procFinished();
    void procStarted();
    void procError(QProcess::ProcessError error);
    void readyStd();
    void readyErr();
    void procReadRead();
    void readOutput();

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

private:
    void copyCatalogueSettings();
    void connectProcess();
    // Runs `slot` from the event loop, unless another executable has been
    // started or the project cleared in between.
    void queueForThisProcess(void (Project::*slot)());
    void startProgram(int index);
    void endProcess();
    void failedToStart();
    void drainOutput();
    void endRun();
    void emptyOutData();
    void deleteProfiles();
    QString projectFile(const QString& fileName) const;

    // Fields in the order of the design: the run status and process first.
    int m_status = 0;
    QProcess* m_process = nullptr;
    bool m_stopRequested = false;
    QString m_path;
    QList<ExecutorRun> m_runs;
    int m_currentRun = -1;
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
    QList<Profile*> m_profiles;
    int m_currentProfile = -1;

    // Counts process starts and clears: a notification queued for an earlier
    // executable or an earlier project is dropped.
    quint64 m_processSerial = 0;
    QProcess::ExitStatus m_exitStatus = QProcess::NormalExit;
    bool m_fieldsizeWarned = false;
};

#endif
