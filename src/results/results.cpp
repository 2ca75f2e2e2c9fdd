#include "results.h"

#include "diagnostic.h"
#include "profile.h"
#include "project.h"
#include "datatable.h"
#include "ignitionbar.h"
#include "timetoolbar.h"

#include <QVBoxLayout>

namespace {

Project* checkedProject(Project* project)
{
    if (!project)
        tFatal() << "Results::Results. Pointer to Project is not provided.";
    return project;
}

} // namespace

Results::Results(Project* project, QWidget* parent)
    : QWidget(parent)
    , m_project(checkedProject(project))
{
    m_table = new DataTable(this);
    m_toolBar = new TimeToolBar(m_project, this);
    connect(m_toolBar, &TimeToolBar::valueChanged, this, &Results::updateTable);
    connect(m_toolBar, &TimeToolBar::profileSelected, this, &Results::profileSelected);
    m_toolBar->setMaximumHeight(32);
    m_ignition = new IgnitionBar(m_project, this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_toolBar);
    layout->addWidget(m_ignition);
    layout->addWidget(m_table);
    connect(m_project, &Project::outDataUpdated, this, &Results::onDataUpdated);
}

Results::~Results() = default;

void Results::onDataUpdated()
{
    const int step = m_toolBar->value();
    // A profile on show stays on show while a run goes on: the toolbar still
    // names it, and flipping back to a time step every poll would hide it.
    if (m_toolBar->selectedProfile() >= 0 && m_project->profileAt(m_toolBar->selectedProfile()))
        profileSelected(m_toolBar->selectedProfile());
    else
        updateTable(step);
}

bool Results::showsProjectData() const
{
    for (const DataTable::Column& column : m_table->columns()) {
        bool own = false;
        for (const auto& values : m_values)
            own = own || values.get() == column.second;
        if (!own)
            return true;
    }
    return false;
}

void Results::updateTable(int step)
{
    const int steps = m_project->timeStepCount();
    if (m_project->fieldCount() == 0 || steps == 0) {
        // A single step or a profile stays on show. The table of all steps
        // reads the project's own vectors, which are gone by now (a new run
        // or a new project frees them before it says so): it must let go.
        if (showsProjectData())
            m_table->clearData();
        return;
    }
    step = qBound(0, step, steps - 1);
    std::vector<std::unique_ptr<QList<float>>> values;
    QList<DataTable::Column> columns;
    for (const auto& field : m_project->outData()) {
        if (step == 0) {
            columns.append({field->name, &field->values});
            continue;
        }
        // A field shorter than the first has no value at this step: an
        // empty cell, not a read past its end.
        auto single = std::make_unique<QList<float>>();
        if (step < field->values.size())
            single->append(field->values.at(step));
        columns.append({field->name, single.get()});
        values.push_back(std::move(single));
    }
    // The new columns first, then the old vectors go: the table never points
    // to a freed one.
    m_table->setColumns(columns, step);
    m_values = std::move(values);
}

void Results::profileSelected(int index)
{
    const Profile* profile = m_project->profileAt(index);
    if (!profile)
        return;
    std::vector<std::unique_ptr<QList<float>>> values;
    QList<DataTable::Column> columns;
    for (const ProfileValue& pair : profile->values()) {
        auto single = std::make_unique<QList<float>>(1, pair.value);
        columns.append({pair.name, single.get()});
        values.push_back(std::move(single));
    }
    // A profile is no time step of the data: its row has no number.
    m_table->setColumns(columns, -1);
    m_values = std::move(values);
}
