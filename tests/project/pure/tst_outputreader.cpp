// The reader of the fixed-width output data file and its number conversion.

#include "outputreader.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <cfloat>
#include <cmath>

namespace {

using Fields = std::vector<std::unique_ptr<OutputField>>;

constexpr int kWidth = 18;

// One column of the file: the text right-aligned in 18 bytes, as the code writes it.
QByteArray cell(const QByteArray& text)
{
    return QByteArray(kWidth - text.size(), ' ') + text;
}

QByteArray line(const QList<QByteArray>& cells)
{
    QByteArray result;
    for (const QByteArray& text : cells)
        result += cell(text);
    return result + '\n';
}

qint64 readBytes(const QByteArray& bytes, qint64 readPos, bool final, Fields& fields, int fieldsize = kWidth)
{
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly))
        qFatal("cannot open a QBuffer");
    return OutputReader::read(buffer, readPos, fieldsize, final, fields);
}

QStringList names(const Fields& fields)
{
    QStringList result;
    for (const auto& field : fields)
        result.append(field->name);
    return result;
}

QList<float> column(const Fields& fields, int i)
{
    return fields.at(size_t(i))->values;
}

} // namespace

class TestOutputReader : public QObject
{
    Q_OBJECT

private slots:
    void outsizedDataIsRefused();
    void lineTerminatorIsNoField();
    void unfinishedLastLine();
    void skippedLines();
    void shortAndLongLines();
    void zeroBytesAndLatin1();
    void growingFile();
    void pollsReadAtMostTheirShare();
    void storedTextReadInTwoHalves();
    void numberForms_data();
    void numberForms();
    void numberFormsInTheFile();
    void noFieldSize();
};

void TestOutputReader::outsizedDataIsRefused()
{
    // 1.1 MB: a heading of 20,000 columns over 100,000 short lines would
    // ask for 8 GB of values.
    QByteArray bytes = QByteArray(20000 * kWidth, 'x') + '\n';
    for (int i = 0; i < 100000; ++i)
        bytes += "  1.0E-01\n";
    QBuffer buffer;
    buffer.setData(bytes);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    Fields fields;
    bool refused = false;
    QCOMPARE(OutputReader::read(buffer, 0, kWidth, true, fields, &refused), qint64(0));
    QVERIFY(refused);
    QVERIFY(fields.empty());
    // A file of real size is read whatever its shape.
    bytes = line({"t(s)", "T(K)"});
    for (int i = 0; i < 100000; ++i)
        bytes += line({"1.0E-01", "1000.0"});
    QVERIFY(readBytes(bytes, 0, true, fields) > 0);
    QCOMPARE(fields.size(), size_t(2));
    QCOMPARE(fields.front()->values.size(), 100000);
}

void TestOutputReader::lineTerminatorIsNoField()
{
    // Two full headings and the line feed: two fields, not a third holding
    // only the line feed.
    const QByteArray heading = cell("t(s)") + cell("T(K)") + '\n';
    const QByteArray first = line({"1.000000000E-03", "1.500000000E+03"});
    const QByteArray longer = line({"2.000000000E-03", "1.600000000E+03", "7.5"});
    const QByteArray bytes = heading + first + longer;

    Fields fields;
    QCOMPARE(readBytes(bytes, 0, false, fields), qint64(bytes.size()));
    QCOMPARE(names(fields), QStringList({"t(s)", "T(K)"}));
    QCOMPARE(column(fields, 0), QList<float>({1.0e-3f, 2.0e-3f}));
    // Bytes beyond the last heading are ignored.
    QCOMPARE(column(fields, 1), QList<float>({1500.0f, 1600.0f}));

    // CRLF lines: the same two fields and values.
    QByteArray crlf = bytes;
    crlf.replace("\n", "\r\n");
    Fields windows;
    QCOMPARE(readBytes(crlf, 0, true, windows), qint64(crlf.size()));
    QCOMPARE(names(windows), QStringList({"t(s)", "T(K)"}));
    QCOMPARE(column(windows, 1), QList<float>({1500.0f, 1600.0f}));

    // Lines one byte short of a whole last field keep it.
    const QByteArray shortHeading = cell("t(s)") + cell("OH").mid(1) + '\n';
    const QByteArray shortLine = cell("1") + cell("2.5E-03").mid(1) + '\n';
    Fields shorter;
    QCOMPARE(readBytes(shortHeading + shortLine, 0, true, shorter), qint64(shortHeading.size() + shortLine.size()));
    QCOMPARE(names(shorter), QStringList({"t(s)", "OH"}));
    QCOMPARE(column(shorter, 1), QList<float>({2.5e-3f}));

    // Fourteen columns are fourteen fields.
    QList<QByteArray> fourteen;
    for (int i = 0; i < 14; ++i)
        fourteen.append("C" + QByteArray::number(i));
    Fields wide;
    QCOMPARE(readBytes(line(fourteen), 0, true, wide), qint64(line(fourteen).size()));
    QCOMPARE(wide.size(), size_t(14));
    QCOMPARE(wide.back()->name, QStringLiteral("C13"));

    // Read from position 0 again: the heading rebuilds the fields.
    const QByteArray other = cell("TIME") + '\n' + line({"4"});
    QCOMPARE(readBytes(other, 0, true, fields), qint64(other.size()));
    QCOMPARE(names(fields), QStringList({"TIME"}));
    QCOMPARE(column(fields, 0), QList<float>({4.0f}));
}

