// The graph control panel: its table of definitions, the toolbar's actions
// and the export. The curves built from the definitions are in
// ctrlgraph2dcurves.cpp, the storage of the definitions and of the column
// widths in ctrlgraph2dsettings.cpp.

#include "ctrlgraph2d.h"

#include "actionrecipe.h"
#include "diagnostic.h"
#include "project.h"
#include "axiscontrols.h"
#include "colordelegate.h"
#include "combodelegate.h"
#include "graph2d.h"
#include "graphexport.h"
#include "linedelegate.h"
#include "scaledelegate.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QIcon>
#include <QImage>
#include <QMenu>
#include <QMessageBox>
#include <QStandardItemModel>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

Project* checkedProject(Project* project)
{
    if (!project)
        tFatal() << "CtrlGraph2d::CtrlGraph2d. Pointer to Project is not provided.";
    return project;
}

Graph2d* checkedPlot(Graph2d* plot)
{
    if (!plot)
        tFatal() << "CtrlGraph2d::CtrlGraph2d. Pointer to Graph2d is not provided.";
    return plot;
}

// Hues close to yellow are hard to see on the white plot.
constexpr int kYellow = 60;
constexpr int kHueStep = 62;
constexpr int kHueGap = 10;

int reduced(int hue)
{
    while (hue >= 360)
        hue -= 360;
    while (hue < 0)
        hue += 360;
    return hue;
}

bool near(int a, int b)
{
    const int d = std::abs(reduced(a) - reduced(b));
    return std::min(d, 360 - d) <= kHueGap;
}

QList<ComboDelegate::Item> widthItems()
{
    QList<ComboDelegate::Item> items;
    for (int width = 1; width <= 5; ++width)
        items.append({QStringLiteral("%1 px").arg(width), width});
    return items;
}

QList<ComboDelegate::Item> lineItems()
{
    return {{QStringLiteral("Solid"), 1},
            {QStringLiteral("Dash"), 2},
            {QStringLiteral("Dot"), 3},
            {QStringLiteral("Dash-Dot"), 4},
            {QStringLiteral("Dash-Dot-Dot"), 5}};
}

} // namespace

