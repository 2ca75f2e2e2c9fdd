// The command-line tool as scripts use it: `tarvel catalogue --json` and its
// readable form, usage and exit codes, where diagnostics go, and the
// ignition delay of real runs of the bundled schemes.

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

namespace {

struct Run
{
    int exitCode = -1;
    QProcess::ExitStatus status = QProcess::CrashExit;
    QByteArray out;
    QByteArray err;
};

QString tarvel() { return QDir(QStringLiteral(TARVEL_BIN_DIR)).filePath(QStringLiteral("tarvel")); }

Run run(const QStringList& arguments, const QString& workingDirectory = QString())
{
    QProcess process;
    if (!workingDirectory.isEmpty())
        process.setWorkingDirectory(workingDirectory);
    // Logging rules of the caller must not change what the tool prints.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("*.debug=false"));
    process.setProcessEnvironment(environment);
    process.start(tarvel(), arguments);
    Run result;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
    }
    result.exitCode = process.exitCode();
    result.status = process.exitStatus();
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

QStringList strings(const QJsonArray& array)
{
    QStringList list;
    for (const QJsonValue& value : array)
        list << value.toString();
    return list;
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void catalogueJson();
    void catalogueReadable();
    void help();
    void usageErrors_data();
    void usageErrors();
    void verboseDebugOnStandardError();
    void ignitionDelay_data();
    void ignitionDelay();
};

void TestCli::initTestCase()
{
    QVERIFY2(QFileInfo(tarvel()).isExecutable(), qPrintable(tarvel() + " is missing: build the target tarvel"));
}

void TestCli::catalogueJson()
{
    QTemporaryDir work;
    QVERIFY(work.isValid());
    const Run result = run({QStringLiteral("catalogue"), QStringLiteral("--json")}, work.path());
    QCOMPARE(result.status, QProcess::NormalExit);
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.err, QByteArray());
    // The tool's diagnostics never go to a log file.
    QCOMPARE(QDir(work.path()).entryList(QDir::Files), QStringList());

    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(result.out, &error);
    QVERIFY2(error.error == QJsonParseError::NoError, qPrintable(error.errorString()));
    const QJsonObject catalogue = document.object();

    QStringList groups;
    for (const QJsonValue& group : catalogue.value(QStringLiteral("groups")).toArray())
        groups << QStringLiteral("%1 %2").arg(group[QStringLiteral("index")].toInt()).arg(group[QStringLiteral("name")].toString());
    QCOMPARE(groups, (QStringList{"0 CHEM", "1 SENS", "2 FLOW", "3 OTHER", "4 OUTPARAMS", "5 ICTRL", "6 BCOND"}));
    const QJsonArray allGroups = catalogue.value(QStringLiteral("groups")).toArray();
    QCOMPARE(allGroups.at(6)[QStringLiteral("text")].toString(), QStringLiteral("Boundary conditions"));

    // One option in full: every field is there, values with on and off.
    const QJsonArray other = allGroups.at(3)[QStringLiteral("options")].toArray();
    QJsonObject tign;
    for (const QJsonValue& option : other) {
        if (option[QStringLiteral("name")].toString() == QLatin1String("TIGN"))
            tign = option.toObject();
    }
    QCOMPARE(tign.value(QStringLiteral("kind")).toInt(), 1);
    QCOMPARE(tign.value(QStringLiteral("type")).toInt(), 2);
    QCOMPARE(tign.value(QStringLiteral("index")).toInt(), 7);
    QCOMPARE(tign.value(QStringLiteral("text")).toString(), QStringLiteral("Induction time for species #"));
    QVERIFY(tign.value(QStringLiteral("detail")).toString().endsWith(QLatin1String("delay times.<br>")));
    QCOMPARE(tign.value(QStringLiteral("default")).toString(), QStringLiteral("8"));
    QCOMPARE(tign.value(QStringLiteral("inputMask")).toString(), QStringLiteral("000"));
    QStringList values;
    for (const QJsonValue& value : tign.value(QStringLiteral("values")).toArray())
        values << QStringLiteral("%1|%2|%3|%4")
                      .arg(value[QStringLiteral("index")].toInt())
                      .arg(value[QStringLiteral("value")].toString(), value[QStringLiteral("text")].toString(),
                           value[QStringLiteral("detail")].toString());
    QCOMPARE(values, (QStringList{"0|on|Enabled|Enable Option", "1|off|Disabled|Disable Option"}));

