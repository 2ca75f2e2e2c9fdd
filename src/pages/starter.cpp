#include "starter.h"

#include "projectfilejob.h"
#include "projectfileprogress.h"
#include "diagnostic.h"
#include "translation.h"
#include "options.h"
#include "listdelegate.h"
#include "listdelegateeditor.h"
#include "project.h"
#include "settingsfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTimer>
#include <QVBoxLayout>

namespace {

QString historyKey(int index)
{
    return QStringLiteral("PrjHistory/file%1").arg(index);
}

// Relative paths are the program directory's, wherever the program was
// started from.
QString programFile(const QString& path)
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(path);
}

void tell(QWidget* parent, QMessageBox::Icon icon, const QString& text, const QString& details = QString())
{
    QMessageBox box(icon, QCoreApplication::applicationName(), text, QMessageBox::Ok, parent);
    box.setInformativeText(details);
    box.exec();
}

QListWidget* barList(QWidget* parent)
{
    auto* list = new QListWidget(parent);
    QFont font = list->font();
    font.setPixelSize(16);
    list->setFont(font);
    list->setItemDelegate(new ListDelegate(list));
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return list;
}

} // namespace

Starter::Starter(Project* project, const QString& schemesFile, QWidget* parent)
    : QWidget(parent)
    , m_project(project)
    , m_schemesFile(schemesFile.trimmed())
{
    if (!m_project) {
        tCritical() << "Cannot initialise Starter(). Project is not provided";
        return;
    }

    m_recentList = barList(this);
    m_schemesList = barList(this);

    auto* newLabel = new QLabel(translate("PRJ_SCHEM"), this);
    auto* recentLabel = new QLabel(translate("RECENT_PRJ"), this);
    for (QLabel* label : {newLabel, recentLabel}) {
        QFont heading = label->font();
        heading.setPointSizeF(heading.pointSizeF() * 1.3);
        heading.setWeight(QFont::Bold);
        label->setFont(heading);
    }
    m_openButton = new QPushButton(translate("PRJ_OPEN"), this);
    connect(m_openButton, &QPushButton::clicked, this, &Starter::loadProject);
    m_advancedButton = new QPushButton(translate("ADV_MODE"), this);
    connect(m_advancedButton, &QPushButton::clicked, this, &Starter::advancedSelected);

    auto* recentBox = new QGroupBox(this);
    auto* recentLayout = new QVBoxLayout(recentBox);
    recentLayout->addWidget(recentLabel);
    recentLayout->addWidget(m_recentList);
    recentLayout->addWidget(m_openButton);

    // The advanced mode is one more way to begin a new project, so it sits
    // under the schemes, level with the open button beside it.
    auto* newBox = new QGroupBox(this);
    auto* newLayout = new QVBoxLayout(newBox);
    newLayout->addWidget(newLabel);
    newLayout->addWidget(m_schemesList);
    newLayout->addWidget(m_advancedButton);

    // Project names are short; scheme descriptions are sentences.
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(recentBox, 2);
    layout->addWidget(newBox, 3);

    readRecent();
    fillSchemes();

    // Runs only while the page is on show (showEvent()): a hidden list needs
    // no look at the disk, which may be a slow network share.
    m_timer = new QTimer(this);
    m_timer->setInterval(CheckIntervalMs);
    connect(m_timer, &QTimer::timeout, this, &Starter::checkFiles);
    checkFiles();
}

void Starter::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!m_project)
        return;
    checkFiles();
    m_timer->start();
}

void Starter::hideEvent(QHideEvent* event)
{
    if (m_timer)
        m_timer->stop();
    QWidget::hideEvent(event);
}

Starter::~Starter()
{
    if (m_project)
        writeRecent();
    qDeleteAll(m_schemes);
}

QString Starter::projectFilter()
{
    return QStringLiteral("Tarvel Project (*.%1)").arg(projectExtension());
}

QString Starter::settingsFile()
{
    return SettingsFile::path();
}

