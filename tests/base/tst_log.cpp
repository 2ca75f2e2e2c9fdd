// The log: line cutting, time stamps, the file format and its separator, the
// receiver's de-duplication, and the fatal path (in a child process, since it
// ends the process).

#include "diagnostic.h"
#include "log.h"
#include "logfile.h"

#include <QtTest>

#include <QLoggingCategory>
#include <QProcess>
#include <QThread>

#include <cstdio>

namespace {

const char* const kFatalChild = "--fatal-child";
const char* const kEchoChild = "--echo-child";

const QString kFatalText = QStringLiteral("Results::Results. Pointer to Project is not provided.");

QStringList entryTexts(const Log& log)
{
    QStringList texts;
    for (const LogEntry& entry : log.entries())
        texts << entry.text;
    return texts;
}

// Runs inside the child: the fatal report must reach the file before abort.
int fatalChild(const QString& path, bool repeatFirst)
{
    qInstallMessageHandler(Log::messageReceiver);
    Log::instance().setFile(path);
    Log::instance().setEcho(false);
    if (repeatFirst)
        tCritical() << fragment(kFatalText);
    tFatal() << fragment(kFatalText);
    std::puts("returned from the fatal report");
    return 0;
}

int echoChild()
{
    qInstallMessageHandler(Log::messageReceiver);
    tWarning() << "Echo";
    tDebug() << "Echo"; // a repeat: neither logged nor echoed
    tDebug() << "Zwei" << QStringLiteral("ü");
    return 0;
}

} // namespace

class TestLog : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void levelsAndTags();
    void lineCutting_data();
    void lineCutting();
    void openLineKeepsItsFirstTimeStamp();
    void utf8AcrossCalls_data();
    void utf8AcrossCalls();
    void nonAsciiRoundTrip();
    void writersOfEveryKind();
    void percentSignsWrittenAsTheyAre();
    void setFileWritesSeparatorAndReplays();
    void setFileAppendsToAnExistingFile();
    void emptyPathKeepsEntriesInMemory();
    void unwritableFileDropsLinesSilently();
    void destructorFlushesUnfinishedLines();
    void clearForgetsEntriesAndOpenLines();
    void logUpdatedIsThrottled();
    void warningSignal();

    void receiverDropsRepeats();
    void receiverLevels();
    void receiverKeepsDebugUnderLoggingRules();
    void receiverFromManyThreads();
    void fatalReport_data();
    void fatalReport();
    void echoToConsole();

private:
    QString logPath(const QString& name = QStringLiteral("log.txt")) const { return m_dir->filePath(name); }
    // Points the process-wide log at a fresh file and routes diagnostics to it.
    void useInstance();
    void releaseInstance();

    std::unique_ptr<QTemporaryDir> m_dir;
    QtMessageHandler m_previousHandler = nullptr;
};

void TestLog::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestLog::useInstance()
{
    Log::installCategoryFilter();
    Log& log = Log::instance();
    log.setFile(QString());
    log.clear();
    log.setEcho(false);
    log.setFile(logPath());
    m_previousHandler = qInstallMessageHandler(Log::messageReceiver);
}

void TestLog::releaseInstance()
{
    qInstallMessageHandler(m_previousHandler);
    Log::instance().setFile(QString());
    Log::instance().clear();
}

