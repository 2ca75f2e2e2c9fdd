// The run with the test-double executables: readiness, signal order and
// status, the judging of console output, failures, crashes, stop, a profile
// between the executables, and the live reading of the growing data file.

#include "projectfixture.h"
#include "require.h"
#include "messagecapture.h"

#include "profile.h"

#include <QBuffer>
#include <QSignalSpy>
#include <QTest>

#include <sys/stat.h>

namespace {

const QString kInp = QStringLiteral("fake inp.x");
const QString kRun = QStringLiteral("fakerun.x");
const QString kSuccess = QStringLiteral("CONGRATULATION  -  SIMULATION WAS SUCCESSFUL");
constexpr int kRunTimeout = 20000;

QString quoted(const QString& text)
{
    return QLatin1Char('"') + text + QStringLiteral("\" ");
}

QString data(const QStringList& cells)
{
    return QStringLiteral("data ") + ProjectFixture::row(cells);
}

// Every signal of the project as it comes, with the status where it matters.
class Recorder
{
public:
    explicit Recorder(Project& project)
    {
        QObject::connect(&project, &Project::statusChanged, &m_context, [this, &project] {
            events << QStringLiteral("statusChanged %1").arg(int(project.status()));
            // What the listeners of the status find in the project.
            outputAtStatus.append(project.hasExtra(QStringLiteral("OUTPUT_DATA"))
                                      ? project.getExtra(QStringLiteral("OUTPUT_DATA"))->text
                                      : QString());
        });
        QObject::connect(&project, &Project::progUpdated, &m_context, [this](int i) { progress << i; });
        QObject::connect(&project, &Project::progFinished, &m_context,
                         [this](int i) { events << QStringLiteral("progFinished %1").arg(i); });
        QObject::connect(&project, &Project::outDataUpdated, &m_context, [this] { ++outDataUpdates; });
        QObject::connect(&project, &Project::simulationStarted, &m_context, [this] { events << QStringLiteral("simulationStarted"); });
        QObject::connect(&project, &Project::simulationFinished, &m_context,
                         [this] { events << QStringLiteral("simulationFinished"); });
        QObject::connect(&project, &Project::simulationFailure, &m_context,
                         [this] { events << QStringLiteral("simulationFailure"); });
    }

    QObject m_context; // ends the connections with the recorder
    QStringList events;
    QList<int> progress;
    QStringList outputAtStatus;
    int outDataUpdates = 0;
};

bool runToEnd(Project& project)
{
    QSignalSpy finished(&project, &Project::simulationFinished);
    project.start();
    return finished.wait(kRunTimeout);
}

} // namespace

class TestProjectRun : public QObject
{
    Q_OBJECT

private slots:
    void missingExecutorRefusesTheRun();
    void readiness();
    void signalOrderAndStatus();
    void verdict_data();
    void verdict();
    void logCap();
    void firstFailsSecondNeverStarts();
    void crashFails();
    void failedStartEndsRun();
    void profileAppendedBetween();
    void profileFileCannotBeOpened();
    void stopHanging();
    void stopEndsSequence();
    void startWhileRunning();
    void clearWhileRunning();
    void liveReading();
    void fieldsizeWarnsOnce();
    void endTime();
    void refusesFilesOutside();
    void noOutputDataIsAFailure();
    void linksInTheRunFolderAreNotFollowed();
    void resultsAreStoredOffTheInterfaceThread();
};

void TestProjectRun::missingExecutorRefusesTheRun()
{
    QList<FakeExecutor> executors = ProjectFixture::twoExecutors();
    executors[0].present = false;
    MessageCapture messages;
    ProjectFixture fixture(executors);
    const QString path = QDir(fixture.binDir()).filePath(kInp);
    QVERIFY(messages.texts(QtWarningMsg)
                .contains(quoted(QStringLiteral("Project Execution File \"%1\" doesn't exist or wrong").arg(path))));
    // Kept, so that a run is refused naming it, never run without it.
    QCOMPARE(fixture.project().runs().size(), 2);
    QCOMPARE(fixture.project().notReadyReason(),
             QStringLiteral("Project Execution File \"%1\" doesn't exist or wrong").arg(path));
    QCOMPARE(fixture.project().addExecutor(QStringLiteral(" "), path, QString(), QString()), -1);
    QCOMPARE(fixture.project().addExecutor(QStringLiteral("X"), QStringLiteral(" "), QString(), QString()), -1);
    // The same name again, in another case: the entry is updated.
    const QString other = QDir(fixture.binDir()).filePath(kRun);
    QCOMPARE(fixture.project().addExecutor(QStringLiteral("fakerun"), other, QStringLiteral("OK"), QString()), 1);
    QCOMPARE(fixture.project().runs().size(), 2);
    QCOMPARE(fixture.project().runs().at(1).success, QStringLiteral("OK"));
}