void TestOutputReader::unfinishedLastLine()
{
    const QByteArray heading = cell("t(s)") + cell("X") + '\n';
    const QByteArray complete = line({"1.0", "2.0"});
    const QByteArray unfinished = cell("3.0") + QByteArray(14, ' ') + "4.";

    // During a run a last line without its line feed is held back...
    Fields fields;
    const QByteArray bytes = heading + complete + unfinished;
    const qint64 pos = readBytes(bytes, 0, false, fields);
    QCOMPARE(pos, qint64(heading.size() + complete.size()));
    QCOMPARE(column(fields, 0), QList<float>({1.0f}));

    // ...read again once it is finished...
    const QByteArray finished = bytes + "5\n";
    QCOMPARE(readBytes(finished, pos, false, fields), qint64(finished.size()));
    QCOMPARE(column(fields, 0), QList<float>({1.0f, 3.0f}));
    QCOMPARE(column(fields, 1), QList<float>({2.0f, 4.5f}));

    // ...and taken as it is at the end of the run.
    Fields last;
    QCOMPARE(readBytes(bytes, 0, true, last), qint64(bytes.size()));
    QCOMPARE(column(last, 0), QList<float>({1.0f, 3.0f}));
    QCOMPARE(column(last, 1), QList<float>({2.0f, 4.0f}));

    // A complete last line is no longer being written: taken during the run.
    Fields whole;
    QCOMPARE(readBytes(heading + complete, 0, false, whole), qint64(heading.size() + complete.size()));
    QCOMPARE(column(whole, 0), QList<float>({1.0f}));

    // An unfinished heading line is held back as well.
    Fields none;
    QCOMPARE(readBytes(cell("t(s)"), 0, false, none), qint64(0));
    QVERIFY(none.empty());
}

void TestOutputReader::skippedLines()
{
    const QByteArray before = QByteArray("\n") + "   \t \r\n" + ">DATA\n" + "<\n";
    const QByteArray heading = cell("t(s)") + cell("X") + '\n';
    const QByteArray data1 = line({"1", "2"});
    const QByteArray between = QByteArray(">") + cell("9") + "\n" + "<" + cell("8") + "\n" + "\n";
    const QByteArray data2 = line({"3", "4"});
    const QByteArray after = "<\n   \n";
    const QByteArray bytes = before + heading + data1 + between + data2 + after;

    Fields fields;
    const qint64 pos = readBytes(bytes, 0, false, fields);
    // Skipped lines after the last data line do not move the position.
    QCOMPARE(pos, qint64(bytes.size() - after.size()));
    QCOMPARE(names(fields), QStringList({"t(s)", "X"}));
    QCOMPARE(column(fields, 0), QList<float>({1.0f, 3.0f}));
    QCOMPARE(column(fields, 1), QList<float>({2.0f, 4.0f}));

    // Read again from there: nothing new.
    QCOMPARE(readBytes(bytes, pos, true, fields), pos);
    QCOMPARE(column(fields, 0).size(), 2);

    // A line of blanks without a line feed at the end is blank, not unfinished data.
    Fields blank;
    const QByteArray blankEnd = heading + data1 + "      ";
    QCOMPARE(readBytes(blankEnd, 0, true, blank), qint64(heading.size() + data1.size()));
    QCOMPARE(column(blank, 0), QList<float>({1.0f}));
}