CtrlGraph2d::CtrlGraph2d(Project* project, Graph2d* plot, QWidget* parent)
    : QWidget(parent)
    , m_project(checkedProject(project))
    , m_plot(checkedPlot(plot))
{
    m_exportAction = ActionRecipe(QStringLiteral("Export Graph"))
                         .icon(QStringLiteral(":/images/filesave.png"))
                         .toolTip(tr("Export the current graph to a file"))
                         .shortcut(QStringLiteral("Alt+S"))
                         .data(1)
                         .make(this);
    m_gridAction = ActionRecipe(QStringLiteral("Grid off"))
                       .icon(QStringLiteral(":/images/grid.png"))
                       .toolTip(tr("Turn Grid on or off"))
                       .shortcut(QStringLiteral("Alt+G"))
                       .checkable()
                       .data(2)
                       .make(this);
    m_gridAction->setChecked(true);
    m_legendAction = ActionRecipe(QStringLiteral("Show Legend"))
                         .icon(QStringLiteral(":/images/insert-text-64.png"))
                         .toolTip(tr("Show or hide Legend"))
                         .shortcut(QStringLiteral("Alt+L"))
                         .checkable()
                         .data(3)
                         .make(this);
    m_addAction = ActionRecipe(QStringLiteral("Add Graph"))
                      .icon(QStringLiteral(":/images/add.png"))
                      .toolTip(tr("Add a graph to the image"))
                      .shortcut(QStringLiteral("Alt+A"))
                      .data(4)
                      .make(this);
    m_removeAction = ActionRecipe(QStringLiteral("Remove Graph"))
                         .icon(QStringLiteral(":/images/remove.png"))
                         .toolTip(tr("Remove current graph from the image"))
                         .shortcut(QStringLiteral("Alt+R"))
                         .data(5)
                         .make(this);
    m_markerAction = ActionRecipe(QStringLiteral("Ignition Marker"))
                         .icon(QStringLiteral(":/images/therm.png"))
                         .toolTip(tr("Mark the ignition delay on graphs over time"))
                         .shortcut(QStringLiteral("Alt+I"))
                         .checkable()
                         .data(6)
                         .make(this);
    m_markerAction->setChecked(true);
    // Connected after the initial check marks, which need no handling.
    for (QAction* action : {m_gridAction, m_legendAction})
        connect(action, &QAction::toggled, this, &CtrlGraph2d::actionToggled);
    connect(m_markerAction, &QAction::toggled, this, &CtrlGraph2d::updateGraphs);
    for (QAction* action : {m_exportAction, m_addAction, m_removeAction})
        connect(action, &QAction::triggered, this, &CtrlGraph2d::actionTriggered);

    m_toolBar = new QToolBar(QStringLiteral("Graph Controls"), this);
    m_toolBar->setIconSize(QSize(16, 16));
    m_toolBar->addAction(m_exportAction);
    m_toolBar->addSeparator();
    m_toolBar->addAction(m_gridAction);
    m_toolBar->addAction(m_legendAction);
    m_toolBar->addAction(m_markerAction);
    m_toolBar->addSeparator();
    m_toolBar->addAction(m_addAction);
    m_toolBar->addAction(m_removeAction);

    m_model = new QStandardItemModel(0, ColumnCount, this);
    m_model->setHorizontalHeaderLabels({QStringLiteral("Title"), QStringLiteral("X-Axis"), QStringLiteral("Y-Axis"),
                                        QStringLiteral("Width"), QStringLiteral("Line Type"), QStringLiteral("Scale X"),
                                        QStringLiteral("Scale Y"), QStringLiteral("Colour"), QStringLiteral("Axis")});

    m_xDelegate = new ComboDelegate(this);
    m_yDelegate = new ComboDelegate(this);
    m_widthDelegate = new ComboDelegate(this);
    m_lineTypeDelegate = new ComboDelegate(this);
    m_lineDelegate = new LineDelegate(this);
    m_lineTypeDelegate->setPopupDelegate(m_lineDelegate);
    m_colorDelegate = new ColorDelegate(this);
    m_scaleDelegate = new ScaleDelegate(this);
    m_axisDelegate = new ComboDelegate(this);
    m_axisDelegate->setItems({{QStringLiteral("Left"), 0}, {QStringLiteral("Right"), 1}}, QStringLiteral("<select>"));
    setFieldDelegates();

    m_view = new QTableView(this);
    m_view->setModel(m_model);
    m_view->verticalHeader()->hide();
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    m_view->setItemDelegateForColumn(XColumn, m_xDelegate);
    m_view->setItemDelegateForColumn(YColumn, m_yDelegate);
    m_view->setItemDelegateForColumn(WidthColumn, m_widthDelegate);
    m_view->setItemDelegateForColumn(LineColumn, m_lineTypeDelegate);
    m_view->setItemDelegateForColumn(ScaleXColumn, m_scaleDelegate);
    m_view->setItemDelegateForColumn(ScaleYColumn, m_scaleDelegate);
    m_view->setItemDelegateForColumn(ColourColumn, m_colorDelegate);
    m_view->setItemDelegateForColumn(AxisColumn, m_axisDelegate);

    m_axes = new AxisControls(this);
    connect(m_axes, &AxisControls::titleChanged, m_plot, &Graph2d::setAxisTitle);
    connect(m_axes, &AxisControls::logarithmicChanged, m_plot, &Graph2d::setLogarithmic);
    // The plot's context menu switches them too.
    connect(m_plot, &Graph2d::logarithmicChanged, m_axes, &AxisControls::setLogarithmic);

    m_tableMenu = new QMenu(this);
    m_tableMenu->addAction(m_addAction);
    m_tableMenu->addAction(m_removeAction);

    connect(m_view, &QWidget::customContextMenuRequested, this, &CtrlGraph2d::tableMenuRequested);
    connect(m_model, &QStandardItemModel::itemChanged, this, &CtrlGraph2d::modelDataChanged);
    connect(m_project, &Project::outDataUpdated, this, &CtrlGraph2d::updateData);
    connect(m_project, &Project::dataUpdated, this, &CtrlGraph2d::loadPairs);
    connect(m_project, &Project::aboutToSave, this, &CtrlGraph2d::savePairs);
    connect(m_project, &Scheme::extrasChanged, this, &CtrlGraph2d::readIgnitionDefinition);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_toolBar);
    layout->addWidget(m_axes);
    layout->addWidget(m_view);

    restoreTable();
    updateGraphs();
}

