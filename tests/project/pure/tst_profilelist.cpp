// The profile list on its own: ownership, the current profile through
// removals, its extras in the project file, and the block appended to the
// computation file.

#include "profilelist.h"

#include "filebytes.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

std::unique_ptr<Profile> makeProfile(const QString& name)
{
    std::vector<std::unique_ptr<OutputField>> fields;
    fields.push_back(std::make_unique<OutputField>());
    fields.back()->name = QStringLiteral("T");
    fields.back()->values = {1000.0f, 1100.0f};
    const QString text = QStringLiteral(">DATA\nTIME 0.5\nX\n<\n>DATA\nTIME 1.5\nY\n<\n");
    auto profile = std::make_unique<Profile>();
    if (profile->create(name, &fields, &text, 1, QStringLiteral(">DATA"), QStringLiteral("<"))
        != ProfileResult::Created)
        qFatal("makeProfile: the block was not found");
    return profile;
}

} // namespace

class TestProfileList : public QObject
{
    Q_OBJECT

private slots:
    void currentFollowsRemovals();
    void extrasRoundTrip();
    void appendToFile();
};

void TestProfileList::currentFollowsRemovals()
{
    ProfileList list;
    QVERIFY(!list.setCurrent(0));
    for (const char* name : {"a", "b", "c"})
        list.append(makeProfile(QString::fromLatin1(name)));
    QCOMPARE(list.names(), QStringList({"a", "b", "c"}));
    QVERIFY(list.setCurrent(2));
    QVERIFY(!list.setCurrent(3));
    QCOMPARE(list.current(), 2);
    QVERIFY(list.remove(0));
    QCOMPARE(list.current(), 1); // still "c"
    QCOMPARE(list.at(list.current())->name(), QStringLiteral("c"));
    QVERIFY(list.remove(1));
    QCOMPARE(list.current(), -1);
    QVERIFY(!list.remove(5));
    QVERIFY(list.setCurrent(-1));
    list.clear();
    QVERIFY(list.isEmpty());
    QCOMPARE(list.at(0), nullptr);
}

void TestProfileList::extrasRoundTrip()
{
    ProfileList list;
    list.append(makeProfile(QStringLiteral("hot")));
    list.append(makeProfile(QStringLiteral("cold")));
    const auto extras = list.encode();
    QCOMPARE(extras.size(), 2);
    QCOMPARE(extras.at(1).first, QStringLiteral("PROFILES_DATA_1"));
    ProfileList back;
    for (const auto& extra : extras)
        QCOMPARE(back.decode(extra.second), 1);
    QCOMPARE(back.names(), QStringList({"hot", "cold"}));
    QVERIFY(*back.at(0) == *list.at(0));
}

void TestProfileList::appendToFile()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("fort.18"));
    FileBytes::write(file, "first run\n");
    ProfileList list;
    list.append(makeProfile(QStringLiteral("hot")));
    QVERIFY(list.appendTo(0, file));
    QCOMPARE(FileBytes::read(file), "first run\n" + list.at(0)->data().toLatin1() + '\n');
    QVERIFY(list.at(0)->data().endsWith(QStringLiteral("\nY\n<")));
    QVERIFY(!list.appendTo(1, file));
    QVERIFY(!list.appendTo(0, dir.filePath(QStringLiteral("no/such/folder"))));
}

QTEST_GUILESS_MAIN(TestProfileList)
#include "tst_profilelist.moc"
