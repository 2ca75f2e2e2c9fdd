// Start-up and shutdown, each scenario in a process of its own: the log is
// process-wide, and start-up deletes and writes log.txt files. The test
// binary runs itself as the program (through Startup::run, as tarvelg does);
// in the child a timer answers the message box or closes the main window and
// notes what it saw, which the child prints as JSON when start-up returns.

#include "mainwindow.h"
#include "startup.h"
#include "logfile.h"

#include <QtTest>

#include <QApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStyle>
#include <QTimer>

#include <cstdio>

namespace {

const char* const kChild = "--startup-child";

bool g_child = false;
QJsonObject g_seen;

void observe()
{
    g_seen[QStringLiteral("organisation")] = QCoreApplication::organizationName();
    g_seen[QStringLiteral("domain")] = QCoreApplication::organizationDomain();
    g_seen[QStringLiteral("application")] = QCoreApplication::applicationName();
    g_seen[QStringLiteral("version")] = QCoreApplication::applicationVersion();
    g_seen[QStringLiteral("versionDate")] = Startup::versionDate();
    g_seen[QStringLiteral("styleSheet")] = Startup::styleSheet();
    g_seen[QStringLiteral("style")] = QApplication::style()->name();

    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        g_seen[QStringLiteral("boxText")] = box->text();
        g_seen[QStringLiteral("boxInformativeText")] = box->informativeText();
        g_seen[QStringLiteral("boxButtons")] = int(box->standardButtons());
        g_seen[QStringLiteral("boxHasParent")] = box->parentWidget() != nullptr;
        box->accept();
        return;
    }
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* window = qobject_cast<MainWindow*>(widget);
        if (window && window->isVisible()) {
            g_seen[QStringLiteral("windowTitle")] = window->windowTitle();
            window->close();
            return;
        }
    }
}

// Runs as soon as Startup::run has created the application object.
void arrangeObserver()
{
    if (!g_child)
        return;
    auto* timer = new QTimer(QCoreApplication::instance());
    QObject::connect(timer, &QTimer::timeout, observe);
    timer->start(50);
    // A start-up that hangs must not hang the test.
    QTimer::singleShot(20000, [] { QCoreApplication::exit(99); });
}
Q_COREAPP_STARTUP_FUNCTION(arrangeObserver)

int runChild(int argc, char** argv)
{
    g_child = true;
    const int code = Startup::run(argc, argv);
    g_seen[QStringLiteral("exitCode")] = code;
    const QByteArray json = QJsonDocument(g_seen).toJson(QJsonDocument::Compact) + '\n';
    std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
    std::fflush(stdout);
    return code;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void missingDatabase();
    void identityAndStyle();
    void freshLogInTheProgramDirectory();
    void otherWorkingDirectoryAppends();
    void mainWindowAndNormalTermination();

private:
    // Runs the program with the given working directory; returns what the
    // child saw, or an empty object when it did not report.
    QJsonObject runProgram(const QString& workingDirectory, const QProcessEnvironment& environment = {});
    static QString programFile(const QString& name)
    {
        return QDir(QCoreApplication::applicationDirPath()).filePath(name);
    }
    // Log lines of a file, with Qt's own warnings of the offscreen platform
    // left out: only the INF lines and our own reports are of interest.
    static QStringList ourLines(const LogFile& file);

    std::unique_ptr<QTemporaryDir> m_work;
    int m_exitCode = -1;
    QProcess::ExitStatus m_exitStatus = QProcess::CrashExit;
};

void TestStartup::init()
{
    m_work = std::make_unique<QTemporaryDir>();
    QVERIFY(m_work->isValid());
    QFile::remove(programFile(QStringLiteral("schemes.dat")));
    QFile::remove(programFile(QStringLiteral("log.txt")));
}

void TestStartup::cleanup()
{
    QFile::remove(programFile(QStringLiteral("schemes.dat")));
    QFile::remove(programFile(QStringLiteral("log.txt")));
}