void TestOutputReader::shortAndLongLines()
{
    // 17 + 18 bytes and the line feed: exactly two columns.
    const QByteArray heading = QByteArray("             t(s)") + cell("X") + '\n';
    QCOMPARE(heading.size(), 2 * kWidth);
    const QByteArray shortLine = cell("1.5") + '\n';
    const QByteArray veryShort = "  2\n";
    const QByteArray longLine = line({"3", "4", "99", "98"});
    const QByteArray bytes = heading + shortLine + veryShort + longLine;

    Fields fields;
    QCOMPARE(readBytes(bytes, 0, true, fields), qint64(bytes.size()));
    QCOMPARE(names(fields), QStringList({"t(s)", "X"}));
    QCOMPARE(column(fields, 0), QList<float>({1.5f, 2.0f, 3.0f}));
    QCOMPARE(column(fields, 1), QList<float>({0.0f, 0.0f, 4.0f}));
}

void TestOutputReader::zeroBytesAndLatin1()
{
    // The code pads some cells with NUL bytes; a cell ends at its first one.
    QByteArray heading = cell("t(s)");
    heading += QByteArray("TEMP", 4) + QByteArray(3, '\0') + QByteArray("IGNORED", 7) + QByteArray(4, ' ');
    heading += "  T\xB0" "C \xA0" + QByteArray(11, ' ') + '\n';
    QCOMPARE(heading.size(), 3 * kWidth + 1);
    QByteArray data = cell("1.25");
    data += QByteArray("   2.5", 6) + QByteArray(1, '\0') + QByteArray("E+03  77777", 11);
    data += cell("3.0\xA0");
    data += '\n';

    Fields fields;
    QCOMPARE(readBytes(heading + data, 0, true, fields), qint64(heading.size() + data.size()));
    // Latin-1 both ways: the degree sign is one byte, and NO-BREAK SPACE is trimmed.
    QCOMPARE(names(fields), QStringList({"t(s)", "TEMP", QString::fromUtf8("T\u00B0C")}));
    QCOMPARE(column(fields, 0), QList<float>({1.25f}));
    QCOMPARE(column(fields, 1), QList<float>({2.5f}));
    QCOMPARE(column(fields, 2), QList<float>({3.0f}));

    // A Latin-1 byte inside a number makes it no number.
    Fields other;
    const QByteArray bytes = cell("t(s)") + '\n' + cell("1\xB5") + '\n' + cell("\xB5" "1") + '\n';
    readBytes(bytes, 0, true, other);
    QCOMPARE(column(other, 0), QList<float>({0.0f, 0.0f}));
}

void TestOutputReader::pollsReadAtMostTheirShare()
{
    const QByteArray heading = cell("t(s)") + cell("Y") + '\n';
    QByteArray bytes = heading;
    for (int i = 0; i < 10; ++i)
        bytes += line({QByteArray::number(i), QByteArray::number(10 * i)});
    const qint64 lineBytes = 2 * kWidth + 1;
    QBuffer buffer(&bytes);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    Fields fields;
    // The heading and two and a half lines: the half line waits.
    const qint64 limit = heading.size() + 2 * lineBytes + lineBytes / 2;
    qint64 pos = OutputReader::read(buffer, 0, kWidth, false, fields, nullptr, limit);
    QCOMPARE(pos, heading.size() + 2 * lineBytes);
    QCOMPARE(column(fields, 1), QList<float>({0.0f, 10.0f}));
    pos = OutputReader::read(buffer, pos, kWidth, false, fields, nullptr, 3 * lineBytes);
    QCOMPARE(column(fields, 0), QList<float>({0.0f, 1.0f, 2.0f, 3.0f, 4.0f}));
    // The end of a run takes everything, whatever the limit.
    pos = OutputReader::read(buffer, pos, kWidth, true, fields, nullptr, lineBytes);
    QCOMPARE(pos, qint64(bytes.size()));
    QCOMPARE(column(fields, 1).last(), 90.0f);
}

