// Profiles: cutting a time step out of the computation text, the encoded
// record of the project file and its decoding of damaged data.

#include "messagecapture.h"

#include "profile.h"

#include <QDataStream>
#include <QTest>

#include <memory>

namespace {

using Fields = std::vector<std::unique_ptr<OutputField>>;

const QString kStart = QStringLiteral(">DATA");
const QString kStop = QStringLiteral("<");

// Three blocks, each with its time line, as the code writes its computation file.
const QString kComputation = QStringLiteral(
    " HEADER OF THE RUN\n"
    ">DATA  1\n"
    " TIME (S)  1.000E-03     2.500E-04\n"
    " T  1500.0\n"
    "<\n"
    " between\n"
    ">DATA  2\r\n"
    "Time (s) 2.0E-03 1.0E-03\r\n"
    " T  1600.0\r\n"
    "<\r\n"
    ">DATA  3\n"
    " NO CLOCK HERE\n"
    "time\n"
    "TIME  9.9\n"
    "<\n"
    " trailing text\n");

Fields makeFields(int steps)
{
    Fields fields;
    const QStringList names = {"t(s)", "T(K)", "H2"};
    for (int f = 0; f < names.size(); ++f) {
        auto field = std::make_unique<OutputField>();
        field->name = names.at(f);
        for (int t = 0; t < steps; ++t)
            field->values.append(float(f * 100 + t) + 0.25f);
        fields.push_back(std::move(field));
    }
    return fields;
}

Profile makeProfile(const QString& name, int step = 1)
{
    const Fields fields = makeFields(3);
    Profile profile;
    if (profile.create(name, &fields, &kComputation, step, kStart, kStop) != ProfileResult::Created)
        qFatal("cannot create the test profile");
    return profile;
}

QByteArray utf16(const QString& text)
{
    QByteArray bytes;
    for (const QChar c : text) {
        bytes += char(c.unicode() >> 8);
        bytes += char(c.unicode() & 0xFF);
    }
    return bytes;
}

QByteArray int32(quint32 value)
{
    QByteArray bytes;
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes += char((value >> shift) & 0xFF);
    return bytes;
}

QByteArray string(const QString& text)
{
    return int32(quint32(text.size() * 2)) + utf16(text);
}

QByteArray decoded(const QString& base64)
{
    return QByteArray::fromBase64(base64.toLatin1());
}

QString encoded(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toBase64());
}

} // namespace

class TestProfile : public QObject
{
    Q_OBJECT

private slots:
    void createsFromBlocks();
    void resultCodes();
    void blockNotFound();
    void timeReset_data();
    void timeReset();
    void encodedBytes();
    void roundTrip();
    void encodeRefuses();
    void decodeEmpty();
    void decodeDamaged();
    void decodeTruncated();
    void rename();
};

void TestProfile::createsFromBlocks()
{
    const Fields fields = makeFields(3);
    MessageCapture messages;
    Profile first;
    QCOMPARE(first.create("  First  ", &fields, &kComputation, 0, kStart, kStop), ProfileResult::Created);
    QCOMPARE(first.name(), QString("First"));
    QCOMPARE(first.data(), QString(">DATA  1\n"
                                   " TIME (S)  0.000E+00     0.000E+00\n"
                                   " T  1500.0\n"
                                   "<"));
    QCOMPARE(first.values().size(), 3);
    QCOMPARE(first.values().at(0).name, QString("t(s)"));
    QCOMPARE(first.values().at(0).value, 0.25f);
    QCOMPARE(first.values().at(1).name, QString("T(K)"));
    QCOMPARE(first.values().at(1).value, 100.25f);
    QCOMPARE(first.values().at(2).name, QString("H2"));
    QCOMPARE(first.values().at(2).value, 200.25f);
    QCOMPARE(messages.texts(QtDebugMsg),
             QStringList({"Searching time step # 0 , Start with \">DATA\" , Stop with \"<\" ",
                          "The profile # 0 has been found: "}));
    QVERIFY(messages.texts(QtWarningMsg).isEmpty());

    // The first "TIME" whatever its case; the line end kept as it was.
    Profile second;
    QCOMPARE(second.create("Second", &fields, &kComputation, 1, kStart, kStop), ProfileResult::Created);
    QCOMPARE(second.data(), QString(">DATA  2\r\n"
                                    "Time (S)  0.000E+00     0.000E+00\r\n"
                                    " T  1600.0\r\n"
                                    "<"));
    QCOMPARE(second.values().at(1).value, 101.25f);

    // The first "TIME" ends its line: nothing is reset, not even the later one.
    Profile third;
    QCOMPARE(third.create("Third", &fields, &kComputation, 2, kStart, kStop), ProfileResult::Created);
    QCOMPARE(third.data(), QString(">DATA  3\n NO CLOCK HERE\ntime\nTIME  9.9\n<"));
    QCOMPARE(third.values().at(2).value, 202.25f);

    // A marker counts wherever it stands in a line; the stop marker is looked
    // for after the start marker, not inside it.
    const QString inline_ = "x >DATA a < b >DATA c < d";
    Profile inside;
    QCOMPARE(inside.create("Inside", &fields, &inline_, 1, kStart, kStop), ProfileResult::Created);
    QCOMPARE(inside.data(), QString(">DATA c <"));
    const QString sameStart = "<<A<B<";
    QCOMPARE(inside.create("Same", &fields, &sameStart, 1, "<", "<"), ProfileResult::Created);
    QCOMPARE(inside.data(), QString("<A<"));
}

