// The graph panel and the output data: the fields a definition names are
// found by name at every update, the plot's curves are rebuilt from them,
// and a project with results always has something to show.

#include "ctrlgraph2d.h"

#include "diagnostic.h"
#include "project.h"
#include "combodelegate.h"
#include "axiscontrols.h"
#include "graph2d.h"
#include "ignitiondelay.h"

#include <QStandardItemModel>
#include <QTableView>

namespace {

const char* const kAddGraphHint = "Add a graph (Alt+A)";

// The temperature column of the simulation code's output: "T(K)", or a
// plain "T". The one a new project's first graph shows.
int temperatureColumn(const Project& project)
{
    for (int i = 0; i < project.fieldCount(); ++i) {
        const QString& name = project.field(i)->name;
        if (name == QLatin1String("T") || name.startsWith(QLatin1String("T(")))
            return i;
    }
    return -1;
}

} // namespace

int CtrlGraph2d::fieldIndex(const QString& name) const
{
    if (name.isEmpty())
        return -1;
    for (const auto& field : m_fieldNames) {
        if (field.first == name)
            return field.second;
    }
    return -1;
}

bool CtrlGraph2d::isMissing(const GraphDefinition& definition) const
{
    // Without data nothing is missing: the fields come with the next run.
    if (m_fieldNames.isEmpty())
        return false;
    return (!definition.xField.isEmpty() && fieldIndex(definition.xField) < 0)
           || (!definition.yField.isEmpty() && fieldIndex(definition.yField) < 0);
}

bool CtrlGraph2d::canDraw(const GraphDefinition& definition) const
{
    return !definition.xField.isEmpty() && !definition.yField.isEmpty() && !isMissing(definition);
}

QString CtrlGraph2d::timeField() const
{
    const int time = m_project->timeColumn();
    if (time >= 0)
        return m_project->field(time)->name;
    return m_fieldNames.isEmpty() ? QString() : m_fieldNames.first().first;
}

QString CtrlGraph2d::nextUnplotted(const QString& xField) const
{
    for (const auto& field : m_fieldNames) {
        if (field.first == xField || field.first.isEmpty())
            continue;
        bool plotted = false;
        for (const GraphDefinition& definition : m_definitions)
            plotted = plotted || definition.yField == field.first;
        if (!plotted)
            return field.first;
    }
    return QString();
}

GraphDefinition CtrlGraph2d::newDefinition(const QString& yField) const
{
    GraphDefinition definition;
    definition.color = QColor::fromHsv(nextHue(), 255, 255, 255);
    definition.xField = timeField();
    definition.yField = yField.isEmpty() ? nextUnplotted(definition.xField) : yField;
    if (!definition.yField.isEmpty())
        definition.title = definition.yField;
    definition.enabled = canDraw(definition);
    return definition;
}

void CtrlGraph2d::addDefaultGraph()
{
    if (!m_definitions.isEmpty() || m_fieldNames.isEmpty())
        return;
    const int temperature = temperatureColumn(*m_project);
    m_definitions.append(newDefinition(temperature >= 0 ? m_project->field(temperature)->name : QString()));
}

void CtrlGraph2d::updateData()
{
    const int fields = m_project->fieldCount();
    tDebug() << "Graph update, fields n=" << fields;
    // The list follows the data as it is now: after a run with other
    // columns, an old name must not stand for another field's index.
    QList<QPair<QString, int>> names;
    for (int i = 0; i < fields; ++i)
        names.append({m_project->field(i)->name, i});
    if (fields == 0)
        m_plot->forgetCurves(); // the vectors it drew are gone
    if (names != m_fieldNames) {
        const bool arrived = m_fieldNames.isEmpty();
        m_fieldNames = names;
        setFieldDelegates();
        for (GraphDefinition& definition : m_definitions) {
            if (isMissing(definition))
                definition.enabled = false;
        }
        if (arrived)
            addDefaultGraph();
        updateTable();
    }
    updateGraphs();
}

