// The project file and the project's content: save and load with output
// data, profiles and settings, the settings store and its damaged data, the
// profile operations and their result codes, a new project from a scheme or
// the whole catalogue, the project directory and clear().

#include "projectfixture.h"
#include "require.h"
#include "messagecapture.h"

#include "profile.h"

#include <QDataStream>
#include <QDateTime>
#include <QSignalSpy>
#include <QTest>

#include <functional>

namespace {

const QString kComputation = QStringLiteral("header\n"
                                            ">DATA 0\n TIME (S)  0.0E+00  0.0E+00\n<\n"
                                            ">DATA 1\n TIME (S)  1.0E-04  2.0E-05\n X 1\n<\n"
                                            ">DATA 2\n TIME (S)  2.0E-04  2.0E-05\n X 2\n<\n");

// A heading with a byte above 127 in its first column: read as UTF-8 it
// would shift every column after it.
QByteArray output()
{
    const QString degrees = QStringLiteral("T(") + QChar(0xB0) + QStringLiteral("C)");
    return ProjectFixture::line({"t(s)", degrees, "H2"}) + ProjectFixture::line({"0.0E+00", "25.5", "0.3"})
           + ProjectFixture::line({"1.0E-04", "1000.0", "0.2"}) + ProjectFixture::line({"2.0E-04", "1500.0", "0.1"});
}

struct Owned
{
    QList<Scheme*> schemes;
    ~Owned() { qDeleteAll(schemes); }
};

QByteArray streamed(const std::function<void(QDataStream&)>& write)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_4_8);
    write(out);
    return bytes;
}

} // namespace

class TestProjectFile : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip();
    void profileExtras();
    void saveRules();
    void loadFailures();
    void leftoversOfAKilledSaveGo();
    void loadWithoutOutput();
    void settingsStore();
    void settingsLayout();
    void damagedSettings();
    void profileCodes();
    void profileOperations();
    void damagedProfiles();
    void newFromScheme();
    void newFromCatalogue();
    void projectPath();
    void clear();
};

