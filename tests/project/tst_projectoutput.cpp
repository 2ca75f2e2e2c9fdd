// The output data on the project's side: the data file read on from where
// reading stopped, the time column, progress, and the export as a table.

#include "projectfixture.h"
#include "messagecapture.h"

#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>

class TestProjectOutput : public QObject
{
    Q_OBJECT

private slots:
    void exportTable();
    void exportNumbers_data();
    void exportNumbers();
    void exportFailures();
    void timeColumn();
    void dataFile();
    void testRead();
};

void TestProjectOutput::exportTable()
{
    ProjectFixture fixture;
    Project& project = fixture.project();
    // Three headings of 18 characters and the line feed: a fourth, unnamed
    // field, 0 in every line.
    fixture.setResults(ProjectFixture::line({"t(s)", "T(K)", "OH"})
                       + ProjectFixture::line({"0.000123456", "1.5e6", "-2"})
                       + ProjectFixture::line({"1.0E-03", "300", "0"}));
    QCOMPARE(project.fieldCount(), 4);
    MessageCapture messages;
    QVERIFY(project.exportOutData(QStringLiteral("export.tsv")));
    QCOMPARE(ProjectFixture::readFile(fixture.inProject(QStringLiteral("export.tsv"))),
             QByteArray("t(s)\tT(K)\tOH\t\t\n"
                        "0.000123456\t1.5e+06\t-2\t0\t\n"
                        "0.001\t300\t0\t0\t\n"));
    QCOMPARE(messages.texts(QtDebugMsg),
             (QStringList{"Exporting Simulation Data to \"export.tsv\" ",
                          "Simulation data has been exported successfully. "}));

    // Replaced, and an absolute name written where it says.
    const QString elsewhere = QDir(fixture.root()).filePath(QStringLiteral("table.tsv"));
    ProjectFixture::writeFile(elsewhere, QByteArray(5000, 'z'));
    QVERIFY(project.exportOutData(elsewhere));
    QCOMPARE(ProjectFixture::readFile(elsewhere), ProjectFixture::readFile(fixture.inProject(QStringLiteral("export.tsv"))));
}

void TestProjectOutput::exportNumbers_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("small") << "0.000123456" << QByteArray("0.000123456");
    QTest::newRow("large") << "1.5e6" << QByteArray("1.5e+06");
    QTest::newRow("six digits") << "100000" << QByteArray("100000");
    QTest::newRow("seven digits") << "1234567" << QByteArray("1.23457e+06");
    QTest::newRow("tiny") << "1E-05" << QByteArray("1e-05");
    QTest::newRow("ten thousandth") << "0.0001" << QByteArray("0.0001");
    QTest::newRow("negative") << "-2.5" << QByteArray("-2.5");
    QTest::newRow("zero") << "0.0" << QByteArray("0");
    QTest::newRow("not a number") << "abc" << QByteArray("0");
    QTest::newRow("beyond single precision") << "1E+99" << QByteArray("0");
}

void TestProjectOutput::exportNumbers()
{
    QFETCH(QString, cell);
    QFETCH(QByteArray, written);
    ProjectFixture fixture;
    fixture.setResults(ProjectFixture::line({"x"}) + ProjectFixture::line({cell}));
    // One heading of 18 characters: a second, unnamed field from its line feed.
    QVERIFY(fixture.project().exportOutData(QStringLiteral("n.tsv")));
    QCOMPARE(ProjectFixture::readFile(fixture.inProject(QStringLiteral("n.tsv"))),
             QByteArray("x\t\t\n") + written + "\t0\t\n");
}

void TestProjectOutput::exportFailures()
{
    ProjectFixture fixture;
    Project& project = fixture.project();
    {
        MessageCapture messages;
        QVERIFY(!project.exportOutData(QStringLiteral("export.tsv")));
        QCOMPARE(messages.texts(QtWarningMsg),
                 QStringList{"Project::exportOutData(). There is no output data to export. "});
        QVERIFY(!QFile::exists(fixture.inProject(QStringLiteral("export.tsv"))));
    }
    fixture.setResults(ProjectFixture::line({"t(s)"}) + ProjectFixture::line({"1"}));
    MessageCapture messages;
    QVERIFY(!project.exportOutData(QStringLiteral("no folder/export.tsv")));
    QCOMPARE(messages.texts(QtWarningMsg),
             QStringList{QStringLiteral("Project::exportOutData(). \"Failed to open the file \"%1\".\" ")
                             .arg(fixture.inProject(QStringLiteral("no folder/export.tsv")))});
}