void TestOutputReader::storedTextReadInTwoHalves()
{
    // A stored text is read as the file it was made from, however its lines
    // fall on the halves: blank and skipped lines, short lines, a character
    // beyond Latin-1, a last line without its line feed.
    QByteArray bytes = "\n" + line({"t(s)", "T(K)", "OH"});
    for (int i = 0; bytes.size() < (9 << 20); ++i) {
        bytes += line({QByteArray::number(i) + "E-05", QByteArray::number(1000 + i), "1.5"});
        if (i % 1000 == 7)
            bytes += "\n< skipped\n" + cell("3.0");
    }
    bytes += cell("9.0") + cell("9.5");
    QString text = QString::fromLatin1(bytes);
    text[text.indexOf(u"1.5", text.size() / 2)] = QChar(0x2081);
    for (const QString& stored : {text, text.left(text.size() / 3), text.left(text.size() / 3 + kWidth)}) {
        Fields expected;
        const qint64 end = readBytes(stored.toLatin1(), 0, true, expected);
        Fields fields;
        bool refused = true;
        QCOMPARE(OutputReader::readText(stored, kWidth, fields, &refused), end);
        QVERIFY(!refused);
        QCOMPARE(names(fields), names(expected));
        for (int i = 0; i < 3; ++i)
            QVERIFY(column(fields, i) == column(expected, i));
    }
    // Damaged data is refused whole, as from the file, also where neither
    // half alone holds values enough to be refused.
    QByteArray damaged = QByteArray(100 * kWidth, 'x') + '\n';
    while (damaged.size() < (10 << 20))
        damaged += QByteArray(36, ' ') + "1.0\n";
    Fields fields;
    bool refused = false;
    QCOMPARE(OutputReader::readText(QString::fromLatin1(damaged), kWidth, fields, &refused), qint64(0));
    QVERIFY(refused);
    QVERIFY(fields.empty());
}

void TestOutputReader::growingFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("fort.29");
    auto append = [&](const QByteArray& bytes) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Append));
        QCOMPARE(file.write(bytes), qint64(bytes.size()));
    };
    // Each poll opens the file anew, as the project does.
    auto poll = [&](qint64 readPos, bool final, Fields& fields) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            qFatal("cannot open the data file");
        return OutputReader::read(file, readPos, kWidth, final, fields);
    };

    Fields fields;
    const QByteArray heading = cell("t(s)") + cell("Y") + '\n';
    const QByteArray first = line({"1", "10"});
    append(heading + first + cell("2"));
    qint64 pos = poll(0, false, fields);
    QCOMPARE(pos, qint64(heading.size() + first.size()));
    const QList<float>* const time = &fields.at(0)->values;

    // Change what has been read already: a reader that read it again would
    // see other headings and values.
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QCOMPARE(file.write(cell("Q") + cell("Z") + '\n' + line({"5", "50"})), pos);
    }
    append(cell("20") + '\n');
    append(line({"3", "30"}));
    append(cell("4"));
    pos = poll(pos, false, fields);
    QCOMPARE(names(fields), QStringList({"t(s)", "Y"}));
    QCOMPARE(column(fields, 0), QList<float>({1.0f, 2.0f, 3.0f}));
    QCOMPARE(column(fields, 1), QList<float>({10.0f, 20.0f, 30.0f}));
    // The vectors are the same objects: views keep pointers to them.
    QCOMPARE(&fields.at(0)->values, time);

    // Nothing new: the position stays, the unfinished line stays back.
    QCOMPARE(poll(pos, false, fields), pos);
    QCOMPARE(column(fields, 0).size(), 3);

    // Many lines in one go, then the unfinished line at the end of the run.
    QByteArray many;
    for (int i = 0; i < 50000; ++i)
        many += line({QByteArray::number(i + 5), QByteArray::number(-i)});
    append(cell("40") + '\n' + many + cell("7") + cell("70"));
    pos = poll(pos, false, fields);
    QCOMPARE(column(fields, 0).size(), 50004);
    QCOMPARE(column(fields, 1).at(3), 40.0f);
    QCOMPARE(column(fields, 1).at(50003), -49999.0f);
    const qint64 end = poll(pos, true, fields);
    QCOMPARE(end, QFileInfo(path).size());
    QCOMPARE(column(fields, 0).last(), 7.0f);
    QCOMPARE(column(fields, 1).last(), 70.0f);
    QCOMPARE(&fields.at(0)->values, time);

    // A position beyond the end (the file was started anew) reads nothing.
    QCOMPARE(poll(end + 100, true, fields), end + 100);
}

