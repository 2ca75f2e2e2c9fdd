#ifndef TARVEL_GZIP_H
#define TARVEL_GZIP_H

#include <QByteArray>

// Decompresses gzip data (the mechanism files come compressed).
class Gzip
{
public:
    // False when the data is not a complete gzip stream.
    static bool decompress(const QByteArray& compressed, QByteArray* out);
};

#endif