void TestProfile::resultCodes()
{
    const Fields fields = makeFields(3);
    const Fields noFields;
    const Fields noSteps = makeFields(0);
    const QString empty;
    Profile profile = makeProfile("Kept");
    const Profile before = profile;

    MessageCapture messages;
    QCOMPARE(profile.create("P", nullptr, &kComputation, 0, kStart, kStop), ProfileResult::MissingInput);
    QCOMPARE(profile.create("P", &fields, nullptr, 0, kStart, kStop), ProfileResult::MissingInput);
    QCOMPARE(profile.create("P", &noFields, &kComputation, 0, kStart, kStop), ProfileResult::NoData);
    QCOMPARE(profile.create("P", &noSteps, &kComputation, 0, kStart, kStop), ProfileResult::NoData);
    QCOMPARE(profile.create("P", &fields, &empty, 0, kStart, kStop), ProfileResult::NoData);
    // Out of range: refused before any search.
    QCOMPARE(profile.create("P", &fields, &kComputation, 3, kStart, kStop), ProfileResult::StepNotFound);
    QCOMPARE(profile.create("P", &fields, &kComputation, -1, kStart, kStop), ProfileResult::StepNotFound);
    QVERIFY(messages.messages().isEmpty());
    QVERIFY(profile == before);
}

void TestProfile::blockNotFound()
{
    // More time steps than blocks.
    const Fields fields = makeFields(5);
    Profile profile = makeProfile("Kept");
    const Profile before = profile;
    MessageCapture messages;
    QCOMPARE(profile.create("P", &fields, &kComputation, 3, kStart, kStop), ProfileResult::StepNotFound);
    QCOMPARE(messages.texts(QtDebugMsg),
             QStringList({"Searching time step # 3 , Start with \">DATA\" , Stop with \"<\" ",
                          "I was unable to find the profile # 3 "}));
    QVERIFY(profile == before);

    // A start marker without a stop marker after it.
    messages.clear();
    const QString open = ">DATA 1\n<\n>DATA 2\n TIME 5\n";
    QCOMPARE(profile.create("P", &fields, &open, 1, kStart, kStop), ProfileResult::StepNotFound);
    QCOMPARE(messages.texts(QtDebugMsg),
             QStringList({"Searching time step # 1 , Start with \">DATA\" , Stop with \"<\" ",
                          "The profile # 1 has been found: ", "I was unable to find the profile # 1 "}));
    QVERIFY(profile == before);
}

void TestProfile::timeReset_data()
{
    QTest::addColumn<QString>("block");
    QTest::addColumn<QString>("expected");

    QTest::newRow("unit and two values")
        << ">DATA\nTIME (S)  1.234E-01   5.678E+00\n<" << ">DATA\nTIME (S)  0.000E+00     0.000E+00\n<";
    QTest::newRow("carriage return ends the line")
        << ">DATA\n TIME=3\r\n<" << ">DATA\n TIME (S)  0.000E+00     0.000E+00\r\n<";
    QTest::newRow("lower case, inside a word") << ">DATA runtime 4\n<" << ">DATA runtime (S)  0.000E+00     0.000E+00\n<";
    QTest::newRow("no line end after it") << ">DATA TIME 5 <" << ">DATA TIME 5 <";
    QTest::newRow("line ends right after it") << ">DATA\nTIME\nTIME 1\n<" << ">DATA\nTIME\nTIME 1\n<";
    QTest::newRow("no time") << ">DATA\nT 5\n<" << ">DATA\nT 5\n<";
}

