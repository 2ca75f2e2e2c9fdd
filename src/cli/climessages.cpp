#include "climessages.h"

#include "log.h"

#include <QByteArray>
#include <QRegularExpression>
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
    // The log's diagnostic form begins with the class and operation
    // ("Scheme::save(). "); a user reads the sentence without it.
    static const QRegularExpression origin(QStringLiteral("^[A-Za-z_]\\w*(::|\\.)~?[A-Za-z_]\\w*(\\(\\))?[.:] +"));
    const bool debug = type == QtDebugMsg || type == QtInfoMsg;
    const QByteArray text = (debug ? message : QString(message).remove(origin).trimmed()).toUtf8();
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
