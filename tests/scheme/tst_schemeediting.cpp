// Editing a scheme: groups, options, moves, species with their boundary
// conditions, copying one scheme into another and the fixed test scheme.

#include "messagecapture.h"
#include "signalrecorder.h"
#include "testcatalogue.h"

#include "options.h"
#include "scheme.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

QStringList ids(const QList<SchemeNode*>& nodes)
{
    QStringList result;
    for (const SchemeNode* node : nodes)
        result << QString::number(node->id);
    return result;
}

QStringList conditionNames(const Scheme& scheme)
{
    QStringList names;
    for (const auto& condition : scheme.conditions())
        names << condition->name;
    return names;
}

// A project's clear() also drops its run data; copy() must call it.
class CountingScheme : public Scheme
{
public:
    using Scheme::Scheme;
    void clear() override
    {
        ++clears;
        Scheme::clear();
    }
    int clears = 0;
};

} // namespace

class TestSchemeEditing : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { m_catalogue = TestCatalogue::load(); }

    void addGroup();
    void addOption();
    void moveNode();
    void changeGroupName();
    void addSpecies();
    void addSpeciesRefusals();
    void removeSpecies();
    void copy();
    void copyDropsNodesWithoutOption();
    void testScheme();

private:
    OOption* option(const char* name) const
    {
        OOption* found = m_catalogue->findOption(QString::fromLatin1(name));
        if (!found)
            qFatal("The built-in catalogue has no option %s", name);
        return found;
    }

    std::unique_ptr<Options> m_catalogue;
};

void TestSchemeEditing::addGroup()
{
    MessageCapture messages;
    Scheme scheme(m_catalogue.get());
    QVERIFY(scheme.setName(QStringLiteral("S")));
    SignalRecorder events(&scheme);

    QVERIFY(!scheme.addGroup(QStringLiteral("  ")));
    SchemeNode* a = scheme.addGroup(QStringLiteral(" Reactor "));
    QVERIFY(a);
    QCOMPARE(a->id, 1);
    QCOMPARE(a->name, QStringLiteral("Reactor"));
    QVERIFY(a->isGroup);
    QVERIFY(a->enabled);
    QVERIFY(!a->option);
    QVERIFY(a->value.isEmpty());
    QVERIFY(!a->parent);
    QCOMPARE(events.take(), (QStringList{"aboutToAdd(0,0)", "added(1)", "changed"}));
    QVERIFY(!scheme.isSaved());

    // Unique within the parent, compared once trimmed and case-sensitively.
    QVERIFY(!scheme.addGroup(QStringLiteral("Reactor  ")));
    QVERIFY(events.take().isEmpty());
    SchemeNode* lower = scheme.addGroup(QStringLiteral("reactor"));
    QVERIFY(lower);
    SchemeNode* inner = scheme.addGroup(QStringLiteral(" Reactor"), a);
    QVERIFY(inner);
    QCOMPARE(inner->name, QStringLiteral("Reactor"));
    QCOMPARE(inner->parent, a);
    QCOMPARE(inner->id, 3);
    QVERIFY(!scheme.addGroup(QStringLiteral("Reactor"), a));
    QCOMPARE(messages.criticals(),
             (QStringList{"Scheme::addGroup(). Scheme \"S\" : Group Name is empty. ",
                          "Scheme::addGroup(). Scheme \"S\" : Group Name \"Reactor\" is not unique within its "
                          "parent node. ",
                          "Scheme::addGroup(). Scheme \"S\" : Group Name \"Reactor\" is not unique within its "
                          "parent node. "}));

    // Positions as insert node chooses them; ids go on from the largest.
    SchemeNode* first = scheme.addGroup(QStringLiteral("First"), nullptr, a, false);
    QCOMPARE(ids(scheme.nodes()), (QStringList{"4", "1", "2"}));
    SchemeNode* big = new SchemeNode;
    big->id = 40;
    big->isGroup = true;
    scheme.insertNode(big, first, nullptr, true);
    QCOMPARE(scheme.addGroup(QStringLiteral("Next"), first, big, false)->id, 41);
    QCOMPARE(ids(first->children), (QStringList{"41", "40"}));
}

