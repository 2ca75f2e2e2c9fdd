// Saving and opening a project in a worker thread: progress by bytes, an
// open that is cancelled or fails leaves the project as it was, and a save
// killed midway leaves the old file whole.

#include "projectfixture.h"

#include "projectfilejob.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <csignal>

namespace {

// A project whose output data takes `lines` lines of two columns.
QByteArray outputData(int lines)
{
    QByteArray bytes = ProjectFixture::line({"t(s)", "T(K)"});
    for (int i = 0; i < lines; ++i)
        bytes += ProjectFixture::line({QString::number(i * 1.0e-7, 'E', 4), QStringLiteral("1000.0")});
    return bytes;
}

} // namespace

class TestProjectFileJob : public QObject
{
    Q_OBJECT

private slots:
    void saveAndOpenReportProgress();
    void cancelledOrFailedOpenChangesNothing();
    void killedSaveLeavesTheOldFile();
};

void TestProjectFileJob::saveAndOpenReportProgress()
{
    ProjectFixture fixture;
    fixture.buildScheme();
    fixture.setResults(outputData(100000)); // about 3.7 MB of text, 7 MB stored
    const QString file = QDir(fixture.root()).filePath(QStringLiteral("big.tarvel"));

    auto save = ProjectFileJob::save(&fixture.project(), file);
    QSignalSpy saved(save.get(), &ProjectFileJob::progress);
    QSignalSpy done(save.get(), &ProjectFileJob::finished);
    QVERIFY(done.wait(20000));
    QVERIFY(save->succeeded());
    QVERIFY(fixture.project().isSaved());
    QCOMPARE(fixture.project().fileName(), file);
    QVERIFY(saved.count() >= 3);
    qint64 last = 0;
    for (const QList<QVariant>& report : saved) {
        QVERIFY(report.at(0).toLongLong() >= last);
        QVERIFY(report.at(0).toLongLong() <= report.at(1).toLongLong());
        last = report.at(0).toLongLong();
    }

    // The same bytes as the plain save writes.
    const QByteArray written = ProjectFixture::readFile(file);
    QVERIFY(fixture.project().save(file));
    QCOMPARE(ProjectFixture::readFile(file), written);

    ProjectFixture other;
    auto open = ProjectFileJob::open(&other.project(), file);
    QSignalSpy read(open.get(), &ProjectFileJob::progress);
    QSignalSpy opened(open.get(), &ProjectFileJob::finished);
    QVERIFY(opened.wait(20000));
    QVERIFY(open->succeeded());
    QVERIFY(read.count() >= 3);
    QCOMPARE(read.last().at(1).toLongLong(), qint64(written.size()));
    QCOMPARE(other.project().timeStepCount(), 100000);
    QCOMPARE(other.project().status(), RunStatus::ResultsAvailable);
    QCOMPARE(other.project().fileName(), file);
}

void TestProjectFileJob::cancelledOrFailedOpenChangesNothing()
{
    ProjectFixture fixture;
    fixture.buildScheme();
    fixture.setResults(outputData(200000));
    const QString file = QDir(fixture.root()).filePath(QStringLiteral("big.tarvel"));
    QVERIFY(fixture.project().save(file));

    ProjectFixture other;
    other.buildScheme();
    other.setResults(outputData(3));
    Project& project = other.project();
    QSignalSpy replaced(&project, &Project::dataUpdated);
    auto open = ProjectFileJob::open(&project, file);
    open->cancel();
    QSignalSpy done(open.get(), &ProjectFileJob::finished);
    QVERIFY(done.wait(20000));
    QVERIFY(!open->succeeded());
    QVERIFY(open->wasCancelled());
    QCOMPARE(replaced.count(), 0);
    QCOMPARE(project.timeStepCount(), 3);
    QCOMPARE(project.name(), QStringLiteral("Test project"));

    // A file that is no project: the reason, and the project as it was.
    const QString text = QDir(other.root()).filePath(QStringLiteral("notes.txt"));
    ProjectFixture::writeFile(text, "no project\n");
    auto failed = ProjectFileJob::open(&project, text);
    failed->waitForFinished();
    QVERIFY(!failed->succeeded());
    QCOMPARE(project.errorString(),
             QStringLiteral("\"%1\" is not a schemes database or project file, or it is damaged.").arg(text));
    QCOMPARE(project.timeStepCount(), 3);
}

void TestProjectFileJob::killedSaveLeavesTheOldFile()
{
    // The child saves a large project over a small one and is killed at
    // several moments; the file is always one of the two, whole.
    ProjectFixture fixture;
    fixture.buildScheme();
    fixture.setResults(outputData(2));
    const QString file = QDir(fixture.root()).filePath(QStringLiteral("p.tarvel"));
    QVERIFY(fixture.project().save(file));
    const QByteArray old = ProjectFixture::readFile(file);
    for (const int delay : {0, 20, 60, 150}) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--save-child"), file});
        QVERIFY(child.waitForReadyRead(30000)); // "saving" once the project is built
        QTest::qSleep(delay);
        ::kill(pid_t(child.processId()), SIGKILL);
        QVERIFY(child.waitForFinished(10000));
        const QByteArray now = ProjectFixture::readFile(file);
        if (now == old)
            continue;
        ProjectFixture reader;
        QVERIFY2(reader.project().load(file), qPrintable(QStringLiteral("killed after %1 ms").arg(delay)));
        QCOMPARE(reader.project().timeStepCount(), 400000);
        QVERIFY(fixture.project().save(file)); // the small one again, for the next trial
    }
}

// Run as a child by the kill test: builds a large project and saves it.
static int saveChild(const QString& file)
{
    ProjectFixture fixture;
    fixture.buildScheme();
    fixture.setResults(outputData(400000));
    std::fputs("saving\n", stdout);
    std::fflush(stdout);
    return fixture.project().save(file) ? 0 : 1;
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--save-child")
        return saveChild(QString::fromLocal8Bit(argv[2]));
    TestProjectFileJob test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_projectfilejob.moc"
