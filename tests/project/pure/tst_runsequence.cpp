// The run of the executables on its own: the test-double program under two
// names in a temporary folder, no catalogue and no scheme.

#include "runsequence.h"

#include "filebytes.h"
#include "messagecapture.h"
#include "translation.h"

#include <QFile>

#include <csignal>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestRunSequence : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(Translation::instance().load(QStringLiteral(":/translate.xml"))); }
    void init();
    void readiness();
    void sequenceInOrder();
    void failureStopsTheSequence();
    void crashAndMissingProgram();
    void stopEndsOnce();
    void resetDropsLateNotifications();
    void outputJudgedAndCapped();
    void stopEndsTheWholeGroup();
    void floodWithoutLineFeeds();

private:
    void program(const QString& name, const QStringList& control);
    QStringList record(RunSequence& sequence);

    std::unique_ptr<QTemporaryDir> m_dir;
    QStringList m_events;
};

void TestRunSequence::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_events.clear();
}

void TestRunSequence::program(const QString& name, const QStringList& control)
{
    const QString path = m_dir->filePath(name);
    QFile::remove(path);
    QVERIFY(QFile::copy(QStringLiteral(TARVEL_FAKEEXEC), path));
    FileBytes::write(path + QStringLiteral(".ctl"), (control.join(QLatin1Char('\n')) + '\n').toUtf8());
}

QStringList TestRunSequence::record(RunSequence& sequence)
{
    connect(&sequence, &RunSequence::programStarted, this,
            [this](int i) { m_events << QStringLiteral("started %1").arg(i); });
    connect(&sequence, &RunSequence::progFinished, this,
            [this](int i) { m_events << QStringLiteral("finished %1").arg(i); });
    connect(&sequence, &RunSequence::aboutToStartNext, this,
            [this](int i) { m_events << QStringLiteral("next after %1").arg(i); });
    connect(&sequence, &RunSequence::finished, this, [this](RunSequence::Verdict v) {
        const char* names[] = {"succeeded", "failed", "stopped"};
        m_events << QString::fromLatin1(names[int(v)]);
    });
    return m_events;
}

void TestRunSequence::readiness()
{
    MessageCapture messages;
    RunSequence sequence;
    sequence.setProgramDirectory(m_dir->path());
    QCOMPARE(sequence.notReadyReason(), QStringLiteral("Project Execution File hasn't been yet specified"));
    // A missing program is kept, so that the sequence is refused naming it.
    QCOMPARE(sequence.addExecutor(QStringLiteral("A"), QStringLiteral("missing.x"), {}, {}), 0);
    QCOMPARE(messages.warnings().size(), 1);
    QVERIFY(sequence.notReadyReason().contains(QStringLiteral("missing.x")));
    program(QStringLiteral("a.x"), {QStringLiteral("exit 0")});
    QCOMPARE(sequence.addExecutor(QStringLiteral("A"), QStringLiteral("a.x"), {}, {}), 0);
    // The same name again replaces the record.
    QCOMPARE(sequence.addExecutor(QStringLiteral(" a "), QStringLiteral("a.x"), QStringLiteral("OK"), {}), 0);
    QCOMPARE(sequence.runs().size(), 1);
    QCOMPARE(sequence.runs().first().success, QStringLiteral("OK"));
    QVERIFY(sequence.notReadyReason().isEmpty());
    QFile::remove(m_dir->filePath(QStringLiteral("a.x")));
    QVERIFY(sequence.notReadyReason().contains(QStringLiteral("a.x")));
}

void TestRunSequence::sequenceInOrder()
{
    program(QStringLiteral("a.x"), {QStringLiteral("print first done")});
    program(QStringLiteral("b.x"), {QStringLiteral("print second done")});
    RunSequence sequence;
    sequence.setProgramDirectory(m_dir->path());
    sequence.addExecutor(QStringLiteral("A"), QStringLiteral("a.x"), QStringLiteral("first done"), {});
    sequence.addExecutor(QStringLiteral("B"), QStringLiteral("b.x"), QStringLiteral("second done"), {});
    record(sequence);
    QSignalSpy finished(&sequence, &RunSequence::finished);
    sequence.start(m_dir->path());
    QVERIFY(sequence.isActive());
    QVERIFY(finished.wait(5000));
    QCOMPARE(m_events,
             QStringList({"started 0", "finished 0", "next after 0", "started 1", "finished 1", "succeeded"}));
    QVERIFY(!sequence.isActive());
    QVERIFY(sequence.allSucceeded());
    QCOMPARE(sequence.runs().at(1).log, QStringLiteral("second done\n"));
    QCOMPARE(sequence.currentRun(), 2);
}

