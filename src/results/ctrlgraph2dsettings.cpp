// Where the graph control panel keeps things: the definitions in the
// project's settings, which travel in the project file, and the table's
// column widths in settings.ini beside the program.

#include "ctrlgraph2d.h"

#include "diagnostic.h"
#include "project.h"
#include "axiscontrols.h"
#include "graph2d.h"
#include "settingsfile.h"

#include <QAction>
#include <QHeaderView>
#include <QSettings>
#include <QStandardItemModel>
#include <QTableView>

#include <algorithm>
#include <cmath>

namespace {

QString key(const char* name, int row)
{
    return QStringLiteral("CtrlGraph/%1%2").arg(QLatin1String(name)).arg(row);
}

// The window's own settings file: beside the program, or where it can be
// written when the program's folder cannot.
QString settingsFile()
{
    return SettingsFile::path();
}

// "CtrlGraph/LogX", "CtrlGraph/TitleY2" and so on: the plot's axes.
QString axisKey(const char* name, int axis)
{
    const char* suffixes[Graph2d::AxisCount] = {"X", "Y", "Y2"};
    return QStringLiteral("CtrlGraph/%1%2").arg(QLatin1String(name), QLatin1String(suffixes[axis]));
}

QString widthKey(int column)
{
    return QStringLiteral("CtrlGraph/ColWdh%1").arg(column);
}

} // namespace

void CtrlGraph2d::savePairs()
{
    // One batch: one decoding and encoding of the store, one notification,
    // however many graphs there are.
    QList<std::pair<QString, QVariant>> pairs;
    pairs.append({QStringLiteral("CtrlGraph/count"), int(m_definitions.size())});
    for (int i = 0; i < m_definitions.size(); ++i) {
        const GraphDefinition& d = m_definitions.at(i);
        pairs.append({key("name", i), d.title});
        pairs.append({key("fieldX", i), d.xField});
        pairs.append({key("fieldY", i), d.yField});
        // The fields' places too, for the versions that knew only those.
        pairs.append({key("idxX", i), fieldIndex(d.xField)});
        pairs.append({key("idxY", i), fieldIndex(d.yField)});
        pairs.append({key("scaleX", i), d.scaleX});
        pairs.append({key("scaleY", i), d.scaleY});
        pairs.append({key("enabled", i), d.enabled});
        pairs.append({key("penStyle", i), d.penStyle});
        pairs.append({key("width", i), d.width});
        pairs.append({key("colorRed", i), d.color.red()});
        pairs.append({key("colorGreen", i), d.color.green()});
        pairs.append({key("colorBlue", i), d.color.blue()});
        pairs.append({key("axis", i), d.axis});
    }
    pairs.append({QStringLiteral("CtrlGraph/GridOn"), m_gridAction->isChecked()});
    pairs.append({QStringLiteral("CtrlGraph/LegendOn"), m_legendAction->isChecked()});
    pairs.append({QStringLiteral("CtrlGraph/IgnitionMarker"), m_markerAction->isChecked()});
    for (int axis = 0; axis < Graph2d::AxisCount; ++axis) {
        pairs.append({axisKey("Log", axis), m_plot->isLogarithmic(axis)});
        pairs.append({axisKey("Title", axis), m_plot->axisTitle(axis)});
    }
    if (!m_project->setSettings(pairs))
        tWarning() << "CtrlGraph2d::savePairs(). The graph settings could not be stored.";
}