void TestLog::levelsAndTags()
{
    Log log(logPath());
    log.writeInfo(QStringLiteral("info\n"));
    log.writeWarning(QStringLiteral("warn\n"));
    log.writeError(QStringLiteral("error\n"));

    const LogFile file(logPath());
    QVERIFY2(file.isWellFormed(), qPrintable(file.error()));
    QCOMPARE(file.lines(), (QStringList{LogFile::separator(), QStringLiteral("INF\tinfo"), QStringLiteral("WRN\twarn"),
                                        QStringLiteral("ERR\terror")}));
    const QList<LogEntry> entries = log.entries();
    QCOMPARE(entries.size(), 3);
    QCOMPARE(entries.at(0).level, int(Log::Information));
    QCOMPARE(entries.at(1).level, int(Log::Warning));
    QCOMPARE(entries.at(2).level, int(Log::Error));

    QCOMPARE(Log::levelTag(1), QStringLiteral("INF"));
    QCOMPARE(Log::levelTag(2), QStringLiteral("WRN"));
    QCOMPARE(Log::levelTag(3), QStringLiteral("ERR"));
    for (int other : {0, -1, 4, 100})
        QCOMPARE(Log::levelTag(other), QStringLiteral("INF"));

    LogEntry odd;
    odd.level = 7;
    odd.text = QStringLiteral("x");
    odd.time = QDateTime(QDate(2013, 10, 5), QTime(7, 8, 9));
    QCOMPARE(Log::fileLine(odd), QStringLiteral("131005 07:08:09 INF\tx\r\n"));
}

void TestLog::lineCutting_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("fileLines");
    QTest::addColumn<bool>("open");

    QTest::newRow("one line") << QByteArray("abc\n") << QStringList{"abc"} << QStringList{"abc"} << false;
    QTest::newRow("CR LF ends one line") << QByteArray("a\r\nb\n") << QStringList{"a", "b"} << QStringList{"a", "b"}
                                         << false;
    QTest::newRow("CR inside is dropped") << QByteArray("a\rb\r\n") << QStringList{"ab"} << QStringList{"ab"} << false;
    QTest::newRow("lone LF") << QByteArray("\n") << QStringList{""} << QStringList{} << false;
    QTest::newRow("empty line between") << QByteArray("a\n\nb\n") << QStringList{"a", "", "b"} << QStringList{"a", "b"}
                                        << false;
    QTest::newRow("CR alone") << QByteArray("\r\n") << QStringList{""} << QStringList{} << false;
    QTest::newRow("unfinished") << QByteArray("no end") << QStringList{"no end"} << QStringList{} << true;
    QTest::newRow("finished then unfinished")
        << QByteArray("x\n y") << QStringList{"x", " y"} << QStringList{"x"} << true;
    QTest::newRow("tabs and blanks kept")
        << QByteArray(" \ta b \n") << QStringList{" \ta b "} << QStringList{" \ta b "} << false;
}

void TestLog::lineCutting()
{
    QFETCH(QByteArray, input);
    QFETCH(QStringList, entries);
    QFETCH(QStringList, fileLines);
    QFETCH(bool, open);

    Log log(logPath());
    log.writeInfo(input);
    QCOMPARE(entryTexts(log), entries);
    QCOMPARE(log.openPosition(Log::Information), open ? int(entries.size()) - 1 : -1);

    QStringList expected{LogFile::separator()};
    for (const QString& line : fileLines)
        expected << QStringLiteral("INF\t") + line;
    const LogFile file(logPath());
    QVERIFY2(file.isWellFormed(), qPrintable(file.error()));
    QCOMPARE(file.lines(), expected);
}

void TestLog::openLineKeepsItsFirstTimeStamp()
{
    Log log(logPath());
    const QDateTime before = QDateTime::currentDateTime();
    log.writeInfo(QStringLiteral("abc"));
    const QDateTime after = QDateTime::currentDateTime();
    QCOMPARE(log.openPosition(Log::Information), 0);
    QCOMPARE(LogFile(logPath()).lines(), QStringList{LogFile::separator()});

    // A warning in between has its own open position and does not disturb it.
    log.writeWarning(QStringLiteral("w\n"));
    QTest::qSleep(30);
    log.writeInfo(QStringLiteral("def\n"));

    const QList<LogEntry> entries = log.entries();
    QCOMPARE(entries.size(), 2);
    QCOMPARE(entries.at(0).text, QStringLiteral("abcdef"));
    QCOMPARE(entries.at(1).text, QStringLiteral("w"));
    QVERIFY(entries.at(0).time >= before);
    QVERIFY(entries.at(0).time <= after);
    QCOMPARE(log.openPosition(Log::Information), -1);

    const LogFile file(logPath());
    QVERIFY2(file.isWellFormed(), qPrintable(file.error()));
    QCOMPARE(file.lines(), (QStringList{LogFile::separator(), "WRN\tw", "INF\tabcdef"}));
    QCOMPARE(file.stamps().at(2), entries.at(0).time.toString(QStringLiteral("yyMMdd hh:mm:ss")));
}