void TestProjectRun::readiness()
{
    {
        ProjectFixture none(QList<FakeExecutor>{});
        MessageCapture messages;
        QVERIFY(!none.project().checkReady(false));
        QCOMPARE(messages.texts(QtWarningMsg),
                 QStringList{quoted(QStringLiteral("Project Execution File hasn't been yet specified"))});
    }
    ProjectFixture fixture;
    fixture.buildScheme();
    QVERIFY(fixture.project().checkReady(false));
    {
        Project pathless(&fixture.catalogue());
        MessageCapture messages;
        QVERIFY(!pathless.checkReady(false));
        QCOMPARE(messages.texts(QtWarningMsg),
                 QStringList{quoted(QStringLiteral("Project Working Folder hasn't been yet specified"))});
    }
    Project& project = fixture.project();
    {
        const QString run = QDir(fixture.binDir()).filePath(kRun);
        QVERIFY(QFile::rename(run, run + QStringLiteral(".away")));
        MessageCapture messages;
        QVERIFY(!project.checkReady(false));
        QCOMPARE(messages.texts(QtWarningMsg),
                 QStringList{quoted(QStringLiteral("Project Execution File \"%1\" doesn't exist or wrong").arg(run))});
        QVERIFY(QFile::rename(run + QStringLiteral(".away"), run));
    }
    {
        // There, but not to be executed.
        const QString run = QDir(fixture.binDir()).filePath(kRun);
        const QFile::Permissions permissions = QFile::permissions(run);
        QVERIFY(QFile::setPermissions(run, QFile::ReadOwner | QFile::WriteOwner));
        MessageCapture messages;
        QVERIFY(!project.checkReady(false));
        QCOMPARE(messages.texts(QtWarningMsg),
                 QStringList{quoted(QStringLiteral("Project Execution File \"%1\" doesn't exist or wrong").arg(run))});
        QVERIFY(QFile::setPermissions(run, permissions));
    }
    {
        const QString gone = QDir(fixture.root()).filePath(QStringLiteral("gone"));
        QVERIFY(project.setPath(gone));
        QVERIFY(QDir(gone).removeRecursively());
        MessageCapture messages;
        QVERIFY(!project.checkReady(false));
        QCOMPARE(messages.texts(QtWarningMsg),
                 QStringList{quoted(QStringLiteral("Project Working Folder \"%1\" doesn't exist").arg(gone))});
        QVERIFY(project.setPath(fixture.projectDir()));
    }
    {
        const QString text = *project.pointerToExtra(QStringLiteral("CUSTOM_INP"));
        require(project.setExtraData(QStringLiteral("CUSTOM_INP"), QString()), "setExtraData");
        MessageCapture messages;
        QVERIFY(!project.checkReady(false));
        QCOMPARE(messages.texts(QtWarningMsg),
                 QStringList{quoted(QStringLiteral("Configuration file hasn't been yet generated."))});
        messages.clear();
        QVERIFY(!project.checkReady(true));
        QVERIFY(messages.messages().isEmpty());

        // Through start() the check is quiet, nothing runs, and it comes
        // before anything is cleared: the last results stay.
        project.setStatus(RunStatus::ResultsAvailable);
        require(project.setExtraData(QStringLiteral("OUTPUT_DATA"), QStringLiteral("kept")), "setExtraData");
        QSignalSpy started(&project, &Project::simulationStarted);
        QSignalSpy outData(&project, &Project::outDataUpdated);
        project.start();
        QCOMPARE(project.status(), RunStatus::ResultsAvailable);
        QCOMPARE(project.getExtra(QStringLiteral("OUTPUT_DATA"))->text, QStringLiteral("kept"));
        QCOMPARE(started.count(), 0);
        QCOMPARE(outData.count(), 0);
        QVERIFY(messages.texts(QtWarningMsg).isEmpty());
        // Through calculate() it is reported, and the status is 0 too.
        project.setStatus(RunStatus::ResultsAvailable);
        project.calculate();
        QCOMPARE(project.status(), RunStatus::NoResults);
        QCOMPARE(messages.texts(QtWarningMsg).size(), 1);
        require(project.setExtraData(QStringLiteral("CUSTOM_INP"), text), "setExtraData");
    }
    {
        const ExtraData input = *project.getExtra(QStringLiteral("CUSTOM_INP"));
        project.removeExtra(QStringLiteral("CUSTOM_INP"));
        MessageCapture messages;
        QVERIFY(!project.checkReady(true));
        const QString critical = QStringLiteral(
            "Project::calculate(). Unexpected error: File \"CUSTOM_INP\" has not been found in the project. ");
        QCOMPARE(messages.texts(QtCriticalMsg), QStringList{critical});
        QVERIFY(project.addExtra(input));
    }
    QVERIFY(project.checkReady(false));
}