    QCOMPARE(strings(catalogue.value(QStringLiteral("elements")).toArray()),
             (QStringList{"Al", "Ar", "Br", "C", "CL", "Ca", "F", "H", "He", "I", "KET", "Kr",
                          "Mg", "N", "Na", "Ne", "O", "P", "S", "SPR_", "Si", "Xe", "YY"}));
    QCOMPARE(strings(catalogue.value(QStringLiteral("elementsMatchOrder")).toArray()),
             (QStringList{"SPR_", "KET", "CL", "Ca", "Al", "He", "Ar", "Na", "Br", "Ne", "Mg", "YY",
                          "Kr", "Si", "Xe", "C", "F", "H", "I", "N", "O", "P", "S"}));

    QStringList files;
    for (const QJsonValue& file : catalogue.value(QStringLiteral("files")).toArray())
        files << QStringList{file[QStringLiteral("id")].toString(), file[QStringLiteral("name")].toString(),
                             file[QStringLiteral("detail")].toString(), file[QStringLiteral("text")].toString()}
                     .join(QLatin1Char('|'));
    QCOMPARE(files, (QStringList{"CUSTOM_INP|fort.2|Config|", "MECHANISM|fort.4|Mechanism|", "THERM|fort.9|Them Data|"}));

    const QJsonObject settings = catalogue.value(QStringLiteral("settings")).toObject();
    QCOMPARE(settings.value(QStringLiteral("compufile")).toString(), QStringLiteral("fort.18"));
    QCOMPARE(settings.value(QStringLiteral("profilestart")).toString(), QStringLiteral(">DATA"));
    QCOMPARE(settings.value(QStringLiteral("profileend")).toString(), QStringLiteral("<"));
    QCOMPARE(settings.value(QStringLiteral("datafile")).toString(), QStringLiteral("fort.29"));
    QCOMPARE(settings.value(QStringLiteral("fieldsize")).toInt(), 18);
    QCOMPARE(settings.value(QStringLiteral("timefield")).toString(), QStringLiteral("t(s)"));
    QCOMPARE(settings.value(QStringLiteral("duroption")).toString(), QStringLiteral("TEND"));
    QCOMPARE(settings.value(QStringLiteral("durationOption")).toString(), QStringLiteral("TEND"));

    // Paths resolved against the tool's own folder, the program directory.
    const QDir bin(QStringLiteral(TARVEL_BIN_DIR));
    QStringList executors;
    for (const QJsonValue& executor : settings.value(QStringLiteral("executors")).toArray()) {
        const QString path = executor[QStringLiteral("path")].toString();
        QVERIFY2(QDir::isAbsolutePath(path), qPrintable(path));
        executors << executor[QStringLiteral("name")].toString() + QLatin1Char('|')
                + QFileInfo(path).absoluteDir().canonicalPath() + QLatin1Char('/') + QFileInfo(path).fileName();
    }
    QCOMPARE(executors, (QStringList{"TarInp|" + bin.canonicalPath() + "/tarinp.x",
                                     "TarRun|" + bin.canonicalPath() + "/tarrun.x"}));
}

void TestCli::catalogueReadable()
{
    const Run result = run({QStringLiteral("catalogue")});
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.err, QByteArray());
    const QString text = QString::fromUtf8(result.out);
    for (const char* group : {"Group 0 CHEM: Chemical system\n", "Group 1 SENS: Computation of Sensivity Coefficients\n",
                              "Group 2 FLOW: Computation of Chemical Flows\n", "Group 3 OTHER: Other options\n",
                              "Group 4 OUTPARAMS: Output parameters\n", "Group 5 ICTRL: Integration control parameters\n",
                              "Group 6 BCOND: Boundary conditions\n"})
        QVERIFY2(text.contains(QLatin1String(group)), group);
    QVERIFY(text.contains(QStringLiteral("Temperature T [\u00B0K]")));
    QVERIFY(text.contains(QLatin1String("Elements (sorted): Al Ar Br C CL Ca F H He I KET Kr Mg N Na Ne O P S SPR_ Si "
                                        "Xe YY\n")));
    QVERIFY(text.contains(QLatin1String("Elements (match order): SPR_ KET CL Ca Al He Ar Na Br Ne Mg YY Kr Si Xe C F H "
                                        "I N O P S\n")));
}

void TestCli::help()
{
    const Run result = run({QStringLiteral("--help")});
    QCOMPARE(result.exitCode, 0);
    QVERIFY(result.out.startsWith("Usage: tarvel"));
    QVERIFY(result.out.contains("catalogue [--json]"));
    QCOMPARE(result.err, QByteArray());
}