void TestLog::utf8AcrossCalls_data()
{
    QTest::addColumn<QList<QByteArray>>("chunks");
    QTest::addColumn<QString>("text");

    QTest::newRow("two-byte sequence split") << QList<QByteArray>{"a\xC3", "\xA9\n"} << QStringLiteral("aé");
    QTest::newRow("three-byte sequence in three calls")
        << QList<QByteArray>{"\xE2", "\x82", "\xAC x\n"} << QStringLiteral("€ x");
    QTest::newRow("four-byte sequence split after two")
        << QList<QByteArray>{"<\xF0\x9F", "\x98\x80>\n"} << QStringLiteral("<😀>");
    QTest::newRow("complete sequence at the end") << QList<QByteArray>{"\xD0\x96", "\n"} << QStringLiteral("Ж");
}

void TestLog::utf8AcrossCalls()
{
    QFETCH(QList<QByteArray>, chunks);
    QFETCH(QString, text);

    Log log(logPath());
    for (const QByteArray& chunk : chunks)
        log.writeInfo(chunk);
    QCOMPARE(entryTexts(log), QStringList{text});
    QVERIFY(LogFile(logPath()).bytes().endsWith("INF\t" + text.toUtf8() + "\r\n"));

    // The same bytes one character at a time through the character writer.
    Log bytewise;
    for (const QByteArray& chunk : chunks) {
        for (char c : chunk)
            bytewise.writeWarning(c);
    }
    QCOMPARE(entryTexts(bytewise), QStringList{text});
}

void TestLog::nonAsciiRoundTrip()
{
    const QString text = QStringLiteral("Grüße α° [W/(m^2*K)] Привет 😀");
    Log log(logPath());
    log.writeWarning(text + QLatin1Char('\n'));
    QCOMPARE(entryTexts(log), QStringList{text});
    const QByteArray bytes = LogFile(logPath()).bytes();
    QVERIFY(bytes.endsWith(" WRN\t" + text.toUtf8() + "\r\n"));
}

void TestLog::writersOfEveryKind()
{
    Log log(logPath());
    log << "n=" << 42 << ' ' << -7 << ' ' << 1234567.0 << ' ' << 1e-5 << ' ' << 0.5 << ' ' << 100000.0 << '\n';
    log.writeWarning(QByteArray("bytes \xC3\xBC\n"));
    log.writeError("zero-terminated\n");
    QString source = QStringLiteral("read already\nrest of the stream\n");
    QTextStream stream(&source);
    stream.readLine();
    log.writeError(stream);
    QVERIFY(stream.atEnd());
    log.writeInfo(QStringLiteral("string "));
    log.writeInfo(3.25);
    log.writeInfo('\n');

    QCOMPARE(entryTexts(log), (QStringList{"n=42 -7 1.23457e+06 1e-05 0.5 100000", "bytes ü", "zero-terminated",
                                           "rest of the stream", "string 3.25"}));
    const LogFile file(logPath());
    QVERIFY2(file.isWellFormed(), qPrintable(file.error()));
    QCOMPARE(file.lines(),
             (QStringList{LogFile::separator(), "INF\tn=42 -7 1.23457e+06 1e-05 0.5 100000", "WRN\tbytes ü",
                          "ERR\tzero-terminated", "ERR\trest of the stream", "INF\tstring 3.25"}));
}