CtrlGraph2d::~CtrlGraph2d()
{
    // An editor still open commits while the view goes, after this panel's
    // definitions have gone: it must find no one listening.
    disconnect(m_model, nullptr, this, nullptr);
    saveTable();
}

int CtrlGraph2d::defaultColumnWidth(int column)
{
    static const int widths[ColumnCount] = {200, 110, 110, 70, 100, 70, 70, 70, 70};
    return column >= 0 && column < ColumnCount ? widths[column] : 100;
}

void CtrlGraph2d::setFieldDelegates()
{
    QList<ComboDelegate::Item> fields;
    for (const auto& field : std::as_const(m_fieldNames))
        fields.append({field.first, field.second});
    m_xDelegate->setItems(fields, QStringLiteral("<select a field>"));
    m_yDelegate->setItems(fields, QStringLiteral("<select a field>"));
    m_widthDelegate->setItems(widthItems(), QStringLiteral("<select>"));
    m_lineTypeDelegate->setItems(lineItems(), QStringLiteral("<select>"));
}

void CtrlGraph2d::updateTable()
{
    m_updating = true;
    m_model->setRowCount(int(m_definitions.size()));
    for (int row = 0; row < m_definitions.size(); ++row) {
        const GraphDefinition& definition = m_definitions.at(row);
        const bool missing = isMissing(definition);
        auto* title = new QStandardItem(definition.title);
        title->setCheckable(true);
        title->setCheckState(definition.enabled ? Qt::Checked : Qt::Unchecked);
        if (missing) {
            title->setForeground(QColor(170, 0, 0));
            title->setToolTip(QStringLiteral("A field of this graph is not in the output data."));
        }
        m_model->setItem(row, TitleColumn, title);
        auto cell = [this, row](int column, const QVariant& value) {
            auto* item = new QStandardItem;
            item->setData(value, Qt::EditRole);
            m_model->setItem(row, column, item);
            return item;
        };
        // A field is shown by name whatever the data: missing in dark red,
        // before the first run in grey.
        auto field = [&](int column, const QString& name) {
            QStandardItem* item = cell(column, fieldIndex(name));
            if (name.isEmpty() || fieldIndex(name) >= 0)
                return;
            const bool gone = !m_fieldNames.isEmpty();
            item->setData(gone ? QStringLiteral("%1 (missing)").arg(name) : name, ComboDelegate::UnmatchedTextRole);
            if (gone)
                item->setForeground(QColor(170, 0, 0));
        };
        field(XColumn, definition.xField);
        field(YColumn, definition.yField);
        cell(WidthColumn, definition.width)->setTextAlignment(Qt::AlignCenter);
        cell(LineColumn, definition.penStyle);
        cell(ScaleXColumn, double(definition.scaleX));
        cell(ScaleYColumn, double(definition.scaleY));
        cell(ColourColumn, definition.color);
        cell(AxisColumn, definition.axis);
    }
    m_updating = false;
}

void CtrlGraph2d::modelDataChanged(QStandardItem* item)
{
    if (m_updating || m_definitions.isEmpty() || !item)
        return;
    const int row = item->row();
    if (row < 0 || row >= m_definitions.size()) {
        updateTable();
        return;
    }
    GraphDefinition& definition = m_definitions[row];
    const QVariant value = item->data(Qt::EditRole);
    auto nameOf = [this](int index) {
        const OutputField* field = m_project->field(index);
        return field ? field->name : QString();
    };
    switch (item->column()) {
    case TitleColumn:
        definition.title = item->text();
        definition.enabled = item->checkState() == Qt::Checked;
        // A row without both fields, or with one the data lacks, draws
        // nothing: it is not ticked either.
        if (definition.enabled && !canDraw(definition)) {
            definition.enabled = false;
            m_updating = true;
            item->setCheckState(Qt::Unchecked);
            m_updating = false;
        }
        break;
    case XColumn:
        definition.xField = nameOf(value.toInt());
        break;
    case YColumn: {
        const QString old = definition.yField;
        definition.yField = nameOf(value.toInt());
        // A title that only said which field it was follows the field.
        if (definition.title == old || definition.title == GraphDefinition().title) {
            definition.title = definition.yField;
            m_updating = true;
            m_model->item(row, TitleColumn)->setText(definition.title);
            m_updating = false;
        }
        break;
    }
    case WidthColumn:
        definition.width = value.toInt();
        break;
    case LineColumn:
        definition.penStyle = value.toInt();
        break;
    case ScaleXColumn:
        definition.scaleX = value.toFloat();
        break;
    case ScaleYColumn:
        definition.scaleY = value.toFloat();
        break;
    case ColourColumn:
        definition.color = value.value<QColor>();
        break;
    case AxisColumn:
        definition.axis = value.toInt() == 1 ? 1 : 0;
        break;
    default:
        return;
    }
    updateGraphs();
}