void TestProjectRun::signalOrderAndStatus()
{
    ProjectFixture fixture;
    fixture.buildScheme();
    fixture.control(kInp, {QStringLiteral("print input read"), QStringLiteral("copy fort.2 fort.2.seen")});
    fixture.control(kRun, {data({"t(s)", "T(K)", "H2"}), data({"0.0E+00", "1000.0", "0.3"}),
                           data({"5.0E-04", "1500.0", "0.2"}), data({"1.0E-03", "2000.0", "0.1"}),
                           QStringLiteral("append fort.18 >DATA 1"), QStringLiteral("append fort.18 <"),
                           QStringLiteral("print ") + kSuccess});
    Project& project = fixture.project();
    Recorder recorder(project);
    QVERIFY(runToEnd(project));

    QCOMPARE(recorder.events, (QStringList{"simulationStarted", "statusChanged 2", "progFinished 0", "progFinished 1",
                                           "statusChanged 1", "simulationFinished"}));
    QCOMPARE(recorder.progress, (QList<int>{0, 1}));
    QVERIFY(recorder.outDataUpdates >= 2); // emptied at the start, read at the end
    // The output files are in the project when the status says so.
    const QByteArray file = ProjectFixture::readFile(fixture.inProject(QStringLiteral("fort.29")));
    QCOMPARE(recorder.outputAtStatus.last(), QString::fromLatin1(file));
    QCOMPARE(project.getExtra(QStringLiteral("COMPUT_DATA"))->text, QStringLiteral(">DATA 1\n<\n"));

    QCOMPARE(project.status(), RunStatus::ResultsAvailable);
    QCOMPARE(project.runs().at(0).log, QStringLiteral("input read\n"));
    QCOMPARE(project.runs().at(1).log, kSuccess + QLatin1Char('\n'));
    QVERIFY(project.runs().at(0).succeeded);
    QVERIFY(project.runs().at(1).succeeded);
    QVERIFY(project.allSucceeded());
    QCOMPARE(project.currentRun(), 2);
    // The input file was in the project directory when the first one ran.
    QCOMPARE(ProjectFixture::readFile(fixture.inProject(QStringLiteral("fort.2.seen"))),
             project.getExtra(QStringLiteral("CUSTOM_INP"))->text.toLatin1());

    // Heading of three 18-character columns and its line feed: three fields.
    QCOMPARE(project.fieldCount(), 3);
    QCOMPARE(project.field(0)->name, QStringLiteral("t(s)"));
    QCOMPARE(project.field(1)->name, QStringLiteral("T(K)"));
    QCOMPARE(project.field(1)->values, (QList<float>{1000.0f, 1500.0f, 2000.0f}));
    QCOMPARE(project.timeStepCount(), 3);
    QCOMPARE(project.currentTime(), 1.0e-3f);
    QCOMPARE(project.endTime(), 1.0e-3f);
    QCOMPARE(project.progress(), 1000);
}

void TestProjectRun::verdict_data()
{
    QTest::addColumn<QStringList>("output");
    QTest::addColumn<bool>("succeeded");

    const QString success = QStringLiteral("print ") + kSuccess;
    QTest::newRow("success") << QStringList{success} << true;
    QTest::newRow("no success sentence") << QStringList{QStringLiteral("print done")} << false;
    QTest::newRow("success in lower case")
        << QStringList{QStringLiteral("print ") + kSuccess.toLower()} << true;
    QTest::newRow("failure in the same chunk")
        << QStringList{QStringLiteral("print ") + kSuccess + QStringLiteral(" but Abnormal End")} << false;
    QTest::newRow("failure after success") << QStringList{success, QStringLiteral("print abnormal end")} << false;
    QTest::newRow("success after failure") << QStringList{QStringLiteral("print ABNORMAL END"), success} << true;
    QTest::newRow("success in two writes")
        << QStringList{QStringLiteral("printraw CONGRATULATION  -  SIMU"), QStringLiteral("sleep 400"),
                       QStringLiteral("print LATION WAS SUCCESSFUL")}
        << true;
    QTest::newRow("failure in two writes")
        << QStringList{success, QStringLiteral("printraw ABNOR"), QStringLiteral("sleep 400"),
                       QStringLiteral("print MAL END")}
        << false;
    QTest::newRow("last line without line feed")
        << QStringList{QStringLiteral("printraw ") + kSuccess} << true;
    QTest::newRow("success on standard error") << QStringList{QStringLiteral("stderr ") + kSuccess} << true;
    QTest::newRow("non-zero exit judged by the output") << QStringList{success, QStringLiteral("exit 3")} << true;
}

