#include "startup.h"

#include "diagnostic.h"
#include "log.h"
#include "mainwindow.h"
#include "translation.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QStyleFactory>

#include <memory>

QString& Startup::styleSheet()
{
    static QString text;
    return text;
}

QString& Startup::versionDate()
{
    static QString date;
    return date;
}

int Startup::run(int argc, char** argv)
{
    // The application-wide services exist before the application object,
    // so that they outlive it and the log writes its last lines at exit.
    Translation::instance();
    styleSheet();
    versionDate();
    Log::instance();
    QApplication app(argc, argv);
    return exec(app);
}

int Startup::exec(QApplication& app)
{
    prepareServices(app);
    if (!QFile::exists(QDir(QCoreApplication::applicationDirPath()).filePath(QLatin1String(schemesFileName))))
        return refuseWithoutSchemes();
    return runMainWindow(app);
}

void Startup::prepareServices(QApplication& app)
{
    QFile::remove(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("log.txt")));
    Log::installCategoryFilter();
    qInstallMessageHandler(Log::messageReceiver);
    // Relative on purpose: the log lands in the working directory.
    Log::instance().setFile(QStringLiteral("log.txt"));
    Log::instance().setEcho(false);
    tDebug() << "Tarvel GUI started";

    QFile css(QStringLiteral(":/styles.css"));
    if (css.open(QIODevice::ReadOnly)) {
        QByteArray bytes = css.readAll();
        const qsizetype zero = bytes.indexOf('\0');
        if (zero >= 0)
            bytes.truncate(zero);
        styleSheet() = QString::fromLatin1(bytes);
        css.close();
    }

    // The table is built in; a failure is in the log, and every text then
    // shows its tag, which still lets the user work.
    (void)Translation::instance().load(QStringLiteral(":/translate.xml"));
    app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

    versionDate() = QStringLiteral("15.10.2013");
    QCoreApplication::setOrganizationName(QStringLiteral("ZDL"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("zdl.example.org"));
    QCoreApplication::setApplicationName(QStringLiteral("Tarvel GUI"));
    QCoreApplication::setApplicationVersion(QStringLiteral("%1.%2").arg(1).arg(QStringLiteral("4")));
}

int Startup::refuseWithoutSchemes()
{
    QMessageBox box;
    box.setText(translate("SCHEMES_DAT_MISSING"));
    box.setInformativeText(translate("SCHEMES_DAT_MISSING_INFO").replace(QLatin1String("%FILE"),
                                                                      QLatin1String(schemesFileName)));
    box.exec();
    tDebug() << QString::fromLatin1(schemesFileName) << "cannot be found. Terminated.";
    return 0;
}

int Startup::runMainWindow(QApplication& app)
{
    auto window = std::make_unique<MainWindow>();
    window->show();
    const int code = app.exec();
    if (code == 0)
        tDebug() << "Tarvel GUI terminated normally.";
    window.reset();
    return code;
}