void TestSchemeEditing::addOption()
{
    MessageCapture messages;
    Scheme scheme(m_catalogue.get());
    QVERIFY(scheme.setName(QStringLiteral("S")));
    SchemeNode* group = scheme.addGroup(QStringLiteral("G"));
    SignalRecorder events(&scheme);

    QVERIFY(!scheme.addOption(nullptr));
    SchemeNode* tend = scheme.addOption(option("TEND"), group);
    QVERIFY(tend);
    QCOMPARE(tend->id, 2);
    QVERIFY(tend->name.isEmpty());
    QVERIFY(!tend->isGroup);
    QVERIFY(!tend->enabled);
    QCOMPARE(tend->option, option("TEND"));
    QCOMPARE(tend->value, QStringLiteral("1.00E+04"));
    QCOMPARE(tend->parent, group);
    QCOMPARE(events.take(), (QStringList{"aboutToAdd(1,0)", "added(2)", "changed"}));

    // Once per catalogue option, anywhere in the tree.
    QVERIFY(!scheme.addOption(option("TEND")));
    QCOMPARE(messages.criticals(),
             (QStringList{"Scheme::addOption(). Scheme \"S\" : Null pointer provided for the Option. ",
                          "Scheme::addOption(). Scheme \"S\" : the Option \"TEND\"  already exists "}));
    QVERIFY(events.take().isEmpty());

    // A boundary condition of a species is never refused here.
    QVERIFY(scheme.addSpecies(QStringLiteral("CH4")));
    OOption* methane = scheme.findOption(QStringLiteral("BC_CH4"));
    SchemeNode* first = scheme.addOption(methane, group, tend, false);
    QVERIFY(first);
    QCOMPARE(first->value, QStringLiteral("1.0"));
    QCOMPARE(ids(group->children), (QStringList{"3", "2"}));
    QVERIFY(scheme.addOption(methane));
    QCOMPARE(messages.criticals().size(), 2);
}

void TestSchemeEditing::moveNode()
{
    MessageCapture messages;
    Scheme scheme(m_catalogue.get());
    QVERIFY(scheme.setName(QStringLiteral("S")));
    SchemeNode* a = scheme.addGroup(QStringLiteral("A"));
    SchemeNode* b = scheme.addGroup(QStringLiteral("B"));
    SchemeNode* a1 = scheme.addGroup(QStringLiteral("A1"), a);
    SchemeNode* a11 = scheme.addGroup(QStringLiteral("A11"), a1);
    SchemeNode* nt = scheme.addOption(option("NT"), a1);
    SignalRecorder events(&scheme);

    QVERIFY(!scheme.moveNode(nullptr, b, nullptr, true));
    QVERIFY(messages.criticals().isEmpty());
    QVERIFY(!scheme.moveNode(a11, nt, nullptr, true));
    QVERIFY(!scheme.moveNode(a, a11, nullptr, true));
    QVERIFY(!scheme.moveNode(a, a, nullptr, true));
    SchemeNode loose;
    loose.id = 77;
    loose.name = QStringLiteral("loose");
    loose.isGroup = true;
    QVERIFY(!scheme.moveNode(&loose, b, nullptr, true));
    loose.parent = b;
    QVERIFY(!scheme.moveNode(&loose, a, nullptr, true));
    QCOMPARE(messages.criticals(),
             (QStringList{"Scheme::moveNode(). Scheme \"S\" : Error moving Node # 4 . Parent is not a group. ",
                          "Scheme::moveNode(). Scheme \"S\" : Node # 1 ( \"A\" ) Cannot be parent for its parent "
                          "\"A11\" ",
                          "Scheme::moveNode(). Scheme \"S\" : Node # 1 ( \"A\" ) Cannot be parent for its parent "
                          "\"A\" ",
                          "Scheme::moveNode(). Scheme \"S\" : Node # 77 ( \"loose\" ) cannpt be found within its "
                          "Parent \"<Root>\" ",
                          "Scheme::moveNode(). Scheme \"S\" : Node # 77 ( \"loose\" ) cannpt be found within its "
                          "Parent \"B\" "}));
    QVERIFY(events.take().isEmpty());
    QCOMPARE(ids(scheme.nodes()), (QStringList{"1", "2"}));

    // A group with its subtree to the front of the top level.
    QVERIFY(scheme.moveNode(a1, nullptr, a, false));
    QCOMPARE(ids(scheme.nodes()), (QStringList{"3", "1", "2"}));
    QVERIFY(a->children.isEmpty());
    QVERIFY(!a1->parent);
    QCOMPARE(a1->id, 3);
    QCOMPARE(ids(a1->children), (QStringList{"4", "5"}));
    QCOMPARE(events.take(),
             (QStringList{"aboutToRemove(3)", "removed", "changed", "aboutToAdd(0,0)", "added(3)", "changed"}));

    // Within the same list, the position counts after the node left it.
    QVERIFY(scheme.moveNode(a1, nullptr, b, true));
    QCOMPARE(ids(scheme.nodes()), (QStringList{"1", "2", "3"}));
    QVERIFY(scheme.moveNode(nt, b, nullptr, true));
    QCOMPARE(nt->parent, b);
    QCOMPARE(ids(a1->children), QStringList{"4"});
    QVERIFY(!scheme.isSaved());
}