void Starter::readRecent()
{
    QSettings settings(settingsFile(), QSettings::IniFormat);
    m_recent.clear();
    for (int i = 0; i < MaximumRecent; ++i) {
        const QString path = QString::fromUtf8(settings.value(historyKey(i)).toByteArray());
        if (path.isEmpty())
            break;
        m_recent.append(path);
    }
    fillRecent();
}

void Starter::writeRecent() const
{
    QSettings settings(settingsFile(), QSettings::IniFormat);
    for (int i = 0; i < m_recent.size(); ++i)
        settings.setValue(historyKey(i), m_recent.at(i).toUtf8());
}

void Starter::fillRecent()
{
    m_recentList->clear();
    const int extension = int(projectExtension().size()) + 1;
    for (int i = 0; i < m_recent.size(); ++i) {
        const QString path = m_recent.at(i);
        QString display = QFileInfo(path).fileName();
        // A file opened under another extension keeps its whole name.
        if (display.endsWith(QLatin1Char('.') + projectExtension(), Qt::CaseInsensitive))
            display.chop(extension);
        auto* item = new QListWidgetItem(display, m_recentList);
        item->setToolTip(path);
        auto* bar = new ListDelegateEditor(m_recentList);
        bar->setFocusPolicy(Qt::StrongFocus);
        bar->setText(display);
        bar->setToolTip(path);
        bar->data = i;
        bar->installEventFilter(m_recentList->itemDelegate());
        connect(bar, &ListDelegateEditor::clicked, this, &Starter::projectSelected);
        m_recentList->setItemWidget(item, bar);
    }
}

void Starter::fillSchemes()
{
    qDeleteAll(m_schemes);
    QString file = m_schemesFile;
    if (!file.isEmpty())
        file = programFile(file);
    m_schemes = Scheme::loadAll(file, m_project->options());
    m_schemesList->clear();
    for (const Scheme* scheme : std::as_const(m_schemes)) {
        // The name and the description; a description wider than the bar
        // ends in an ellipsis there and is read whole in the tool tip.
        const QString text = scheme->description().isEmpty()
                                 ? scheme->name()
                                 : QStringLiteral("%1 \u2014 %2").arg(scheme->name(), scheme->description());
        const QString whole = scheme->description().isEmpty()
                                  ? scheme->name()
                                  : QStringLiteral("<b>%1</b><br>%2")
                                        .arg(scheme->name().toHtmlEscaped(), scheme->description().toHtmlEscaped());
        auto* item = new QListWidgetItem(text, m_schemesList);
        item->setToolTip(whole);
        auto* bar = new ListDelegateEditor(m_schemesList);
        bar->setFocusPolicy(Qt::StrongFocus);
        bar->setText(text);
        bar->setToolTip(whole);
        bar->data = scheme->name();
        bar->installEventFilter(m_schemesList->itemDelegate());
        connect(bar, &ListDelegateEditor::clicked, this, &Starter::schemeSelected);
        m_schemesList->setItemWidget(item, bar);
    }
}

void Starter::checkFiles()
{
    if (!m_project)
        return;
    for (int i = 0; i < m_recent.size() && i < m_recentList->count(); ++i) {
        QListWidgetItem* item = m_recentList->item(i);
        const bool present = QFileInfo::exists(programFile(m_recent.at(i)));
        if (item->isHidden() == present)
            item->setHidden(!present);
    }
}