void TestProjectFile::roundTrip()
{
    ProjectFixture fixture;
    fixture.buildScheme();
    Project& project = fixture.project();
    fixture.setResults(output(), kComputation);
    project.setStatus(RunStatus::ResultsAvailable);
    QCOMPARE(project.saveProfile(QStringLiteral("first"), 1), ProfileResult::Created);
    QCOMPARE(project.saveProfile(QStringLiteral("second"), 2), ProfileResult::Created);
    QVERIFY(project.setSetting(QStringLiteral("CtrlGraph/count"), 2));
    QVERIFY(project.setSetting(QStringLiteral("CtrlGraph/name0"), QStringLiteral("Temperature")));
    QVERIFY(project.setSetting(QStringLiteral("CtrlGraph/scaleX0"), 1.5f));
    QVERIFY(project.setSetting(QStringLiteral("CtrlGraph/enabled0"), true));
    QVERIFY(project.setSetting(QStringLiteral("CtrlGraph/wide"), 2.25));
    QVERIFY(project.setSetting(QStringLiteral("CtrlGraph/colour"), 4000000000u));
    QVERIFY(project.setSetting(QStringLiteral("CtrlGraph/raw"), QByteArray("\x01\x02", 2)));

    QSignalSpy aboutToSave(&project, &Project::aboutToSave);
    const QString file = QDir(fixture.root()).filePath(QStringLiteral("round.tarvel"));
    QVERIFY(project.save(file));
    QCOMPARE(aboutToSave.count(), 1);
    QCOMPARE(project.fileName(), file);
    QVERIFY(project.isSaved());

    Project loaded(&fixture.catalogue());
    QSignalSpy data(&loaded, &Project::dataUpdated);
    QSignalSpy profiles(&loaded, &Project::profilesChanged);
    MessageCapture messages;
    QVERIFY(loaded.load(file));
    QVERIFY(messages.texts(QtDebugMsg).contains(QStringLiteral("Project has been loaded. ")));
    QVERIFY(messages.texts(QtDebugMsg).contains(QStringLiteral("deleting scheme 0 , name: \"Test project\" ")));
    QVERIFY(data.count() >= 1);
    QVERIFY(profiles.count() >= 1);
    QCOMPARE(loaded.fileName(), file);
    QVERIFY(loaded.isSaved());
    QCOMPARE(loaded.name(), QStringLiteral("Test project"));
    QCOMPARE(loaded.status(), RunStatus::ResultsAvailable);

    QCOMPARE(loaded.fieldCount(), 4);
    QCOMPARE(loaded.field(1)->name, QStringLiteral("T(") + QChar(0xB0) + QStringLiteral("C)"));
    QCOMPARE(loaded.field(1)->values, (QList<float>{25.5f, 1000.0f, 1500.0f}));
    QCOMPARE(loaded.field(2)->values, (QList<float>{0.3f, 0.2f, 0.1f}));
    QCOMPARE(loaded.currentTime(), 2.0e-4f);

    QCOMPARE(loaded.profileNames(), (QStringList{"first", "second"}));
    QVERIFY(*loaded.profileAt(0) == *project.profileAt(0));
    QVERIFY(*loaded.profileAt(1) == *project.profileAt(1));
    QCOMPARE(loaded.currentProfile(), -1);

    QCOMPARE(loaded.setting(QStringLiteral("CtrlGraph/count")), QVariant(2));
    QCOMPARE(loaded.setting(QStringLiteral("CtrlGraph/name0")), QVariant(QStringLiteral("Temperature")));
    QCOMPARE(loaded.setting(QStringLiteral("CtrlGraph/scaleX0")), QVariant(1.5f));
    QCOMPARE(loaded.setting(QStringLiteral("CtrlGraph/enabled0")), QVariant(true));
    QCOMPARE(loaded.setting(QStringLiteral("CtrlGraph/wide")), QVariant(2.25));
    QCOMPARE(loaded.setting(QStringLiteral("CtrlGraph/colour")), QVariant(4000000000u));
    QCOMPARE(loaded.setting(QStringLiteral("CtrlGraph/raw")), QVariant(QByteArray("\x01\x02", 2)));
    QCOMPARE(loaded.setting(QStringLiteral("CtrlGraph/scaleX0")).typeId(), int(QMetaType::Float));

    // The input file and the tree come back as they were.
    QCOMPARE(loaded.getExtra(QStringLiteral("CUSTOM_INP"))->text, project.getExtra(QStringLiteral("CUSTOM_INP"))->text);
    QCOMPARE(loaded.nodeCount(), project.nodeCount());
}

void TestProjectFile::profileExtras()
{
    ProjectFixture fixture;
    fixture.buildScheme();
    Project& project = fixture.project();
    fixture.setResults(output(), kComputation);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(project.saveProfile(QStringLiteral("p%1").arg(i), i), ProfileResult::Created);
    const QString file = QDir(fixture.root()).filePath(QStringLiteral("profiles.tarvel"));
    auto profileExtras = [&file, &fixture] {
        Owned stored{Scheme::loadAll(file, &fixture.catalogue())};
        QStringList names;
        for (const QString& name : stored.schemes.value(0)->extraNames()) {
            if (name.startsWith(QLatin1String("PROFILES_DATA")))
                names.append(name);
        }
        return names;
    };
    QVERIFY(project.save(file));
    QVERIFY(project.save());
    QCOMPARE(profileExtras(), (QStringList{"PROFILES_DATA_0", "PROFILES_DATA_1", "PROFILES_DATA_2"}));
    project.removeProfile(1);
    QVERIFY(!project.isSaved());
    QVERIFY(project.save());
    QCOMPARE(profileExtras(), (QStringList{"PROFILES_DATA_0", "PROFILES_DATA_1"}));

    Project loaded(&fixture.catalogue());
    QVERIFY(loaded.load(file));
    QCOMPARE(loaded.profileNames(), (QStringList{"p0", "p2"}));
}

