// The translation table: the built-in document tag by tag in all three
// languages, the normalisation of tags in place, and every report of the
// reader with the row and column Qt 6 gives.

#include "translation.h"
#include "messagecapture.h"
#include "translationtexts.h"

#include <QtTest>

#include <QDomDocument>

namespace {

using Messages = QStringList;

QString debug(const QString& text)
{
    return QStringLiteral("INF ") + text;
}
QString warning(const QString& text)
{
    return QStringLiteral("WRN ") + text;
}
QString critical(const QString& text)
{
    return QStringLiteral("ERR ") + text;
}

// The reader's documents start with their root on line 1, so that the first
// entry stands on line 2.
QByteArray document(const QByteArray& entries)
{
    return "<translations>\n" + entries + "</translations>\n";
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

} // namespace

class TestTranslation : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void builtInCount();
    void builtInTexts_data();
    void builtInTexts();
    void builtInDocumentForm();
    void translateNormalisesInPlace_data();
    void translateNormalisesInPlace();
    void translateEmptyTag_data();
    void translateEmptyTag();
    void indexOf();
    void applicationWideTable();
    void reader_data();
    void reader();
    void loadFailuresKeepTheTable_data();
    void loadFailuresKeepTheTable();
    void emptyTableReturnsTags();

private:
    QString write(const QByteArray& bytes);

    QTemporaryDir m_dir;
    Translation m_builtIn;
    Messages m_builtInMessages;
    bool m_builtInLoaded = false;
    int m_files = 0;
};

QString TestTranslation::write(const QByteArray& bytes)
{
    const QString path = m_dir.filePath(QStringLiteral("translate%1.xml").arg(++m_files));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return path;
}

void TestTranslation::initTestCase()
{
    QVERIFY(m_dir.isValid());
    MessageCapture capture;
    m_builtInLoaded = m_builtIn.load(QStringLiteral(":/translate.xml"));
    m_builtInMessages = capture.lines();
}

void TestTranslation::builtInCount()
{
    QVERIFY(m_builtInLoaded);
    QCOMPARE(m_builtInMessages, (Messages{debug(QStringLiteral("Options::loadOptions(). Loaded 87 translations "))}));
    QCOMPARE(m_builtIn.items().size(), qsizetype(std::size(kTranslationTexts)));
    QCOMPARE(m_builtIn.language(), int(Translation::English));
}

void TestTranslation::builtInTexts_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("german");
    QTest::addColumn<QString>("russian");

    int position = 0;
    for (const TranslationText& text : kTranslationTexts) {
        QTest::newRow(QString::fromUtf16(text.tag).toLatin1().constData())
            << position++ << QString::fromUtf16(text.tag) << QString::fromUtf16(text.english)
            << QString::fromUtf16(text.german) << QString::fromUtf16(text.russian);
    }
}

void TestTranslation::builtInTexts()
{
    QFETCH(int, position);
    QFETCH(QString, tag);
    QFETCH(QString, english);
    QFETCH(QString, german);
    QFETCH(QString, russian);

    QVERIFY(position < m_builtIn.items().size());
    const TranslationItem& item = m_builtIn.items().at(position);
    QCOMPARE(item.tag, tag);
    QCOMPARE(item.texts[Translation::English], english);
    QCOMPARE(item.texts[Translation::German], german);
    QCOMPARE(item.texts[Translation::Russian], russian);

    QString argument = tag;
    QCOMPARE(m_builtIn.translate(argument), english);
    QCOMPARE(m_builtIn.translate(argument, Translation::German), german);
    QCOMPARE(m_builtIn.translate(argument, Translation::Russian), russian);
}