bool Starter::mayReplaceProject()
{
    if (m_project->isSaved() || m_project->name().isEmpty())
        return true;
    QMessageBox box(QMessageBox::Warning, QCoreApplication::applicationName(),
                    QStringLiteral("The project has been modified."),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
    box.setInformativeText(QStringLiteral("Do you want to save your changes?"));
    box.setDefaultButton(QMessageBox::Save);
    switch (box.exec()) {
    case QMessageBox::Save:
        saveProject();
        return m_project->isSaved();
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

void Starter::projectSelected(QVariant& var)
{
    if (!m_project || var.typeId() != QMetaType::Int)
        return;
    const int index = var.toInt();
    if (index < 0 || index >= m_recent.size()) {
        fillRecent();
        return;
    }
    if (!mayReplaceProject())
        return;
    openProject(m_recent.at(index));
}

void Starter::loadProject()
{
    if (!m_project || !mayReplaceProject())
        return;
    const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("Project to load"), QDir::homePath(),
                                                      projectFilter());
    if (file.trimmed().isEmpty())
        return;
    openProject(file);
}

void Starter::openProject(const QString& file)
{
    const std::unique_ptr<ProjectFileJob> job = ProjectFileJob::open(m_project, programFile(file));
    if (ProjectFileProgress::wait(this, *job, tr("Opening %1").arg(QFileInfo(file).fileName()))) {
        tell(this, QMessageBox::Information, QStringLiteral("Project has been loaded!"));
        addToRecent();
        emit selected();
    } else if (!job->wasCancelled()) {
        tell(this, QMessageBox::Warning, QStringLiteral("Failed to load the project!"), m_project->errorString());
    }
}

void Starter::addToRecent()
{
    const QString file = m_project->fileName();
    if (file.isEmpty())
        return;
    m_recent.removeAll(file);
    m_recent.prepend(file);
    while (m_recent.size() > MaximumRecent)
        m_recent.removeLast();
    // At once as well: a program that dies keeps its history.
    writeRecent();
    fillRecent();
    checkFiles();
}

void Starter::schemeSelected(QVariant& var)
{
    if (!m_project || var.typeId() != QMetaType::QString)
        return;
    const QString name = var.toString();
    tDebug() << "Selected Scheme:" << name;
    for (const Scheme* scheme : std::as_const(m_schemes)) {
        if (scheme->name() != name)
            continue;
        if (!mayReplaceProject())
            return;
        m_project->setScheme(scheme);
        tDebug() << "Selected scheme:" << name;
        emit selected();
        return;
    }
    tCritical() << "Starter::schemeSelected(). Unexpected Error. Cannot find scheme" << name << "among loaded schemes.";
    fillSchemes();
}

void Starter::advancedSelected()
{
    if (!m_project || !mayReplaceProject())
        return;
    m_project->newFromCatalogue();
    emit selected();
}

QString Starter::askForFile()
{
    QString start = m_project->fileName();
    if (start.isEmpty())
        start = QDir::homePath() + QStringLiteral("/untitled.%1").arg(projectExtension());
    QFileDialog dialog(this, QStringLiteral("New Project Name"), start, projectFilter());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // A name typed without extension is a project file all the same.
    dialog.setDefaultSuffix(projectExtension());
    dialog.selectFile(start);
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    const QString file = dialog.selectedFiles().value(0);
    if (file.trimmed().isEmpty())
        return QString();
    if (file.right(int(projectExtension().size())).toLower() != projectExtension()) {
        tell(this, QMessageBox::Warning, QStringLiteral("Wrong project file extension!"));
        return QString();
    }
    return file;
}

bool Starter::saveTo(const QString& file)
{
    const std::unique_ptr<ProjectFileJob> job = ProjectFileJob::save(m_project, file);
    if (!ProjectFileProgress::wait(this, *job, tr("Saving %1").arg(QFileInfo(file).fileName()))) {
        tell(this, QMessageBox::Warning, QStringLiteral("Failed to save the project!"), m_project->errorString());
        return false;
    }
    tDebug() << "Project" << m_project->name() << "saved to:" << file;
    return true;
}

void Starter::saveAsProject()
{
    if (!m_project || m_project->name().isEmpty())
        return;
    const QString file = askForFile();
    // saveTo() tells the user how it went.
    if (!file.isEmpty() && saveTo(file))
        addToRecent();
}

void Starter::saveProject()
{
    if (!m_project || m_project->name().isEmpty())
        return;
    QString file = m_project->fileName();
    if (file.isEmpty()) {
        file = askForFile();
        if (file.isEmpty())
            return;
    }
    if (saveTo(file))
        addToRecent();
}
