#ifndef TARVEL_OUTPUTREADER_H
#define TARVEL_OUTPUTREADER_H

// Reads the simulation code's output data file: fixed-width columns with the
// headings in the first line. The file grows while the code runs, so every
// read starts where the previous one stopped and parses only what was
// appended; a poll costs the new lines, not the file.

#include "outputfield.h"

#include <QString>
#include <QtGlobal>

#include <memory>
#include <vector>

class QIODevice;

class OutputReader
{
public:
    // Reads the lines appended since `readPos` (the device is sought there)
    // into `fields` and returns the position after the last accepted line.
    // Blank lines and lines starting with '<' or '>' are skipped. A last line
    // without its line feed is held back while `final` is false: the writer
    // may still be in the middle of it. The first line accepted from position
    // 0 is the heading line: `fields` is rebuilt from its columns of
    // `fieldsize` bytes, the line's LF or CRLF not counted (a last column
    // shorter than the width is a field too). Every other line appends one
    // value to every field, 0 where the line is short or the text is not a
    // number. Cells are Latin-1 up to their first zero byte.
    // fieldsize <= 0 reads nothing and returns `readPos`.
    // Data whose fields and lines would need far more memory than the file
    // holds is damaged: `fields` is emptied, `refused` set, `readPos` returned.
    // A positive `maxBytes` reads at most that many bytes past `readPos`:
    // the lines complete within them are taken, the rest is left for the
    // next call (not with `final`, which takes everything).
    static qint64 read(QIODevice& device, qint64 readPos, int fieldsize, bool final,
                       std::vector<std::unique_ptr<OutputField>>& fields, bool* refused = nullptr,
                       qint64 maxBytes = -1);
    // A whole output data text as a project stores it (Latin-1 bytes as
    // characters), read as `read` reads a file from its start with `final`.
    // A large text is read in two threads, each half of it into fields of
    // its own, joined in file order. Returns the position after the last
    // accepted line.
    static qint64 readText(QStringView text, int fieldsize, std::vector<std::unique_ptr<OutputField>>& fields,
                           bool* refused = nullptr);
    // What a refusal says to the user.
    static QString refusalText();

    // A decimal number with optional sign, decimal point and E/e exponent,
    // surrounded by optional blanks; a zero byte ends the text, as it ends a
    // cell of the file. Anything else, and anything beyond
    // single precision, is 0, as Qt 4's conversion gave (Qt 6 would give
    // infinity, and one infinite time would spoil every progress figure).
    static float toFloat(const char* begin, const char* end);
};

#endif