void TestProfile::timeReset()
{
    QFETCH(QString, block);
    QFETCH(QString, expected);
    const Fields fields = makeFields(1);
    Profile profile;
    QCOMPARE(profile.create("P", &fields, &block, 0, kStart, kStop), ProfileResult::Created);
    QCOMPARE(profile.data(), expected);
}

void TestProfile::encodedBytes()
{
    Fields fields;
    fields.push_back(std::make_unique<OutputField>());
    fields.back()->name = "T";
    fields.back()->values = {1.5f};
    fields.push_back(std::make_unique<OutputField>());
    fields.back()->name = QString::fromUtf8("\u00C4");
    fields.back()->values = {-0.1f};
    const QString text = "x>DATA 1\n<y";
    Profile profile;
    QCOMPARE(profile.create(QString::fromUtf8("P\u00E9"), &fields, &text, 0, kStart, kStop), ProfileResult::Created);

    // Written out by hand: UTF-16BE strings after their byte counts, a 32-bit
    // count, each float as an 8-byte big-endian double, the end marker.
    QByteArray expected;
    expected += QByteArray::fromHex("00000004" "0050" "00E9");
    expected += QByteArray::fromHex("00000012" "003E" "0044" "0041" "0054" "0041" "0020" "0031" "000A" "003C");
    expected += QByteArray::fromHex("00000002");
    expected += QByteArray::fromHex("00000002" "0054" "3FF8000000000000");
    // -0.1f widened to double: 0xBFB99999A0000000.
    expected += QByteArray::fromHex("00000002" "00C4" "BFB99999A0000000");
    expected += QByteArray::fromHex("0000FFFF");
    const QString code = profile.encode();
    QCOMPARE(decoded(code), expected);
    QCOMPARE(code, encoded(expected));
    // The helpers agree with the hand-written bytes.
    QCOMPARE(string(QString::fromUtf8("P\u00E9")) + string(">DATA 1\n<") + int32(2), expected.left(34));
}

void TestProfile::roundTrip()
{
    Fields fields;
    const QStringList names = {"t(s)", QString::fromUtf8("\u0422\u0435\u043C\u043F"), "OH"};
    const QList<float> values = {1.0e-7f, -273.15f, 3.4028234e38f};
    for (int i = 0; i < names.size(); ++i) {
        fields.push_back(std::make_unique<OutputField>());
        fields.back()->name = names.at(i);
        fields.back()->values = {values.at(i), 0.0f};
    }
    const QString text = QString::fromUtf8(">DATA\n \u00FC\u00E9 TIME 1 2\n<");
    Profile profile;
    QCOMPARE(profile.create(QString::fromUtf8("Z\u00FCnd"), &fields, &text, 0, kStart, kStop), ProfileResult::Created);

    MessageCapture messages;
    auto back = Profile::decode(profile.encode());
    QCOMPARE(back.size(), size_t(1));
    QVERIFY(*back[0] == profile);
    QCOMPARE(back[0]->values().at(2).value, 3.4028234e38f);
    QCOMPARE(messages.texts(QtDebugMsg), QStringList({"Loaded 1 profiles. "}));

    // Records one after the other, as when text from two saves is joined.
    const Profile other = makeProfile("Other", 2);
    back = Profile::decode(encoded(decoded(profile.encode()) + decoded(other.encode())));
    QCOMPARE(back.size(), size_t(2));
    QVERIFY(*back[0] == profile);
    QVERIFY(*back[1] == other);
    QVERIFY(*back[0] != *back[1]);

    // Equality looks at every part.
    Profile renamed = profile;
    renamed.setName("Else");
    QVERIFY(renamed != profile);
    Profile changed;
    fields.at(1)->values[0] = 1.0f;
    QCOMPARE(changed.create(QString::fromUtf8("Z\u00FCnd"), &fields, &text, 0, kStart, kStop), ProfileResult::Created);
    QVERIFY(changed != profile);
}