void TestProjectRun::verdict()
{
    QFETCH(QStringList, output);
    QFETCH(bool, succeeded);
    ProjectFixture fixture;
    fixture.buildScheme();
    fixture.control(kInp, {QStringLiteral("print ok"), QStringLiteral("data t(s)")});
    fixture.control(kRun, output);
    Project& project = fixture.project();
    QSignalSpy failure(&project, &Project::simulationFailure);
    QVERIFY(runToEnd(project));
    QCOMPARE(project.runs().at(1).succeeded, succeeded);
    QCOMPARE(failure.count(), succeeded ? 0 : 1);
    QCOMPARE(project.status(), RunStatus::ResultsAvailable);
}

void TestProjectRun::logCap()
{
    ProjectFixture fixture;
    fixture.buildScheme();
    fixture.control(kInp, {QStringLiteral("print first line"), QStringLiteral("spam 50000")});
    fixture.control(kRun, {QStringLiteral("data t(s)"), QStringLiteral("print ") + kSuccess});
    Project& project = fixture.project();
    QVERIFY(runToEnd(project));
    QString everything = QStringLiteral("first line\n");
    for (int i = 1; i <= 50000; ++i)
        everything += i % 100 == 0 ? QLatin1Char('\n') : QLatin1Char('x');
    const ExecutorRun& run = project.runs().at(0);
    QCOMPARE(run.log.size(), 40000);
    QCOMPARE(run.log, everything.right(40000));
    QCOMPARE(run.received, qint64(everything.size()));
    // No success sentence: it succeeded, as nothing said it failed.
    QVERIFY(run.succeeded);
    QVERIFY(project.allSucceeded());
}

void TestProjectRun::firstFailsSecondNeverStarts()
{
    ProjectFixture fixture;
    fixture.buildScheme();
    fixture.control(kInp, {QStringLiteral("print reading"), QStringLiteral("print *** abnormal END ***")});
    fixture.control(kRun, {QStringLiteral("append started.txt yes"), QStringLiteral("print ") + kSuccess});
    Project& project = fixture.project();
    Recorder recorder(project);
    QVERIFY(runToEnd(project));
    QCOMPARE(recorder.events, (QStringList{"simulationStarted", "statusChanged 2", "progFinished 0",
                                           "simulationFailure", "statusChanged 1", "simulationFinished"}));
    QVERIFY(!QFile::exists(fixture.inProject(QStringLiteral("started.txt"))));
    QVERIFY(!project.runs().at(0).succeeded);
    QVERIFY(project.runs().at(1).log.isEmpty());
    QCOMPARE(project.currentRun(), 0);
    QVERIFY(!project.allSucceeded());
}

void TestProjectRun::crashFails()
{
    ProjectFixture fixture;
    fixture.buildScheme();
    fixture.control(kInp, {QStringLiteral("print ok")});
    fixture.control(kRun, {QStringLiteral("print ") + kSuccess, QStringLiteral("crash")});
    Project& project = fixture.project();
    QSignalSpy failure(&project, &Project::simulationFailure);
    MessageCapture messages;
    QVERIFY(runToEnd(project));
    QVERIFY(!project.runs().at(1).succeeded);
    QCOMPARE(failure.count(), 1);
    QCOMPARE(project.status(), RunStatus::ResultsAvailable);
    const QString path = QDir(fixture.binDir()).filePath(kRun);
    QVERIFY(messages.texts(QtWarningMsg)
                .contains(QStringLiteral("Error in \"%1\" : \"The calculating programme has crashed\" ").arg(path)));
}

void TestProjectRun::failedStartEndsRun()
{
    for (int broken = 0; broken < 2; ++broken) {
        QList<FakeExecutor> executors = ProjectFixture::twoExecutors();
        executors[broken].executable = false;
        ProjectFixture fixture(executors);
        fixture.buildScheme();
        fixture.control(kInp, {QStringLiteral("print ok")});
        fixture.control(kRun, {QStringLiteral("print ") + kSuccess});
        Project& project = fixture.project();
        Recorder recorder(project);
        // Refused before anything runs, naming the program.
        const QString path = QDir(fixture.binDir()).filePath(executors[broken].file);
        QCOMPARE(project.notReadyReason(),
                 QStringLiteral("Project Execution File \"%1\" doesn't exist or wrong").arg(path));
        project.start();
        QCOMPARE(recorder.events, QStringList());
        QCOMPARE(project.status(), RunStatus::NoResults);
    }
}