void TestProjectFile::saveRules()
{
    ProjectFixture fixture;
    fixture.buildScheme();
    Project& project = fixture.project();
    {
        MessageCapture messages;
        QVERIFY(!project.save());
        QCOMPARE(messages.texts(QtCriticalMsg),
                 QStringList{"Project::save(). Project \"Test project\" : File Name is not specified "});
    }
    // A project file holds the project alone: saved over another project's
    // file, it replaces that project.
    const QString file = QDir(fixture.root()).filePath(QStringLiteral("shared.tarvel"));
    Project other(&fixture.catalogue());
    require(other.setName(QStringLiteral("Other")), "setName");
    QVERIFY(other.save(file));
    QVERIFY(project.save(file));
    {
        Owned stored{Scheme::loadAll(file, &fixture.catalogue())};
        QCOMPARE(stored.schemes.size(), 1);
        QCOMPARE(stored.schemes.first()->name(), QStringLiteral("Test project"));
    }
    Project reopened(&fixture.catalogue());
    QVERIFY(reopened.load(file));
    QCOMPARE(reopened.name(), QStringLiteral("Test project"));

    // Saved, and staying so: the file name is set without marking it unsaved.
    QSignalSpy changed(&project, &Scheme::changed);
    QVERIFY(project.save(QStringLiteral("  ") + file + QStringLiteral(" ")));
    QVERIFY(project.isSaved());
    QCOMPARE(project.fileName(), file);
    QVERIFY(changed.count() >= 1);

    // A file that cannot be created.
    MessageCapture messages;
    const QString bad = QDir(fixture.root()).filePath(QStringLiteral("no folder/x.tarvel"));
    project.setUnsaved();
    QVERIFY(!project.save(bad));
    QCOMPARE(
        messages.texts(QtCriticalMsg),
        QStringList{QStringLiteral("Scheme::save(). Cannot create file \"%1\" : No such file or directory ").arg(bad)});
    QCOMPARE(project.errorString(), QStringLiteral("\"%1\" cannot be written: No such file or directory").arg(bad));
    QCOMPARE(project.fileName(), file);
    QVERIFY(!project.isSaved());

    // A folder at the name, and a file that is no database to load.
    QVERIFY(QDir(fixture.root()).mkdir(QStringLiteral("folder.tarvel")));
    const QString folder = QDir(fixture.root()).filePath(QStringLiteral("folder.tarvel"));
    QVERIFY(!project.save(folder));
    QCOMPARE(project.errorString(),
             QStringLiteral("\"%1\" cannot be written: Filename refers to a directory").arg(folder));
    QVERIFY(!project.load(folder));
    QVERIFY(project.errorString().startsWith(QStringLiteral("\"%1\" cannot be read: ").arg(folder)));
    const QString text = QDir(fixture.root()).filePath(QStringLiteral("notes.txt"));
    ProjectFixture::writeFile(text, "no project here\n");
    QVERIFY(!project.load(text));
    QCOMPARE(project.errorString(),
             QStringLiteral("\"%1\" is not a schemes database or project file, or it is damaged.").arg(text));
}

void TestProjectFile::leftoversOfAKilledSaveGo()
{
    ProjectFixture fixture;
    fixture.buildScheme();
    const QString file = QDir(fixture.root()).filePath(QStringLiteral("p.tarvel"));
    QVERIFY(fixture.project().save(file));
    const QByteArray database = ProjectFixture::readFile(file);
    // Ours (the pattern and a database's first bytes), then three that are not.
    ProjectFixture::writeFile(file + QStringLiteral(".Ab12Cd"), database.left(100));
    ProjectFixture::writeFile(file + QStringLiteral(".Xy34Zw"), "someone else's");
    ProjectFixture::writeFile(file + QStringLiteral(".notes"), database);
    ProjectFixture::writeFile(QDir(fixture.root()).filePath(QStringLiteral("q.tarvel.Ab12Cd")), database);
    QVERIFY(fixture.project().save(file));
    QVERIFY(!QFile::exists(file + QStringLiteral(".Ab12Cd")));
    QVERIFY(QFile::exists(file + QStringLiteral(".Xy34Zw")));
    QVERIFY(QFile::exists(file + QStringLiteral(".notes")));
    QVERIFY(QFile::exists(QDir(fixture.root()).filePath(QStringLiteral("q.tarvel.Ab12Cd"))));
}