void TestSchemeEditing::changeGroupName()
{
    MessageCapture messages;
    Scheme scheme(m_catalogue.get());
    SchemeNode* group = scheme.addGroup(QStringLiteral("Old"));
    scheme.addGroup(QStringLiteral("Other"));
    SchemeNode* nt = scheme.addOption(option("NT"));
    SignalRecorder events(&scheme);

    QVERIFY(!scheme.changeGroupName(nullptr, QStringLiteral("x")));
    QVERIFY(!scheme.changeGroupName(nt, QStringLiteral("x")));
    QVERIFY(!scheme.changeGroupName(group, QStringLiteral("  ")));
    QVERIFY(scheme.changeGroupName(group, QStringLiteral(" Old ")));
    QCOMPARE(messages.criticals(), (QStringList{"Scheme.changeGroupName(). Node is a null pointer. ",
                                                "Scheme.changeGroupName(). Node is not a group. ",
                                                "Scheme.changeGroupName(). New Name is empty. "}));
    QCOMPARE(messages.debugs(), QStringList{"Scheme.changeGroupName(). The New Name is equal to the Old Name. "});
    QVERIFY(events.take().isEmpty());

    // Siblings are not checked here.
    QVERIFY(scheme.changeGroupName(group, QStringLiteral(" Other ")));
    QCOMPARE(group->name, QStringLiteral("Other"));
    QCOMPARE(events.take(), QStringList{"changed"});
}