void TestProjectRun::profileAppendedBetween()
{
    ProjectFixture fixture;
    fixture.buildScheme();
    Project& project = fixture.project();
    fixture.control(kInp, {QStringLiteral("print ok")});
    fixture.control(kRun, {data({"t(s)", "T(K)"}), data({"0.0E+00", "1000.0"}), data({"1.0E-04", "1100.0"}),
                           QStringLiteral("append fort.18 >DATA step 0"), QStringLiteral("append fort.18 TIME (S) 0.0"),
                           QStringLiteral("append fort.18 <"), QStringLiteral("append fort.18 >DATA step 1"),
                           QStringLiteral("append fort.18  TIME (S)  1.000E-04     5.000E-05"),
                           QStringLiteral("append fort.18  T 1100"), QStringLiteral("append fort.18 <"),
                           QStringLiteral("print ") + kSuccess});
    QVERIFY(runToEnd(project));
    QCOMPARE(project.saveProfile(QStringLiteral("hot"), 1), ProfileResult::Created);
    QVERIFY(project.setCurrentProfile(0));
    const QByteArray block = project.profileAt(0)->data().toLatin1();
    QCOMPARE(block, QByteArray(">DATA step 1\n TIME (S)  0.000E+00     0.000E+00\n T 1100\n<"));

    // The first sees no computation file (start() removed the last one); the
    // second sees the profile alone.
    fixture.control(kInp, {QStringLiteral("copy fort.18 inp.18"), QStringLiteral("print ok")});
    fixture.control(kRun, {QStringLiteral("copy fort.18 run.18"), QStringLiteral("data t(s)"),
                           QStringLiteral("print ") + kSuccess});
    MessageCapture messages;
    QVERIFY(runToEnd(project));
    QVERIFY(!QFile::exists(fixture.inProject(QStringLiteral("inp.18"))));
    QCOMPARE(ProjectFixture::readFile(fixture.inProject(QStringLiteral("run.18"))), block + '\n');
    QVERIFY(messages.texts(QtDebugMsg).contains(QStringLiteral("Applying profile # 0 ,  \"hot\" ")));
    QVERIFY(project.allSucceeded());
}

void TestProjectRun::profileFileCannotBeOpened()
{
    ProjectFixture fixture;
    fixture.buildScheme();
    Project& project = fixture.project();
    project.addExtra(QStringLiteral("COMPUT_DATA"), QStringLiteral(">DATA\nX\n<\n"));
    QBuffer buffer;
    buffer.setData(QByteArray(ProjectFixture::row({"t(s)"}).toLatin1() + "\n"
                              + ProjectFixture::row({"1.0"}).toLatin1() + "\n"));
    buffer.open(QIODevice::ReadOnly);
    project._readOutData(buffer, true);
    QCOMPARE(project.saveProfile(QStringLiteral("p"), 0), ProfileResult::Created);
    QVERIFY(project.setCurrentProfile(0));
    // A folder where the computation file should be: it cannot be opened.
    QVERIFY(QDir(fixture.projectDir()).mkdir(QStringLiteral("fort.18")));
    fixture.control(kInp, {QStringLiteral("print ok")});
    fixture.control(
        kRun, {QStringLiteral("append ran.txt yes"), QStringLiteral("data t(s)"), QStringLiteral("print ") + kSuccess});
    MessageCapture messages;
    QVERIFY(runToEnd(project));
    QVERIFY(messages.texts(QtWarningMsg)
                .contains(QStringLiteral("Project::_appendProfileToFort3(). Failed to open fort.3 Is a directory ")));
    // The run goes on.
    QVERIFY(QFile::exists(fixture.inProject(QStringLiteral("ran.txt"))));
    QVERIFY(project.allSucceeded());
}

void TestProjectRun::stopHanging()
{
    ProjectFixture fixture;
    fixture.buildScheme();
    fixture.control(kInp, {QStringLiteral("print ok")});
    fixture.control(kRun, {QStringLiteral("print working"), QStringLiteral("hang")});
    Project& project = fixture.project();
    Recorder recorder(project);
    QSignalSpy finished(&project, &Project::simulationFinished);
    project.start();
    QTRY_VERIFY_WITH_TIMEOUT(project.runs().at(1).log == QLatin1String("working\n"), kRunTimeout);
    QCOMPARE(project.status(), RunStatus::Running);

    const QStringList before = recorder.events;
    project.stop();
    // stop() waits for nothing and announces nothing; the end comes from
    // the event loop.
    QCOMPARE(recorder.events, before);
    QVERIFY(project.isStopRequested());

    QVERIFY(finished.wait(kRunTimeout));
    QCOMPARE(project.processState(), QProcess::NotRunning);
    QCOMPARE(project.runVerdictText(), QStringLiteral("The run was stopped during FakeRun."));
    QCOMPARE(recorder.events, (QStringList{"simulationStarted", "statusChanged 2", "progFinished 0", "progFinished 1",
                                           "statusChanged 1", "simulationFinished"}));
    QCOMPARE(project.status(), RunStatus::ResultsAvailable);
    QVERIFY(!project.allSucceeded());

    // Not running: nothing happens.
    project.stop();
    QCOMPARE(recorder.events.size(), 6);
}