void TestOutputReader::numberForms_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<float>("value");

    QTest::newRow("plain") << QByteArray("1.5") << 1.5f;
    QTest::newRow("integer") << QByteArray("42") << 42.0f;
    QTest::newRow("negative") << QByteArray("-2.25") << -2.25f;
    QTest::newRow("plus and exponent") << QByteArray("+1.5E+03") << 1500.0f;
    QTest::newRow("lower-case exponent") << QByteArray("2.5e-3") << float(2.5e-3);
    QTest::newRow("exponent without sign") << QByteArray("1E5") << 1.0e5f;
    QTest::newRow("point before exponent") << QByteArray("1.e5") << 1.0e5f;
    QTest::newRow("trailing point") << QByteArray("7.") << 7.0f;
    QTest::newRow("leading point") << QByteArray(".5") << 0.5f;
    QTest::newRow("signed leading point") << QByteArray("-.5E-1") << float(-0.05);
    QTest::newRow("blanks around") << QByteArray(" \t 3.25E+00 \r\n") << 3.25f;
    QTest::newRow("fortran width") << QByteArray("  1.234567890E+03") << float(1234.56789);
    QTest::newRow("minus zero") << QByteArray("-0.0") << -0.0f;
    QTest::newRow("tiny underflows to zero") << QByteArray("1E-60") << 0.0f;
    QTest::newRow("largest float") << QByteArray("3.4028234E+38") << FLT_MAX;
    QTest::newRow("just above the float range") << QByteArray("3.4028236E+38") << 0.0f;
    QTest::newRow("overflow") << QByteArray("1E+39") << 0.0f;
    QTest::newRow("negative overflow") << QByteArray("-1E+39") << 0.0f;
    QTest::newRow("double overflow") << QByteArray("1E+999") << 0.0f;
    QTest::newRow("empty") << QByteArray("") << 0.0f;
    QTest::newRow("blanks") << QByteArray("    ") << 0.0f;
    QTest::newRow("comma") << QByteArray("1,5") << 0.0f;
    QTest::newRow("inf") << QByteArray("inf") << 0.0f;
    QTest::newRow("minus infinity") << QByteArray("-Infinity") << 0.0f;
    QTest::newRow("nan") << QByteArray("nan") << 0.0f;
    QTest::newRow("sign alone") << QByteArray("+") << 0.0f;
    QTest::newRow("minus alone") << QByteArray("-") << 0.0f;
    QTest::newRow("point alone") << QByteArray(".") << 0.0f;
    QTest::newRow("exponent alone") << QByteArray("E5") << 0.0f;
    QTest::newRow("point and exponent") << QByteArray(".E5") << 0.0f;
    QTest::newRow("exponent without digits") << QByteArray("1E") << 0.0f;
    QTest::newRow("exponent sign without digits") << QByteArray("1E+") << 0.0f;
    QTest::newRow("two signs") << QByteArray("+-1") << 0.0f;
    QTest::newRow("two minus signs") << QByteArray("--1") << 0.0f;
    QTest::newRow("two points") << QByteArray("1.5.2") << 0.0f;
    QTest::newRow("fortran D exponent") << QByteArray("1.0D+03") << 0.0f;
    QTest::newRow("hexadecimal") << QByteArray("0x10") << 0.0f;
    QTest::newRow("inner blank") << QByteArray("1 2") << 0.0f;
    QTest::newRow("trailing letters") << QByteArray("12abc") << 0.0f;
    QTest::newRow("blank after sign") << QByteArray("- 1") << 0.0f;
}

void TestOutputReader::numberForms()
{
    QFETCH(QByteArray, text);
    QFETCH(float, value);
    const float result = OutputReader::toFloat(text.constData(), text.constData() + text.size());
    // Exact, the sign of zero too: QCOMPARE would compare floats fuzzily.
    QVERIFY2(result == value && std::signbit(result) == std::signbit(value),
             qPrintable(QString("read %1, expected %2").arg(double(result), 0, 'g', 9).arg(double(value), 0, 'g', 9)));
}

void TestOutputReader::numberFormsInTheFile()
{
    const QByteArray bytes = cell("t(s)") + '\n' + cell("+1.5E+03") + '\n' + cell("inf") + '\n'
                             + cell("1,5") + '\n' + cell("1E+39") + '\n' + cell(".5") + '\n';
    Fields fields;
    readBytes(bytes, 0, true, fields);
    QCOMPARE(column(fields, 0), QList<float>({1500.0f, 0.0f, 0.0f, 0.0f, 0.5f}));
}

void TestOutputReader::noFieldSize()
{
    const QByteArray bytes = cell("t(s)") + '\n' + cell("1") + '\n';
    Fields fields;
    fields.push_back(std::make_unique<OutputField>());
    fields.back()->name = "kept";
    for (const int size : {0, -18}) {
        QCOMPARE(readBytes(bytes, 0, true, fields, size), qint64(0));
        QCOMPARE(readBytes(bytes, 5, true, fields, size), qint64(5));
        QCOMPARE(names(fields), QStringList({"kept"}));
        QVERIFY(column(fields, 0).isEmpty());
    }
}

QTEST_GUILESS_MAIN(TestOutputReader)
#include "tst_outputreader.moc"
