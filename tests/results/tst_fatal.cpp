// The results widgets refuse to be built without their project or plot:
// a programming error that ends the program with its message. Each case
// runs in a child process (this binary, started again with the case's name).

#include "ctrlgraph2d.h"
#include "graph2d.h"
#include "results.h"
#include "timetoolbar.h"
#include "resultsfixture.h"

#include <QApplication>
#include <QProcess>
#include <QtTest>

#include <cstdio>
#include <cstring>

namespace {

const char* const kChild = "--fatal-child";

void childMessages(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "FATAL:%s\n", qPrintable(text));
        std::fflush(stderr);
    }
}

int runChild(const char* which)
{
    qInstallMessageHandler(childMessages);
    if (std::strcmp(which, "results") == 0) {
        Results page(nullptr);
    } else if (std::strcmp(which, "toolbar") == 0) {
        TimeToolBar bar(nullptr);
    } else if (std::strcmp(which, "panel-project") == 0) {
        Graph2d plot;
        CtrlGraph2d panel(nullptr, &plot);
    } else if (std::strcmp(which, "panel-plot") == 0) {
        ResultsFixture fixture;
        CtrlGraph2d panel(fixture.project.get(), nullptr);
    }
    std::fprintf(stderr, "NOT FATAL\n");
    return 0;
}

} // namespace

class TestFatal : public QObject
{
    Q_OBJECT

private slots:
    void missingPointers_data();
    void missingPointers();
};

void TestFatal::missingPointers_data()
{
    QTest::addColumn<QString>("which");
    QTest::addColumn<QString>("message");
    QTest::newRow("results") << "results" << "Results::Results. Pointer to Project is not provided. ";
    QTest::newRow("toolbar") << "toolbar" << "TimeToolBar::TimeToolBar. Pointer to Project is not provided. ";
    QTest::newRow("panel without project")
        << "panel-project" << "CtrlGraph2d::CtrlGraph2d. Pointer to Project is not provided. ";
    QTest::newRow("panel without plot") << "panel-plot" << "CtrlGraph2d::CtrlGraph2d. Pointer to Graph2d is not provided. ";
}

void TestFatal::missingPointers()
{
    QFETCH(QString, which);
    QFETCH(QString, message);
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(kChild), which});
    QVERIFY(child.waitForFinished(30000));
    const QString errors = QString::fromLocal8Bit(child.readAllStandardError());
    QVERIFY2(errors.contains(QStringLiteral("FATAL:") + message + QLatin1Char('\n')), qPrintable(errors));
    QVERIFY(!errors.contains(QStringLiteral("NOT FATAL")));
    QVERIFY(child.exitStatus() == QProcess::CrashExit || child.exitCode() != 0);
}

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], kChild) == 0) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        return runChild(argv[2]);
    }
    QApplication app(argc, argv);
    TestFatal test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_fatal.moc"