void TestProjectRun::stopEndsSequence()
{
    ProjectFixture fixture;
    fixture.buildScheme();
    // The first has no success sentence, so it still counts as succeeded
    // when stopped; the sequence ends all the same.
    fixture.control(kInp, {QStringLiteral("print reading"), QStringLiteral("hang")});
    fixture.control(kRun, {QStringLiteral("append started.txt yes"), QStringLiteral("print ") + kSuccess});
    Project& project = fixture.project();
    Recorder recorder(project);
    QSignalSpy finished(&project, &Project::simulationFinished);
    project.start();
    QTRY_VERIFY_WITH_TIMEOUT(project.runs().at(0).log == QLatin1String("reading\n"), kRunTimeout);
    project.stop();
    QVERIFY(finished.wait(kRunTimeout));
    QCOMPARE(recorder.events, (QStringList{"simulationStarted", "statusChanged 2", "progFinished 0", "statusChanged 1",
                                           "simulationFinished"}));
    QVERIFY(!QFile::exists(fixture.inProject(QStringLiteral("started.txt"))));
    QCOMPARE(project.currentRun(), 0);
    QVERIFY(!project.allSucceeded());
}

void TestProjectRun::startWhileRunning()
{
    ProjectFixture fixture;
    fixture.buildScheme();
    fixture.control(kInp, {data({"t(s)"}), data({"1.0E-04"}), QStringLiteral("print ok"), QStringLiteral("hang")});
    Project& project = fixture.project();
    QSignalSpy started(&project, &Project::simulationStarted);
    QSignalSpy finished(&project, &Project::simulationFinished);
    project.start();
    // Before the executable has reported its start, too.
    project.start();
    QTRY_VERIFY_WITH_TIMEOUT(project.timeStepCount() == 1, kRunTimeout);
    project.start();
    project.calculate();
    QCOMPARE(started.count(), 1);
    QCOMPARE(project.timeStepCount(), 1);
    QCOMPARE(project.status(), RunStatus::Running);
    project.stop();
    QVERIFY(finished.wait(kRunTimeout));
    QCOMPARE(finished.count(), 1);
}

void TestProjectRun::clearWhileRunning()
{
    ProjectFixture fixture;
    fixture.buildScheme();
    fixture.control(kInp, {data({"t(s)"}), data({"1.0E-04"}), QStringLiteral("hang")});
    fixture.control(kRun, {QStringLiteral("append started.txt yes")});
    Project& project = fixture.project();
    QSignalSpy finished(&project, &Project::simulationFinished);
    project.start();
    QTRY_VERIFY_WITH_TIMEOUT(project.timeStepCount() == 1, kRunTimeout);
    const OutputField* field = project.field(0);
    QVERIFY(field);

    QSignalSpy status(&project, &Project::statusChanged);
    QSignalSpy outData(&project, &Project::outDataUpdated);
    project.clear();
    QCOMPARE(project.status(), RunStatus::NoResults);
    QCOMPARE(status.count(), 1);
    QVERIFY(outData.count() >= 1);
    QCOMPARE(project.fieldCount(), 0);
    QCOMPARE(project.processState(), QProcess::NotRunning);

    // The finish of the old executable, still queued, is dropped: no end of
    // a run, no next executable, no old files in the new project.
    QVERIFY(!finished.wait(1000));
    QCOMPARE(project.status(), RunStatus::NoResults);
    QVERIFY(!QFile::exists(fixture.inProject(QStringLiteral("started.txt"))));
    QVERIFY(!project.hasExtra(QStringLiteral("OUTPUT_DATA")));
    QVERIFY(!project.hasExtra(QStringLiteral("COMPUT_DATA")));
}

void TestProjectRun::liveReading()
{
    ProjectFixture fixture;
    fixture.buildScheme();
    const QString second = ProjectFixture::row({"5.0E-04", "1500.0"});
    const QString third = ProjectFixture::row({"7.5E-04", "1750.0"});
    fixture.control(kInp, {QStringLiteral("print ok")});
    fixture.control(kRun, {data({"t(s)", "T(K)"}), data({"2.5E-04", "1250.0"}),
                           QStringLiteral("dataraw ") + second.left(20), QStringLiteral("print half"),
                           QStringLiteral("sleep 1500"), QStringLiteral("data ") + second.mid(20),
                           QStringLiteral("print whole"), QStringLiteral("sleep 1500"),
                           QStringLiteral("dataraw ") + third, QStringLiteral("print ") + kSuccess});
    Project& project = fixture.project();
    QSignalSpy finished(&project, &Project::simulationFinished);
    project.start();

    // While the executable runs, the unfinished line is held back.
    QTRY_VERIFY_WITH_TIMEOUT(project.runs().at(1).log.contains(QLatin1String("half")) && project.timeStepCount() == 1,
                             kRunTimeout);
    const OutputField* time = project.field(0);
    QCOMPARE(time->values, QList<float>{2.5e-4f});
    QCOMPARE(project.readPos(), qint64(2 * (2 * 18 + 1))); // the heading and one line
    QCOMPARE(project.currentTime(), 2.5e-4f);
    QCOMPARE(project.progress(), 250);

    // Completed, it is read on from where reading stopped.
    QTRY_VERIFY_WITH_TIMEOUT(project.timeStepCount() == 2, kRunTimeout);
    QVERIFY(project.status() == RunStatus::Running);
    QCOMPARE(project.field(0), time); // the same record, grown
    QCOMPARE(time->values, (QList<float>{2.5e-4f, 5.0e-4f}));
    QCOMPARE(project.field(1)->values, (QList<float>{1250.0f, 1500.0f}));
    QCOMPARE(project.progress(), 500);

    // At the end of the run the last line counts, line feed or not.
    QVERIFY(finished.wait(kRunTimeout));
    QCOMPARE(time->values, (QList<float>{2.5e-4f, 5.0e-4f, 7.5e-4f}));
    QCOMPARE(project.progress(), 750);
}