void CtrlGraph2d::loadPairs()
{
    // Read the store once: each lookup would decode all of it again. A
    // project that never stored graphs has no store; asking it would only
    // log a warning at every new project.
    QList<std::pair<QString, QVariant>> pairs;
    if (m_project->hasExtra(QStringLiteral("SETTINGS")))
        pairs = m_project->settings();
    auto find = [&pairs](const QString& name) -> const QVariant* {
        for (const auto& pair : pairs) {
            if (pair.first == name)
                return &pair.second;
        }
        return nullptr;
    };
    auto value = [&find](const QString& name) {
        const QVariant* found = find(name);
        return found ? *found : QVariant();
    };
    // A field stored by its place (projects of earlier versions) is the
    // field at that place in the output data saved with the project.
    auto field = [&](const char* name, const char* index, int row) {
        if (const QVariant* stored = find(key(name, row)))
            return stored->toString();
        const QVariant place = value(key(index, row));
        const OutputField* at = place.isValid() ? m_project->field(place.toInt()) : nullptr;
        return at ? at->name : QString();
    };
    // A factor that is missing, 0 or not finite would hide the curve: 1.
    auto factor = [&](const char* name, int row) {
        bool ok = false;
        const float stored = value(key(name, row)).toFloat(&ok);
        return ok && stored != 0.0f && std::isfinite(stored) ? stored : 1.0f;
    };
    auto number = [&](const char* name, int row, int fallback) {
        bool ok = false;
        const int stored = value(key(name, row)).toInt(&ok);
        return ok ? stored : fallback;
    };
    // Every stored definition has settings of its own: a count beyond them
    // is damage, and reading it would build definitions out of nothing.
    const int count = std::min(value(QStringLiteral("CtrlGraph/count")).toInt(), int(pairs.size()));
    m_definitions.clear();
    for (int i = 0; i < count; ++i) {
        GraphDefinition d;
        d.title = value(key("name", i)).toString();
        d.xField = field("fieldX", "idxX", i);
        d.yField = field("fieldY", "idxY", i);
        d.scaleX = factor("scaleX", i);
        d.scaleY = factor("scaleY", i);
        d.penStyle = number("penStyle", i, 1);
        d.width = number("width", i, 1);
        d.color = QColor(value(key("colorRed", i)).toInt(), value(key("colorGreen", i)).toInt(),
                         value(key("colorBlue", i)).toInt(), 255);
        d.axis = value(key("axis", i)).toInt() == 1 ? 1 : 0;
        d.enabled = value(key("enabled", i)).toBool() && canDraw(d);
        m_definitions.append(d);
    }
    addDefaultGraph();
    if (const QVariant* grid = find(QStringLiteral("CtrlGraph/GridOn")))
        m_gridAction->setChecked(grid->toBool());
    if (const QVariant* legend = find(QStringLiteral("CtrlGraph/LegendOn")))
        m_legendAction->setChecked(legend->toBool());
    if (const QVariant* marker = find(QStringLiteral("CtrlGraph/IgnitionMarker")))
        m_markerAction->setChecked(marker->toBool());
    // The axes as the project left them: a project without the keys gets
    // plain linear axes titled by their fields.
    for (int axis = 0; axis < Graph2d::AxisCount; ++axis) {
        const bool logarithmic = value(axisKey("Log", axis)).toBool();
        const QString title = value(axisKey("Title", axis)).toString();
        m_plot->setLogarithmic(axis, logarithmic);
        m_plot->setAxisTitle(axis, title);
        m_axes->setLogarithmic(axis, logarithmic);
        m_axes->setTitle(axis, title);
    }
    IgnitionDefinition ignition;
    if (IgnitionDefinition::parse(value(QString::fromLatin1(IgnitionDefinition::SettingsKey)).toString(), &ignition))
        m_ignition = ignition;
    else
        m_ignition = IgnitionDefinition();
    updateTable();
    updateGraphs();
}

void CtrlGraph2d::restoreTable()
{
    m_definitions.clear();
    updateTable();
    const QSettings settings(settingsFile(), QSettings::IniFormat);
    for (int column = 0; column < m_model->columnCount(); ++column) {
        const QVariant width = settings.value(widthKey(column));
        bool ok = false;
        const int pixels = width.toInt(&ok);
        m_view->setColumnWidth(column, ok && pixels > 0 ? pixels : defaultColumnWidth(column));
    }
}

void CtrlGraph2d::saveTable()
{
    QSettings settings(settingsFile(), QSettings::IniFormat);
    for (int column = 0; column < m_model->columnCount(); ++column)
        settings.setValue(widthKey(column), m_view->columnWidth(column));
}
