// The scheme model: construction over the catalogue, whole-scheme operations,
// extra data, the tree queries and the signals a view relies on.

#include "messagecapture.h"
#include "signalrecorder.h"
#include "testcatalogue.h"

#include "options.h"
#include "scheme.h"

#include <QMetaMethod>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <cstring>

namespace {

SchemeNode* makeNode(int id, const QString& name, bool group, OOption* option = nullptr)
{
    auto* node = new SchemeNode;
    node->id = id;
    node->name = name;
    node->isGroup = group;
    node->enabled = group;
    node->option = option;
    return node;
}

QStringList ids(const QList<SchemeNode*>& nodes)
{
    QStringList result;
    for (const SchemeNode* node : nodes)
        result << QString::number(node->id);
    return result;
}

// Run as a child: a scheme over no catalogue must end the process.
int constructWithoutCatalogue()
{
    Scheme scheme(nullptr);
    return 0; // not reached
}

} // namespace

class TestSchemeModel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { m_catalogue = TestCatalogue::load(); }

    void constructionTakesTheCatalogueFiles();
    void constructionWithoutCatalogueIsFatal();
    void clearAndFileName();
    void nameAndDescription();
    void extraDataByName();
    void setExtraReplacesWholeRecords();
    void extraFlagBits();
    void extraRecordsKeepTheirAddresses();
    void treeQueries();
    void findOptionPrefersBoundaryConditions();
    void optionValue();
    void insertAndTakeNodes();
    void dumpListing();
    void signalAndSlotDeclarations();
    void destructorEmitsNoSignals();

private:
    std::unique_ptr<Options> m_catalogue;
};

void TestSchemeModel::constructionTakesTheCatalogueFiles()
{
    Scheme scheme(m_catalogue.get());
    QCOMPARE(scheme.extraNames(), (QStringList{"CUSTOM_INP", "MECHANISM", "THERM"}));
    const QList<ExtraData*> extras = scheme.extras();
    QCOMPARE(extras.size(), 3);
    const QStringList details{"Config", "Mechanism", "Them Data"};
    const QStringList files{"fort.2", "fort.4", "fort.9"};
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(extras[i]->detail, details[i]);
        QCOMPARE(extras[i]->fileName, files[i]);
        QCOMPARE(extras[i]->flags, quint16(3));
    }
    QVERIFY(scheme.name().isEmpty());
    QVERIFY(scheme.description().isEmpty());
    QVERIFY(scheme.fileName().isEmpty());
    QVERIFY(!scheme.isSaved());
    QVERIFY(scheme.nodes().isEmpty());
    QVERIFY(scheme.species().isEmpty());

    // The working text is taken, not the default one.
    std::unique_ptr<Options> edited = TestCatalogue::load();
    *edited->fileText(QStringLiteral("MECHANISM")) = QStringLiteral("ELEMENTS H O END");
    edited->files()[2]->name.clear(); // THERM without a file name
    Scheme partial(edited.get());
    QCOMPARE(partial.extraNames(), (QStringList{"CUSTOM_INP", "MECHANISM"}));
    QCOMPARE(*partial.pointerToExtra(QStringLiteral("MECHANISM")), QStringLiteral("ELEMENTS H O END"));
    edited->files()[0]->id.clear();
    Scheme fewer(edited.get());
    QCOMPARE(fewer.extraNames(), QStringList{"MECHANISM"});
}

void TestSchemeModel::constructionWithoutCatalogueIsFatal()
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--construct-without-catalogue")});
    QVERIFY(child.waitForFinished(30000));
    QCOMPARE(child.exitStatus(), QProcess::CrashExit);
    const QString errors = QString::fromUtf8(child.readAllStandardError());
    QVERIFY2(errors.contains(
                 QStringLiteral("Scheme Constructor: Error Initialising class Scheme. 'Options' is a NULL Pointer ")),
             qPrintable(errors));
}