QJsonObject TestStartup::runProgram(const QString& workingDirectory, const QProcessEnvironment& environment)
{
    QProcess child;
    child.setWorkingDirectory(workingDirectory);
    QProcessEnvironment env = environment.isEmpty() ? QProcessEnvironment::systemEnvironment() : environment;
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // The main window empties and removes TARVELG in the temporary folder:
    // one of the test's own, never the user's.
    env.insert(QStringLiteral("TMPDIR"), m_work->path());
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {QLatin1String(kChild)});
    if (!child.waitForFinished(60000)) {
        child.kill();
        child.waitForFinished();
    }
    m_exitCode = child.exitCode();
    m_exitStatus = child.exitStatus();
    const QByteArray output = child.readAllStandardOutput();
    const QJsonDocument json = QJsonDocument::fromJson(output.trimmed());
    if (!json.isObject())
        qWarning("child output: %s / %s", output.constData(), child.readAllStandardError().constData());
    return json.object();
}

QStringList TestStartup::ourLines(const LogFile& file)
{
    QStringList lines;
    for (const QString& line : file.lines()) {
        if (!line.startsWith(QLatin1String("WRN\tQStandardPaths:"))
            && !line.startsWith(QLatin1String("WRN\tThis plugin does not support")))
            lines << line;
    }
    return lines;
}

void TestStartup::missingDatabase()
{
    // Logging rules of the environment must not swallow the INF lines.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("*.debug=false;*.info=false"));
    const QJsonObject seen = runProgram(m_work->path(), env);

    QCOMPARE(m_exitStatus, QProcess::NormalExit);
    QCOMPARE(m_exitCode, 0);
    QCOMPARE(seen.value(QStringLiteral("exitCode")).toInt(-1), 0);
    QCOMPARE(seen.value(QStringLiteral("boxText")).toString(), QStringLiteral("Schemes Database is missing!"));
    QCOMPARE(seen.value(QStringLiteral("boxInformativeText")).toString(),
             QStringLiteral("schemes.dat is required for programme start"));
    QCOMPARE(seen.value(QStringLiteral("boxButtons")).toInt(), int(QMessageBox::Ok));
    QCOMPARE(seen.value(QStringLiteral("boxHasParent")).toBool(true), false);
    QVERIFY(!seen.contains(QStringLiteral("windowTitle")));

    const LogFile log(m_work->filePath(QStringLiteral("log.txt")));
    QVERIFY(log.exists());
    QVERIFY2(log.isWellFormed(), qPrintable(log.error()));
    QVERIFY(log.bytes().startsWith(QByteArray(100, '-') + "\r\n"));
    QCOMPARE(ourLines(log), (QStringList{LogFile::separator(), "INF\tTarvel GUI started ",
                                         "INF\tOptions::loadOptions(). Loaded 87 translations ",
                                         "INF\t\"schemes.dat\" cannot be found. Terminated. "}));
    const QList<QByteArray> raw = log.bytes().split('\n');
    QVERIFY(raw.size() > 2);
    QVERIFY(QRegularExpression(QStringLiteral("^\\d{6} \\d{2}:\\d{2}:\\d{2} INF\\tTarvel GUI started \\r$"))
                .match(QString::fromUtf8(raw.at(1)))
                .hasMatch());
    QVERIFY(!QFile::exists(programFile(QStringLiteral("log.txt"))));
}

void TestStartup::identityAndStyle()
{
    const QJsonObject seen = runProgram(m_work->path());
    QCOMPARE(m_exitCode, 0);
    QCOMPARE(seen.value(QStringLiteral("organisation")).toString(), QStringLiteral("ZDL"));
    QVERIFY(!seen.value(QStringLiteral("domain")).toString().isEmpty());
    QCOMPARE(seen.value(QStringLiteral("application")).toString(), QStringLiteral("Tarvel GUI"));
    QCOMPARE(seen.value(QStringLiteral("version")).toString(), QStringLiteral("1.4"));
    QCOMPARE(seen.value(QStringLiteral("versionDate")).toString(), QStringLiteral("15.10.2013"));
    QCOMPARE(seen.value(QStringLiteral("style")).toString().toLower(), QStringLiteral("fusion"));

    QByteArray css = readAll(QStringLiteral(TARVEL_SOURCE_DIR "/resources/styles.css"));
    QVERIFY(!css.isEmpty());
    if (css.indexOf('\0') >= 0)
        css.truncate(css.indexOf('\0'));
    QCOMPARE(seen.value(QStringLiteral("styleSheet")).toString(), QString::fromLatin1(css));
}

