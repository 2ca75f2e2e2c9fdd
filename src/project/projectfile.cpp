// The project file: the project saved alone into a file of the schemes
// database format, and read back with its output data. Both are done in
// steps, so that the reading and writing can run in a worker thread while
// the project itself is touched only on its own thread.

#include "project.h"

#include "diagnostic.h"
#include "outputreader.h"

#include <QThread>

bool Project::save(const QString& fileArgument)
{
    QString file;
    if (!prepareSave(fileArgument, &file))
        return false;
    // The file holds this project alone: saving over another project's file
    // must not leave that project in front, where load() would take it.
    QString error;
    const WriteResult result = writeDatabase(file, {this}, &error);
    return finishSave(file, result, error);
}

bool Project::prepareSave(const QString& fileArgument, QString* fileOut)
{
    QString file = fileArgument.trimmed();
    if (file.isEmpty())
        file = fileName();
    setErrorString(QString());
    if (file.isEmpty()) {
        tCritical() << "Project::save(). Project" << name() << ": File Name is not specified";
        setErrorString(QStringLiteral("No file is named."));
        return false;
    }
    if (isStoring()) {
        setErrorString(QStringLiteral("The results of the run are still being stored; save once they are."));
        return false;
    }
    _storeProfiles();
    emit aboutToSave();
    if (name().trimmed().isEmpty()) {
        tCritical() << "Scheme::save(). Scheme name is not specified.";
        setErrorString(QStringLiteral("The project has no name."));
        return false;
    }
    *fileOut = file;
    return true;
}

std::unique_ptr<Scheme> Project::snapshot() const
{
    // Nodes are copied; the texts, the bulk of a project, are shared.
    auto copy = std::make_unique<Scheme>(options());
    (void)copy->copy(this);
    return copy;
}

qint64 Project::storedSizeEstimate() const
{
    // The texts dominate: two bytes a character, plus the records around.
    qint64 size = 4096;
    for (const ExtraData* extra : extras())
        size += 2 * (qint64(extra->text.size()) + extra->name.size() + extra->detail.size()) + 64;
    return size + 64 * qint64(nodeCount() + species().size());
}

bool Project::finishSave(const QString& file, WriteResult result, const QString& error)
{
    if (result != WriteResult::Written)
        setErrorString(writeError(file, error));
    if (result == WriteResult::CannotCreate) {
        tCritical() << "Scheme::save(). Cannot create file" << file << ":" << fragment(error);
        return false;
    }
    if (result == WriteResult::WriteFailed) {
        tWarning() << "Scheme Data File" << file << "cannot be written. Reason:" << error;
        return false;
    }
    tDebug() << "Scheme Data File" << file << "has been successfuly written.";
    storeFileName(file);
    markSaved(true);
    emit changed();
    return true;
}

bool Project::load(const QString& fileArgument)
{
    LoadedFile loaded = readFile(fileArgument, options(), m_fieldsize);
    return adopt(fileArgument, std::move(loaded));
}

Project::LoadedFile Project::readFile(const QString& fileArgument, Options* catalogue, int fieldsize,
                                      const FileProgress& progress, const std::atomic<bool>* cancelled, QThread* home)
{
    LoadedFile loaded;
    const QString file = fileArgument.trimmed();
    if (file.isEmpty()) {
        tCritical() << "Project::load(). Data file is not specified.";
        loaded.error = QStringLiteral("No file is named.");
        return loaded;
    }
    QString error;
    QList<Scheme*> stored = readDatabase(file, catalogue, nullptr, &error, progress, cancelled);
    if (cancelled && *cancelled) {
        qDeleteAll(stored);
        loaded.error = QStringLiteral("Opening \"%1\" was cancelled.").arg(file);
        return loaded;
    }
    if (stored.isEmpty()) {
        loaded.error = error.isEmpty() ? QStringLiteral("\"%1\" holds no project.").arg(file) : error;
        return loaded;
    }
    for (int i = 1; i < stored.size(); ++i) {
        tDebug() << "deleting scheme" << i << ", name:" << stored.at(i)->name();
        delete stored.at(i);
    }
    loaded.scheme.reset(stored.first());
    // The data file was stored byte for byte as Latin-1; UTF-8 would shift
    // every fixed-width column after a byte above 127.
    const ExtraData* output = loaded.scheme->getExtra(QStringLiteral("OUTPUT_DATA"));
    if (output && fieldsize > 0) {
        bool refused = false;
        loaded.readPos = OutputReader::readText(output->text, fieldsize, loaded.fields, &refused);
        if (refused)
            tWarning() << fragment(OutputReader::refusalText());
    }
    if (home)
        loaded.scheme->moveToThread(home);
    return loaded;
}

bool Project::adopt(const QString& fileArgument, LoadedFile&& loaded)
{
    setErrorString(QString());
    if (!loaded.scheme) {
        setErrorString(loaded.error);
        return false;
    }
    const QString file = fileArgument.trimmed();
    setScheme(loaded.scheme.get());
    if (m_fieldsize <= 0 && !m_fieldsizeWarned) {
        tWarning() << "Project::_readOutData(). The field size" << m_fieldsize
                   << "is not positive: the output data cannot be read.";
        m_fieldsizeWarned = true;
    }
    m_outData = std::move(loaded.fields);
    m_readPos = loaded.readPos;
    if (m_outData.empty()) {
        setStatus(RunStatus::NoResults);
    } else {
        _updateTime();
        // Without a time column _updateTime() says nothing, yet the views
        // must show the data just read.
        if (timeColumn() < 0)
            emit outDataUpdated();
        setStatus(RunStatus::ResultsAvailable);
    }
    storeFileName(file);
    _loadProfiles();
    markSaved(true);
    emit changed();
    tDebug() << "Project has been loaded.";
    tDebug() << "deleting scheme" << 0 << ", name:" << loaded.scheme->name();
    loaded.scheme.reset();
    emit dataUpdated();
    return true;
}