void TestSchemeModel::clearAndFileName()
{
    Scheme scheme(m_catalogue.get());
    QVERIFY(scheme.setNameAndDescription(QStringLiteral("A"), QStringLiteral("first")));
    QVERIFY(scheme.addSpecies(QStringLiteral("H2O")));
    scheme.addGroup(QStringLiteral("G"));
    SignalRecorder events(&scheme);

    QVERIFY(scheme.setFileName(QStringLiteral("  /tmp/schemes.dat  ")));
    QCOMPARE(scheme.fileName(), QStringLiteral("/tmp/schemes.dat"));
    QCOMPARE(events.take(), QStringList{"changed"});
    QVERIFY(!scheme.isSaved());
    // The same name once trimmed: nothing happens.
    QVERIFY(scheme.setFileName(QStringLiteral("/tmp/schemes.dat ")));
    QVERIFY(events.take().isEmpty());

    // Told before anything goes, while the nodes can still be let go of.
    int nodesWhenTold = -1;
    connect(&scheme, &Scheme::aboutToClear, &scheme, [&] { nodesWhenTold = int(scheme.nodes().size()); });
    scheme.clear();
    QCOMPARE(nodesWhenTold, 1);
    QCOMPARE(events.take(), (QStringList{"changed", "extras"}));
    QVERIFY(scheme.nodes().isEmpty());
    QVERIFY(scheme.extraNames().isEmpty());
    QVERIFY(scheme.species().isEmpty());
    QVERIFY(scheme.conditions().empty());
    QVERIFY(scheme.name().isEmpty());
    QVERIFY(scheme.description().isEmpty());
    QVERIFY(!scheme.isSaved());
    QCOMPARE(scheme.fileName(), QStringLiteral("/tmp/schemes.dat"));

    scheme.setUnsaved();
    QCOMPARE(events.take(), QStringList{"changed"});
}

void TestSchemeModel::nameAndDescription()
{
    MessageCapture messages;
    Scheme scheme(m_catalogue.get());
    SignalRecorder events(&scheme);

    QVERIFY(!scheme.setName(QStringLiteral("   ")));
    QCOMPARE(messages.criticals(), QStringList{"Scheme.setName: Scheme Name cannot be empty. "});
    QVERIFY(events.take().isEmpty());

    QVERIFY(scheme.setName(QStringLiteral("  H2-AIR ")));
    QCOMPARE(scheme.name(), QStringLiteral("H2-AIR"));
    QCOMPARE(events.take(), QStringList{"changed"});
    QVERIFY(scheme.setName(QStringLiteral("H2-AIR")));
    QVERIFY(events.take().isEmpty());

    QVERIFY(scheme.setNameAndDescription(QStringLiteral(" H2-AIR "), QStringLiteral(" ignition ")));
    QCOMPARE(scheme.description(), QStringLiteral("ignition"));
    QCOMPARE(events.take(), QStringList{"changed"});
    QVERIFY(scheme.setNameAndDescription(QStringLiteral("H2-AIR"), QStringLiteral("ignition")));
    QVERIFY(events.take().isEmpty());
    // Together, an empty name is taken as it is.
    QVERIFY(scheme.setNameAndDescription(QString(), QStringLiteral("ignition")));
    QVERIFY(scheme.name().isEmpty());
    QCOMPARE(messages.criticals().size(), 1);
}