void TestProjectFile::loadFailures()
{
    ProjectFixture fixture;
    fixture.buildScheme();
    Project& project = fixture.project();
    {
        MessageCapture messages;
        QVERIFY(!project.load(QStringLiteral("  ")));
        QCOMPARE(messages.texts(QtCriticalMsg), QStringList{"Project::load(). Data file is not specified. "});
    }
    MessageCapture messages;
    QVERIFY(!project.load(QDir(fixture.root()).filePath(QStringLiteral("missing.tarvel"))));
    QCOMPARE(project.name(), QStringLiteral("Test project"));
    QVERIFY(project.nodeCount() > 0);
}

void TestProjectFile::loadWithoutOutput()
{
    ProjectFixture fixture;
    fixture.buildScheme();
    const QString file = QDir(fixture.root()).filePath(QStringLiteral("empty.tarvel"));
    QVERIFY(fixture.project().save(file));
    Project loaded(&fixture.catalogue());
    loaded.setStatus(RunStatus::ResultsAvailable);
    QVERIFY(loaded.load(file));
    QCOMPARE(loaded.status(), RunStatus::NoResults);
    QCOMPARE(loaded.fieldCount(), 0);
    QCOMPARE(loaded.currentTime(), 0.0f);

    // Data without a time column: no time to take, but the views must still
    // hear that there is data to show.
    fixture.setResults(ProjectFixture::line({"T(K)", "H2"}) + ProjectFixture::line({"1000.0", "0.3"}));
    QVERIFY(fixture.project().save(file));
    Project noTime(&fixture.catalogue());
    QSignalSpy outData(&noTime, &Project::outDataUpdated);
    QVERIFY(noTime.load(file));
    QCOMPARE(noTime.status(), RunStatus::ResultsAvailable);
    QCOMPARE(noTime.fieldCount(), 3); // the line feed makes an unnamed third column
    QCOMPARE(noTime.timeStepCount(), 1);
    QVERIFY(outData.count() >= 2); // the clear, then the data read
    QCOMPARE(noTime.currentTime(), 0.0f);
}

void TestProjectFile::settingsStore()
{
    ProjectFixture fixture;
    Project& project = fixture.project();
    QVERIFY(!project.hasExtra(QStringLiteral("SETTINGS")));
    {
        MessageCapture messages;
        QVERIFY(!project.setting(QStringLiteral("a")).isValid());
        QCOMPARE(messages.texts(QtWarningMsg),
                 QStringList{"Scheme::getExtra(). Extra Data with the name \"SETTINGS\" doesn't exist. "});
    }
    fixture.saveSomewhere();
    QVERIFY(project.setSetting(QStringLiteral("Key"), 1));
    QVERIFY(project.hasExtra(QStringLiteral("SETTINGS")));
    QVERIFY(!project.isSaved());
    QVERIFY(project.setSetting(QStringLiteral("key"), 2));
    QVERIFY(project.setSetting(QStringLiteral("Other"), QStringLiteral("x")));
    QVERIFY(project.setSetting(QStringLiteral("Key"), 3));
    QVERIFY(project.hasSetting(QStringLiteral("Key")));
    QVERIFY(!project.hasSetting(QStringLiteral("KEY")));
    QCOMPARE(project.setting(QStringLiteral("Key")), QVariant(3));
    QCOMPARE(project.setting(QStringLiteral("key")), QVariant(2));
    QVERIFY(!project.setting(QStringLiteral("none")).isValid());
    const auto pairs = project.settings();
    QCOMPARE(pairs.size(), 3);
    QCOMPARE(pairs.at(0).first, QStringLiteral("Key")); // replaced in place
    QCOMPARE(pairs.at(2).first, QStringLiteral("Other"));

    // Only plain values are stored.
    const QList<QVariant> refused{QVariant(QStringList{"a"}), QVariant(QDateTime::currentDateTime()), QVariant(),
                                  QVariant(qint64(5))};
    for (const QVariant& value : refused) {
        MessageCapture messages;
        QVERIFY(!project.setSetting(QStringLiteral("Bad"), value));
        QCOMPARE(messages.texts(QtWarningMsg).size(), 1);
        QVERIFY(messages.texts(QtWarningMsg).first().startsWith(
            QLatin1String("Project::setSetting(). The value of \"Bad\" is of type")));
    }
    QVERIFY(!project.hasSetting(QStringLiteral("Bad")));
}