void TestSchemeEditing::addSpecies()
{
    MessageCapture messages;
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    Scheme scheme(m_catalogue.get());
    QVERIFY(scheme.setName(QStringLiteral("S")));
    QVERIFY(scheme.save(dir.filePath(QStringLiteral("schemes.dat"))));
    QVERIFY(scheme.isSaved());
    SignalRecorder events(&scheme);
    messages.clear();

    QVERIFY(scheme.addSpecies(QStringLiteral("  h2o ")));
    QCOMPARE(scheme.species(), QStringList{"H2O"});
    QCOMPARE(scheme.conditions().size(), size_t(1));
    const OOption* water = scheme.conditions().front().get();
    QCOMPARE(water->name, QStringLiteral("BC_H2O"));
    QCOMPARE(water->type, int(OOption::Field));
    QCOMPARE(water->kind, int(OOption::BoundaryCondition));
    QCOMPARE(water->index, -1);
    QCOMPARE(water->text, QStringLiteral("Concentration of H2O"));
    QCOMPARE(water->detail, QStringLiteral("BOUND_COND_L: Concentration of H2O"));
    QVERIFY(water->value.isEmpty());
    QCOMPARE(water->defaultValue, QStringLiteral("1.0"));
    QCOMPARE(water->inputMask, QStringLiteral("#000.00"));
    QVERIFY(water->values.isEmpty());

    // Canonical spelling of the element symbols; sorted by code units.
    QVERIFY(scheme.addSpecies(QStringLiteral("he")));
    QVERIFY(scheme.addSpecies(QStringLiteral("ch4")));
    QVERIFY(scheme.addSpecies(QStringLiteral("Ar")));
    QVERIFY(scheme.addSpecies(QStringLiteral("C2H5OH*")));
    QVERIFY(scheme.addSpecies(QStringLiteral("n2")));
    QCOMPARE(scheme.species(), (QStringList{"Ar", "C2H5OH*", "CH4", "H2O", "He", "N2"}));
    QCOMPARE(conditionNames(scheme), (QStringList{"BC_H2O", "BC_He", "BC_CH4", "BC_Ar", "BC_C2H5OH*", "BC_N2"}));
    QCOMPARE(scheme.indexOfSpecies(QStringLiteral(" HE ")), 4);
    QVERIFY(scheme.hasSpecies(QStringLiteral("ar")));
    QVERIFY(!scheme.hasSpecies(QStringLiteral("O2")));

    // No signal, and saved as it was.
    QVERIFY(events.take().isEmpty());
    QVERIFY(scheme.isSaved());
    QVERIFY(messages.problems().isEmpty());
}

void TestSchemeEditing::addSpeciesRefusals()
{
    MessageCapture messages;
    Scheme scheme(m_catalogue.get());
    QVERIFY(scheme.addSpecies(QStringLiteral("H2O")));
    QVERIFY(scheme.addSpecies(QStringLiteral("He")));

    QVERIFY(!scheme.addSpecies(QStringLiteral(" XYZ ")));
    QVERIFY(!scheme.addSpecies(QStringLiteral("h2O")));
    // Compared in canonical form: blanks do not make another species.
    QVERIFY(!scheme.addSpecies(QStringLiteral("H2 O")));
    QVERIFY(!scheme.addSpecies(QStringLiteral("HE")));
    // Phosphorus would own "BC_P", the pressure condition of the catalogue.
    QVERIFY(!scheme.addSpecies(QStringLiteral("p")));
    QVERIFY(!scheme.addSpecies(QStringLiteral("  ")));
    QCOMPARE(messages.warnings(), (QStringList{"\"Species \"XYZ\" includes unknown elements\" ",
                                               "\"Species \"h2O\" is already in the list\" ",
                                               "\"Species \"H2 O\" is already in the list\" ",
                                               "\"Species \"HE\" is already in the list\" ",
                                               "\"Species \"p\" includes unknown elements\" ",
                                               "\"Species \"\" includes unknown elements\" "}));
    QCOMPARE(scheme.species(), (QStringList{"H2O", "He"}));
    QCOMPARE(conditionNames(scheme), (QStringList{"BC_H2O", "BC_He"}));
    // Other one-letter elements are fine: no catalogue option is called BC_S.
    QVERIFY(scheme.addSpecies(QStringLiteral("S")));
    QVERIFY(scheme.addSpecies(QStringLiteral("PH3")));
    QCOMPARE(scheme.species(), (QStringList{"H2O", "He", "PH3", "S"}));
}