void TestStartup::freshLogInTheProgramDirectory()
{
    QVERIFY(writeFile(programFile(QStringLiteral("log.txt")), "stale line of an earlier run\r\n"));
    runProgram(QCoreApplication::applicationDirPath());
    QCOMPARE(m_exitCode, 0);

    const LogFile log(programFile(QStringLiteral("log.txt")));
    QVERIFY2(log.isWellFormed(), qPrintable(log.error()));
    QVERIFY(log.bytes().startsWith(QByteArray(100, '-') + "\r\n"));
    QVERIFY(!log.bytes().contains("stale"));
    QCOMPARE(ourLines(log).mid(0, 2), (QStringList{LogFile::separator(), "INF\tTarvel GUI started "}));
}

void TestStartup::otherWorkingDirectoryAppends()
{
    QVERIFY(writeFile(programFile(QStringLiteral("log.txt")), "stale line of an earlier run\r\n"));
    const QString workingLog = m_work->filePath(QStringLiteral("log.txt"));
    QVERIFY(writeFile(workingLog, "270101 10:00:00 INF\tprevious run\r\n"));
    runProgram(m_work->path());
    QCOMPARE(m_exitCode, 0);

    QVERIFY(!QFile::exists(programFile(QStringLiteral("log.txt"))));
    const LogFile log(workingLog);
    QVERIFY2(log.isWellFormed(), qPrintable(log.error()));
    QVERIFY(log.bytes().startsWith("270101 10:00:00 INF\tprevious run\r\n" + QByteArray(100, '-') + "\r\n"));
    QCOMPARE(ourLines(log).mid(0, 3),
             (QStringList{"INF\tprevious run", LogFile::separator(), "INF\tTarvel GUI started "}));
}

void TestStartup::mainWindowAndNormalTermination()
{
    QVERIFY(writeFile(programFile(QStringLiteral("schemes.dat")), QByteArray()));
    const QJsonObject seen = runProgram(m_work->path());

    QCOMPARE(m_exitStatus, QProcess::NormalExit);
    QCOMPARE(m_exitCode, 0);
    QVERIFY(!seen.contains(QStringLiteral("boxText")));
    QCOMPARE(seen.value(QStringLiteral("windowTitle")).toString(), QStringLiteral("Tarvel GUI"));

    // The real window over an empty database: no executables beside the
    // test binary, no schemes to offer; it opens all the same, and its
    // temporary folder goes with it.
    const LogFile log(m_work->filePath(QStringLiteral("log.txt")));
    QVERIFY2(log.isWellFormed(), qPrintable(log.error()));
    // A run folder of its own, "TARVELG-" and a unique ending.
    const QStringList lines = ourLines(log);
    const QRegularExpression made(QStringLiteral("^INF\\tAbsolute temporary project path: \"(.*)\" $"));
    QString folder;
    for (const QString& line : lines) {
        const QRegularExpressionMatch match = made.match(line);
        if (match.hasMatch())
            folder = match.captured(1);
    }
    QCOMPARE(QFileInfo(folder).dir().absolutePath(), QDir(m_work->path()).absolutePath());
    QVERIFY2(QFileInfo(folder).fileName().startsWith(QStringLiteral("TARVELG-")), qPrintable(folder));
    QCOMPARE(lines, (QStringList{LogFile::separator(), "INF\tTarvel GUI started ",
                                 "INF\tOptions::loadOptions(). Loaded 87 translations ",
                                 QStringLiteral("WRN\t\"Project Execution File \"%1\" doesn't exist or wrong\" ")
                                     .arg(programFile(QStringLiteral("tarinp.x"))),
                                 QStringLiteral("WRN\t\"Project Execution File \"%1\" doesn't exist or wrong\" ")
                                     .arg(programFile(QStringLiteral("tarrun.x"))),
                                 QStringLiteral("INF\tAbsolute temporary project path: \"%1\" ").arg(folder),
                                 QStringLiteral("INF\tNew Project Path: \"%1\" ").arg(folder),
                                 QStringLiteral("INF\tOpened Schemes File ver.  0 :  \"%1\" ")
                                     .arg(programFile(QStringLiteral("schemes.dat"))),
                                 "ERR\tCannot load Schemes File: File is corrupt or wrong. ",
                                 "INF\tTarvel GUI terminated normally. "}));
    QVERIFY(!QDir(folder).exists());
}

int main(int argc, char** argv)
{
    if (argc >= 2 && qstrcmp(argv[1], kChild) == 0)
        return runChild(argc, argv);
    QCoreApplication app(argc, argv);
    TestStartup test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_startup.moc"