void TestSchemeModel::extraDataByName()
{
    MessageCapture messages;
    Scheme scheme(m_catalogue.get());
    SignalRecorder events(&scheme);

    QVERIFY(scheme.addExtra(QStringLiteral(" Profiles_Data "), QStringLiteral("t1")));
    QCOMPARE(events.take(), (QStringList{"changed", "extras"}));
    QVERIFY(!scheme.addExtra(QStringLiteral("PROFILES_DATA"), QStringLiteral("other")));
    QVERIFY(events.take().isEmpty());
    QVERIFY(scheme.hasExtra(QStringLiteral("profiles_data")));
    ExtraData* extra = scheme.getExtra(QStringLiteral("profiles_data"));
    QVERIFY(extra);
    QCOMPARE(extra->name, QStringLiteral("PROFILES_DATA"));
    QCOMPARE(extra->text, QStringLiteral("t1"));
    QCOMPARE(extra->flags, quint16(0));
    QVERIFY(extra->detail.isEmpty());
    QVERIFY(extra->fileName.isEmpty());
    QCOMPARE(scheme.extraNames(), (QStringList{"CUSTOM_INP", "MECHANISM", "THERM", "PROFILES_DATA"}));

    // A record added whole is stored under its normalised name too.
    ExtraData record;
    record.name = QStringLiteral("  graphs ");
    record.text = QStringLiteral("g");
    record.flags = 1;
    QVERIFY(scheme.addExtra(record));
    QVERIFY(!scheme.addExtra(record));
    QCOMPARE(scheme.extraNames().last(), QStringLiteral("GRAPHS"));
    events.take();

    QVERIFY(scheme.setExtraData(QStringLiteral("graphs"), QStringLiteral("g2")));
    QCOMPARE(events.take(), (QStringList{"changed", "extras"}));
    QCOMPARE(*scheme.pointerToExtra(QStringLiteral(" GRAPHS")), QStringLiteral("g2"));

    QVERIFY(messages.warnings().isEmpty());
    QVERIFY(!scheme.getExtra(QStringLiteral(" nope ")));
    QVERIFY(!scheme.pointerToExtra(QStringLiteral("nope")));
    QVERIFY(!scheme.setExtraData(QStringLiteral("Nope"), QStringLiteral("x")));
    QCOMPARE(messages.warnings(),
             (QStringList{"Scheme::getExtra(). Extra Data with the name \"NOPE\" doesn't exist. ",
                          "Scheme::pointerToExtra(). Extra Data with the name \"NOPE\" doesn't exist. ",
                          "Scheme::setExtraData(). Extra Data with the name \"NOPE\" doesn't exist. "}));
    QVERIFY(events.take().isEmpty());

    scheme.removeExtra(QStringLiteral("nope"));
    QVERIFY(events.take().isEmpty());
    scheme.removeExtra(QStringLiteral("mechanism "));
    QCOMPARE(events.take(), (QStringList{"changed", "extras"}));
    QCOMPARE(scheme.extraNames(), (QStringList{"CUSTOM_INP", "THERM", "PROFILES_DATA", "GRAPHS"}));
    QVERIFY(!scheme.isSaved());
}

void TestSchemeModel::setExtraReplacesWholeRecords()
{
    MessageCapture messages;
    Scheme scheme(m_catalogue.get());
    QVERIFY(scheme.addExtra(QStringLiteral("A"), QStringLiteral("a")));
    QVERIFY(scheme.addExtra(QStringLiteral("B"), QStringLiteral("b")));
    SignalRecorder events(&scheme);

    ExtraData record{QStringLiteral("b"), QStringLiteral("detail"), QStringLiteral("f"), QStringLiteral("new"), 3};
    QVERIFY(!scheme.setExtra(QStringLiteral("a"), record));
    QVERIFY(!scheme.setExtra(QStringLiteral("missing"), ExtraData{QStringLiteral("missing2"), {}, {}, {}, 0}));
    QCOMPARE(messages.warnings(),
             (QStringList{"Scheme::setExtra(). Cannot replace \"A\" to \"B\". New name is not unique! ",
                          "Scheme::setExtra(). Extra Data with the name \"MISSING\" doesn't exist. "}));
    QCOMPARE(*scheme.pointerToExtra(QStringLiteral("A")), QStringLiteral("a"));
    QVERIFY(events.take().isEmpty());

    // Renaming to its own name succeeds, in any letter case and with blanks.
    QVERIFY(scheme.setExtra(QStringLiteral("b"), record));
    QCOMPARE(events.take(), (QStringList{"changed", "extras"}));
    ExtraData* stored = scheme.getExtra(QStringLiteral("B"));
    QCOMPARE(stored->name, QStringLiteral("B"));
    QCOMPARE(stored->detail, QStringLiteral("detail"));
    QCOMPARE(stored->fileName, QStringLiteral("f"));
    QCOMPARE(stored->text, QStringLiteral("new"));
    QCOMPARE(stored->flags, quint16(3));

    // A new name is stored trimmed and upper-cased, so it stays unique.
    QVERIFY(scheme.setExtra(QStringLiteral("A"), ExtraData{QStringLiteral("  c "), {}, {}, QStringLiteral("c"), 0}));
    QCOMPARE(scheme.extraNames(), (QStringList{"CUSTOM_INP", "MECHANISM", "THERM", "C", "B"}));
    QVERIFY(!scheme.setExtra(QStringLiteral("B"), ExtraData{QStringLiteral("c"), {}, {}, {}, 0}));
    QCOMPARE(messages.warnings().last(),
             QStringLiteral("Scheme::setExtra(). Cannot replace \"B\" to \"C\". New name is not unique! "));
}