void TestSchemeEditing::removeSpecies()
{
    MessageCapture messages;
    Scheme scheme(m_catalogue.get());
    for (const char* name : {"H2O", "He", "CH4"})
        QVERIFY(scheme.addSpecies(QString::fromLatin1(name)));
    SchemeNode* group = scheme.addGroup(QStringLiteral("Initial state"));
    scheme.addOption(scheme.findOption(QStringLiteral("BC_He")), group);
    scheme.addOption(scheme.findOption(QStringLiteral("BC_CH4")), group);
    SignalRecorder events(&scheme);

    QVERIFY(scheme.removeSpecies(QStringLiteral("O2")));
    QCOMPARE(scheme.species().size(), 3);

    // "BC_He" matches the species written in any case: in use, so it stays.
    QVERIFY(!scheme.removeSpecies(QStringLiteral(" he ")));
    QVERIFY(!scheme.removeSpecies(QStringLiteral("CH4")));
    QCOMPARE(messages.debugs(),
             (QStringList{"\"Species \"HE\" is used: \"BOUND_COND_L: Concentration of He\"\" ",
                          "\"Species \"CH4\" is used: \"BOUND_COND_L: Concentration of CH4\"\" "}));
    QCOMPARE(messages.warnings(), (QStringList{"\"Cannot delete species \"HE\" because it is in use\" ",
                                               "\"Cannot delete species \"CH4\" because it is in use\" "}));
    QCOMPARE(scheme.species(), (QStringList{"CH4", "H2O", "He"}));
    QCOMPARE(conditionNames(scheme), (QStringList{"BC_H2O", "BC_He", "BC_CH4"}));

    QVERIFY(scheme.removeSpecies(QStringLiteral("h2o")));
    QCOMPARE(scheme.species(), (QStringList{"CH4", "He"}));
    QCOMPARE(conditionNames(scheme), (QStringList{"BC_He", "BC_CH4"}));
    QVERIFY(!scheme.findOption(QStringLiteral("BC_H2O")));

    // Once its node is gone, helium goes too.
    SchemeNode* helium = group->children.first();
    QVERIFY(scheme.takeNode(helium));
    delete helium;
    events.take();
    QVERIFY(scheme.removeSpecies(QStringLiteral("HE")));
    QCOMPARE(scheme.species(), QStringList{"CH4"});
    QCOMPARE(conditionNames(scheme), QStringList{"BC_CH4"});
    QVERIFY(events.take().isEmpty());
}