void TestProjectFile::settingsLayout()
{
    // The layout Qt 4 wrote: key, then the variant's type, null flag, value;
    // a float as its 8-byte double.
    ProjectFixture fixture;
    Project& project = fixture.project();
    QVERIFY(project.setSetting(QStringLiteral("n"), 3));
    QVERIFY(project.setSetting(QStringLiteral("f"), 0.5f));
    const QByteArray bytes = QByteArray::fromBase64(project.getExtra(QStringLiteral("SETTINGS"))->text.toLatin1());
    const QByteArray expected = QByteArray("\0\0\0\2\0n" "\0\0\0\2" "\0" "\0\0\0\3", 15)
                                + QByteArray("\0\0\0\2\0f" "\0\0\0\x87" "\0" "\x3F\xE0\0\0\0\0\0\0", 19);
    QCOMPARE(bytes, expected);
}

void TestProjectFile::damagedSettings()
{
    ProjectFixture fixture;
    Project& project = fixture.project();
    QVERIFY(project.setSetting(QStringLiteral("first"), 1));
    const QByteArray good = QByteArray::fromBase64(project.getExtra(QStringLiteral("SETTINGS"))->text.toLatin1());
    auto store = [&project](const QByteArray& bytes) {
        require(project.setExtraData(QStringLiteral("SETTINGS"), QString::fromLatin1(bytes.toBase64())),
                "setExtraData");
    };

    // A string list whose count claims four thousand million entries: read
    // through QVariant it would reserve room for them.
    store(good + streamed([](QDataStream& out) {
              out << QStringLiteral("list") << quint32(11) << qint8(0) << quint32(0xFFFFFFFF);
          }) + streamed([](QDataStream& out) { out << QStringLiteral("after") << quint32(2) << qint8(0) << qint32(9); }));
    {
        MessageCapture messages;
        const auto pairs = project.settings();
        QCOMPARE(pairs.size(), 1);
        QCOMPARE(pairs.at(0).first, QStringLiteral("first"));
        QCOMPARE(messages.texts(QtWarningMsg),
                 QStringList{"Project::settings(). The setting \"list\" has a value of type 11 that is not stored; it "
                             "and the settings after it are skipped. "});
    }

    // Cut short in the middle of the second pair, and a string whose length
    // claims more than there is: what came before is kept.
    const QByteArray second = streamed([](QDataStream& out) { out << QStringLiteral("second") << quint32(2) << qint8(0) << qint32(7); });
    store(good + second.left(second.size() - 2));
    QCOMPARE(project.settings().size(), 1);
    store(good + QByteArray("\x7F\xFF\xFF\xFE\0a", 6));
    QCOMPARE(project.settings().size(), 1);

    // An invalid value (written as an empty string) is skipped, and reading
    // goes on after it.
    store(good + streamed([](QDataStream& out) { out << QStringLiteral("void") << quint32(0) << qint8(1) << QString(); })
          + second);
    {
        MessageCapture messages;
        const auto pairs = project.settings();
        QCOMPARE(pairs.size(), 2);
        QCOMPARE(pairs.at(1).first, QStringLiteral("second"));
        QCOMPARE(pairs.at(1).second, QVariant(7));
        QCOMPARE(messages.texts(QtWarningMsg),
                 QStringList{"Project::settings(). The setting \"void\" has no value. Skipped. "});
    }

    // Not Base64 at all: nothing, no loop.
    require(project.setExtraData(QStringLiteral("SETTINGS"), QStringLiteral("!!!***")), "setExtraData");
    QVERIFY(project.settings().isEmpty());
    // A new value is written over whatever could be read.
    QVERIFY(project.setSetting(QStringLiteral("fresh"), true));
    QCOMPARE(project.settings().size(), 1);
}