void TestSchemeModel::extraFlagBits()
{
    ExtraData extra;
    QVERIFY(extra.testFlag(0));
    QVERIFY(!extra.testFlag(1));
    extra.setFlag(0, true);
    QCOMPARE(extra.flags, quint16(0));
    extra.setFlag(2, true);
    QCOMPARE(extra.flags, quint16(2));
    QVERIFY(!extra.testFlag(0));
    QVERIFY(extra.testFlag(2));
    QVERIFY(!extra.testFlag(1));
    extra.setFlag(1, true);
    extra.setFlag(16, true);
    QCOMPARE(extra.flags, quint16(0x8003));
    extra.setFlag(2, false);
    QCOMPARE(extra.flags, quint16(0x8001));
    extra.setFlag(16, false);
    extra.setFlag(1, false);
    QVERIFY(extra.testFlag(0));
}

void TestSchemeModel::extraRecordsKeepTheirAddresses()
{
    Scheme scheme(m_catalogue.get());
    QVERIFY(scheme.addExtra(QStringLiteral("KEEP"), QStringLiteral("typed so far")));
    ExtraData* record = scheme.getExtra(QStringLiteral("KEEP"));
    QString* text = scheme.pointerToExtra(QStringLiteral("KEEP"));
    ExtraData* mechanism = scheme.getExtra(QStringLiteral("MECHANISM"));
    for (int i = 0; i < 500; ++i)
        QVERIFY(scheme.addExtra(QStringLiteral("E%1").arg(i), QString(100, QLatin1Char('x'))));
    for (int i = 0; i < 500; i += 2)
        scheme.removeExtra(QStringLiteral("E%1").arg(i));
    scheme.removeExtra(QStringLiteral("CUSTOM_INP"));
    QVERIFY(scheme.setExtra(QStringLiteral("E1"), ExtraData{QStringLiteral("E1"), {}, {}, QStringLiteral("y"), 0}));
    QCOMPARE(scheme.getExtra(QStringLiteral("KEEP")), record);
    QCOMPARE(scheme.pointerToExtra(QStringLiteral("KEEP")), text);
    QCOMPARE(scheme.getExtra(QStringLiteral("MECHANISM")), mechanism);
    text->append(QStringLiteral(" and more"));
    QCOMPARE(scheme.getExtra(QStringLiteral("KEEP"))->text, QStringLiteral("typed so far and more"));
}

void TestSchemeModel::treeQueries()
{
    Scheme scheme(m_catalogue.get());
    QCOMPARE(scheme.largestId(), 0);
    QCOMPARE(scheme.nodeCount(), 0);
    OOption* tend = m_catalogue->findOption(QStringLiteral("TEND"));
    OOption* nt = m_catalogue->findOption(QStringLiteral("NT"));
    QVERIFY(tend && nt);

    SchemeNode* a = makeNode(7, QStringLiteral("A"), true);
    SchemeNode* a1 = makeNode(3, QStringLiteral("A1"), true);
    SchemeNode* tendNode = makeNode(12, QString(), false, tend);
    SchemeNode* b = makeNode(2, QStringLiteral("B"), true);
    scheme.insertNode(a, nullptr, nullptr, true);
    scheme.insertNode(a1, a, nullptr, true);
    scheme.insertNode(tendNode, a1, nullptr, true);
    scheme.insertNode(b, nullptr, nullptr, true);

    QCOMPARE(scheme.nodeCount(), 4);
    QCOMPARE(scheme.largestId(), 12);
    QCOMPARE(ids(scheme.allNodes()), (QStringList{"7", "3", "12", "2"}));
    QCOMPARE(scheme.nodeById(12), tendNode);
    QCOMPARE(scheme.nodeById(2), b);
    QVERIFY(!scheme.nodeById(99));
    QCOMPARE(Scheme::nodeById(12, a1->children), tendNode);
    QVERIFY(!Scheme::nodeById(7, a->children));

    QVERIFY(scheme.isOptionUsed(tend));
    QVERIFY(!scheme.isOptionUsed(nt));
    QVERIFY(!scheme.isOptionUsed(nullptr));

    QVERIFY(Scheme::isInSubtree(a, tendNode));
    QVERIFY(Scheme::isInSubtree(a, a1));
    QVERIFY(!Scheme::isInSubtree(a, a));
    QVERIFY(!Scheme::isInSubtree(a1, a));
    QVERIFY(!Scheme::isInSubtree(a, b));

    // A group that refers to an option does not use it.
    SchemeNode* oddGroup = makeNode(20, QStringLiteral("odd"), true, nt);
    scheme.insertNode(oddGroup, b, nullptr, true);
    QVERIFY(!scheme.isOptionUsed(nt));

    QCOMPARE(scheme.findOption(QStringLiteral(" tend ")), tend);
    QVERIFY(!scheme.findOption(QStringLiteral("NOSUCH")));
    QVERIFY(scheme.addSpecies(QStringLiteral("H2O")));
    OOption* water = scheme.findOption(QStringLiteral(" bc_h2o"));
    QVERIFY(water);
    QCOMPARE(water, scheme.conditions().front().get());
}

