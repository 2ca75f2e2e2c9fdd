// The project's content and life cycle: construction over the catalogue,
// clear, a new project from a scheme or from the whole catalogue, the project
// directory, and the project file.

#include "project.h"

#include "diagnostic.h"
#include "translation.h"
#include "options.h"
#include "profile.h"

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
    m_outputRefused = false;
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
