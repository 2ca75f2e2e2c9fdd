#include "safefile.h"

#include <QFile>
#include <QFileInfo>

#ifndef Q_OS_WIN
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

bool SafeFile::isRegularFile(const QString& path)
{
#ifdef Q_OS_WIN
    const QFileInfo info(path);
    return info.isFile() && !info.isSymLink();
#else
    struct stat status;
    const QByteArray native = QFile::encodeName(path);
    return ::lstat(native.constData(), &status) == 0 && S_ISREG(status.st_mode);
#endif
}

bool SafeFile::write(const QString& path, const QByteArray& bytes, Mode mode, QString* error)
{
#ifdef Q_OS_WIN
    const QFileInfo info(path);
    if (info.isSymLink())
        QFile::remove(path);
    QFile file(path);
    const QIODevice::OpenMode how =
        QIODevice::WriteOnly | (mode == Mode::Append ? QIODevice::Append : QIODevice::Truncate);
    if (!file.open(how) || file.write(bytes) != bytes.size() || !file.flush()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
#else
    const QByteArray native = QFile::encodeName(path);
    const int flags = O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC | (mode == Mode::Append ? O_APPEND : O_TRUNC);
    int fd = ::open(native.constData(), flags, 0644);
    if (fd < 0 && errno == ELOOP) {
        // A link at the name: it goes, never what it points to.
        if (::unlink(native.constData()) == 0)
            fd = ::open(native.constData(), flags | O_EXCL, 0644);
    }
    if (fd >= 0) {
        struct stat status;
        if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
            ::close(fd);
            fd = -1;
            errno = EISDIR;
        }
    }
    if (fd < 0) {
        if (error)
            *error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + written, size_t(bytes.size() - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (error)
                *error = QString::fromLocal8Bit(std::strerror(n < 0 ? errno : ENOSPC));
            ::close(fd);
            return false;
        }
        written += n;
    }
    if (::close(fd) != 0) {
        if (error)
            *error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    return true;
#endif
}
