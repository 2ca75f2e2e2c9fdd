// Diagnostics must reach the handler exactly as the Qt 4 debug stream wrote
// them: every part followed by one blank, the last one too; string values in
// plain double quotes with nothing inside escaped.

#include "diagnostic.h"
#include "messagecapture.h"

#include <QtTest>

#include <functional>

Q_DECLARE_METATYPE(std::function<void()>)

class TestDiagnostic : public QObject
{
    Q_OBJECT

private slots:
    void composition_data();
    void composition();
    void textBeforeSending();
};

void TestDiagnostic::composition_data()
{
    QTest::addColumn<std::function<void()>>("report");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("text");

    QTest::newRow("one word") << std::function<void()>([] { tWarning() << "Word"; }) << int(QtWarningMsg)
                              << QStringLiteral("Word ");
    QTest::newRow("fragment and file name")
        << std::function<void()>([] { tCritical() << "Translation::load(). Cannot open" << QStringLiteral(":/x.xml"); })
        << int(QtCriticalMsg) << QStringLiteral("Translation::load(). Cannot open \":/x.xml\" ");
    QTest::newRow("inner quotes stay unescaped")
        << std::function<void()>([] { tWarning() << QStringLiteral("Species \"H2O\""); }) << int(QtWarningMsg)
        << QStringLiteral("\"Species \"H2O\"\" ");
    QTest::newRow("non-ASCII value") << std::function<void()>([] {
        tDebug() << "Scheme::load(). Loaded" << QStringLiteral("Grüße α° Привет");
    }) << int(QtDebugMsg) << QStringLiteral("Scheme::load(). Loaded \"Grüße α° Привет\" ");
    QTest::newRow("non-ASCII fragment") << std::function<void()>([] { tDebug() << "Temperatur °K"; }) << int(QtDebugMsg)
                                        << QStringLiteral("Temperatur °K ");
    QTest::newRow("empty value") << std::function<void()>([] { tWarning() << "Name" << QString(); })
                                 << int(QtWarningMsg) << QStringLiteral("Name \"\" ");
    QTest::newRow("reader warning with row and column")
        << std::function<void()>([] {
               tWarning() << "Options::readGroup(). Uknown tag" << QStringLiteral("foo") << "in GROUP #" << 2 << "(row"
                          << 5 << ", col" << 17 << ")";
           })
        << int(QtWarningMsg)
        << QStringLiteral("Options::readGroup(). Uknown tag \"foo\" in GROUP # 2 (row 5 , col 17 ) ");
    QTest::newRow("fragment helper is unquoted")
        << std::function<void()>([] { tDebug() << fragment(QStringLiteral("as \"is\"")) << 1; }) << int(QtDebugMsg)
        << QStringLiteral("as \"is\" 1 ");
    QTest::newRow("integers") << std::function<void()>([] {
        tDebug() << -5 << 42u << -7L << 8UL << -9000000000LL << 9000000000ULL;
    }) << int(QtDebugMsg) << QStringLiteral("-5 42 -7 8 -9000000000 9000000000 ");
    QTest::newRow("reals as %g") << std::function<void()>([] {
        tDebug() << 0.5 << 1e-7 << 1234567.0 << 100000.0 << 2.5f;
    }) << int(QtDebugMsg) << QStringLiteral("0.5 1e-07 1.23457e+06 100000 2.5 ");
    QTest::newRow("bool and character") << std::function<void()>([] { tDebug() << true << false << QChar(u'x'); })
                                        << int(QtDebugMsg) << QStringLiteral("true false 'x' ");
    QTest::newRow("percent signs pass untouched")
        << std::function<void()>([] { tDebug() << "100% %s %1" << QStringLiteral("%d"); }) << int(QtDebugMsg)
        << QStringLiteral("100% %s %1 \"%d\" ");
}

void TestDiagnostic::composition()
{
    QFETCH(std::function<void()>, report);
    QFETCH(int, type);
    QFETCH(QString, text);

    MessageCapture capture;
    report();
    const QList<MessageCapture::Message> messages = capture.messages();
    QCOMPARE(messages.size(), 1);
    QCOMPARE(int(messages.first().type), type);
    QCOMPARE(messages.first().text, text);
}

void TestDiagnostic::textBeforeSending()
{
    MessageCapture capture;
    {
        Diagnostic diagnostic(QtWarningMsg);
        diagnostic << "Options::loadOptions(). Group" << QStringLiteral("EMPTY") << "has no Options";
        QCOMPARE(diagnostic.text(), QStringLiteral("Options::loadOptions(). Group \"EMPTY\" has no Options "));
        // Nothing leaves before the statement that composes it ends.
        QVERIFY(capture.messages().isEmpty());
    }
    QCOMPARE(capture.texts(QtWarningMsg),
             QStringList{QStringLiteral("Options::loadOptions(). Group \"EMPTY\" has no Options ")});
}

QTEST_GUILESS_MAIN(TestDiagnostic)
#include "tst_diagnostic.moc"