void TestSchemeModel::findOptionPrefersBoundaryConditions()
{
    // Only a catalogue reloaded after the species were added can hold an
    // option of the same name as a boundary condition: adding refuses it.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString document = dir.filePath(QStringLiteral("clash.xml"));
    QFile file(document);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<config><settings><duroption>BC_H2O</duroption></settings>"
               "<group><name>G</name><text>g</text>"
               "<condition><name>BC_H2O</name><text>water</text></condition></group>"
               "<elements><element>H</element><element>O</element></elements></config>");
    file.close();

    std::unique_ptr<Options> catalogue = TestCatalogue::load();
    Scheme scheme(catalogue.get());
    QVERIFY(scheme.addSpecies(QStringLiteral("H2O")));
    {
        MessageCapture quiet;
        QVERIFY(catalogue->loadOptions(document));
    }
    OOption* inCatalogue = catalogue->findOption(QStringLiteral("BC_H2O"));
    QVERIFY(inCatalogue);
    OOption* found = scheme.findOption(QStringLiteral("bc_h2o"));
    QCOMPARE(found, scheme.conditions().front().get());
    QVERIFY(found != inCatalogue);
}

void TestSchemeModel::optionValue()
{
    Scheme scheme(m_catalogue.get());
    SchemeNode* group = scheme.addGroup(QStringLiteral("G"));
    SchemeNode* tend = scheme.addOption(m_catalogue->findOption(QStringLiteral("TEND")), group);
    tend->value = QStringLiteral("1.0E-03");
    QCOMPARE(scheme.optionValue(QStringLiteral(" tend ")), QStringLiteral("1.0E-03"));
    const QString blank = scheme.optionValue(QStringLiteral("   "));
    QVERIFY(blank.isEmpty());
    QVERIFY(!blank.isNull());
    QVERIFY(scheme.optionValue(QStringLiteral("NT")).isNull());
    // Groups are not searched, even when named as the option.
    group->value = QStringLiteral("group value");
    QVERIFY(scheme.optionValue(QStringLiteral("G")).isNull());
    // The first one in pre-order wins (the boundary condition of water).
    QVERIFY(scheme.addSpecies(QStringLiteral("H2O")));
    SchemeNode* water = scheme.addOption(scheme.findOption(QStringLiteral("BC_H2O")), group);
    water->value = QStringLiteral("0.5");
    QCOMPARE(scheme.optionValue(QStringLiteral("bc_h2o")), QStringLiteral("0.5"));
}