void TestLog::percentSignsWrittenAsTheyAre()
{
    Log log(logPath());
    log.writeInfo(QStringLiteral("100% %1 %2 %3 %% %n\n"));
    QCOMPARE(LogFile(logPath()).lines().last(), QStringLiteral("INF\t100% %1 %2 %3 %% %n"));
}

void TestLog::setFileWritesSeparatorAndReplays()
{
    Log log;
    QCOMPARE(log.file(), QString());
    log.writeInfo(QStringLiteral("before one\n"));
    log.writeWarning(QStringLiteral("\n"));
    log.writeError(QStringLiteral("before two\n"));

    log.setFile(QStringLiteral("  ") + logPath() + QStringLiteral("\t "));
    QCOMPARE(log.file(), logPath());
    const QStringList replayed{LogFile::separator(), "INF\tbefore one", "ERR\tbefore two"};
    LogFile first(logPath());
    QVERIFY2(first.isWellFormed(), qPrintable(first.error()));
    QCOMPARE(first.lines(), replayed);
    QCOMPARE(first.bytes().left(102), QByteArray(100, '-') + "\r\n");

    // The same path again, after trimming: nothing happens.
    log.setFile(QLatin1Char(' ') + logPath());
    QCOMPARE(LogFile(logPath()).lines(), replayed);

    log.writeInfo(QStringLiteral("after\n"));
    QCOMPARE(LogFile(logPath()).lines(), replayed + QStringList{"INF\tafter"});

    // A new path gets its own separator and every entry held so far.
    log.setFile(logPath(QStringLiteral("second.txt")));
    QCOMPARE(LogFile(logPath(QStringLiteral("second.txt"))).lines(), replayed + QStringList{"INF\tafter"});
    QCOMPARE(LogFile(logPath()).lines(), replayed + QStringList{"INF\tafter"});
}

void TestLog::setFileAppendsToAnExistingFile()
{
    {
        QFile old(logPath());
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("270101 10:00:00 INF\tearlier run\r\n");
    }
    Log log(logPath());
    log.writeInfo(QStringLiteral("now\n"));
    const LogFile file(logPath());
    QVERIFY(file.bytes().startsWith("270101 10:00:00 INF\tearlier run\r\n" + QByteArray(100, '-') + "\r\n"));
    QVERIFY2(file.isWellFormed(), qPrintable(file.error()));
    QCOMPARE(file.lines(), (QStringList{"INF\tearlier run", LogFile::separator(), "INF\tnow"}));
}

void TestLog::emptyPathKeepsEntriesInMemory()
{
    Log log(logPath());
    log.writeInfo(QStringLiteral("written\n"));
    log.setFile(QStringLiteral("   "));
    QCOMPARE(log.file(), QString());
    log.writeInfo(QStringLiteral("kept only\n"));
    log.writeError(QStringLiteral("also kept\n"));

    QCOMPARE(entryTexts(log), (QStringList{"written", "kept only", "also kept"}));
    QCOMPARE(LogFile(logPath()).lines(), (QStringList{LogFile::separator(), "INF\twritten"}));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{"log.txt"});
}

void TestLog::unwritableFileDropsLinesSilently()
{
    const QString path = m_dir->filePath(QStringLiteral("missing/folder/log.txt"));
    Log log(path);
    log.writeInfo(QStringLiteral("lost\n"));
    QCOMPARE(entryTexts(log), QStringList{"lost"});
    QVERIFY(!QFile::exists(path));

    // Once the folder exists, later lines get through, one by one.
    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("missing/folder")));
    log.writeInfo(QStringLiteral("found\n"));
    QCOMPARE(LogFile(path).lines(), QStringList{"INF\tfound"});
}

void TestLog::destructorFlushesUnfinishedLines()
{
    {
        Log log(logPath());
        log.writeError(QStringLiteral("error part"));
        log.writeWarning(QStringLiteral("warning part"));
        log.writeInfo(QStringLiteral("done\ninfo part"));
    }
    const LogFile file(logPath());
    QVERIFY2(file.isWellFormed(), qPrintable(file.error()));
    QCOMPARE(file.lines(), (QStringList{LogFile::separator(), "INF\tdone", "INF\tinfo part", "WRN\twarning part",
                                        "ERR\terror part"}));
}