void TestTranslation::builtInDocumentForm()
{
    const QByteArray resource = readFile(QStringLiteral(":/translate.xml"));
    QVERIFY(!resource.isEmpty());
    QCOMPARE(resource, readFile(QStringLiteral(TARVEL_SOURCE_DIR "/resources/translate.xml")));

    // Stored as UTF-16 and declared so.
    QVERIFY(resource.startsWith("\xFF\xFE") || resource.startsWith("\xFE\xFF"));
    const QString text =
        resource.startsWith("\xFF\xFE")
            ? QString::fromUtf16(reinterpret_cast<const char16_t*>(resource.constData() + 2), (resource.size() - 2) / 2)
            : QString();
    QVERIFY2(!text.isEmpty(), "expected little-endian UTF-16");
    QVERIFY(text.startsWith(QLatin1String("<?xml version=\"1.0\" encoding=\"UTF-16\"?>")));

    // The one id with a trailing blank, and every tag with all three texts.
    QDomDocument dom;
    QVERIFY(dom.setContent(resource));
    QCOMPARE(dom.documentElement().tagName(), QStringLiteral("translations"));
    const QDomNodeList tags = dom.documentElement().elementsByTagName(QStringLiteral("tag"));
    QCOMPARE(tags.size(), 87);
    QStringList padded;
    for (int i = 0; i < tags.size(); ++i) {
        const QDomElement tag = tags.at(i).toElement();
        const QString id = tag.attribute(QStringLiteral("id"));
        if (id != id.trimmed())
            padded << id;
        for (const char* language : {"en", "de", "ru"})
            QVERIFY2(tag.elementsByTagName(QLatin1String(language)).size() == 1, qPrintable(id + language));
    }
    QCOMPARE(padded, QStringList{QStringLiteral("FILE_READ ")});
}

void TestTranslation::translateNormalisesInPlace_data()
{
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("normalised");

    QTest::newRow("lower case with blanks")
        << QStringLiteral(" run ") << QStringLiteral("Run") << QStringLiteral("RUN");
    QTest::newRow("unknown tag comes back normalised")
        << QStringLiteral("  no_such_tag\t") << QStringLiteral("NO_SUCH_TAG") << QStringLiteral("NO_SUCH_TAG");
    QTest::newRow("id stored without its trailing blank")
        << QStringLiteral("FILE_READ") << QStringLiteral("Failed to read from the file \"%NAME\".")
        << QStringLiteral("FILE_READ");
    QTest::newRow("mixed case") << QStringLiteral("Prj_Save0") << QStringLiteral("Save Project")
                                << QStringLiteral("PRJ_SAVE0");
    QTest::newRow("placeholder left for the caller")
        << QStringLiteral("schemes_dat_missing_info") << QStringLiteral("%FILE is required for programme start")
        << QStringLiteral("SCHEMES_DAT_MISSING_INFO");
}

void TestTranslation::translateNormalisesInPlace()
{
    QFETCH(QString, tag);
    QFETCH(QString, result);
    QFETCH(QString, normalised);

    MessageCapture capture;
    QCOMPARE(m_builtIn.translate(tag), result);
    QCOMPARE(tag, normalised);
    QCOMPARE(capture.lines(), QStringList());
}

void TestTranslation::translateEmptyTag_data()
{
    QTest::addColumn<QString>("tag");
    QTest::newRow("empty") << QString();
    QTest::newRow("blanks") << QStringLiteral("   ");
    QTest::newRow("white space") << QStringLiteral(" \t\n ");
}

void TestTranslation::translateEmptyTag()
{
    QFETCH(QString, tag);
    MessageCapture capture;
    QCOMPARE(m_builtIn.translate(tag), QString());
    QCOMPARE(tag, QString());
    QCOMPARE(capture.lines(),
             (Messages{warning(QStringLiteral("Translation::translate(). Empty translation code! "))}));
}

void TestTranslation::indexOf()
{
    QCOMPARE(m_builtIn.indexOf(QStringLiteral("ON")), 0);
    QCOMPARE(m_builtIn.indexOf(QStringLiteral(" run ")), 12);
    QCOMPARE(m_builtIn.indexOf(QStringLiteral("file_read")), 62);
    QCOMPARE(m_builtIn.indexOf(QStringLiteral("SCHEMES_DAT_MISSING_INFO")), 85);
    QCOMPARE(m_builtIn.indexOf(QString()), -1);
    QCOMPARE(m_builtIn.indexOf(QStringLiteral("  ")), -1);
    QCOMPARE(m_builtIn.indexOf(QStringLiteral("RUNS")), -1);
}

