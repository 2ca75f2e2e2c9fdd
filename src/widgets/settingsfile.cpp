#include "settingsfile.h"

#include "diagnostic.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace {

bool writable(const QString& path)
{
    // Tried rather than judged from permission bits, which say nothing for
    // an administrator or a read-only file system.
    QFile file(path);
    const bool existed = file.exists();
    if (!file.open(QIODevice::ReadWrite))
        return false;
    file.close();
    if (!existed)
        file.remove();
    return true;
}

} // namespace

QString SettingsFile::besideProgram()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("settings.ini"));
}

QString SettingsFile::path()
{
    const QString beside = besideProgram();
    if (writable(beside))
        return beside;
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(folder);
    const QString fallback = QDir(folder).filePath(QStringLiteral("settings.ini"));
    static QString warnedFor;
    if (warnedFor != beside) {
        warnedFor = beside;
        tWarning() << "SettingsFile::path(). Cannot write" << beside << "; the settings are kept in" << fallback;
    }
    return fallback;
}
