// How fast the output data reader is, measured next to a baseline in the
// same run:
//  1. reading a whole data file of 60 columns by 200,000 lines (216 MB),
//     against a plain fast_float parse of every cell of the same bytes in
//     memory, which no reader of this format can beat;
//  2. one poll that finds 10 new lines at the end of a 100 MB file, against
//     the same poll on a 1 MB file: a poll must cost the new lines only.
//
//   bench_outputreader [DIRECTORY]   (default: a temporary directory)

#include "outputreader.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <fast_float/fast_float.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr int kWidth = 18;
constexpr int kColumns = 60;
constexpr int kLines = 200000;
constexpr int kRepeats = 5;
constexpr int kPolls = 41;

using Clock = std::chrono::steady_clock;
using Fields = std::vector<std::unique_ptr<OutputField>>;

double seconds(Clock::time_point since)
{
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// Numbers of the kind the simulation code writes: right-aligned, nine digits
// after the point, exponents of both signs.
class LineMaker
{
public:
    QByteArray heading() const
    {
        QByteArray line;
        char cell[kWidth + 1];
        for (int c = 0; c < kColumns; ++c) {
            if (c == 0)
                std::snprintf(cell, sizeof cell, "%*s", kWidth, "t(s)");
            else
                std::snprintf(cell, sizeof cell, "%*s%02d", kWidth - 2, "Y", c);
            line.append(cell, kWidth);
        }
        return line + '\n';
    }

    QByteArray line(int step)
    {
        QByteArray line;
        line.reserve(kColumns * kWidth + 1);
        char cell[kWidth + 8];
        for (int c = 0; c < kColumns; ++c) {
            double value = c == 0 ? step * 1.0e-6 : next();
            std::snprintf(cell, sizeof cell, "%*.9E", kWidth, value);
            line.append(cell, kWidth);
        }
        return line + '\n';
    }

private:
    double next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 7;
        m_state ^= m_state << 17;
        const double mantissa = double(m_state % 1000000007) / 1000000007.0;
        const int exponent = int((m_state >> 40) % 31) - 15;
        const double sign = (m_state >> 63) ? -1.0 : 1.0;
        return sign * mantissa * std::pow(10.0, exponent);
    }

    quint64 m_state = 0x9E3779B97F4A7C15ull;
};

bool appendLines(const QString& path, LineMaker& maker, int first, int count)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    QByteArray block;
    for (int i = 0; i < count; ++i) {
        block += maker.line(first + i);
        if (block.size() > (8 << 20)) {
            if (file.write(block) != block.size())
                return false;
            block.clear();
        }
    }
    return file.write(block) == block.size();
}

bool writeFile(const QString& path, qint64 bytes, LineMaker& maker, int* lines)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QByteArray heading = maker.heading();
    file.write(heading);
    file.close();
    *lines = int((bytes - heading.size()) / (heading.size()));
    return appendLines(path, maker, 0, *lines);
}

// The baseline: every cell of the bytes through fast_float, with only the
// blank skipping it needs, no checks, no storing.
void baseline(const QByteArray& bytes, double* sum)
{
    const char* p = bytes.constData();
    const char* const end = p + bytes.size();
    p = static_cast<const char*>(std::memchr(p, '\n', size_t(end - p))) + 1; // the heading
    double total = 0.0;
    while (p < end) {
        const char* const lineEnd = static_cast<const char*>(std::memchr(p, '\n', size_t(end - p)));
        for (const char* cell = p; cell + kWidth <= lineEnd; cell += kWidth) {
            const char* q = cell;
            while (*q == ' ')
                ++q;
            float value = 0.0f;
            fast_float::from_chars(q, cell + kWidth, value);
            total += value;
        }
        p = lineEnd + 1;
    }
    *sum = total;
}

double sumOf(const Fields& fields)
{
    double total = 0.0;
    for (const auto& field : fields) {
        if (field->name.isEmpty())
            continue;
        for (const float value : field->values)
            total += value;
    }
    return total;
}

double megabytes(qint64 bytes)
{
    return double(bytes) / 1.0e6;
}