void TestProjectRun::fieldsizeWarnsOnce()
{
    CatalogueSettings settings;
    settings.fieldsize = 0;
    ProjectFixture fixture(ProjectFixture::twoExecutors(), settings);
    fixture.buildScheme();
    fixture.control(kInp, {data({"t(s)"}), data({"1.0"}), QStringLiteral("sleep 700")});
    fixture.control(kRun, {QStringLiteral("sleep 500"), QStringLiteral("print ") + kSuccess});
    MessageCapture messages;
    QVERIFY(runToEnd(fixture.project()));
    QCOMPARE(messages.texts(QtWarningMsg),
             QStringList{"Project::_readOutData(). The field size 0 is not positive: the output data cannot be read. "});
    QCOMPARE(fixture.project().fieldCount(), 0);
}

void TestProjectRun::endTime()
{
    ProjectFixture fixture;
    fixture.buildScheme(QStringLiteral("1E+99"));
    Project& project = fixture.project();
    fixture.control(kInp, {QStringLiteral("print ok")});
    fixture.control(kRun, {QStringLiteral("print ") + kSuccess});
    MessageCapture messages;
    QVERIFY(runToEnd(project));
    QVERIFY(messages.texts(QtDebugMsg).contains(QStringLiteral("Duration: \"1E+99\" \"TEND\" ")));
    // Beyond single precision: 0 as Qt 4 read it, not infinity.
    QCOMPARE(project.endTime(), 0.0f);
    QCOMPARE(project.progress(), -1);

    for (SchemeNode* node : project.allNodes()) {
        if (node->option && node->option->name == QLatin1String("TEND"))
            node->value = QStringLiteral("2.5E-03");
    }
    QVERIFY(runToEnd(project));
    QCOMPARE(project.endTime(), 2.5e-3f);
    for (SchemeNode* node : project.allNodes()) {
        if (node->option && node->option->name == QLatin1String("TEND"))
            node->value = QStringLiteral("soon");
    }
    QVERIFY(runToEnd(project));
    QCOMPARE(project.endTime(), 0.0f);
}

void TestProjectRun::refusesFilesOutside()
{
    ProjectFixture fixture;
    fixture.buildScheme();
    fixture.control(kInp, {QStringLiteral("append ran.txt yes")});
    Project& project = fixture.project();
    const QString outside = QDir(fixture.root()).filePath(QStringLiteral("outside.txt"));
    const QStringList names{QStringLiteral("../outside.txt"), outside};
    for (const QString& name : names) {
        // As a project file from someone else would bring it.
        ExtraData evil;
        evil.name = QStringLiteral("EVIL");
        evil.fileName = name;
        evil.text = QStringLiteral("overwritten");
        QVERIFY(project.addExtra(evil));
        const QString file = QDir(fixture.root()).filePath(QStringLiteral("evil.tarvel"));
        QVERIFY(project.save(file));
        project.removeExtra(QStringLiteral("EVIL"));

        Project received(&fixture.catalogue());
        QVERIFY(received.setPath(fixture.projectDir()));
        QVERIFY(received.load(file));
        QCOMPARE(received.getExtra(QStringLiteral("EVIL"))->fileName, name);
        QSignalSpy started(&received, &Project::simulationStarted);
        MessageCapture messages;
        received.start();
        QVERIFY(messages.texts(QtWarningMsg)
                    .contains(quoted(QStringLiteral("Failed to open the file \"%1\".")
                                         .arg(QDir(fixture.projectDir()).filePath(name)))));
        QCOMPARE(started.count(), 0);
        QVERIFY(!QFile::exists(outside));
        QCOMPARE(received.processState(), QProcess::NotRunning);
        QVERIFY(!QFile::exists(fixture.inProject(QStringLiteral("ran.txt"))));
    }
}