int CtrlGraph2d::nextHue() const
{
    int h = reduced(int(m_definitions.size()) * kHueStep);
    for (int pass = 0; pass < 500; ++pass) {
        h = reduced(h);
        bool failed = false;
        if (near(h, kYellow))
            h += kHueStep;
        for (const GraphDefinition& definition : m_definitions) {
            // A grey has no hue (-1) to keep away from.
            const int hue = definition.color.hsvHue();
            if (hue >= 0 && near(h, hue)) {
                h += kHueStep;
                failed = true;
            }
        }
        if (!failed)
            break;
    }
    return reduced(h);
}

void CtrlGraph2d::addPair()
{
    m_definitions.append(newDefinition(QString()));
    updateTable();
    updateGraphs();
}

void CtrlGraph2d::removePair()
{
    const QModelIndex current = m_view->currentIndex();
    if (!current.isValid())
        return;
    const int row = current.row();
    if (row >= m_definitions.size()) {
        updateTable();
        return;
    }
    m_definitions.removeAt(row);
    updateTable();
    updateGraphs();
}

void CtrlGraph2d::actionTriggered()
{
    auto* action = qobject_cast<QAction*>(sender());
    if (!action)
        return;
    switch (action->data().toInt()) {
    case 1:
        exportGraph();
        break;
    case 4:
        addPair();
        break;
    case 5:
        removePair();
        break;
    default:
        break;
    }
}

void CtrlGraph2d::actionToggled(bool on)
{
    auto* action = qobject_cast<QAction*>(sender());
    if (!action)
        return;
    // The text names what the action does next.
    switch (action->data().toInt()) {
    case 2:
        action->setText(on ? QStringLiteral("Grid off") : QStringLiteral("Grid on"));
        m_plot->setGridOn(on);
        break;
    case 3:
        action->setText(on ? QStringLiteral("Hide Legend") : QStringLiteral("Show Legend"));
        m_plot->setLegendOn(on);
        break;
    default:
        break;
    }
}

bool CtrlGraph2d::exportImage(QImage* image) const
{
    *image = GraphExport::image(*m_plot);
    return !image->isNull();
}

void CtrlGraph2d::exportGraph()
{
    QMessageBox box(this);
    const QString proposed = QDir::homePath() + QStringLiteral("/untitled.png");
    const QString chosen = QFileDialog::getSaveFileName(this, tr("New Image Name"), proposed, GraphExport::filter());
    if (chosen.trimmed().isEmpty())
        return;
    // The file dialog of some platforms adds no extension: a name without
    // one becomes a PNG rather than a failure.
    const QString fileName = GraphExport::withSuffix(chosen);
    if (m_plot->graphs().isEmpty())
        return;
    if (GraphExport::write(*m_plot, fileName)) {
        box.setIcon(QMessageBox::Information);
        box.setText(QStringLiteral("Graph has been successfully saved."));
    } else {
        box.setIcon(QMessageBox::Warning);
        box.setText(QStringLiteral("Failed to save the graph!"));
    }
    box.setInformativeText(fileName);
    box.exec();
}

void CtrlGraph2d::tableMenuRequested(const QPoint& point)
{
    m_tableMenu->exec(m_view->viewport()->mapToGlobal(point));
}
