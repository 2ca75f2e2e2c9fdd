#include "climessages.h"

#include "log.h"

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <cstdlib>

namespace {

bool g_verbose = false;

void toStandardError(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    const char* tag = "warning";
    switch (type) {
    case QtDebugMsg:
    case QtInfoMsg:
        if (!g_verbose)
            return;
        tag = "debug";
        break;
    case QtWarningMsg:
        tag = "warning";
        break;
    case QtCriticalMsg:
        tag = "error";
        break;
    case QtFatalMsg:
        tag = "fatal";
        break;
    }
    const QByteArray text = message.toUtf8();
    std::fprintf(stderr, "tarvel: %s: %s\n", tag, text.constData());
    std::fflush(stderr);
    if (type == QtFatalMsg)
        std::abort();
}

} // namespace

void CliMessages::install(bool verbose)
{
    g_verbose = verbose;
    Log::installCategoryFilter();
    qInstallMessageHandler(toStandardError);
}

bool CliMessages::verbose()
{
    return g_verbose;
}