void TestProjectFile::profileCodes()
{
    {
        CatalogueSettings noStart;
        noStart.profilestart.clear();
        ProjectFixture fixture(ProjectFixture::twoExecutors(), noStart);
        fixture.setResults(output(), kComputation);
        QCOMPARE(fixture.project().saveProfile(QStringLiteral("p"), 0), ProfileResult::MarkersNotSet);
    }
    {
        CatalogueSettings equal;
        equal.profilestart = QStringLiteral("<");
        ProjectFixture fixture(ProjectFixture::twoExecutors(), equal);
        fixture.setResults(output(), kComputation);
        QCOMPARE(fixture.project().saveProfile(QStringLiteral("p"), 0), ProfileResult::MarkersNotSet);
    }
    ProjectFixture fixture;
    Project& project = fixture.project();
    QCOMPARE(project.saveProfile(QStringLiteral("  "), 0), ProfileResult::EmptyName);
    QCOMPARE(project.saveProfile(QStringLiteral("p"), 0), ProfileResult::NoComputationData); // no computation data yet
    project.addExtra(QStringLiteral("COMPUT_DATA"), kComputation);
    QCOMPARE(project.saveProfile(QStringLiteral("p"), 0), ProfileResult::NoData); // no output data yet
    fixture.setResults(output());
    QCOMPARE(project.saveProfile(QStringLiteral("p"), 3), ProfileResult::StepNotFound); // three time steps
    QCOMPARE(project.profiles().size(), 0);

    fixture.saveSomewhere();
    QSignalSpy changed(&project, &Project::profilesChanged);
    QCOMPARE(project.saveProfile(QStringLiteral(" hot "), 2), ProfileResult::Created);
    QCOMPARE(changed.count(), 1);
    QVERIFY(!project.isSaved());
    const Profile* profile = project.profileAt(0);
    QCOMPARE(profile->name(), QStringLiteral("hot"));
    QCOMPARE(profile->data(), QStringLiteral(">DATA 2\n TIME (S)  0.000E+00     0.000E+00\n X 2\n<"));
    QCOMPARE(profile->values().size(), 4);
    QCOMPARE(profile->values().at(1).value, 1500.0f);

    // More time steps than blocks: not found.
    require(project.setExtraData(QStringLiteral("COMPUT_DATA"), QStringLiteral(">DATA 0\n<\n")), "setExtraData");
    QCOMPARE(project.saveProfile(QStringLiteral("p"), 2), ProfileResult::StepNotFound);
    QCOMPARE(project.profiles().size(), 1);
}

