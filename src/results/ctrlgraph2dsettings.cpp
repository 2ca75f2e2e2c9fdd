// Where the graph control panel keeps things: the definitions in the
// project's settings, which travel in the project file, and the table's
// column widths in settings.ini beside the program.

#include "results/ctrlgraph2d.h"

#include "project/project.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QHeaderView>
#include <QSettings>
#include <QStandardItemModel>
#include <QTableView>

namespace {

QString key(const char* name, int row)
{
    return QStringLiteral("CtrlGraph/%1%2").arg(QLatin1String(name)).arg(row);
}

QString settingsFile()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("settings.ini"));
}

QString widthKey(int column)
{
    return QStringLiteral("CtrlGraph/ColWdh%1").arg(column);
}

} // namespace

void CtrlGraph2d::savePairs()
{
    m_project->setSetting(QStringLiteral("CtrlGraph/count"), int(m_definitions.size()));
    for (int i = 0; i < m_definitions.size(); ++i) {
        const GraphDefinition& d = m_definitions.at(i);
        m_project->setSetting(key("name", i), d.title);
        m_project->setSetting(key("idxX", i), d.xIndex);
        m_project->setSetting(key("idxY", i), d.yIndex);
        m_project->setSetting(key("scaleX", i), d.scaleX);
        m_project->setSetting(key("scaleY", i), d.scaleY);
        m_project->setSetting(key("enabled", i), d.enabled);
        m_project->setSetting(key("penStyle", i), d.penStyle);
        m_project->setSetting(key("width", i), d.width);
        m_project->setSetting(key("colorRed", i), d.color.red());
        m_project->setSetting(key("colorGreen", i), d.color.green());
        m_project->setSetting(key("colorBlue", i), d.color.blue());
    }
    m_project->setSetting(QStringLiteral("CtrlGraph/GridOn"), m_gridAction->isChecked());
    m_project->setSetting(QStringLiteral("CtrlGraph/LegendOn"), m_legendAction->isChecked());
}

void CtrlGraph2d::loadPairs()
{
    const int count = m_project->setting(QStringLiteral("CtrlGraph/count")).toInt();
    m_definitions.clear();
    for (int i = 0; i < count; ++i) {
        GraphDefinition d;
        d.title = m_project->setting(key("name", i)).toString();
        d.xIndex = m_project->setting(key("idxX", i)).toInt();
        d.yIndex = m_project->setting(key("idxY", i)).toInt();
        d.scaleX = m_project->setting(key("scaleX", i)).toFloat();
        d.scaleY = m_project->setting(key("scaleY", i)).toFloat();
        d.enabled = m_project->setting(key("enabled", i)).toBool();
        d.penStyle = m_project->setting(key("penStyle", i)).toInt();
        d.width = m_project->setting(key("width", i)).toInt();
        d.color = QColor(m_project->setting(key("colorRed", i)).toInt(),
                         m_project->setting(key("colorGreen", i)).toInt(),
                         m_project->setting(key("colorBlue", i)).toInt(), 255);
        m_definitions.append(d);
    }
    if (m_project->hasSetting(QStringLiteral("CtrlGraph/GridOn")))
        m_gridAction->setChecked(m_project->setting(QStringLiteral("CtrlGraph/GridOn")).toBool());
    if (m_project->hasSetting(QStringLiteral("CtrlGraph/LegendOn")))
        m_legendAction->setChecked(m_project->setting(QStringLiteral("CtrlGraph/LegendOn")).toBool());
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
