// The output data reader (OutputReader::read). The first byte gives the
// column width, the second where a run's poll stopped; the rest is the data
// file. Read in two polls, the file must give exactly what one final read
// gives: the project reads a growing file that way during every run.

#include "fuzzcheck.h"

#include "outputreader.h"

#include <QBuffer>
#include <QByteArray>

#include <cstring>
#include <memory>
#include <vector>

namespace {

using Fields = std::vector<std::unique_ptr<OutputField>>;

qint64 readAll(const QByteArray& bytes, qint64 readPos, int fieldsize, bool final, Fields& fields)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    FUZZ_CHECK(buffer.open(QIODevice::ReadOnly), "the buffer opens");
    return OutputReader::read(buffer, readPos, fieldsize, final, fields);
}

bool same(const Fields& a, const Fields& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i]->name != b[i]->name || a[i]->values.size() != b[i]->values.size())
            return false;
        const qsizetype count = a[i]->values.size();
        if (count > 0 && std::memcmp(a[i]->values.constData(), b[i]->values.constData(), sizeof(float) * count) != 0)
            return false;
    }
    return true;
}

void checkShape(const Fields& fields)
{
    for (const auto& field : fields) {
        FUZZ_CHECK(field->values.size() == fields.front()->values.size(),
                   "every output field holds one value per time step");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const int fieldsize = 1 + data[0] % 40;
    const QByteArray file(reinterpret_cast<const char*>(data) + 2, qsizetype(size - 2));

    Fields whole;
    const qint64 end = readAll(file, 0, fieldsize, true, whole);
    FUZZ_CHECK(end >= 0 && end <= file.size(), "the position read stays inside the file");
    checkShape(whole);

    // The file as a poll during the run saw it, then the rest at the end.
    const qint64 cut = file.size() * data[1] / 255;
    Fields polled;
    const qint64 first = readAll(file.left(cut), 0, fieldsize, false, polled);
    FUZZ_CHECK(first >= 0 && first <= cut, "a poll stops inside what it saw");
    checkShape(polled);
    const qint64 last = readAll(file, first, fieldsize, true, polled);
    FUZZ_CHECK(last == end, "two polls end where one read ends");
    FUZZ_CHECK(same(whole, polled), "two polls read what one read reads");
    return 0;
}