void TestProjectFile::profileOperations()
{
    ProjectFixture fixture;
    Project& project = fixture.project();
    QVERIFY(!project.setCurrentProfile(0));
    QCOMPARE(project.currentProfile(), -1);
    fixture.setResults(output(), kComputation);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(project.saveProfile(QStringLiteral("p%1").arg(i), i), ProfileResult::Created);
    QCOMPARE(project.profileNames(), (QStringList{"p0", "p1", "p2"}));
    QVERIFY(!project.profileAt(3));
    QVERIFY(!project.profileAt(-1));

    QVERIFY(project.setCurrentProfile(2));
    QVERIFY(!project.setCurrentProfile(3));
    QCOMPARE(project.currentProfile(), 2);
    QVERIFY(project.setCurrentProfile(-5));
    QCOMPARE(project.currentProfile(), -1);

    // Removing one before the current shifts it; removing the current clears it.
    QVERIFY(project.setCurrentProfile(2));
    project.removeProfile(0);
    QCOMPARE(project.currentProfile(), 1);
    QCOMPARE(project.profileNames(), (QStringList{"p1", "p2"}));
    project.removeProfile(1);
    QCOMPARE(project.currentProfile(), -1);
    QSignalSpy changed(&project, &Project::profilesChanged);
    project.removeProfile(7);
    QCOMPARE(changed.count(), 0);

    // A rename goes through the project: unsaved, and every menu told.
    fixture.saveSomewhere();
    QVERIFY(project.renameProfile(0, QStringLiteral(" renamed ")));
    QCOMPARE(project.profileNames(), QStringList{"renamed"});
    QCOMPARE(changed.count(), 1);
    QVERIFY(!project.isSaved());
    QVERIFY(!project.renameProfile(0, QStringLiteral("  ")));
    QVERIFY(!project.renameProfile(4, QStringLiteral("x")));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(project.profileNames(), QStringList{"renamed"});
}

void TestProjectFile::damagedProfiles()
{
    ProjectFixture fixture;
    fixture.buildScheme();
    Project& project = fixture.project();
    fixture.setResults(output(), kComputation);
    QCOMPARE(project.saveProfile(QStringLiteral("kept"), 0), ProfileResult::Created);
    QCOMPARE(project.saveProfile(QStringLiteral("cut"), 1), ProfileResult::Created);
    const QByteArray first = QByteArray::fromBase64(project.profileAt(0)->encode().toLatin1());
    const QByteArray second = QByteArray::fromBase64(project.profileAt(1)->encode().toLatin1());
    const QString file = QDir(fixture.root()).filePath(QStringLiteral("damaged.tarvel"));
    QVERIFY(project.save(file));

    // One extra holding a whole record and one cut short, as a damaged file
    // would: the whole one is kept.
    Scheme damaged(&fixture.catalogue());
    QVERIFY(damaged.copy(&project));
    damaged.removeExtra(QStringLiteral("PROFILES_DATA_1"));
    require(damaged.setExtraData(QStringLiteral("PROFILES_DATA_0"),
                                 QString::fromLatin1((first + second.left(second.size() / 2)).toBase64())),
            "setExtraData");
    QVERIFY(Scheme::writeDatabase(file, {&damaged}, nullptr) == Scheme::WriteResult::Written);
    Project again(&fixture.catalogue());
    QVERIFY(again.load(file));
    QCOMPARE(again.profileNames(), QStringList{"kept"});
}

void TestProjectFile::newFromScheme()
{
    ProjectFixture fixture;
    fixture.buildScheme();
    Scheme scheme(&fixture.catalogue());
    QVERIFY(scheme.copy(&fixture.project()));
    scheme.removeExtra(QStringLiteral("OUTPUT_DATA"));
    require(scheme.setExtraData(QStringLiteral("CUSTOM_INP"), QString()), "setExtraData");

    Project project(&fixture.catalogue());
    QSignalSpy data(&project, &Project::dataUpdated);
    project.setScheme(&scheme);
    QVERIFY(project.hasExtra(QStringLiteral("OUTPUT_DATA")));
    QVERIFY(project.getExtra(QStringLiteral("CUSTOM_INP"))->text.startsWith(QLatin1String("*****")));
    QVERIFY(project.isSaved());
    QVERIFY(data.count() >= 1);
    QCOMPARE(project.name(), QStringLiteral("Test project"));
}

