#ifndef TARVEL_BENCH_PLAINREAD_H
#define TARVEL_BENCH_PLAINREAD_H

// The baseline of the benchmarks that read large files: the files read
// through one block of 4 MB used again and again, which costs the copying
// from the system and nothing else.

#include <QElapsedTimer>
#include <QFile>
#include <QStringList>

#include <QtGlobal>

inline double plainReadMs(const QStringList& paths)
{
    constexpr int kBlock = 4 << 20;
    QElapsedTimer clock;
    clock.start();
    QByteArray block(kBlock, Qt::Uninitialized);
    for (const QString& path : paths) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            qFatal("cannot read %s", qPrintable(path));
        while (file.read(block.data(), block.size()) > 0) { }
    }
    return double(clock.nsecsElapsed()) / 1.0e6;
}

#endif