void TestProjectRun::noOutputDataIsAFailure()
{
    // Nothing written, and then a FIFO at the name, which reading would wait
    // on for ever: both end as a failure that says why.
    for (const bool fifo : {false, true}) {
        ProjectFixture fixture;
        fixture.buildScheme();
        fixture.control(kInp, {QStringLiteral("print ok")});
        fixture.control(kRun, {QStringLiteral("print ") + kSuccess});
        if (fifo)
            QCOMPARE(::mkfifo(QFile::encodeName(fixture.inProject(QStringLiteral("fort.29"))).constData(), 0600), 0);
        Project& project = fixture.project();
        QSignalSpy failure(&project, &Project::simulationFailure);
        QVERIFY(runToEnd(project));
        QCOMPARE(failure.count(), 1);
        QVERIFY(!project.allSucceeded());
        QCOMPARE(project.runVerdictText(), QStringLiteral("FakeRun wrote no output data file (fort.29)."));
    }
}

void TestProjectRun::linksInTheRunFolderAreNotFollowed()
{
    ProjectFixture fixture;
    fixture.buildScheme();
    Project& project = fixture.project();
    const QString outside = QDir(fixture.root()).filePath(QStringLiteral("outside.txt"));
    ProjectFixture::writeFile(outside, "keep me\n");
    QVERIFY(QFile::link(outside, fixture.inProject(QStringLiteral("fort.2"))));
    QVERIFY(project._writeFile(QStringLiteral("fort.2"), QStringLiteral("INPUT\n")));
    QCOMPARE(ProjectFixture::readFile(outside), QByteArray("keep me\n"));
    QVERIFY(!QFileInfo(fixture.inProject(QStringLiteral("fort.2"))).isSymLink());
    QCOMPARE(ProjectFixture::readFile(fixture.inProject(QStringLiteral("fort.2"))), QByteArray("INPUT\n"));
    // Nor through a linked folder on the way.
    QVERIFY(QDir(fixture.root()).mkdir(QStringLiteral("elsewhere")));
    QVERIFY(QFile::link(QDir(fixture.root()).filePath(QStringLiteral("elsewhere")),
                        fixture.inProject(QStringLiteral("sub"))));
    MessageCapture messages;
    QVERIFY(!project._writeFile(QStringLiteral("sub/fort.2"), QStringLiteral("INPUT\n")));
    QVERIFY(!QFile::exists(QDir(fixture.root()).filePath(QStringLiteral("elsewhere/fort.2"))));
}

void TestProjectRun::resultsAreStoredOffTheInterfaceThread()
{
    ProjectFixture fixture;
    fixture.buildScheme();
    QStringList lines{data({"t(s)", "T(K)"})};
    for (int i = 0; i < 2000; ++i)
        lines << data({QString::number(i * 1.0e-6, 'E', 3), QStringLiteral("1000.0")});
    lines << QStringLiteral("print ") + kSuccess;
    fixture.control(kInp, {QStringLiteral("print ok")});
    fixture.control(kRun, lines);
    Project& project = fixture.project();
    Recorder recorder(project);
    QStringList storing;
    bool savedWhileStoring = true;
    connect(&project, &Project::storingChanged, this, [&](bool on) {
        storing << QStringLiteral("storing %1 status %2").arg(on).arg(int(project.status()));
        if (on) {
            // Nothing half-stored can be saved meanwhile.
            savedWhileStoring = project.save(fixture.inProject(QStringLiteral("x.tarvel")));
            QVERIFY(project.isStoring());
        }
    });
    QVERIFY(runToEnd(project));
    QCOMPARE(storing, QStringList({"storing 1 status 2", "storing 0 status 2"}));
    QVERIFY(!savedWhileStoring);
    QCOMPARE(project.errorString(),
             QStringLiteral("The results of the run are still being stored; save once they are."));
    QCOMPARE(recorder.events.mid(recorder.events.size() - 2), QStringList({"statusChanged 1", "simulationFinished"}));
    // Every line, once: what the polls read and the rest the worker read.
    QCOMPARE(project.timeStepCount(), 2000);
    QCOMPARE(project.field(0)->values.last(), 1999 * 1.0e-6f);
    QCOMPARE(recorder.outputAtStatus.last(),
             QString::fromLatin1(ProjectFixture::readFile(fixture.inProject(QStringLiteral("fort.29")))));

    // A project replaced while its results are stored: they never arrive.
    QSignalSpy finished(&project, &Project::simulationFinished);
    QSignalSpy storingSpy(&project, &Project::storingChanged);
    project.start();
    QVERIFY(storingSpy.wait(kRunTimeout));
    project.clear();
    QVERIFY(!project.isStoring());
    QCoreApplication::sendPostedEvents();
    QCOMPARE(finished.count(), 0);
    QCOMPARE(project.timeStepCount(), 0);
}

QTEST_GUILESS_MAIN(TestProjectRun)
#include "tst_projectrun.moc"