void TestCli::usageErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("message");

    QTest::newRow("no command") << QStringList{} << QByteArray();
    QTest::newRow("unknown command") << QStringList{"frobnicate"} << QByteArray("unknown command \"frobnicate\"");
    QTest::newRow("unknown argument of catalogue")
        << QStringList{"catalogue", "--xml"} << QByteArray("unknown argument \"--xml\"");
}

void TestCli::usageErrors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, message);

    const Run result = run(arguments);
    QCOMPARE(result.status, QProcess::NormalExit);
    QCOMPARE(result.exitCode, 2);
    QCOMPARE(result.out, QByteArray());
    QVERIFY2(result.err.contains(message), result.err.constData());
    if (arguments.size() < 2)
        QVERIFY2(result.err.contains("Usage: tarvel"), result.err.constData());
}

void TestCli::verboseDebugOnStandardError()
{
    const Run result = run({QStringLiteral("--verbose"), QStringLiteral("catalogue"), QStringLiteral("--json")});
    QCOMPARE(result.exitCode, 0);
    QVERIFY(QJsonDocument::fromJson(result.out).isObject());
    QVERIFY2(result.err.contains("tarvel: debug: Options::loadOptions(). Loaded 87 translations \n"),
             result.err.constData());
}

void TestCli::ignitionDelay_data()
{
    QTest::addColumn<QString>("scheme");
    QTest::newRow("hydrogen") << QStringLiteral("H2-AIR-CONP");
    QTest::newRow("methane") << QStringLiteral("CH4-AIR-GRI30");
}

void TestCli::ignitionDelay()
{
    // A real run of a bundled scheme: the delay read from its output data
    // by the simulation code's own definition (200 K above the initial
    // temperature) is within 1 % of the time the code prints.
    QFETCH(QString, scheme);
    QTemporaryDir work;
    QVERIFY(work.isValid());
    const QString project = work.filePath(QStringLiteral("p.tarvel"));
    const Run simulated = run({QStringLiteral("run"), QStringLiteral("--scheme"), scheme, QStringLiteral("--dir"),
                               work.filePath(QStringLiteral("run")), QStringLiteral("--save"), project});
    QCOMPARE(simulated.exitCode, 0);
    const QRegularExpression printed(QStringLiteral("Ignition time \\(s\\) = (\\S+) +\\(T above (\\S+) K\\)"));
    const QRegularExpressionMatch match = printed.match(QString::fromUtf8(simulated.out + simulated.err));
    QVERIFY2(match.hasMatch(), simulated.out.constData());
    const double expected = match.captured(1).toDouble();
    QVERIFY(expected > 0.0);

    const QString ignition = QStringLiteral("ignition");
    const QString option = QStringLiteral("--definition");
    const Run rise = run({ignition, project, option, QStringLiteral("deltaT:200")});
    QCOMPARE(rise.exitCode, 0);
    QCOMPARE(rise.err, QByteArray());
    QVERIFY2(QRegularExpression(QStringLiteral("^\\d\\.\\d{5}E[-+]\\d\\d\\n$"))
                 .match(QString::fromLatin1(rise.out))
                 .hasMatch(),
             rise.out.constData());
    const double read = rise.out.trimmed().toDouble();
    QVERIFY2(std::fabs(read - expected) <= 0.01 * expected,
             qPrintable(QStringLiteral("%1 read, %2 printed").arg(read).arg(expected)));
    // The steepest temperature rise, the default, comes just after.
    const Run steepest = run({ignition, project});
    QCOMPARE(steepest.exitCode, 0);
    const double slope = steepest.out.trimmed().toDouble();
    QVERIFY2(slope > read && slope < 1.05 * read, steepest.out.constData());

    // No ignition, no such field, no such definition: said plainly.
    const Run never = run({ignition, project, option, QStringLiteral("deltaT:5000")});
    QCOMPARE(never.exitCode, 1);
    QCOMPARE(never.out, QByteArray());
    QCOMPARE(never.err,
             QByteArray("tarvel: ignition: the run did not ignite (temperature 5000 K above its initial value)\n"));
    const Run unknown = run({ignition, project, option, QStringLiteral("peak:XY")});
    QCOMPARE(unknown.exitCode, 1);
    QCOMPARE(unknown.err, QByteArray("tarvel: ignition: the output data has no field \"XY\"\n"));
    const Run wrong = run({ignition, project, option, QStringLiteral("half")});
    QCOMPARE(wrong.exitCode, 2);
    QVERIFY(wrong.err.contains("ignition: usage: tarvel ignition PROJECT.tarvel"));
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