void TestTranslation::applicationWideTable()
{
    {
        MessageCapture capture;
        QVERIFY(Translation::instance().load(QStringLiteral(":/translate.xml")));
    }
    QString tag = QStringLiteral(" enable_opt ");
    QCOMPARE(translate(tag), QStringLiteral("Enable Option"));
    QCOMPARE(tag, QStringLiteral("ENABLE_OPT"));
    const QString constant = QStringLiteral(" off ");
    QCOMPARE(translate(constant), QStringLiteral("off"));
    QCOMPARE(constant, QStringLiteral(" off "));
    QCOMPARE(translate("SCHEMES_DAT_MISSING"), QStringLiteral("Schemes Database is missing!"));
}

void TestTranslation::reader_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<QStringList>("items"); // "TAG|en|de|ru"
    QTest::addColumn<Messages>("messages");

    const QString loaded1 = QStringLiteral("Options::loadOptions(). Loaded 1 translations ");
    const QString none = QStringLiteral("Options::loadOptions(). No valid translations have been found. ");

    QTest::newRow("repeated tag keeps the first")
        << document("  <tag id=\"RUN\"><en>Run</en><de>Starten</de><ru>Zapusk</ru></tag>\n"
                    "  <tag id=\" run \"><en>Second</en><de>Zweite</de><ru>Vtoroi</ru></tag>\n")
        << true << QStringList{"RUN|Run|Starten|Zapusk"}
        << Messages{warning("Options::readNode(). Repeated Tag \"RUN\" in TRANSLATIONS (row 3 , col 18 ). Skipped... "),
                    debug(loaded1)};
    QTest::newRow("blank id is skipped but counted")
        << document("  <tag id=\"   \"><en>x</en><de>y</de><ru>z</ru></tag>\n") << true << QStringList{}
        << Messages{warning("Translation::readNode(). No Name specified for TAG (row 2 , col 16 ). Skipped... "),
                    debug(QStringLiteral("Options::loadOptions(). Loaded 0 translations "))};
    QTest::newRow("missing id attribute")
        << document("  <tag><en>x</en></tag>\n  <tag id=\"OK\"><en>a</en><de>b</de><ru>c</ru></tag>\n") << true
        << QStringList{"OK|a|b|c"}
        << Messages{warning("Translation::readNode(). No Name specified for TAG (row 2 , col 7 ). Skipped... "),
                    debug(loaded1)};
    QTest::newRow("missing Russian is kept after one warning")
        << document("  <tag id=\"Save\"><en>Save</en><de>Speichern</de></tag>\n") << true
        << QStringList{"SAVE|Save|Speichern|"}
        << Messages{warning("Translation::readNode(). No Russian translation found in TAG (row 2 , col 17 ). "),
                    debug(loaded1)};
    QTest::newRow("unknown language, then all three missing in order")
        << document("  <tag id=\"X\">\n    <FR>texte</FR>\n  </tag>\n") << true << QStringList{"X|||"}
        << Messages{warning("Translation::readItem(). Uknown language id \"fr\" in TAG \"X\" (row 3 , col 8 ) "),
                    warning("Translation::readNode(). No English translation found in TAG (row 2 , col 14 ). "),
                    warning("Translation::readNode(). No German translation found in TAG (row 2 , col 14 ). "),
                    warning("Translation::readNode(). No Russian translation found in TAG (row 2 , col 14 ). "),
                    debug(loaded1)};
    QTest::newRow("empty elements are passed over silently")
        << document("  <tag id=\"E\"/>\n  <tag id=\"F\"></tag>\n  <tag id=\"G\">   </tag>\n"
                    "  <tag id=\"H\"><en/><en>h</en><de>i</de><ru>j</ru></tag>\n  <other/>\n")
        << true << QStringList{"H|h|i|j"} << Messages{debug(loaded1)};
    QTest::newRow("only empty elements") << document("  <tag id=\"E\"/>\n  <tag id=\"F\"></tag>\n") << false
                                         << QStringList{} << Messages{critical(none)};
    QTest::newRow("unknown element is reported and not counted")
        << document("  <entry id=\"X\"><en>x</en></entry>\n") << false << QStringList{}
        << Messages{warning("Options::readNode(). Uknown tag \"entry\" in TRANSLATIONS (row 2 , col 16 ) "),
                    critical(none)};
    QTest::newRow("element names in any case, root name unchecked")
        << QByteArray("<Texts>\n  <TAG id=\"x\"><EN>one</EN><De>zwei</De><rU>tri</rU></TAG>\n</Texts>\n") << true
        << QStringList{"X|one|zwei|tri"} << Messages{debug(loaded1)};
    QTest::newRow("later text overwrites, nothing trimmed, comments skipped")
        << document("  <!-- a comment -->\n  <tag id=\"T\"><en>one</en><en> two </en><de>\tb</de><ru>c </ru></tag>\n")
        << true << QStringList{"T| two |\tb|c "} << Messages{debug(loaded1)};
    QTest::newRow("no tag at all") << document("") << false << QStringList{} << Messages{critical(none)};
}