int throughput(const QString& dir)
{
    const QString path = dir + "/fort.29";
    LineMaker maker;
    const QByteArray heading = maker.heading();
    const qint64 size = qint64(heading.size()) * (kLines + 1);
    int lines = 0;
    std::printf("Writing %d columns x %d lines of %d-byte fields (%.1f MB) ...\n", kColumns, kLines, kWidth,
                megabytes(size));
    if (!writeFile(path, size, maker, &lines) || lines != kLines) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }
    QFile whole(path);
    if (!whole.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return 1;
    }
    const QByteArray bytes = whole.readAll();
    whole.close();

    double best[3] = {1e30, 1e30, 1e30};
    double sums[3] = {0, 0, 0};
    for (int r = 0; r < kRepeats; ++r) {
        Clock::time_point start = Clock::now();
        baseline(bytes, &sums[0]);
        best[0] = std::min(best[0], seconds(start));

        {
            Fields fields;
            QBuffer buffer;
            buffer.setData(bytes);
            buffer.open(QIODevice::ReadOnly);
            start = Clock::now();
            const qint64 end = OutputReader::read(buffer, 0, kWidth, true, fields);
            best[1] = std::min(best[1], seconds(start));
            sums[1] = sumOf(fields);
            if (end != bytes.size() || fields.size() != size_t(kColumns + 1)
                || fields.front()->values.size() != kLines) {
                std::fprintf(stderr, "the reader read %lld bytes, %d fields\n", end, int(fields.size()));
                return 1;
            }
        }
        {
            Fields fields;
            start = Clock::now();
            QFile file(path);
            file.open(QIODevice::ReadOnly);
            OutputReader::read(file, 0, kWidth, true, fields);
            file.close();
            best[2] = std::min(best[2], seconds(start));
            sums[2] = sumOf(fields);
        }
    }
    const double mb = megabytes(bytes.size());
    std::printf("\nWhole file, %.1f MB, best of %d:\n", mb, kRepeats);
    std::printf("  fast_float parse of every cell (baseline)  %8.1f MB/s  %7.3f s\n", mb / best[0], best[0]);
    std::printf("  OutputReader::read from memory (QBuffer)   %8.1f MB/s  %7.3f s  %.2f of baseline\n",
                mb / best[1], best[1], best[0] / best[1]);
    std::printf("  OutputReader::read from the file (QFile)   %8.1f MB/s  %7.3f s  %.2f of baseline\n",
                mb / best[2], best[2], best[0] / best[2]);
    // The reader converts through double as Qt 4 did: sums agree to float rounding.
    std::printf("  value sums: baseline %.6g, memory %.6g, file %.6g\n", sums[0], sums[1], sums[2]);
    std::printf("  goal, at least 0.50 of the baseline: %s\n",
                std::min(best[1], best[2]) <= 2.0 * best[0] ? "met" : "NOT met");
    return 0;
}

struct PollFigures
{
    double fullRead = 0.0;
    double median = 0.0;
    double fastest = 0.0;
    double slowest = 0.0;
    qint64 size = 0;
};

bool pollCost(const QString& path, qint64 bytes, PollFigures* figures)
{
    LineMaker maker;
    int lines = 0;
    if (!writeFile(path, bytes, maker, &lines))
        return false;
    Fields fields;
    qint64 readPos = 0;
    auto poll = [&]() {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return false;
        readPos = OutputReader::read(file, readPos, kWidth, false, fields);
        return true;
    };
    figures->size = QFile(path).size();
    Clock::time_point start = Clock::now();
    if (!poll())
        return false;
    figures->fullRead = seconds(start);
    std::vector<double> times;
    for (int i = 0; i < kPolls; ++i) {
        if (!appendLines(path, maker, lines, 10))
            return false;
        lines += 10;
        start = Clock::now();
        if (!poll())
            return false;
        times.push_back(seconds(start));
    }
    if (fields.empty() || fields.front()->values.size() != lines) {
        std::fprintf(stderr, "the polls read %d lines of %d\n", fields.empty() ? 0 : int(fields.front()->values.size()),
                     lines);
        return false;
    }
    std::sort(times.begin(), times.end());
    figures->median = times[times.size() / 2];
    figures->fastest = times.front();
    figures->slowest = times.back();
    return true;
}

int polls(const QString& dir)
{
    PollFigures large;
    PollFigures small;
    if (!pollCost(dir + "/large.29", 100 * 1000 * 1000, &large) || !pollCost(dir + "/small.29", 1000 * 1000, &small)) {
        std::fprintf(stderr, "cannot measure the polls\n");
        return 1;
    }
    std::printf("\nOne poll finding 10 new lines (open, read from the last position, close), %d polls:\n", kPolls);
    for (const auto& [label, f] : {std::pair{"1 MB file (baseline)", small}, std::pair{"100 MB file", large}}) {
        std::printf("  %-22s %7.1f MB before the polls, median %7.1f us  (fastest %6.1f, slowest %6.1f)  first full read %8.1f ms\n",
                    label, megabytes(f.size), f.median * 1e6, f.fastest * 1e6, f.slowest * 1e6, f.fullRead * 1e3);
    }
    std::printf("  ratio of the medians, 100 MB / 1 MB: %.2f (1 when a poll reads only what was appended)\n",
                large.median / small.median);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir temporary;
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temporary.path();
    if (argc <= 1 && !temporary.isValid()) {
        std::fprintf(stderr, "cannot create a temporary directory\n");
        return 1;
    }
    std::printf("Benchmark of the output data reader in %s\n", qPrintable(dir));
    if (const int failed = throughput(dir))
        return failed;
    return polls(dir);
}