void TestLog::clearForgetsEntriesAndOpenLines()
{
    Log log(logPath());
    log.writeInfo(QStringLiteral("kept in the file\n"));
    log.writeInfo(QStringLiteral("open"));
    log.writeWarning(QStringLiteral("open too"));
    log.clear();
    QVERIFY(log.entries().isEmpty());
    QCOMPARE(log.openPosition(Log::Information), -1);
    QCOMPARE(log.openPosition(Log::Warning), -1);
    QCOMPARE(log.openPosition(Log::Error), -1);

    log.writeInfo(QStringLiteral("fresh\n"));
    QCOMPARE(entryTexts(log), QStringList{"fresh"});
    QCOMPARE(LogFile(logPath()).lines(), (QStringList{LogFile::separator(), "INF\tkept in the file", "INF\tfresh"}));
}

void TestLog::logUpdatedIsThrottled()
{
    Log log;
    qint64 now = 1000;
    log.setClock([&now] { return now; });
    QSignalSpy updated(&log, &Log::logUpdated);

    log.writeInfo(QStringLiteral("no line yet"));
    QCOMPARE(updated.count(), 0);
    log.writeInfo(QStringLiteral(" - now one\nand two\n"));
    QCOMPARE(updated.count(), 1); // at most one per writer call
    log.writeInfo(QStringLiteral("part"));
    QCOMPARE(updated.count(), 1);

    now += 500;
    log.writeInfo(QStringLiteral(" more"));
    QCOMPARE(updated.count(), 1); // held back within 500 ms
    now += 1;
    log.writeInfo(QStringLiteral(" more"));
    QCOMPARE(updated.count(), 2);
    log.writeInfo(QStringLiteral(" and more"));
    QCOMPARE(updated.count(), 2);
    log.writeWarning(QStringLiteral("line\n"));
    QCOMPARE(updated.count(), 3);
}

void TestLog::warningSignal()
{
    Log log;
    QSignalSpy warned(&log, &Log::warning);
    log.writeInfo(QStringLiteral("info\n"));
    QCOMPARE(warned.count(), 0);
    log.writeWarning(QStringLiteral("warn"));
    QCOMPARE(warned.count(), 1);
    log.writeError(42);
    QCOMPARE(warned.count(), 2);
}

void TestLog::receiverDropsRepeats()
{
    useInstance();
    tDebug() << "Repeat A";
    tDebug() << "Repeat A";
    QCOMPARE(entryTexts(Log::instance()), QStringList{"Repeat A "});
    tDebug() << "Repeat B";
    tDebug() << "Repeat A";
    // Only the one message before counts, whatever the severities.
    tWarning() << "Repeat A";
    tCritical() << "Repeat A";
    const QStringList texts = entryTexts(Log::instance());
    const LogFile file(logPath());
    releaseInstance();

    QCOMPARE(texts, (QStringList{"Repeat A ", "Repeat B ", "Repeat A "}));
    QVERIFY2(file.isWellFormed(), qPrintable(file.error()));
    QCOMPARE(file.lines(), (QStringList{LogFile::separator(), "INF\tRepeat A ", "INF\tRepeat B ", "INF\tRepeat A "}));
}

void TestLog::receiverLevels()
{
    useInstance();
    tWarning() << "Word";
    tDebug() << "Debug report";
    qInfo("Info report");
    tCritical() << "Translation::load(). Cannot open" << QStringLiteral(":/missing.xml");
    tWarning() << "first\nsecond";
    const LogFile file(logPath());
    releaseInstance();

    QVERIFY2(file.isWellFormed(), qPrintable(file.error()));
    QCOMPARE(file.lines(),
             (QStringList{LogFile::separator(), "WRN\tWord ", "INF\tDebug report ", "INF\tInfo report",
                          "ERR\tTranslation::load(). Cannot open \":/missing.xml\" ", "WRN\tfirst", "WRN\tsecond "}));
    QVERIFY(file.bytes().contains(" WRN\tWord \r\n"));
}