void TestTranslation::reader()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, loaded);
    QFETCH(QStringList, items);
    QFETCH(Messages, messages);

    const QString path = write(bytes);
    Translation table;
    MessageCapture capture;
    QCOMPARE(table.load(path), loaded);
    QCOMPARE(capture.lines(), messages);
    QStringList got;
    for (const TranslationItem& item : table.items())
        got << QStringList{item.tag, item.texts[0], item.texts[1], item.texts[2]}.join(QLatin1Char('|'));
    QCOMPARE(got, items);
}

void TestTranslation::loadFailuresKeepTheTable_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("missing");
    QTest::addColumn<QString>("message"); // %1: the file name

    QTest::newRow("cannot open") << QByteArray() << true << QStringLiteral("Translation::load(). Cannot open \"%1\" ");
    QTest::newRow("mismatched end tag")
        << QByteArray("<translations>\n  <tag id=\"X\">\n  <en>x</en>\n</translations>\n") << false
        << QStringLiteral("Translation::load(). XML Error (row 4 , col 15 ): \"Opening and ending tag mismatch.\" ");
    QTest::newRow("empty file") << QByteArray() << false
                                << QStringLiteral("Translation::load(). XML Error (row 1 , col 0 ): "
                                                  "\"Premature end of document.\" ");
}

void TestTranslation::loadFailuresKeepTheTable()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, missing);
    QFETCH(QString, message);

    const QString path = missing ? m_dir.filePath(QStringLiteral("no such file.xml")) : write(bytes);
    Translation table;
    {
        MessageCapture quiet;
        QVERIFY(table.load(QStringLiteral(":/translate.xml")));
    }
    MessageCapture capture;
    QVERIFY(!table.load(path));
    QCOMPARE(capture.lines(),
             (Messages{critical(message.contains(QLatin1String("%1")) ? message.arg(path) : message)}));
    QCOMPARE(table.items().size(), 87);
    QString run = QStringLiteral("RUN");
    QCOMPARE(table.translate(run), QStringLiteral("Run"));
}

void TestTranslation::emptyTableReturnsTags()
{
    MessageCapture capture;
    Translation table(m_dir.filePath(QStringLiteral("absent.xml")));
    QCOMPARE(capture.texts(QtCriticalMsg).size(), 1);
    QVERIFY(table.items().isEmpty());
    QString tag = QStringLiteral(" scheme ");
    QCOMPARE(table.translate(tag), QStringLiteral("SCHEME"));

    Translation loaded(QStringLiteral(":/translate.xml"));
    QCOMPARE(loaded.items().size(), 87);
}

QTEST_GUILESS_MAIN(TestTranslation)
#include "tst_translation.moc"