void TestSchemeEditing::copy()
{
    MessageCapture messages;
    Scheme source(m_catalogue.get());
    QVERIFY(source.setNameAndDescription(QStringLiteral("Source"), QStringLiteral("described")));
    QVERIFY(source.setFileName(QStringLiteral("/tmp/source.dat")));
    QVERIFY(source.addSpecies(QStringLiteral("H2")));
    QVERIFY(source.addSpecies(QStringLiteral("O2")));
    QVERIFY(source.setExtraData(QStringLiteral("MECHANISM"), QStringLiteral("REACTIONS END")));
    QVERIFY(source.addExtra(ExtraData{QStringLiteral("HIDDEN"), QStringLiteral("d"), QStringLiteral("f"),
                                      QStringLiteral("t"), 0}));
    SchemeNode* group = source.addGroup(QStringLiteral("Initial state"));
    SchemeNode* inner = source.addGroup(QStringLiteral("Inner"), group);
    SchemeNode* hydrogen = source.addOption(source.findOption(QStringLiteral("BC_H2")), inner);
    hydrogen->value = QStringLiteral("2.0");
    hydrogen->enabled = true;
    SchemeNode* pressure = source.addOption(option("BC_P"), group);
    pressure->value = QStringLiteral("2.0265");
    group->enabled = false;

    CountingScheme target(m_catalogue.get());
    QVERIFY(target.setFileName(QStringLiteral("/tmp/target.dat")));
    target.addGroup(QStringLiteral("to be dropped"));
    QVERIFY(target.addSpecies(QStringLiteral("CH4")));
    SignalRecorder events(&target);
    messages.clear();

    QVERIFY(!target.copy(nullptr));
    QVERIFY(events.take().isEmpty());
    QVERIFY(target.copy(&source));
    QCOMPARE(target.clears, 1);
    QCOMPARE(events.take(), (QStringList{"changed", "extras", "changed", "extras"}));
    QCOMPARE(messages.debugs(), QStringList{"Copy scheme \"Source\" "});
    QCOMPARE(target.name(), QStringLiteral("Source"));
    QCOMPARE(target.description(), QStringLiteral("described"));
    QCOMPARE(target.fileName(), QStringLiteral("/tmp/target.dat"));
    QVERIFY(!target.isSaved());
    QCOMPARE(target.species(), (QStringList{"H2", "O2"}));
    QCOMPARE(conditionNames(target), (QStringList{"BC_H2", "BC_O2"}));
    QCOMPARE(target.extraNames(), (QStringList{"CUSTOM_INP", "MECHANISM", "THERM", "HIDDEN"}));
    QCOMPARE(target.getExtra(QStringLiteral("MECHANISM"))->text, QStringLiteral("REACTIONS END"));
    const ExtraData* hidden = target.getExtra(QStringLiteral("HIDDEN"));
    QVERIFY(hidden != source.getExtra(QStringLiteral("HIDDEN")));
    QCOMPARE(hidden->detail, QStringLiteral("d"));
    QCOMPARE(hidden->fileName, QStringLiteral("f"));
    QCOMPARE(hidden->flags, quint16(0));

    const QList<SchemeNode*> nodes = target.allNodes();
    QCOMPARE(ids(nodes), (QStringList{"1", "2", "3", "4"}));
    QVERIFY(nodes[0] != group);
    QCOMPARE(nodes[0]->name, QStringLiteral("Initial state"));
    QVERIFY(!nodes[0]->enabled);
    QVERIFY(!nodes[0]->parent);
    QCOMPARE(nodes[1]->parent, nodes[0]);
    QCOMPARE(nodes[2]->parent, nodes[1]);
    QCOMPARE(nodes[3]->parent, nodes[0]);
    // The boundary condition is the copy's own, the catalogue's is shared.
    QCOMPARE(nodes[2]->option, target.findOption(QStringLiteral("BC_H2")));
    QVERIFY(nodes[2]->option != hydrogen->option);
    QCOMPARE(nodes[2]->value, QStringLiteral("2.0"));
    QVERIFY(nodes[2]->enabled);
    QCOMPARE(nodes[3]->option, option("BC_P"));
    QCOMPARE(nodes[3]->value, QStringLiteral("2.0265"));
    QVERIFY(!nodes[3]->enabled);

    // The source is left alone.
    QCOMPARE(source.nodeCount(), 4);
    QCOMPARE(source.allNodes()[2], hydrogen);
    QCOMPARE(hydrogen->option, source.findOption(QStringLiteral("BC_H2")));
    QCOMPARE(source.fileName(), QStringLiteral("/tmp/source.dat"));

    // A copy of itself changes nothing.
    QVERIFY(target.copy(&target));
    QCOMPARE(target.nodeCount(), 4);
    QCOMPARE(target.species(), (QStringList{"H2", "O2"}));
    QCOMPARE(target.extraNames().size(), 4);
}

void TestSchemeEditing::copyDropsNodesWithoutOption()
{
    MessageCapture messages;
    Scheme source(m_catalogue.get());
    QVERIFY(source.setName(QStringLiteral("Source")));
    SchemeNode* group = source.addGroup(QStringLiteral("G"));
    OOption stranger;
    stranger.name = QStringLiteral("NOT_IN_CATALOGUE");
    SchemeNode* odd = source.addOption(&stranger, group);
    odd->name = QStringLiteral("odd");
    // Only groups have children; one under an option node goes with it.
    auto* below = new SchemeNode;
    below->id = 9;
    below->isGroup = true;
    source.insertNode(below, odd, nullptr, true);
    source.addOption(option("NT"), group);

    Scheme target(m_catalogue.get());
    messages.clear();
    QVERIFY(target.copy(&source));
    QCOMPARE(ids(target.allNodes()), (QStringList{"1", "10"}));
    QCOMPARE(messages.debugs(),
             (QStringList{"Copy scheme \"Source\" ",
                          "Scheme::_copyNodes(). Cannot copy node 2 \"odd\" because it referes to a non-existing "
                          "option. "}));
    QVERIFY(messages.problems().isEmpty());
}

