#ifndef TARVEL_TESTS_SCHEME_FILEBYTES_H
#define TARVEL_TESTS_SCHEME_FILEBYTES_H

// Whole files as bytes, for tests that compare what is on disk exactly.
// A file that cannot be read or written ends the test run: every check
// after it would be meaningless.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtGlobal>

class FileBytes
{
public:
    static QByteArray read(const QString& path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            qFatal("Cannot read %s: %s", qPrintable(path), qPrintable(file.errorString()));
        return file.readAll();
    }

    static void write(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()
            || !file.flush())
            qFatal("Cannot write %s: %s", qPrintable(path), qPrintable(file.errorString()));
    }
};

#endif