void TestLog::receiverKeepsDebugUnderLoggingRules()
{
    useInstance();
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.info=false"));
    tDebug() << "Still logged";
    qInfo("Info still logged");
    QLoggingCategory::setFilterRules(QString());
    const QStringList texts = entryTexts(Log::instance());
    releaseInstance();
    QCOMPARE(texts, (QStringList{"Still logged ", "Info still logged"}));
}

void TestLog::receiverFromManyThreads()
{
    useInstance();
    const int threads = 4;
    const int perThread = 200;
    QList<QThread*> workers;
    for (int t = 0; t < threads; ++t) {
        workers << QThread::create([t] {
            for (int i = 0; i < perThread; ++i)
                tWarning() << "Thread" << t << "message" << i << "of a longer line to widen the window";
        });
    }
    for (QThread* worker : workers)
        worker->start();
    for (QThread* worker : workers) {
        QVERIFY(worker->wait(30000));
        delete worker;
    }
    const QStringList texts = entryTexts(Log::instance());
    const LogFile file(logPath());
    releaseInstance();

    QCOMPARE(texts.size(), threads * perThread);
    QStringList expected;
    for (int t = 0; t < threads; ++t) {
        for (int i = 0; i < perThread; ++i)
            expected << QStringLiteral("Thread %1 message %2 of a longer line to widen the window ").arg(t).arg(i);
    }
    QStringList sorted = texts;
    sorted.sort();
    expected.sort();
    QCOMPARE(sorted, expected);
    QVERIFY2(file.isWellFormed(), qPrintable(file.error()));
    QCOMPARE(file.lines().size(), threads * perThread + 1);
}

void TestLog::fatalReport_data()
{
    QTest::addColumn<bool>("repeatFirst");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("fatal") << false
                           << QStringList{LogFile::separator(), "ERR\t" + kFatalText + ' ',
                                          "ERR\t< Abnormal Termination >"};
    // A fatal report is never dropped as a repeat of the report before it.
    QTest::newRow("fatal after the same text")
        << true
        << QStringList{LogFile::separator(), "ERR\t" + kFatalText + ' ', "ERR\t" + kFatalText + ' ',
                       "ERR\t< Abnormal Termination >"};
}

void TestLog::fatalReport()
{
    QFETCH(bool, repeatFirst);
    QFETCH(QStringList, lines);

    QProcess child;
    QStringList arguments{QLatin1String(kFatalChild), logPath()};
    if (repeatFirst)
        arguments << QStringLiteral("repeat");
    child.start(QCoreApplication::applicationFilePath(), arguments);
    QVERIFY(child.waitForFinished(30000));
    QCOMPARE(child.exitStatus(), QProcess::CrashExit);
    QVERIFY(!child.readAllStandardOutput().contains("returned"));

    const LogFile file(logPath());
    QVERIFY2(file.isWellFormed(), qPrintable(file.error()));
    QCOMPARE(file.lines(), lines);
}

void TestLog::echoToConsole()
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QLatin1String(kEchoChild)});
    QVERIFY(child.waitForFinished(30000));
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(child.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(child.readAllStandardOutput()), QStringLiteral("Echo \nZwei \"ü\" \n"));
}

int main(int argc, char** argv)
{
    if (argc >= 3 && qstrcmp(argv[1], kFatalChild) == 0)
        return fatalChild(QString::fromLocal8Bit(argv[2]), argc >= 4);
    if (argc >= 2 && qstrcmp(argv[1], kEchoChild) == 0)
        return echoChild();
    QCoreApplication app(argc, argv);
    TestLog test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_log.moc"