void TestSchemeModel::insertAndTakeNodes()
{
    Scheme scheme(m_catalogue.get());
    SchemeNode* a = makeNode(1, QStringLiteral("A"), true);
    SchemeNode* b = makeNode(2, QStringLiteral("B"), true);
    SchemeNode* c = makeNode(3, QStringLiteral("C"), true);
    SchemeNode* d = makeNode(4, QStringLiteral("D"), true);
    SchemeNode* e = makeNode(5, QStringLiteral("E"), true);
    SchemeNode* stranger = makeNode(6, QStringLiteral("X"), true);
    SignalRecorder events(&scheme);

    scheme.insertNode(a, nullptr, nullptr, true);
    scheme.insertNode(b, nullptr, a, false); // before a
    scheme.insertNode(c, nullptr, b, true);  // after b
    scheme.insertNode(d, a, nullptr, false);
    scheme.insertNode(e, a, stranger, false); // a sibling from elsewhere: at the end
    QCOMPARE(ids(scheme.nodes()), (QStringList{"2", "3", "1"}));
    QCOMPARE(ids(a->children), (QStringList{"4", "5"}));
    QCOMPARE(e->parent, a);
    QCOMPARE(events.take(), (QStringList{"aboutToAdd(0,0)", "added(1)", "aboutToAdd(0,0)", "added(2)",
                                          "aboutToAdd(0,1)", "added(3)", "aboutToAdd(1,0)", "added(4)",
                                          "aboutToAdd(1,1)", "added(5)"}));
    QVERIFY(!scheme.isSaved());

    QVERIFY(!scheme.takeNode(stranger));
    QVERIFY(events.take().isEmpty());
    QVERIFY(scheme.takeNode(d));
    QCOMPARE(events.take(), (QStringList{"aboutToRemove(4)", "removed", "changed"}));
    QCOMPARE(ids(a->children), QStringList{"5"});
    QVERIFY(scheme.takeNode(b));
    QCOMPARE(ids(scheme.nodes()), (QStringList{"3", "1"}));
    QVERIFY(!scheme.takeNode(b));
    delete b;
    delete d;
    delete stranger;
}

void TestSchemeModel::dumpListing()
{
    Scheme scheme(m_catalogue.get());
    SchemeNode* g1 = scheme.addGroup(QStringLiteral("G1"));
    scheme.addOption(m_catalogue->findOption(QStringLiteral("TEND")), g1);
    SchemeNode* g2 = scheme.addGroup(QStringLiteral("G2"), g1);
    scheme.insertNode(makeNode(4, QStringLiteral("lost"), false), g2, nullptr, true);
    scheme.addOption(m_catalogue->findOption(QStringLiteral("MOLE")));
    QString text;
    QTextStream out(&text);
    scheme.dump(out);
    out.flush();
    const QString line(80, QLatin1Char('-'));
    QCOMPARE(text, line + "\n"
                 + "#1 group: 'G1' \n"
                   " #2 option: 'TEND'' \n"
                   " #3 group: 'G2' \n"
                   "  #4 option: '< empty pointer >'' \n"
                   "#5 option: 'MOLE'' \n"
                 + line + "\n");
}

void TestSchemeModel::signalAndSlotDeclarations()
{
    const QMetaObject& meta = Scheme::staticMetaObject;
    QStringList signalList;
    QStringList slotList;
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
        const QMetaMethod method = meta.method(i);
        if (method.methodType() == QMetaMethod::Signal)
            signalList << QString::fromLatin1(method.methodSignature());
        else if (method.methodType() == QMetaMethod::Slot)
            slotList << QString::fromLatin1(method.methodSignature());
    }
    QCOMPARE(signalList, (QStringList{"changed()", "extrasChanged()", "optionsChanged()",
                                      "nodeAboutToAdd(SchemeNode*,int)", "nodeAdded(SchemeNode*)",
                                      "nodeAboutToRemove(SchemeNode*)", "nodeRemoved()", "aboutToClear()"}));
    // Default arguments give the shorter forms as well.
    QCOMPARE(slotList, (QStringList{"clear()", "load(QString,QString)", "save(QString)", "save()",
                                    "setFileName(QString)", "setUnsaved()"}));
}

void TestSchemeModel::destructorEmitsNoSignals()
{
    auto* scheme = new Scheme(m_catalogue.get());
    scheme->makeTestScheme();
    QVERIFY(scheme->addSpecies(QStringLiteral("CH4")));
    QVERIFY(scheme->addExtra(QStringLiteral("X"), QStringLiteral("x")));
    int emitted = 0;
    QObject receiver;
    connect(scheme, &Scheme::changed, &receiver, [&] { ++emitted; });
    connect(scheme, &Scheme::extrasChanged, &receiver, [&] { ++emitted; });
    connect(scheme, &Scheme::nodeAboutToRemove, &receiver, [&] { ++emitted; });
    connect(scheme, &Scheme::nodeRemoved, &receiver, [&] { ++emitted; });
    scheme->setUnsaved();
    QCOMPARE(emitted, 1);
    delete scheme;
    QCOMPARE(emitted, 1);
}

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--construct-without-catalogue") == 0) {
        QCoreApplication app(argc, argv);
        return constructWithoutCatalogue();
    }
    QCoreApplication app(argc, argv);
    TestSchemeModel test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_schememodel.moc"
