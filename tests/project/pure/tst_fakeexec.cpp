// The test-double executable the project's run tests start in place of the
// simulation code: every command of its control file.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#ifndef TARVEL_FAKEEXEC
#error "TARVEL_FAKEEXEC must name the test-double executable"
#endif

namespace {

constexpr int kWait = 30000;

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<missing " + path.toUtf8() + ">");
    return file.readAll();
}

} // namespace

class TestFakeExec : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void commands();
    void endings();
    void namedByItsFile();
    void noControlFile();
    void hang();

private:
    // A copy of the executable in the temporary directory, with its control file.
    QString install(const QString& name, const QByteArray& control = QByteArray());
    // Runs it to its end with the temporary directory as working directory.
    void run(QProcess& process, const QString& program);

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestFakeExec::init()
{
    QVERIFY2(QFile::exists(TARVEL_FAKEEXEC), TARVEL_FAKEEXEC);
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

QString TestFakeExec::install(const QString& name, const QByteArray& control)
{
    const QString program = m_dir->filePath(name);
    if (!QFile::copy(TARVEL_FAKEEXEC, program))
        qFatal("cannot copy the test-double executable");
    if (!control.isNull()) {
        QFile file(program + ".ctl");
        if (!file.open(QIODevice::WriteOnly) || file.write(control) != control.size())
            qFatal("cannot write the control file");
    }
    return program;
}

void TestFakeExec::run(QProcess& process, const QString& program)
{
    process.setWorkingDirectory(m_dir->path());
    process.setProgram(program);
    process.start();
    QVERIFY(process.waitForStarted(kWait));
    QVERIFY(process.waitForFinished(kWait));
}

void TestFakeExec::commands()
{
    QFile snapshot(m_dir->filePath("fort.18"));
    QVERIFY(snapshot.open(QIODevice::WriteOnly));
    snapshot.write("before the run\n");
    snapshot.close();

    const QString program = install("fake run.x",
                                    "print Hello  world \n"
                                    "printraw Computation \n"
                                    "sleep 20\n"
                                    "printraw finished\r\n"
                                    "print \n"
                                    "\n"
                                    "stderr warning: x\n"
                                    "data   t(s)\n"
                                    "dataraw   1.0\n"
                                    "data E+00\n"
                                    "datafile other.dat\n"
                                    "data first\n"
                                    "dataraw second\n"
                                    "copy fort.18 fort.18.start\n"
                                    "append fort.18 appended text\n"
                                    "copy missing.txt copy.txt\n"
                                    "spam 250\n"
                                    "exit 7\n"
                                    "print never\n");
    QProcess process;
    run(process, program);
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 7);
    QByteArray spam;
    for (int i = 1; i <= 250; ++i)
        spam += i % 100 == 0 ? '\n' : 'x';
    QCOMPARE(process.readAllStandardOutput(), "Hello  world \nComputation finished\n" + spam);
    QCOMPARE(process.readAllStandardError(),
             QByteArray("warning: x\nfakeexec: cannot copy missing.txt to copy.txt\n"));
    QCOMPARE(fileBytes(m_dir->filePath("fort.29")), QByteArray("  t(s)\n  1.0E+00\n"));
    QCOMPARE(fileBytes(m_dir->filePath("other.dat")), QByteArray("first\nsecond"));
    QCOMPARE(fileBytes(m_dir->filePath("fort.18.start")), QByteArray("before the run\n"));
    QCOMPARE(fileBytes(m_dir->filePath("fort.18")), QByteArray("before the run\nappended text\n"));
    QVERIFY(!QFile::exists(m_dir->filePath("copy.txt")));
}

void TestFakeExec::endings()
{
    QProcess crashed;
    run(crashed, install("crash.x", "print going\ncrash\nprint never\n"));
    QCOMPARE(crashed.exitStatus(), QProcess::CrashExit);
    QCOMPARE(crashed.readAllStandardOutput(), QByteArray("going\n"));
    QVERIFY(QDir(m_dir->path()).entryList({"core*"}).isEmpty());

    QProcess done;
    run(done, install("done.x", "print last\n"));
    QCOMPARE(done.exitStatus(), QProcess::NormalExit);
    QCOMPARE(done.exitCode(), 0);
    QCOMPARE(done.readAllStandardOutput(), QByteArray("last\n"));

    QProcess unknown;
    run(unknown, install("unknown.x", "print a\nfrobnicate now\nprint b\n"));
    QCOMPARE(unknown.exitCode(), 4);
    QCOMPARE(unknown.readAllStandardOutput(), QByteArray("a\n"));
    QCOMPARE(unknown.readAllStandardError(), QByteArray("fakeexec: unknown command frobnicate\n"));
}

void TestFakeExec::namedByItsFile()
{
    // One binary under two names, each doing what its own control file says.
    const QString first = install("fakeinp.x", "print input\nexit 0\n");
    const QString second = install("fakerun.x", "print run\nexit 1\n");
    QProcess a;
    run(a, first);
    QProcess b;
    run(b, second);
    QCOMPARE(a.readAllStandardOutput(), QByteArray("input\n"));
    QCOMPARE(a.exitCode(), 0);
    QCOMPARE(b.readAllStandardOutput(), QByteArray("run\n"));
    QCOMPARE(b.exitCode(), 1);

    // A symbolic link counts by its own name too.
    const QString link = m_dir->filePath("linked.x");
    QVERIFY(QFile::link(first, link));
    QFile control(link + ".ctl");
    QVERIFY(control.open(QIODevice::WriteOnly));
    control.write("print linked\n");
    control.close();
    QProcess c;
    run(c, link);
    QCOMPARE(c.readAllStandardOutput(), QByteArray("linked\n"));
}

void TestFakeExec::noControlFile()
{
    QProcess process;
    run(process, install("lonely.x"));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 3);
    QCOMPARE(process.readAllStandardOutput(), QByteArray("fakeexec: no control file\n"));
}

void TestFakeExec::hang()
{
    QProcess process;
    process.setWorkingDirectory(m_dir->path());
    process.setProgram(install("hang.x", "print waiting\nhang\nprint never\n"));
    process.start();
    QVERIFY(process.waitForStarted(kWait));
    QVERIFY(process.waitForReadyRead(kWait));
    QCOMPARE(process.readAllStandardOutput(), QByteArray("waiting\n"));
    // Still there after its last word: it waits to be ended.
    QVERIFY(!process.waitForFinished(200));
    QCOMPARE(process.state(), QProcess::Running);
    process.terminate();
    QVERIFY(process.waitForFinished(kWait));
    QCOMPARE(process.exitStatus(), QProcess::CrashExit);
    QCOMPARE(process.readAllStandardOutput(), QByteArray());
}

QTEST_GUILESS_MAIN(TestFakeExec)
#include "tst_fakeexec.moc"
