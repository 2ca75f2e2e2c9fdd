#ifndef TARVEL_SAFEFILE_H
#define TARVEL_SAFEFILE_H

// Writes a file of the run folder without ever following a link that stands
// at its name: a link is removed and a new file takes its place. So nothing
// planted in the folder can turn a run's writes to a file outside it.

#include <QByteArray>
#include <QString>

class SafeFile
{
public:
    enum class Mode { Replace, Append };

    // False with the system's reason in `error` when the file cannot be
    // written (a folder at the name, no permission, a full disk).
    [[nodiscard]] static bool write(const QString& path, const QByteArray& bytes, Mode mode, QString* error);
    // True when the name holds a regular file (not a link, a folder or a
    // FIFO, whose reading could block for ever).
    static bool isRegularFile(const QString& path);
};

#endif