void TestSchemeEditing::testScheme()
{
    Scheme scheme(m_catalogue.get());
    QVERIFY(scheme.addSpecies(QStringLiteral("H2")));
    scheme.addGroup(QStringLiteral("old"));
    SignalRecorder events(&scheme);
    scheme.makeTestScheme();
    QCOMPARE(events.take(), (QStringList{"changed", "extras"}));
    QCOMPARE(scheme.name(), QStringLiteral("TEST"));
    QCOMPARE(scheme.description(), QStringLiteral("Scheme for Testing"));
    QVERIFY(scheme.species().isEmpty());
    QVERIFY(!scheme.isSaved());

    struct Row
    {
        int id;
        const char* name;
        int parent;
        const char* option;
    };
    const Row rows[] = {
        {1, "Group A", 0, nullptr},        {11, "Group A.1", 1, nullptr},    {111, "___ A.1.1", 11, "REVSIM"},
        {112, "___ A.1.2", 11, "REGRID"},  {12, "Group A.2", 1, nullptr},    {121, "___ A.2.1", 12, "T_IN"},
        {122, "___ A.2.2", 12, "W_IN"},    {123, "___ A.2.3", 12, "W_OUT"},  {13, "Group A.3", 1, nullptr},
        {131, "___ A.3.1", 13, "T_OUT"},   {2, "Group B", 0, nullptr},       {21, "Group B.01", 2, nullptr},
        {211, "___ B.1.1", 21, "V_IN"},    {212, "___ B.1.2", 21, "V_OUT"},  {22, "Group B.02", 2, nullptr},
        {221, "___ B.2.1", 22, "J_IN"},    {222, "___ B.2.2", 22, "J_OUT"},  {223, "___ B.2.3", 22, "G_IN"},
        {224, "___ B.2.4", 22, "G_OUT"},   {3, "Group C", 0, nullptr},       {31, "Group C.1", 3, nullptr},
        {311, "___ C.1.1", 31, "ANALYSE"}, {32, "Group C.2", 3, nullptr},    {321, "___ C.2.1", 32, "STOM"},
        {33, "Group C.3", 3, nullptr},     {331, "___ C.3.1", 33, "EXTRA"},  {4, "Group D", 0, nullptr},
    };
    const QList<SchemeNode*> nodes = scheme.allNodes();
    QCOMPARE(nodes.size(), int(std::size(rows)));
    for (int i = 0; i < nodes.size(); ++i) {
        const Row& row = rows[i];
        const SchemeNode* node = nodes[i];
        QCOMPARE(node->id, row.id);
        QCOMPARE(node->name, QString::fromLatin1(row.name));
        QCOMPARE(node->isGroup, row.option == nullptr);
        QCOMPARE(node->parent ? node->parent->id : 0, row.parent);
        if (row.option)
            QCOMPARE(node->option, m_catalogue->findOption(QString::fromLatin1(row.option)));
        else
            QVERIFY(!node->option);
    }
    // Of these names only three are options of the built-in catalogue.
    int bound = 0;
    for (const SchemeNode* node : nodes)
        bound += node->option ? 1 : 0;
    QCOMPARE(bound, 3);
    QVERIFY(events.take().isEmpty());
}

QTEST_GUILESS_MAIN(TestSchemeEditing)
#include "tst_schemeediting.moc"