void TestProjectOutput::timeColumn()
{
    ProjectFixture fixture;
    Project& project = fixture.project();
    QCOMPARE(project.timeColumn(), -1);
    QSignalSpy updated(&project, &Project::outDataUpdated);
    // Headings only: the time column is there, without a value.
    fixture.setResults(ProjectFixture::line({"T(K)", "T(S)"}));
    QCOMPARE(project.timeColumn(), 1); // found whatever its case
    QCOMPARE(updated.count(), 0);
    QCOMPARE(project.currentTime(), 0.0f);

    ProjectFixture other;
    other.setResults(ProjectFixture::line({"T(K)", "T(S)"}) + ProjectFixture::line({"900", "2.5E-04"})
                     + ProjectFixture::line({"950", "5.0E-04"}));
    QCOMPARE(other.project().timeColumn(), 1);
    QCOMPARE(other.project().currentTime(), 5.0e-4f);

    // Without a time field, no column, even the unnamed one.
    CatalogueSettings untimed;
    untimed.timefield.clear();
    ProjectFixture none(ProjectFixture::twoExecutors(), untimed);
    none.setResults(ProjectFixture::line({"T(K)"}) + ProjectFixture::line({"900"}));
    QCOMPARE(none.project().fieldCount(), 2);
    QCOMPARE(none.project().timeColumn(), -1);
    QCOMPARE(none.project().currentTime(), 0.0f);
}

void TestProjectOutput::dataFile()
{
    ProjectFixture fixture;
    Project& project = fixture.project();
    const QString file = fixture.inProject(QStringLiteral("fort.29"));
    // Missing: nothing read.
    project._readDataFile(false);
    QCOMPARE(project.fieldCount(), 0);

    const QByteArray heading = ProjectFixture::line({"t(s)", "T(K)"});
    const QByteArray first = ProjectFixture::line({"1.0E-04", "1000"});
    const QByteArray unfinished = ProjectFixture::row({"2.0E-04", "1100"}).toLatin1();
    ProjectFixture::writeFile(file, heading + first + "<skipped\n\n>also\n" + unfinished);
    project._readDataFile(false);
    QCOMPARE(project.timeStepCount(), 1);
    const qint64 accepted = heading.size() + first.size();
    QCOMPARE(project.readPos(), accepted);
    const OutputField* time = project.field(0);

    // The growing file is read on from where reading stopped; the records
    // the views hold stay the same.
    QFile grow(file);
    QVERIFY(grow.open(QIODevice::Append));
    grow.write("\n" + ProjectFixture::line({"3.0E-04", "1200"}));
    grow.close();
    project._readDataFile(false);
    QCOMPARE(project.field(0), time);
    QCOMPARE(time->values, (QList<float>{1.0e-4f, 2.0e-4f, 3.0e-4f}));
    QCOMPARE(project.field(1)->values, (QList<float>{1000.0f, 1100.0f, 1200.0f}));

    // At the end a last line without line feed is taken too.
    QVERIFY(grow.open(QIODevice::Append));
    grow.write(ProjectFixture::row({"4.0E-04", "1300"}).toLatin1());
    grow.close();
    project._readDataFile(false);
    QCOMPARE(project.timeStepCount(), 3);
    project._readDataFile(true);
    QCOMPARE(project.timeStepCount(), 4);
    QCOMPARE(project.readPos(), QFileInfo(file).size());
    project._updateTime();
    QCOMPARE(project.currentTime(), 4.0e-4f);
}

void TestProjectOutput::testRead()
{
    ProjectFixture fixture;
    ProjectFixture::writeFile(fixture.inProject(QStringLiteral("fort.29")),
                              ProjectFixture::line({"t(s)"}) + ProjectFixture::row({"1.5"}).toLatin1());
    fixture.project().testRead();
    QCOMPARE(ProjectFixture::readFile(fixture.inProject(QStringLiteral("test87.txt"))), QByteArray("t(s)\t\t\n1.5\t0\t\n"));
}

QTEST_GUILESS_MAIN(TestProjectOutput)
#include "tst_projectoutput.moc"
