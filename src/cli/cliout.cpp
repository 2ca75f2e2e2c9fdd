#include "cliout.h"

#include <QByteArray>

#include <cstdio>

void CliOut::print(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    std::fwrite(utf8.constData(), 1, size_t(utf8.size()), stdout);
    std::fflush(stdout);
}

void CliOut::error(const QString& text)
{
    const QByteArray utf8 = (QStringLiteral("tarvel: ") + text + QLatin1Char('\n')).toUtf8();
    std::fwrite(utf8.constData(), 1, size_t(utf8.size()), stderr);
    std::fflush(stderr);
}