void TestRunSequence::failureStopsTheSequence()
{
    program(QStringLiteral("a.x"), {QStringLiteral("print done"), QStringLiteral("print ERROR here")});
    program(QStringLiteral("b.x"), {QStringLiteral("print never")});
    RunSequence sequence;
    sequence.setProgramDirectory(m_dir->path());
    sequence.addExecutor(QStringLiteral("A"), QStringLiteral("a.x"), QStringLiteral("done"), QStringLiteral("error"));
    sequence.addExecutor(QStringLiteral("B"), QStringLiteral("b.x"), {}, {});
    record(sequence);
    QSignalSpy finished(&sequence, &RunSequence::finished);
    sequence.start(m_dir->path());
    QVERIFY(finished.wait(5000));
    QCOMPARE(m_events, QStringList({"started 0", "finished 0", "failed"}));
    QVERIFY(!sequence.runs().at(0).succeeded);
}

void TestRunSequence::crashAndMissingProgram()
{
    MessageCapture messages;
    program(QStringLiteral("a.x"), {QStringLiteral("print done"), QStringLiteral("crash")});
    RunSequence sequence;
    sequence.setProgramDirectory(m_dir->path());
    sequence.addExecutor(QStringLiteral("A"), QStringLiteral("a.x"), QStringLiteral("done"), {});
    record(sequence);
    QSignalSpy finished(&sequence, &RunSequence::finished);
    sequence.start(m_dir->path());
    QVERIFY(finished.wait(5000));
    // A crash is a failure whatever the output said before it.
    QCOMPARE(m_events.last(), QStringLiteral("failed"));
    QCOMPARE(sequence.verdictText(), QStringLiteral("A crashed (signal 6, Aborted)."));

    // Gone after it was added: the start fails, and the sequence ends once.
    m_events.clear();
    QFile::remove(m_dir->filePath(QStringLiteral("a.x")));
    sequence.start(m_dir->path());
    QVERIFY(finished.wait(5000));
    QCOMPARE(m_events, QStringList({"finished 0", "failed"}));
    QVERIFY(sequence.verdictText().startsWith(QStringLiteral("A could not be started: ")));
    QCoreApplication::sendPostedEvents();
    QCOMPARE(finished.size(), 2);
}

void TestRunSequence::stopEndsOnce()
{
    program(QStringLiteral("a.x"), {QStringLiteral("print going"), QStringLiteral("hang")});
    program(QStringLiteral("b.x"), {QStringLiteral("print never")});
    RunSequence sequence;
    sequence.setProgramDirectory(m_dir->path());
    sequence.addExecutor(QStringLiteral("A"), QStringLiteral("a.x"), {}, {});
    sequence.addExecutor(QStringLiteral("B"), QStringLiteral("b.x"), {}, {});
    record(sequence);
    QSignalSpy started(&sequence, &RunSequence::programStarted);
    QSignalSpy finished(&sequence, &RunSequence::finished);
    sequence.start(m_dir->path());
    QVERIFY(started.wait(5000));
    sequence.stop();
    QVERIFY(sequence.isStopRequested());
    QVERIFY(finished.wait(5000));
    QCOMPARE(m_events, QStringList({"started 0", "finished 0", "stopped"}));
    QCOMPARE(finished.size(), 1);
}

void TestRunSequence::resetDropsLateNotifications()
{
    program(QStringLiteral("a.x"), {QStringLiteral("print going"), QStringLiteral("hang")});
    RunSequence sequence;
    sequence.setProgramDirectory(m_dir->path());
    sequence.addExecutor(QStringLiteral("A"), QStringLiteral("a.x"), {}, {});
    record(sequence);
    QSignalSpy started(&sequence, &RunSequence::programStarted);
    sequence.start(m_dir->path());
    QVERIFY(started.wait(5000));
    sequence.reset();
    QCOMPARE(sequence.processState(), QProcess::NotRunning);
    QCoreApplication::sendPostedEvents();
    // The finish of the killed program was queued before the reset: dropped.
    QCOMPARE(m_events, QStringList({"started 0"}));
    QVERIFY(!sequence.isActive());
}