void TestProjectFile::newFromCatalogue()
{
    ProjectFixture fixture;
    Project& project = fixture.project();
    QSignalSpy data(&project, &Project::dataUpdated);
    project.newFromCatalogue();
    QCOMPARE(project.name(), QStringLiteral("Advanced Mode"));
    QVERIFY(project.isSaved());
    QVERIFY(data.count() >= 1);
    QStringList groups;
    for (const SchemeNode* node : project.nodes())
        groups.append(node->name);
    QCOMPARE(groups, (QStringList{"CHEM", "BCOND"}));
    int options = 0;
    for (const SchemeNode* node : project.allNodes()) {
        if (node->isGroup)
            continue;
        ++options;
        QVERIFY(node->enabled);
    }
    QCOMPARE(options, 12 + 3);
    const QStringList files{"CUSTOM_INP", "MECHANISM", "THERM"};
    const QStringList names{"fort.2", "fort.4", "fort.9"};
    for (int i = 0; i < files.size(); ++i) {
        const ExtraData* extra = project.getExtra(files.at(i));
        QVERIFY(extra);
        QCOMPARE(extra->fileName, names.at(i));
        QCOMPARE(extra->flags, quint16(3));
    }
    QVERIFY(project.hasExtra(QStringLiteral("OUTPUT_DATA")));
    QCOMPARE(project.getExtra(QStringLiteral("OUTPUT_DATA"))->flags, quint16(0));
}

void TestProjectFile::projectPath()
{
    ProjectFixture fixture;
    Project& project = fixture.project();
    const QString deep = QDir(fixture.root()).filePath(QStringLiteral("a/b/c"));
    MessageCapture messages;
    QVERIFY(project.setPath(deep));
    QCOMPARE(project.path(), deep);
    QVERIFY(QDir(deep).exists());
    QCOMPARE(messages.texts(QtDebugMsg), QStringList{QStringLiteral("New Project Path: \"%1\" ").arg(deep)});
    // Under a file nothing can be created.
    const QString file = QDir(fixture.root()).filePath(QStringLiteral("plain"));
    ProjectFixture::writeFile(file, "x");
    QVERIFY(!project.setPath(file + QStringLiteral("/sub")));
    QCOMPARE(project.path(), deep);
    QCOMPARE(Project::longToShortPath(deep), deep);
}

void TestProjectFile::clear()
{
    ProjectFixture fixture;
    fixture.buildScheme();
    Project& project = fixture.project();
    fixture.setResults(output(), kComputation);
    QCOMPARE(project.saveProfile(QStringLiteral("p"), 0), ProfileResult::Created);
    QVERIFY(project.setCurrentProfile(0));
    project.setStatus(RunStatus::ResultsAvailable);
    QVERIFY(project.save(QDir(fixture.root()).filePath(QStringLiteral("c.tarvel"))));

    QSignalSpy outData(&project, &Project::outDataUpdated);
    QSignalSpy status(&project, &Project::statusChanged);
    QSignalSpy data(&project, &Project::dataUpdated);
    QSignalSpy profiles(&project, &Project::profilesChanged);
    project.clear();
    QCOMPARE(outData.count(), 1);
    QCOMPARE(status.count(), 1);
    QCOMPARE(data.count(), 1);
    QCOMPARE(profiles.count(), 1);
    QCOMPARE(project.status(), RunStatus::NoResults);
    QCOMPARE(project.fieldCount(), 0);
    QVERIFY(project.profiles().isEmpty());
    QCOMPARE(project.currentProfile(), -1);
    QCOMPARE(project.fileName(), QString());
    QCOMPARE(project.currentTime(), 0.0f);
    QCOMPARE(project.readPos(), 0);
    QCOMPARE(project.path(), fixture.projectDir()); // the directory stays
}

QTEST_GUILESS_MAIN(TestProjectFile)
#include "tst_projectfile.moc"