void CtrlGraph2d::updateGraphs()
{
    QPen pen(Qt::SolidLine);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    m_plot->clearGraphs();
    if (m_selectedProfile < 0) {
        for (const GraphDefinition& definition : std::as_const(m_definitions)) {
            const int x = fieldIndex(definition.xField);
            const int y = fieldIndex(definition.yField);
            if (!definition.enabled || x < 0 || y < 0)
                continue;
            pen.setColor(definition.color);
            pen.setStyle(Qt::PenStyle(definition.penStyle));
            pen.setWidth(definition.width);
            PlotGraph graph;
            graph.x = &m_project->field(x)->values;
            graph.y = &m_project->field(y)->values;
            graph.title = definition.title;
            graph.scaleX = definition.scaleX;
            graph.scaleY = definition.scaleY;
            graph.pen = pen;
            graph.axis = definition.axis == 1 ? PlotGraph::Right : PlotGraph::Left;
            graph.xName = definition.xField;
            graph.yName = definition.yField;
            m_plot->addGraph(graph);
            if (m_timeStep >= graph.y->size())
                m_timeStep = int(graph.y->size()) - 1;
        }
    }
    // The time of the step on show, when one step is: step 0 stands for
    // all of them, and a profile is no step of the data.
    const int time = m_project->timeColumn();
    if (!m_fieldNames.isEmpty()) {
        QString caption;
        if (m_selectedProfile < 0 && m_timeStep > 0 && time >= 0 && m_timeStep < m_project->field(time)->values.size())
            caption = QStringLiteral("t = %1 s")
                          .arg(QString::number(double(m_project->field(time)->values.at(m_timeStep)), 'g', 6));
        m_plot->setCaption(caption);
    }
    m_plot->setPlaceholderText(m_definitions.isEmpty() ? QString::fromLatin1(kAddGraphHint) : QString());
    m_plot->setMarkers(ignitionMarkers());
    for (int axis = 0; axis < Graph2d::AxisCount; ++axis)
        m_axes->setDefaultTitle(axis, m_plot->defaultAxisTitle(axis));
    m_plot->update();
}

QList<PlotMarker> CtrlGraph2d::ignitionMarkers() const
{
    QList<PlotMarker> markers;
    if (!m_markerAction->isChecked() || m_fieldNames.isEmpty() || m_plot->graphs().isEmpty())
        return markers;
    const int time = m_project->timeColumn();
    if (time < 0)
        return markers;
    // One pass over a column or two of the data, a small part of what a
    // poll costs.
    const IgnitionDelay::Result result =
        IgnitionDelay::compute(m_project->outData(), m_project->timefield(), m_ignition);
    if (!result.ignited)
        return markers;
    const QString timeName = m_project->field(time)->name;
    for (const PlotGraph& graph : m_plot->graphs()) {
        if (graph.xName != timeName)
            continue;
        const PlotMarker marker{result.time * double(graph.scaleX), QStringLiteral("ignition")};
        if (!markers.contains(marker))
            markers.append(marker);
    }
    return markers;
}

void CtrlGraph2d::readIgnitionDefinition()
{
    IgnitionDefinition stored;
    if (!m_project->hasExtra(QStringLiteral("SETTINGS"))
        || !IgnitionDefinition::parse(
            m_project->setting(QString::fromLatin1(IgnitionDefinition::SettingsKey)).toString(), &stored))
        stored = IgnitionDefinition();
    if (stored == m_ignition)
        return;
    m_ignition = stored;
    updateGraphs();
}

void CtrlGraph2d::sliderChanged(int step)
{
    const int steps = m_project->timeStepCount();
    if (m_project->fieldCount() > 0 && steps > 0) {
        m_timeStep = qBound(0, step, steps - 1);
        m_selectedProfile = -1;
        updateGraphs();
    } else {
        m_plot->clearGraphs();
    }
}

void CtrlGraph2d::profileSelected(int index)
{
    if (index < m_project->profileNames().size()) {
        m_selectedProfile = index;
        updateGraphs();
    }
}