void TestRunSequence::outputJudgedAndCapped()
{
    program(QStringLiteral("a.x"), {QStringLiteral("hang")});
    RunSequence sequence;
    sequence.setProgramDirectory(m_dir->path());
    sequence.addExecutor(QStringLiteral("A"), QStringLiteral("a.x"), QStringLiteral("done"), QStringLiteral("fail"));
    QSignalSpy started(&sequence, &RunSequence::programStarted);
    sequence.start(m_dir->path());
    QVERIFY(started.wait(5000));
    QVERIFY(!sequence.runs().at(0).succeeded);
    sequence.appendOutput("all DONE\n");
    QVERIFY(sequence.runs().at(0).succeeded);
    // A failure sentence wins over a success sentence in the same chunk.
    sequence.appendOutput("done, then fail\n");
    QVERIFY(!sequence.runs().at(0).succeeded);
    // Up to the first zero byte of a chunk.
    sequence.appendOutput(QByteArray("done\0fail", 9));
    QVERIFY(sequence.runs().at(0).succeeded);
    sequence.appendOutput(QByteArray(RunSequence::LogLimit + 10, 'x'));
    QCOMPARE(sequence.runs().at(0).log.size(), RunSequence::LogLimit);
    QCOMPARE(sequence.runs().at(0).received, qint64(9 + 16 + 4 + RunSequence::LogLimit + 10));
    sequence.reset();
}

namespace {

bool alive(qint64 pid)
{
    return ::kill(pid_t(pid), 0) == 0;
}

} // namespace

void TestRunSequence::stopEndsTheWholeGroup()
{
    // Deaf to the polite request, with a child of its own: both go once the
    // grace time is over, and stop() itself waits for nothing.
    const QString pids = m_dir->filePath(QStringLiteral("pids"));
    program(QStringLiteral("a.x"), {QStringLiteral("ignoreterm"), QStringLiteral("child ") + pids,
                                    QStringLiteral("print going"), QStringLiteral("hang")});
    RunSequence sequence;
    sequence.setProgramDirectory(m_dir->path());
    sequence.addExecutor(QStringLiteral("A"), QStringLiteral("a.x"), {}, {});
    QSignalSpy finished(&sequence, &RunSequence::finished);
    sequence.start(m_dir->path());
    QTRY_VERIFY(sequence.runs().at(0).log == QLatin1String("going\n"));
    const qint64 child = FileBytes::read(pids).trimmed().toLongLong();
    QVERIFY(child > 0 && alive(child));
    sequence.stop();
    QCOMPARE(sequence.processState(), QProcess::Running);
    QVERIFY(finished.wait(RunSequence::StopGraceMs + 5000));
    QCOMPARE(finished.first().first().value<RunSequence::Verdict>(), RunSequence::Verdict::Stopped);
    QCOMPARE(sequence.verdictText(), QStringLiteral("The run was stopped during A."));
    // Reaped by the init process once killed; gone either way.
    QTRY_VERIFY(!alive(child) || FileBytes::read(QStringLiteral("/proc/%1/stat").arg(child)).contains(") Z "));
}

void TestRunSequence::floodWithoutLineFeeds()
{
    MessageCapture messages;
    const int size = RunSequence::PendingLineLimit * 2 + 10;
    program(QStringLiteral("a.x"), {QStringLiteral("flood %1").arg(size), QStringLiteral("print !")});
    RunSequence sequence;
    sequence.setProgramDirectory(m_dir->path());
    sequence.addExecutor(QStringLiteral("A"), QStringLiteral("a.x"), {}, {});
    QSignalSpy updates(&sequence, &RunSequence::progUpdated);
    QSignalSpy finished(&sequence, &RunSequence::finished);
    sequence.start(m_dir->path());
    QVERIFY(finished.wait(10000));
    // Passed on in pieces, every byte counted, the line feed at the end.
    QCOMPARE(sequence.runs().at(0).received, qint64(size + 2));
    QVERIFY(sequence.runs().at(0).log.endsWith(QStringLiteral("x!\n")));
    QVERIFY(updates.count() >= 3);
    QCOMPARE(messages.warnings(),
             QStringList({"The console output of \"A\" has no line feed in 1048576 bytes; it is shown in pieces. "}));
}

QTEST_GUILESS_MAIN(TestRunSequence)
#include "tst_runsequence.moc"
