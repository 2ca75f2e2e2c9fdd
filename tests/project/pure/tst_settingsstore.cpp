// The settings store codec on its own: the exact bytes Qt 4 wrote, and
// damaged data read up to the damage.

#include "settingsstore.h"

#include "messagecapture.h"

#include <QTest>

class TestSettingsStore : public QObject
{
    Q_OBJECT

private slots:
    void bytesOfEachType();
    void roundTripAndAssign();
    void damagedData();
};

void TestSettingsStore::bytesOfEachType()
{
    // Key "k" (QString: length 2, UTF-16 BE), then type id, null flag, value.
    const QByteArray key = QByteArray::fromHex("00000002006b");
    struct Case
    {
        QVariant value;
        QByteArray bytes;
    };
    const QList<Case> cases = {
        {QVariant(true), "0000000100"
                         "01"},
        {QVariant(-2), "0000000200"
                       "fffffffe"},
        {QVariant(7u), "0000000300"
                       "00000007"},
        {QVariant(0.5), "0000000600"
                        "3fe0000000000000"},
        // Float as Qt 4 wrote it: extended type 135, eight bytes.
        {QVariant(0.5f), "0000008700"
                         "3fe0000000000000"},
        {QVariant(QStringLiteral("A")), "0000000a00"
                                        "000000020041"},
        {QVariant(QByteArray("z")), "0000000c00"
                                    "000000017a"},
    };
    for (const Case& c : cases) {
        const QString text = SettingsStore::encode({{QStringLiteral("k"), c.value}});
        QCOMPARE(QByteArray::fromBase64(text.toLatin1()).toHex(), (key + QByteArray::fromHex(c.bytes)).toHex());
        const SettingsStore::Pairs back = SettingsStore::decode(text);
        QCOMPARE(back.size(), 1);
        QCOMPARE(back.first().second, c.value);
    }
    QVERIFY(!SettingsStore::isStorable(QVariant(QStringList())));
    QVERIFY(!SettingsStore::isStorable(QVariant()));
}

void TestSettingsStore::roundTripAndAssign()
{
    SettingsStore::Pairs pairs;
    SettingsStore::assign(pairs, QStringLiteral("a"), 1);
    SettingsStore::assign(pairs, QStringLiteral("b"), QStringLiteral("x"));
    SettingsStore::assign(pairs, QStringLiteral("a"), 2);
    QCOMPARE(pairs.size(), 2);
    QCOMPARE(pairs.first().second, QVariant(2));
    QCOMPARE(SettingsStore::decode(SettingsStore::encode(pairs)), pairs);
    QVERIFY(SettingsStore::decode(QString()).isEmpty());
}

void TestSettingsStore::damagedData()
{
    MessageCapture messages;
    const QByteArray good =
        QByteArray::fromBase64(SettingsStore::encode({{QStringLiteral("a"), 1}, {QStringLiteral("b"), 2}}).toLatin1());
    // An unknown type id in the second pair: the first stays.
    QByteArray unknown = good;
    const qsizetype second = good.size() / 2;
    unknown[second + 6 + 3] = char(0x40);
    SettingsStore::Pairs pairs = SettingsStore::decode(QString::fromLatin1(unknown.toBase64()));
    QCOMPARE(pairs.size(), 1);
    QCOMPARE(messages.warnings(),
             QStringList({"Project::settings(). The setting \"b\" has a value of type 64 that is not stored; it "
                          "and the settings after it are skipped. "}));
    // Cut anywhere: never more than was whole, never a crash.
    for (qsizetype cut = 0; cut < good.size(); ++cut) {
        pairs = SettingsStore::decode(QString::fromLatin1(good.left(cut).toBase64()));
        QVERIFY(pairs.size() <= (cut == good.size() ? 2 : 1));
    }
}

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
