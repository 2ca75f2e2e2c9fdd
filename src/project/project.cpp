// The project's content and life cycle: construction over the catalogue,
// clear, a new project from a scheme or from the whole catalogue, the project
// directory, and the project file.

#include "project.h"

#include "diagnostic.h"
#include "translation.h"
#include "options.h"
#include "profile.h"

#include <QBuffer>
#include <QDir>
#include <QTimer>


namespace {

// Checked before the scheme part is built, which would report it in its own
// words.
Options* checkedCatalogue(Options* catalogue)
{
    if (!catalogue)
        tFatal() << "Project::Project. Null pointer for Options.";
    return catalogue;
}

} // namespace

Project::Project(Options* catalogue, QObject* parent)
    : Scheme(checkedCatalogue(catalogue), parent)
    , m_sequence(new RunSequence(this))
    , m_storage(new RunStorage(this))
    , m_timer(new QTimer(this))
{
    m_sequence->setProgramDirectory(Options::programDirectory());
    copyCatalogueSettings();
    m_compufile = catalogue->compufile();
    for (const OExecutor& executor : catalogue->executors())
        addExecutor(executor.name, executor.path, executor.success, executor.failure);
    connect(m_timer, &QTimer::timeout, this, &Project::readOutput);
    connect(m_storage, &RunStorage::stored, this, &Project::resultsStored);
    connectSequence();
    connect(this, &Scheme::optionsChanged, this, &Project::generateFiles);
}

Project::~Project()
{
    m_timer->stop();
    // Nothing of a half-destroyed project may run from a late notification.
    disconnect(m_sequence, nullptr, this, nullptr);
    disconnect(m_storage, nullptr, this, nullptr);
}

void Project::copyCatalogueSettings()
{
    m_timefield = options()->timefield();
    m_datafile = options()->datafile();
    m_fieldsize = options()->fieldsize();
    m_duroption = options()->duroption();
}

void Project::clear()
{
    // The run under way, and an executable that has been started but has not
    // reported yet, end here; nothing they queued arrives afterwards.
    m_sequence->reset();
    m_timer->stop();
    if (m_storage->isBusy()) {
        m_storage->abandon();
        emit storingChanged(false);
    }
    Scheme::clear();
    // At once: views hold pointers into the vectors just freed.
    emptyOutData();
    emit outDataUpdated();
    m_profiles.clear();
    (void)setFileName(QString());
    m_readPos = 0;
    copyCatalogueSettings();
    m_fieldsizeWarned = false;
    m_currentTime = 0.0f;
    m_endTime = 0.0f;
    setStatus(RunStatus::NoResults);
    emit dataUpdated();
    emit profilesChanged();
}

void Project::emptyOutData()
{
    m_outData.clear();
}

void Project::setScheme(const Scheme* scheme)
{
    clear();
    copy(scheme);
    if (!hasExtra(QStringLiteral("OUTPUT_DATA")))
        addExtra(QStringLiteral("OUTPUT_DATA"), QString());
    generateFiles();
    markSaved(true);
    emit dataUpdated();
}

void Project::newFromCatalogue()
{
    clear();
    for (const auto& group : options()->groups()) {
        SchemeNode* groupNode = addGroup(group->name);
        for (const auto& option : group->options)
            addOption(options()->findOption(option->name), groupNode);
    }
    // A usable project: a name (the window enables its pages and Save by
    // it), the catalogue's files that clear() removed, without which no input
    // file is ever written, and the place for the output data.
    (void)setName(translate("ADV_MODE")); // a translated text, never empty
    addCatalogueFiles();
    addExtra(QStringLiteral("OUTPUT_DATA"), QString());
    // Every node may be edited, and every option starts "off": the input
    // file holds only what the user switches on.
    const QString off = translate("OFF");
    for (SchemeNode* node : allNodes()) {
        if (node->isGroup)
            continue;
        node->enabled = true;
        node->value = off;
    }
    generateFiles();
    markSaved(true);
    emit dataUpdated();
}

bool Project::setPath(const QString& dir)
{
    if (!QDir(dir).exists() && !QDir().mkpath(dir))
        return false;
    m_path = QDir(dir).absolutePath();
    tDebug() << "New Project Path:" << m_path;
    return true;
}

QString Project::projectFile(const QString& fileName) const
{
    return QDir(m_path).filePath(fileName);
}

bool Project::save(const QString& fileArgument)
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
    // The file holds this project alone: saving over another project's file
    // must not leave that project in front, where load() would take it.
    QString error;
    const WriteResult result = writeDatabase(file, {this}, &error);
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
    const QString file = fileArgument.trimmed();
    setErrorString(QString());
    if (file.isEmpty()) {
        tCritical() << "Project::load(). Data file is not specified.";
        setErrorString(QStringLiteral("No file is named."));
        return false;
    }
    QString error;
    QList<Scheme*> stored = loadAll(file, options(), &error);
    if (stored.isEmpty()) {
        setErrorString(error.isEmpty() ? QStringLiteral("\"%1\" holds no project.").arg(file) : error);
        return false;
    }
    setScheme(stored.first());

    // The data file was stored byte for byte as Latin-1; UTF-8 would shift
    // every fixed-width column after a byte above 127.
    QByteArray bytes;
    if (hasExtra(QStringLiteral("OUTPUT_DATA")))
        bytes = getExtra(QStringLiteral("OUTPUT_DATA"))->text.toLatin1();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    _readOutData(buffer, true);
    buffer.close();
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
    for (int i = 0; i < stored.size(); ++i) {
        tDebug() << "deleting scheme" << i << ", name:" << stored.at(i)->name();
        delete stored.at(i);
    }
    emit dataUpdated();
    return true;
}

void Project::setStatus(RunStatus status)
{
    if (status == m_status)
        return;
    m_status = status;
    emit statusChanged();
}

int Project::progress() const
{
    if (m_endTime == 0.0f)
        return -1;
    return int(m_currentTime / m_endTime * 1000.0f);
}

bool Project::allSucceeded() const
{
    return m_sequence->allSucceeded() && !m_outputMissing;
}