void TestProfile::encodeRefuses()
{
    MessageCapture messages;
    Profile empty;
    QCOMPARE(empty.encode(), QString());
    QCOMPARE(messages.texts(QtWarningMsg),
             QStringList({"Profile::encode(). Cannot Encode profile: No profile name has been specified. "}));

    messages.clear();
    Profile named = makeProfile("Named");
    named.clearProfile();
    QVERIFY(named.name().isEmpty() && named.data().isEmpty() && named.values().isEmpty());
    named.setName("Named");
    messages.clear();
    // A name alone is no profile: refused without a word.
    QCOMPARE(named.encode(), QString());
    QVERIFY(messages.messages().isEmpty());
}

void TestProfile::decodeEmpty()
{
    MessageCapture messages;
    const auto none = Profile::decode(QString());
    QVERIFY(none.empty());
    QCOMPARE(messages.messages(), QList<MessageCapture::Message>({{QtDebugMsg, "Loaded 0 profiles. "}}));
}

void TestProfile::decodeDamaged()
{
    const Profile first = makeProfile("First", 0);
    const Profile second = makeProfile("Second", 1);
    const QByteArray one = decoded(first.encode());
    const QByteArray two = decoded(second.encode());
    const QString header = "Profile::decode(). Cannot decode, Source is corrupted (header). ";
    const QString marker = "Profile::decode(). Cannot decode, Source is corrupted (end marker). ";

    struct Case
    {
        const char* what;
        QByteArray secondRecord;
        QString warning;
    };
    const qsizetype countAt = string("Second").size() + string(second.data()).size();
    auto withCount = [&](quint32 count) { return two.left(countAt) + int32(count) + two.mid(countAt + 4); };
    QByteArray badMarker = two;
    badMarker[badMarker.size() - 1] = char(0xFE);
    const QList<Case> cases = {
        // A count far beyond the data: the pairs run out, no endless loop,
        // nothing allocated for the count.
        {"huge count", withCount(0x7FFFFFFF), marker},
        {"negative count", withCount(0xFFFFFFFF), marker},
        {"count one too small", withCount(2), marker},
        {"string longer than the data", int32(0x7FFFFFFE) + two.mid(4), header},
        {"odd string length", int32(5) + two.mid(4), header},
        {"null name", int32(0xFFFFFFFF) + two.mid(string("Second").size()), header},
        {"empty data", string("Second") + int32(0) + two.mid(countAt), header},
        {"wrong end marker", badMarker, marker},
        {"garbage", QByteArray("\x00\x00", 2), header},
    };
    for (const Case& c : cases) {
        MessageCapture messages;
        const auto back = Profile::decode(encoded(one + c.secondRecord + one));
        QVERIFY2(back.size() == 1, c.what);
        QVERIFY2(*back[0] == first, c.what);
        QVERIFY2(messages.messages() == QList<MessageCapture::Message>({{QtWarningMsg, c.warning}}), c.what);
    }
}

void TestProfile::decodeTruncated()
{
    const Profile first = makeProfile("First", 0);
    const Profile second = makeProfile("Second", 2);
    const QByteArray one = decoded(first.encode());
    const QByteArray both = one + decoded(second.encode());
    // Every cut: what was read before it is kept, and only a cut between
    // records ends without a warning.
    for (qsizetype cut = 0; cut < both.size(); ++cut) {
        MessageCapture messages;
        const auto back = Profile::decode(encoded(both.left(cut)));
        const QByteArray where = "cut at " + QByteArray::number(cut);
        if (cut < one.size()) {
            QVERIFY2(back.empty(), where);
        } else {
            QVERIFY2(back.size() == 1 && *back[0] == first, where);
        }
        const bool clean = cut == 0 || cut == one.size();
        QVERIFY2(messages.texts(QtWarningMsg).size() == (clean ? 0 : 1), where);
        QVERIFY2(messages.texts(QtDebugMsg).size() == (clean ? 1 : 0), where);
    }
}

void TestProfile::rename()
{
    Profile profile = makeProfile("Old");
    MessageCapture messages;
    profile.setName("  New name ");
    QCOMPARE(profile.name(), QString("New name"));
    profile.setName("   ");
    QCOMPARE(profile.name(), QString("New name"));
    QCOMPARE(messages.messages(), QList<MessageCapture::Message>(
                                      {{QtDebugMsg, "Profile name has been changed from \"Old\" to \"New name\" "}}));
}

QTEST_GUILESS_MAIN(TestProfile)
#include "tst_profile.moc"
