// The graph control panel: its table of definitions, the curves it gives
// the plot, the stored settings and column widths, grid, legend and export.

#include "celledit.h"
#include "messagecapture.h"
#include "axiscontrols.h"
#include "colordelegate.h"
#include "combodelegate.h"
#include "ctrlgraph2d.h"
#include "graph2d.h"
#include "graphexport.h"
#include "ignitiondelay.h"
#include "modalanswers.h"
#include "resultsfixture.h"
#include "scaledelegate.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QSettings>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <QtTest>

#include <cmath>

namespace {

QString settingsFile()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("settings.ini"));
}

// Fields t(s), F1, F2 over `steps` steps.
struct Panel
{
    // Results bring a first graph of their own (firstGraphAfterARun): the
    // panel starts without it, as the tests build their own.
    explicit Panel(int steps = 5)
        : plot()
        , panel(fixture.project.get(), &plot)
    {
        if (steps <= 0)
            return;
        fixture.setSteps(steps, 3);
        panel.view()->setCurrentIndex(panel.model()->index(0, 0));
        panel.removePair();
        if (!panel.definitions().isEmpty())
            qFatal("the first graph did not come, or did not go");
    }
    QStandardItem* item(int row, int column) const { return panel.model()->item(row, column); }
    // Sets a cell as the table's editors do.
    void edit(int row, int column, const QVariant& value)
    {
        panel.model()->setData(panel.model()->index(row, column), value, Qt::EditRole);
    }
    void tick(int row, bool on) { item(row, 0)->setCheckState(on ? Qt::Checked : Qt::Unchecked); }

    ResultsFixture fixture;
    Graph2d plot;
    CtrlGraph2d panel;
};

QStringList texts(const QList<QAction*>& actions)
{
    QStringList result;
    for (const QAction* action : actions)
        result << (action->isSeparator() ? QStringLiteral("|") : action->text());
    return result;
}

} // namespace

class TestCtrlGraph2d : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void construction();
    void actions();
    void hueSequence();
    void newDefinition();
    void tickingNeedsAField();
    void curvesFromDefinitions();
    void fieldNamesFollowTheData();
    void graphsFollowFieldNames();
    void firstGraphAfterARun();
    void settingsWrittenOnSave();
    void settingsReadOnDataUpdate();
    void gridAndLegend();
    void removePair();
    void exportImage();
    void exportFlow();
    void scaleCellsKeepTheirValue();
    void axesAndIgnitionMarker();
    void columnWidths();
    void sliderAndProfile();
};

void TestCtrlGraph2d::init()
{
    QFile::remove(settingsFile());
}

void TestCtrlGraph2d::construction()
{
    Panel p(0);
    QStandardItemModel* model = p.panel.model();
    QCOMPARE(model->columnCount(), 9);
    QStringList headers;
    for (int c = 0; c < 9; ++c)
        headers << model->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(headers,
             (QStringList{"Title", "X-Axis", "Y-Axis", "Width", "Line Type", "Scale X", "Scale Y", "Colour", "Axis"}));
    QTableView* view = p.panel.view();
    QVERIFY(view->verticalHeader()->isHidden());
    QCOMPARE(view->selectionMode(), QAbstractItemView::SingleSelection);
    QCOMPARE(view->contextMenuPolicy(), Qt::CustomContextMenu);
    QCOMPARE(view->itemDelegateForColumn(1), p.panel.xDelegate());
    QCOMPARE(view->itemDelegateForColumn(2), p.panel.yDelegate());
    QCOMPARE(view->itemDelegateForColumn(3), p.panel.widthDelegate());
    QCOMPARE(view->itemDelegateForColumn(4), p.panel.lineTypeDelegate());
    QCOMPARE(view->itemDelegateForColumn(5), p.panel.scaleDelegate());
    QCOMPARE(view->itemDelegateForColumn(6), p.panel.scaleDelegate());
    QCOMPARE(view->itemDelegateForColumn(7), p.panel.colorDelegate());
    QCOMPARE(view->itemDelegateForColumn(8), p.panel.axisDelegate());
    QCOMPARE(p.panel.axisDelegate()->items(), (QList<ComboDelegate::Item>{{"Left", 0}, {"Right", 1}}));
    QVERIFY(p.panel.lineTypeDelegate()->popupDelegate());
    QCOMPARE(p.panel.toolBar()->windowTitle(), QStringLiteral("Graph Controls"));
    QCOMPARE(p.panel.toolBar()->iconSize(), QSize(16, 16));
    QCOMPARE(texts(p.panel.toolBar()->actions()), (QStringList{"Export Graph", "|", "Grid off", "Show Legend",
                                                               "Ignition Marker", "|", "Add Graph", "Remove Graph"}));
    // Between the toolbar and the table, the axes' titles and scales.
    auto* layout = qobject_cast<QVBoxLayout*>(p.panel.layout());
    QCOMPARE(layout->itemAt(1)->widget(), p.panel.axisControls());
    QCOMPARE(texts(p.panel.tableMenu()->actions()), (QStringList{"Add Graph", "Remove Graph"}));
    QVERIFY(p.panel.definitions().isEmpty());
    QCOMPARE(p.panel.timeStep(), 0);
    QCOMPARE(p.panel.selectedProfile(), -1);

    // The width and line-type items, with their placeholder.
    const QList<ComboDelegate::Item> widths = p.panel.widthDelegate()->items();
    QCOMPARE(widths.size(), 5);
    QCOMPARE(widths.at(0), (ComboDelegate::Item{"1 px", 1}));
    QCOMPARE(widths.at(4), (ComboDelegate::Item{"5 px", 5}));
    QCOMPARE(p.panel.widthDelegate()->placeholder(), QStringLiteral("<select>"));
    const QList<ComboDelegate::Item> lines = p.panel.lineTypeDelegate()->items();
    QCOMPARE(lines, (QList<ComboDelegate::Item>{{"Solid", 1}, {"Dash", 2}, {"Dot", 3}, {"Dash-Dot", 4},
                                                  {"Dash-Dot-Dot", 5}}));
    QCOMPARE(p.panel.lineTypeDelegate()->placeholder(), QStringLiteral("<select>"));
}

void TestCtrlGraph2d::actions()
{
    Panel p(0);
    struct Row
    {
        QAction* action;
        const char* text;
        const char* icon;
        const char* tip;
        const char* key;
        bool checkable;
        bool checked;
        int data;
    };
    const Row rows[] = {
        {p.panel.exportAction(), "Export Graph", "filesave", "Export the current graph to a file", "Alt+S", false,
         false, 1},
        {p.panel.gridAction(), "Grid off", "grid", "Turn Grid on or off", "Alt+G", true, true, 2},
        {p.panel.legendAction(), "Show Legend", "insert-text-64", "Show or hide Legend", "Alt+L", true, false, 3},
        {p.panel.addGraphAction(), "Add Graph", "add", "Add a graph to the image", "Alt+A", false, false, 4},
        {p.panel.removeGraphAction(), "Remove Graph", "remove", "Remove current graph from the image", "Alt+R", false,
         false, 5},
        {p.panel.markerAction(), "Ignition Marker", "therm", "Mark the ignition delay on graphs over time", "Alt+I",
         true, true, 6},
    };
    for (const Row& s : rows) {
        QCOMPARE(s.action->text(), QString::fromLatin1(s.text));
        QCOMPARE(s.action->toolTip(), QString::fromLatin1(s.tip));
        QCOMPARE(s.action->shortcut().toString(), QString::fromLatin1(s.key));
        QCOMPARE(s.action->isCheckable(), s.checkable);
        QCOMPARE(s.action->isChecked(), s.checked);
        QCOMPARE(s.action->data().toInt(), s.data);
        QVERIFY2(!s.action->icon().isNull(), s.icon);
    }
    QVERIFY(p.plot.gridOn());
    QVERIFY(!p.plot.legendOn());
}

void TestCtrlGraph2d::hueSequence()
{
    Panel p(0);
    for (int i = 0; i < 5; ++i)
        p.panel.addGraphAction()->trigger();
    QList<int> hues;
    for (const GraphDefinition& d : p.panel.definitions()) {
        hues << d.color.hsvHue();
        QCOMPARE(d.color.hsvSaturation(), 255);
        QCOMPARE(d.color.value(), 255);
        QCOMPARE(d.color.alpha(), 255);
    }
    QCOMPARE(hues, (QList<int>{0, 124, 186, 248, 310}));
    // The sixth at 12: 310 + 62 wraps round, clear of red by more than 10.
    p.panel.addPair();
    QCOMPARE(p.panel.definitions().last().color.hsvHue(), 12);
    QCOMPARE(p.panel.model()->rowCount(), 6);
}

void TestCtrlGraph2d::newDefinition()
{
    // With data: X the time, Y the next field not yet plotted, the title its
    // name, ticked and drawn at once.
    Panel p;
    p.panel.addPair();
    const GraphDefinition& d = p.panel.definitions().at(0);
    QCOMPARE(d.title, QStringLiteral("F1"));
    QCOMPARE(d.xField, QStringLiteral("t(s)"));
    QCOMPARE(d.yField, QStringLiteral("F1"));
    QCOMPARE(d.scaleX, 1.0f);
    QCOMPARE(d.scaleY, 1.0f);
    QVERIFY(d.enabled);
    QCOMPARE(d.penStyle, 1);
    QCOMPARE(d.width, 1);
    QCOMPARE(p.plot.graphs().size(), 1);
    QCOMPARE(p.plot.graphs().at(0).y, &p.fixture.project->field(1)->values);

    QStandardItem* title = p.item(0, 0);
    QVERIFY(title->isCheckable());
    QCOMPARE(title->checkState(), Qt::Checked);
    QCOMPARE(title->text(), QStringLiteral("F1"));
    QCOMPARE(p.item(0, 1)->data(Qt::EditRole).toInt(), 0);
    QCOMPARE(p.item(0, 2)->data(Qt::EditRole).toInt(), 1);
    QCOMPARE(p.item(0, 3)->data(Qt::EditRole).toInt(), 1);
    QCOMPARE(p.item(0, 3)->textAlignment(), Qt::AlignCenter);
    QCOMPARE(p.item(0, 4)->data(Qt::EditRole).toInt(), 1);
    QCOMPARE(p.item(0, 5)->data(Qt::EditRole).typeId(), int(QMetaType::Double));
    QCOMPARE(p.item(0, 5)->data(Qt::EditRole).toDouble(), 1.0);
    QCOMPARE(p.item(0, 6)->data(Qt::EditRole).toDouble(), 1.0);
    QCOMPARE(p.item(0, 7)->data(Qt::EditRole).value<QColor>(), QColor::fromHsv(0, 255, 255));

    p.panel.addPair();
    QCOMPARE(p.panel.definitions().at(1).yField, QStringLiteral("F2"));
    // Every field plotted: the third has no Y, and is neither ticked nor drawn.
    p.panel.addPair();
    const GraphDefinition& third = p.panel.definitions().at(2);
    QCOMPARE(third.xField, QStringLiteral("t(s)"));
    QCOMPARE(third.yField, QString());
    QCOMPARE(third.title, QStringLiteral("New Graph"));
    QVERIFY(!third.enabled);
    QCOMPARE(p.item(2, 0)->checkState(), Qt::Unchecked);
    QCOMPARE(p.plot.graphs().size(), 2);
    QCOMPARE(p.panel.yDelegate()->textFor(p.item(2, 2)->data(Qt::EditRole).toInt()),
             QStringLiteral("<select a field>"));

    // Without data: nothing to choose from, nothing ticked; the empty plot
    // says how to start.
    Panel none(0);
    QCOMPARE(none.plot.placeholderText(), QStringLiteral("Add a graph (Alt+A)"));
    none.panel.addGraphAction()->trigger();
    QCOMPARE(none.panel.definitions().at(0).xField, QString());
    QCOMPARE(none.panel.definitions().at(0).title, QStringLiteral("New Graph"));
    QVERIFY(!none.panel.definitions().at(0).enabled);
    QCOMPARE(none.plot.placeholderText(), QString());
}
void TestCtrlGraph2d::tickingNeedsAField()
{
    Panel p(0);
    p.panel.addPair();
    p.fixture.setSteps(5, 3);
    // Data came, but a graph was there: no default one.
    QCOMPARE(p.panel.definitions().size(), 1);
    p.tick(0, true);
    QCOMPARE(p.item(0, 0)->checkState(), Qt::Unchecked);
    QVERIFY(!p.panel.definitions().at(0).enabled);

    // An X field alone is not enough either.
    p.edit(0, 1, 0);
    QCOMPARE(p.panel.definitions().at(0).xField, QStringLiteral("t(s)"));
    p.tick(0, true);
    QCOMPARE(p.item(0, 0)->checkState(), Qt::Unchecked);
    // A Y field beyond the data's is none.
    p.edit(0, 2, 9);
    QCOMPARE(p.panel.definitions().at(0).yField, QString());
    p.tick(0, true);
    QCOMPARE(p.item(0, 0)->checkState(), Qt::Unchecked);

    // Choosing Y names the graph after it, as long as the title only ever
    // named its field.
    p.edit(0, 2, 1);
    QCOMPARE(p.panel.definitions().at(0).title, QStringLiteral("F1"));
    QCOMPARE(p.item(0, 0)->text(), QStringLiteral("F1"));
    p.tick(0, true);
    QCOMPARE(p.item(0, 0)->checkState(), Qt::Checked);
    QVERIFY(p.panel.definitions().at(0).enabled);
    QCOMPARE(p.plot.graphs().size(), 1);
    p.edit(0, 2, 2);
    QCOMPARE(p.item(0, 0)->text(), QStringLiteral("F2"));

    // A title typed in the cell stays when Y changes.
    p.item(0, 0)->setText(QStringLiteral("Temperature"));
    QCOMPARE(p.panel.definitions().at(0).title, QStringLiteral("Temperature"));
    QCOMPARE(p.plot.graphs().at(0).title, QStringLiteral("Temperature"));
    p.edit(0, 2, 1);
    QCOMPARE(p.panel.definitions().at(0).title, QStringLiteral("Temperature"));
    QCOMPARE(p.plot.graphs().at(0).yName, QStringLiteral("F1"));
    QCOMPARE(p.plot.graphs().at(0).xName, QStringLiteral("t(s)"));
}
void TestCtrlGraph2d::curvesFromDefinitions()
{
    Panel p;
    p.panel.addPair();
    p.panel.addPair();
    p.tick(1, false);
    p.edit(0, 3, 3);
    p.edit(0, 4, 2);
    p.edit(0, 5, 2.5);
    p.edit(0, 6, 0.5);
    p.edit(0, 7, QColor(10, 20, 30));

    QCOMPARE(p.plot.graphs().size(), 1);
    const PlotGraph& graph = p.plot.graphs().at(0);
    // The project's own vectors, not copies.
    QCOMPARE(graph.x, &p.fixture.project->field(0)->values);
    QCOMPARE(graph.y, &p.fixture.project->field(1)->values);
    QCOMPARE(graph.scaleX, 2.5f);
    QCOMPARE(graph.scaleY, 0.5f);
    QCOMPARE(graph.pen.color(), QColor(10, 20, 30));
    QCOMPARE(graph.pen.style(), Qt::DashLine);
    QCOMPARE(graph.pen.width(), 3);
    QCOMPARE(graph.pen.capStyle(), Qt::RoundCap);
    QCOMPARE(graph.pen.joinStyle(), Qt::RoundJoin);
    QCOMPARE(graph.title, QStringLiteral("F1"));
    // All steps on show: no time in the legend.
    QCOMPARE(p.plot.caption(), QString());

    p.tick(1, true);
    QCOMPARE(p.plot.graphs().size(), 2);
    QCOMPARE(p.plot.graphs().at(1).y, &p.fixture.project->field(2)->values);

    // A new run empties the data: no curves, nothing kept of them.
    {
        const QSignalBlocker quiet(p.fixture.project.get());
        p.fixture.project->clear();
    }
    emit p.fixture.project->outDataUpdated();
    QVERIFY(p.plot.graphs().isEmpty());
    QVERIFY(p.panel.fieldNames().isEmpty());
    // The definitions stay, ticked, and draw again when the fields come back.
    QCOMPARE(p.panel.definitions().size(), 2);
    QVERIFY(p.panel.definitions().at(1).enabled);
    p.fixture.setSteps(4, 3);
    QCOMPARE(p.plot.graphs().size(), 2);
    QCOMPARE(p.plot.graphs().at(0).x, &p.fixture.project->field(0)->values);

    // A new project brings its own definitions (here: none).
    p.fixture.project->clear();
    QVERIFY(p.panel.definitions().isEmpty());
    QCOMPARE(p.panel.model()->rowCount(), 0);
}
void TestCtrlGraph2d::fieldNamesFollowTheData()
{
    Panel p(0);
    MessageCapture capture;
    p.fixture.setSteps(3, 3);
    QVERIFY(capture.lines().contains(QStringLiteral("INF Graph update, fields n= 3 ")));
    QCOMPARE(p.panel.fieldNames(), (QList<QPair<QString, int>>{{"t(s)", 0}, {"F1", 1}, {"F2", 2}}));
    const QList<ComboDelegate::Item> items = p.panel.xDelegate()->items();
    QCOMPARE(items.size(), 3);
    QCOMPARE(items.at(1), (ComboDelegate::Item{"F1", 1}));
    QCOMPARE(p.panel.yDelegate()->items(), items);
    QCOMPARE(p.panel.xDelegate()->placeholder(), QStringLiteral("<select a field>"));
    QCOMPARE(p.panel.yDelegate()->placeholder(), QStringLiteral("<select a field>"));

    // Other columns: the list is the data's, names and places, every time.
    p.fixture.setData({"time", "A", "B", "C"}, {{1, 2, 3, 4}});
    QCOMPARE(p.panel.fieldNames(), (QList<QPair<QString, int>>{{"time", 0}, {"A", 1}, {"B", 2}, {"C", 3}}));
    p.fixture.setData({"x", "y"}, {{1, 2}});
    QCOMPARE(p.panel.fieldNames(), (QList<QPair<QString, int>>{{"x", 0}, {"y", 1}}));
    QCOMPARE(p.panel.xDelegate()->items().size(), 2);
}

void TestCtrlGraph2d::graphsFollowFieldNames()
{
    // Graphs are stored by field name and found by name at every update:
    // after a run whose columns differ, "H2" still plots H2.
    Panel p(0);
    p.fixture.setData({"t(s)", "T(K)", "H2", "O2"}, ResultsFixture::rows(3, 4));
    p.panel.addPair(); // H2, after the default T(K)
    QCOMPARE(p.panel.definitions().at(1).yField, QStringLiteral("H2"));
    p.fixture.setData({"t(s)", "T(K)", "AR", "O2", "H2"}, ResultsFixture::rows(3, 5));
    QCOMPARE(p.plot.graphs().size(), 2);
    QCOMPARE(p.plot.graphs().at(1).title, QStringLiteral("H2"));
    QCOMPARE(p.plot.graphs().at(1).y, &p.fixture.project->field(4)->values);
    QCOMPARE(p.item(1, 2)->data(Qt::EditRole).toInt(), 4);

    // A field gone: the graph stays, unticked, marked missing.
    p.fixture.setData({"t(s)", "T(K)", "O2"}, ResultsFixture::rows(3, 3));
    QCOMPARE(p.panel.definitions().size(), 2);
    QVERIFY(!p.panel.definitions().at(1).enabled);
    QCOMPARE(p.item(1, 0)->checkState(), Qt::Unchecked);
    QCOMPARE(p.item(1, 2)->data(Qt::EditRole).toInt(), -1);
    QCOMPARE(p.item(1, 2)->data(ComboDelegate::UnmatchedTextRole).toString(), QStringLiteral("H2 (missing)"));
    QCOMPARE(p.item(1, 0)->foreground().color(), QColor(170, 0, 0));
    QCOMPARE(p.plot.graphs().size(), 1);
    p.tick(1, true);
    QCOMPARE(p.item(1, 0)->checkState(), Qt::Unchecked);
    // While a run starts (no data at all) nothing is missing or unticked.
    p.fixture.setData({}, {});
    QVERIFY(p.panel.definitions().at(0).enabled);
    QCOMPARE(p.item(1, 2)->data(ComboDelegate::UnmatchedTextRole).toString(), QStringLiteral("H2"));

    // A project stored by field indices: each index is the field of that
    // place in the output data saved with the project.
    Project* project = p.fixture.project.get();
    p.fixture.setData({"t(s)", "T(K)", "H2"}, ResultsFixture::rows(3, 3));
    QVERIFY(project->setSettings({{"CtrlGraph/count", 1},
                                  {"CtrlGraph/name0", QStringLiteral("old")},
                                  {"CtrlGraph/idxX0", 0},
                                  {"CtrlGraph/idxY0", 2},
                                  {"CtrlGraph/enabled0", true}}));
    emit project->dataUpdated();
    QCOMPARE(p.panel.definitions().size(), 1);
    QCOMPARE(p.panel.definitions().at(0).xField, QStringLiteral("t(s)"));
    QCOMPARE(p.panel.definitions().at(0).yField, QStringLiteral("H2"));
    QVERIFY(p.panel.definitions().at(0).enabled);
    // Missing factors, line style and width read as what draws a curve.
    QCOMPARE(p.panel.definitions().at(0).scaleY, 1.0f);
    QCOMPARE(p.panel.definitions().at(0).penStyle, 1);
    QCOMPARE(p.panel.definitions().at(0).width, 1);
    QCOMPARE(p.plot.graphs().size(), 1);

    // A damaged count reads no more definitions than there are settings.
    QVERIFY(project->setSettings({{"CtrlGraph/count", 2147483647}}));
    emit project->dataUpdated();
    QVERIFY(p.panel.definitions().size() <= project->settings().size());
}

void TestCtrlGraph2d::firstGraphAfterARun()
{
    // Results arrive and the project has no graph: temperature over time.
    Panel p(0);
    QVERIFY(p.panel.definitions().isEmpty());
    p.fixture.setData({"t(s)", "P(bar)", "T(K)", "OH"}, ResultsFixture::rows(4, 4));
    QCOMPARE(p.panel.definitions().size(), 1);
    QCOMPARE(p.panel.definitions().at(0).xField, QStringLiteral("t(s)"));
    QCOMPARE(p.panel.definitions().at(0).yField, QStringLiteral("T(K)"));
    QCOMPARE(p.panel.definitions().at(0).title, QStringLiteral("T(K)"));
    QCOMPARE(p.plot.graphs().size(), 1);
    QCOMPARE(p.plot.placeholderText(), QString());
    // Removed by the user, it is not forced back while the data grows...
    p.panel.view()->setCurrentIndex(p.panel.model()->index(0, 0));
    p.panel.removePair();
    emit p.fixture.project->outDataUpdated();
    QVERIFY(p.panel.definitions().isEmpty());
    QCOMPARE(p.plot.placeholderText(), QStringLiteral("Add a graph (Alt+A)"));
    // ...but the next run's results bring it back...
    Project* project = p.fixture.project.get();
    {
        const QSignalBlocker quiet(project);
        project->clear();
    }
    emit project->outDataUpdated(); // a run starts: no data yet
    p.fixture.setData({"t(s)", "T(K)"}, ResultsFixture::rows(2, 2));
    QCOMPARE(p.panel.definitions().size(), 1);
    QCOMPARE(p.panel.definitions().at(0).yField, QStringLiteral("T(K)"));
    // ...as a project loaded with results and no graphs gets it.
    p.panel.view()->setCurrentIndex(p.panel.model()->index(0, 0));
    p.panel.removePair();
    emit project->dataUpdated();
    QCOMPARE(p.panel.definitions().size(), 1);
}

void TestCtrlGraph2d::settingsWrittenOnSave()
{
    Panel p;
    p.panel.addPair();
    p.panel.addPair();
    p.panel.addPair();
    p.item(1, 0)->setText(QStringLiteral("second"));
    p.edit(1, 1, 0);
    p.edit(1, 2, 2);
    p.edit(1, 3, 4);
    p.edit(1, 4, 5);
    p.edit(1, 5, 0.25);
    p.edit(1, 6, 3.0);
    p.edit(1, 7, QColor(1, 2, 3));
    p.panel.legendAction()->setChecked(true);
    Project* project = p.fixture.project.get();
    emit project->aboutToSave();
    // In one batch: one change of the store (the first save made it).
    QSignalSpy changed(project, &Scheme::changed);
    emit project->aboutToSave();
    QCOMPARE(changed.count(), 1);

    // Fields by name, and by place for earlier versions; a field not chosen
    // is an empty name and place -1.
    QList<std::pair<QString, QVariant>> expected = {{"CtrlGraph/count", 3}};
    auto row = [&](int i, const QString& title, const QString& x, const QString& y, int xAt, int yAt, float sx,
                   float sy, bool on, int style, int width, QColor colour) {
        const QString n = QString::number(i);
        expected.append({{"CtrlGraph/name" + n, title},
                         {"CtrlGraph/fieldX" + n, x},
                         {"CtrlGraph/fieldY" + n, y},
                         {"CtrlGraph/idxX" + n, xAt},
                         {"CtrlGraph/idxY" + n, yAt},
                         {"CtrlGraph/scaleX" + n, sx},
                         {"CtrlGraph/scaleY" + n, sy},
                         {"CtrlGraph/enabled" + n, on},
                         {"CtrlGraph/penStyle" + n, style},
                         {"CtrlGraph/width" + n, width},
                         {"CtrlGraph/colorRed" + n, colour.red()},
                         {"CtrlGraph/colorGreen" + n, colour.green()},
                         {"CtrlGraph/colorBlue" + n, colour.blue()},
                         {"CtrlGraph/axis" + n, 0}});
    };
    row(0, "F1", "t(s)", "F1", 0, 1, 1.0f, 1.0f, true, 1, 1, QColor(255, 0, 0));
    row(1, "second", "t(s)", "F2", 0, 2, 0.25f, 3.0f, true, 5, 4, QColor(1, 2, 3));
    row(2, "New Graph", "t(s)", "", 0, -1, 1.0f, 1.0f, false, 1, 1, QColor::fromHsv(186, 255, 255));
    expected.append({{"CtrlGraph/GridOn", true},
                     {"CtrlGraph/LegendOn", true},
                     {"CtrlGraph/IgnitionMarker", true},
                     {"CtrlGraph/LogX", false},
                     {"CtrlGraph/TitleX", QString()},
                     {"CtrlGraph/LogY", false},
                     {"CtrlGraph/TitleY", QString()},
                     {"CtrlGraph/LogY2", false},
                     {"CtrlGraph/TitleY2", QString()}});
    QCOMPARE(project->settings(), expected);
    for (const auto& pair : expected)
        QCOMPARE(project->setting(pair.first).typeId(), pair.second.typeId());
}

void TestCtrlGraph2d::settingsReadOnDataUpdate()
{
    Panel p;
    Project* project = p.fixture.project.get();
    {
        // A project that never stored graphs has no store: no definitions
        // but the first one of its results, and no warning about the
        // missing store at every new project.
        MessageCapture capture;
        project->removeExtra(QStringLiteral("SETTINGS"));
        emit project->dataUpdated();
        QCOMPARE(p.panel.definitions().size(), 1);
        QCOMPARE(p.panel.definitions().at(0).yField, QStringLiteral("F1"));
        for (const QString& line : capture.lines())
            QVERIFY2(!line.startsWith(QLatin1String("WRN")), qPrintable(line));
    }
    QVERIFY(project->setSetting(QStringLiteral("CtrlGraph/count"), 2));
    QVERIFY(project->setSetting(QStringLiteral("CtrlGraph/name0"), QStringLiteral("T")));
    QVERIFY(project->setSetting(QStringLiteral("CtrlGraph/fieldX0"), QStringLiteral("t(s)")));
    QVERIFY(project->setSetting(QStringLiteral("CtrlGraph/fieldY0"), QStringLiteral("F2")));
    // A stale place: the name wins.
    QVERIFY(project->setSetting(QStringLiteral("CtrlGraph/idxY0"), 1));
    QVERIFY(project->setSetting(QStringLiteral("CtrlGraph/scaleX0"), 1.5f));
    QVERIFY(project->setSetting(QStringLiteral("CtrlGraph/scaleY0"), 2.0f));
    QVERIFY(project->setSetting(QStringLiteral("CtrlGraph/enabled0"), true));
    QVERIFY(project->setSetting(QStringLiteral("CtrlGraph/penStyle0"), 3));
    QVERIFY(project->setSetting(QStringLiteral("CtrlGraph/width0"), 2));
    QVERIFY(project->setSetting(QStringLiteral("CtrlGraph/colorRed0"), 0));
    QVERIFY(project->setSetting(QStringLiteral("CtrlGraph/colorGreen0"), 100));
    QVERIFY(project->setSetting(QStringLiteral("CtrlGraph/colorBlue0"), 200));
    QVERIFY(project->setSetting(QStringLiteral("CtrlGraph/LegendOn"), true));
    emit project->dataUpdated();

    const QList<GraphDefinition>& d = p.panel.definitions();
    QCOMPARE(d.size(), 2);
    QCOMPARE(d.at(0).title, QStringLiteral("T"));
    QCOMPARE(d.at(0).xField, QStringLiteral("t(s)"));
    QCOMPARE(d.at(0).yField, QStringLiteral("F2"));
    QCOMPARE(d.at(0).scaleX, 1.5f);
    QCOMPARE(d.at(0).scaleY, 2.0f);
    QVERIFY(d.at(0).enabled);
    QCOMPARE(d.at(0).penStyle, 3);
    QCOMPARE(d.at(0).width, 2);
    QCOMPARE(d.at(0).color, QColor(0, 100, 200, 255));
    // Row 1 has no keys: no title, no fields, not ticked, opaque black; but
    // factors of 1 and a solid line of 1 pixel, which draw a curve.
    QCOMPARE(d.at(1).title, QString());
    QCOMPARE(d.at(1).xField, QString());
    QCOMPARE(d.at(1).yField, QString());
    QCOMPARE(d.at(1).scaleX, 1.0f);
    QCOMPARE(d.at(1).scaleY, 1.0f);
    QVERIFY(!d.at(1).enabled);
    QCOMPARE(d.at(1).penStyle, 1);
    QCOMPARE(d.at(1).width, 1);
    QCOMPARE(d.at(1).color, QColor(0, 0, 0, 255));
    QCOMPARE(p.panel.model()->rowCount(), 2);
    QCOMPARE(p.item(0, 0)->checkState(), Qt::Checked);
    QCOMPARE(p.item(0, 0)->text(), QStringLiteral("T"));
    QCOMPARE(p.plot.graphs().size(), 1);
    QCOMPARE(p.plot.graphs().at(0).pen.style(), Qt::DotLine);
    QCOMPARE(p.plot.graphs().at(0).y, &p.fixture.project->field(2)->values);

    // No "CtrlGraph/GridOn": the grid stays as it is.
    QVERIFY(p.panel.gridAction()->isChecked());
    p.panel.gridAction()->setChecked(false);
    emit project->dataUpdated();
    QVERIFY(!p.panel.gridAction()->isChecked());
    QVERIFY(!p.plot.gridOn());
    QVERIFY(p.panel.legendAction()->isChecked());
    QCOMPARE(p.panel.legendAction()->text(), QStringLiteral("Hide Legend"));
    QVERIFY(p.plot.legendOn());

    // Saved and read back, the definitions are the same.
    const QList<GraphDefinition> before = p.panel.definitions();
    emit project->aboutToSave();
    emit project->dataUpdated();
    QCOMPARE(p.panel.definitions().size(), before.size());
    QCOMPARE(p.panel.definitions().at(0).color, before.at(0).color);
    QCOMPARE(project->setting(QStringLiteral("CtrlGraph/GridOn")), QVariant(false));
}

void TestCtrlGraph2d::gridAndLegend()
{
    Panel p(0);
    p.panel.gridAction()->toggle();
    QCOMPARE(p.panel.gridAction()->text(), QStringLiteral("Grid on"));
    QVERIFY(!p.plot.gridOn());
    p.panel.gridAction()->toggle();
    QCOMPARE(p.panel.gridAction()->text(), QStringLiteral("Grid off"));
    QVERIFY(p.plot.gridOn());
    p.panel.legendAction()->toggle();
    QCOMPARE(p.panel.legendAction()->text(), QStringLiteral("Hide Legend"));
    QVERIFY(p.plot.legendOn());
    p.panel.legendAction()->toggle();
    QCOMPARE(p.panel.legendAction()->text(), QStringLiteral("Show Legend"));
    QVERIFY(!p.plot.legendOn());
}

void TestCtrlGraph2d::removePair()
{
    Panel p;
    for (int i = 0; i < 3; ++i)
        p.panel.addPair();
    p.item(1, 0)->setText(QStringLiteral("middle"));
    // No current row: nothing.
    p.panel.removeGraphAction()->trigger();
    QCOMPARE(p.panel.definitions().size(), 3);
    p.panel.view()->setCurrentIndex(p.panel.model()->index(1, 2));
    p.panel.removeGraphAction()->trigger();
    QCOMPARE(p.panel.definitions().size(), 2);
    QCOMPARE(p.panel.model()->rowCount(), 2);
    QCOMPARE(p.panel.definitions().at(0).title, QStringLiteral("F1"));
    QCOMPARE(p.panel.definitions().at(1).title, QStringLiteral("New Graph"));
    QCOMPARE(p.plot.graphs().size(), 1);
}

void TestCtrlGraph2d::exportImage()
{
    Panel p;
    QImage image;
    // Nothing to draw: nothing to save.
    QVERIFY(!p.panel.exportImage(&image));
    p.panel.addPair();
    QVERIFY(p.panel.exportImage(&image));
    QCOMPARE(image.size(), QSize(800, 450));
    QCOMPARE(image.format(), QImage::Format_ARGB32);
    // No unpainted last row or column.
    for (int x = 0; x < 800; ++x)
        QCOMPARE(image.pixel(x, 449), qRgb(255, 255, 255));
    for (int y = 0; y < 450; ++y)
        QCOMPARE(image.pixel(799, y), qRgb(255, 255, 255));
    // The curve, in its generated red.
    int red = 0;
    for (int y = 0; y < 450; ++y)
        for (int x = 0; x < 800; ++x)
            red += qRed(image.pixel(x, y)) > 200 && qGreen(image.pixel(x, y)) < 80 ? 1 : 0;
    QVERIFY(red > 100);
}

void TestCtrlGraph2d::exportFlow()
{
    Panel p;
    p.panel.addPair();
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // The formats offered are those this Qt can write.
    QStringList patterns;
    for (const QByteArray& format : QImageWriter::supportedImageFormats())
        patterns << QStringLiteral("*.") + QString::fromLatin1(format).toLower();
    QVERIFY(GraphExport::filter().startsWith(QStringLiteral("Images (*.png ")));
    for (const QString& pattern : patterns)
        QVERIFY2(GraphExport::filter().contains(pattern + QLatin1Char(' '))
                     || GraphExport::filter().contains(pattern + QLatin1Char(')')),
                 qPrintable(pattern));
    if (!QImageWriter::supportedImageFormats().contains("tiff"))
        QVERIFY(!GraphExport::filter().contains(QStringLiteral("*.tiff")));

    ModalAnswers answers;
    answers.add(ModalAnswers::chooseFile(dir.filePath(QStringLiteral("graph.png"))));
    answers.add(ModalAnswers::press(QMessageBox::Ok));
    p.panel.exportAction()->trigger();
    QCOMPARE(answers.seen().size(), 2);
    QCOMPARE(answers.seen().at(0).title, QStringLiteral("New Image Name"));
    QCOMPARE(answers.seen().at(0).selected, QDir::homePath() + QStringLiteral("/untitled.png"));
    QCOMPARE(answers.seen().at(0).filters, QStringList{GraphExport::filter()});
    QCOMPARE(answers.seen().at(1).text, QStringLiteral("Graph has been successfully saved."));
    QCOMPARE(answers.seen().at(1).informativeText, dir.filePath(QStringLiteral("graph.png")));
    QCOMPARE(QImage(dir.filePath(QStringLiteral("graph.png"))).size(), QSize(800, 450));

    // A name without an extension becomes a PNG.
    ModalAnswers plain;
    plain.add(ModalAnswers::chooseFile(dir.filePath(QStringLiteral("figure"))));
    plain.add(ModalAnswers::press(QMessageBox::Ok));
    p.panel.exportAction()->trigger();
    QCOMPARE(plain.seen().value(1).informativeText, dir.filePath(QStringLiteral("figure.png")));
    QCOMPARE(QImageReader(dir.filePath(QStringLiteral("figure.png"))).format(), QByteArray("png"));
    // One this Qt cannot write fails, and says so.
    ModalAnswers odd;
    odd.add(ModalAnswers::chooseFile(dir.filePath(QStringLiteral("figure.xyz"))));
    odd.add(ModalAnswers::press(QMessageBox::Ok));
    p.panel.exportAction()->trigger();
    QCOMPARE(odd.seen().value(1).text, QStringLiteral("Failed to save the graph!"));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("figure.xyz"))));
}

void TestCtrlGraph2d::scaleCellsKeepTheirValue()
{
    // Opening and closing a scale cell in the panel's own view leaves 0.001
    // as it was; a number in scientific notation is taken, 0 is not.
    Panel p;
    p.panel.addPair();
    p.edit(0, 5, 0.001);
    QCOMPARE(p.panel.definitions().at(0).scaleX, 0.001f);
    p.panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p.panel));
    QTableView* view = p.panel.view();
    auto type = [&](int column, const QString* text) {
        return CellEdit::type(view, p.panel.model()->index(0, column), text);
    };
    QCOMPARE(type(5, nullptr), QStringLiteral("0.001"));
    QCOMPARE(p.panel.definitions().at(0).scaleX, 0.001f);
    QCOMPARE(p.plot.graphs().at(0).scaleX, 0.001f);
    const QString scientific = QStringLiteral("2.5E-7");
    type(6, &scientific);
    QCOMPARE(p.panel.definitions().at(0).scaleY, 2.5e-7f);
    const QString zero = QStringLiteral("0");
    type(6, &zero);
    QCOMPARE(p.panel.definitions().at(0).scaleY, 2.5e-7f);
    QVERIFY(!p.plot.graphs().isEmpty());
}

void TestCtrlGraph2d::axesAndIgnitionMarker()
{
    // An ignition at 2.177e-4 s, and OH peaking at 2.3e-4 s.
    Panel p(0);
    QList<QList<float>> rows;
    for (int i = 0; i < 400; ++i) {
        const double t = i * 1e-6;
        rows.append({float(t), float(1000.0 + 1500.0 / (1.0 + std::exp(-(t - 2.177e-4) / 4e-6))),
                     float(1e-2 * std::exp(-std::pow((t - 2.3e-4) / 2e-5, 2)))});
    }
    p.fixture.setData({"t(s)", "T(K)", "OH"}, rows);
    Project* project = p.fixture.project.get();
    const double ignition = IgnitionDelay::compute(project->outData(), project->timefield(), IgnitionDefinition()).time;
    QVERIFY(std::fabs(ignition - 2.177e-4) < 1e-7);
    // A dashed marker on the graph over time, at the delay as its X scale
    // puts it.
    QCOMPARE(p.plot.markers(), (QList<PlotMarker>{{ignition, "ignition"}}));
    p.edit(0, CtrlGraph2d::ScaleXColumn, 1000.0);
    QCOMPARE(p.plot.markers(), (QList<PlotMarker>{{1000.0 * ignition, "ignition"}}));
    // A graph over another field has none.
    p.panel.addPair();
    p.edit(1, CtrlGraph2d::XColumn, 1);
    QCOMPARE(p.plot.markers().size(), 1);
    p.tick(0, false);
    QVERIFY(p.plot.markers().isEmpty());
    p.tick(0, true);
    // The results page's definition moves it.
    QVERIFY(project->setSetting(QStringLiteral("Ignition/definition"), QStringLiteral("peak:OH")));
    QCOMPARE(p.panel.ignitionDefinition().toString(), QStringLiteral("peak:OH"));
    QVERIFY(std::fabs(p.plot.markers().value(0).x - 1000.0 * 2.3e-4) < 1e-4);
    // Switched off.
    p.panel.markerAction()->setChecked(false);
    QVERIFY(p.plot.markers().isEmpty());

    // A curve on the right axis, as the Axis column says.
    p.edit(1, CtrlGraph2d::YColumn, 2);
    p.edit(1, CtrlGraph2d::AxisColumn, 1);
    QCOMPARE(p.panel.definitions().at(1).axis, 1);
    QCOMPARE(p.plot.graphs().at(1).axis, int(PlotGraph::Right));
    QCOMPARE(p.plot.graphs().at(0).axis, int(PlotGraph::Left));

    // Titles and logarithmic axes, from the panel and from the plot's menu.
    AxisControls* axes = p.panel.axisControls();
    QCOMPARE(axes->titleEdit(Graph2d::YAxis)->placeholderText(), QStringLiteral("T(K)"));
    QCOMPARE(axes->titleEdit(Graph2d::RightAxis)->placeholderText(), QStringLiteral("OH"));
    QCOMPARE(axes->titleEdit(Graph2d::XAxis)->placeholderText(), QStringLiteral("t(s)"));
    axes->logBox(Graph2d::RightAxis)->click();
    QVERIFY(p.plot.isLogarithmic(Graph2d::RightAxis));
    p.plot.logActions().at(Graph2d::XAxis)->trigger();
    QVERIFY(axes->logBox(Graph2d::XAxis)->isChecked());
    QTest::keyClicks(axes->titleEdit(Graph2d::YAxis), QStringLiteral("Temperature"));
    QCOMPARE(p.plot.axisTitle(Graph2d::YAxis), QStringLiteral("Temperature"));

    // All of it stored with the graphs, and read back.
    emit project->aboutToSave();
    QCOMPARE(project->setting(QStringLiteral("CtrlGraph/LogY2")), QVariant(true));
    QCOMPARE(project->setting(QStringLiteral("CtrlGraph/LogX")), QVariant(true));
    QCOMPARE(project->setting(QStringLiteral("CtrlGraph/TitleY")), QVariant(QStringLiteral("Temperature")));
    QCOMPARE(project->setting(QStringLiteral("CtrlGraph/IgnitionMarker")), QVariant(false));
    QCOMPARE(project->setting(QStringLiteral("CtrlGraph/axis1")), QVariant(1));
    p.plot.setLogarithmic(Graph2d::RightAxis, false);
    p.plot.setAxisTitle(Graph2d::YAxis, QString());
    p.panel.markerAction()->setChecked(true);
    emit project->dataUpdated();
    QVERIFY(p.plot.isLogarithmic(Graph2d::RightAxis));
    QVERIFY(axes->logBox(Graph2d::RightAxis)->isChecked());
    QCOMPARE(p.plot.axisTitle(Graph2d::YAxis), QStringLiteral("Temperature"));
    QCOMPARE(axes->titleEdit(Graph2d::YAxis)->text(), QStringLiteral("Temperature"));
    QVERIFY(!p.panel.markerAction()->isChecked());
    QCOMPARE(p.panel.definitions().at(1).axis, 1);
    QCOMPARE(p.panel.ignitionDefinition().toString(), QStringLiteral("peak:OH"));
}

void TestCtrlGraph2d::columnWidths()
{
    {
        Panel p(0);
        for (int c = 0; c < 9; ++c)
            QCOMPARE(p.panel.view()->columnWidth(c), CtrlGraph2d::defaultColumnWidth(c));
        QCOMPARE(CtrlGraph2d::defaultColumnWidth(0), 200);
        QCOMPARE(CtrlGraph2d::defaultColumnWidth(4), 100);
        QCOMPARE(CtrlGraph2d::defaultColumnWidth(7), 70);
        QCOMPARE(CtrlGraph2d::defaultColumnWidth(8), 70);
        QCOMPARE(CtrlGraph2d::defaultColumnWidth(9), 100);
        p.panel.view()->setColumnWidth(0, 150);
        p.panel.view()->setColumnWidth(5, 33);
    }
    {
        // Written when the panel goes.
        QSettings settings(settingsFile(), QSettings::IniFormat);
        QCOMPARE(settings.value(QStringLiteral("CtrlGraph/ColWdh0")).toInt(), 150);
        QCOMPARE(settings.value(QStringLiteral("CtrlGraph/ColWdh1")).toInt(), 110);
        QCOMPARE(settings.value(QStringLiteral("CtrlGraph/ColWdh5")).toInt(), 33);
        QCOMPARE(settings.value(QStringLiteral("CtrlGraph/ColWdh8")).toInt(), 70);
        QVERIFY(!settings.contains(QStringLiteral("CtrlGraph/ColWdh9")));
        settings.remove(QStringLiteral("CtrlGraph/ColWdh1"));
    }
    Panel p(0);
    QCOMPARE(p.panel.view()->columnWidth(0), 150);
    QCOMPARE(p.panel.view()->columnWidth(1), 110);
    QCOMPARE(p.panel.view()->columnWidth(5), 33);
}

void TestCtrlGraph2d::sliderAndProfile()
{
    Panel p(6);
    p.panel.addPair();
    // All steps: no time in the legend; one step: its time.
    QCOMPARE(p.plot.caption(), QString());
    p.panel.sliderChanged(3);
    QCOMPARE(p.panel.timeStep(), 3);
    QCOMPARE(p.plot.caption(), QStringLiteral("t = 0.3 s"));
    // Beyond the data: the curve's last step.
    p.panel.sliderChanged(40);
    QCOMPARE(p.panel.timeStep(), 5);
    QCOMPARE(p.plot.caption(), QStringLiteral("t = 0.5 s"));

    p.fixture.addComputation(6);
    QCOMPARE(p.fixture.project->saveProfile(QStringLiteral("p"), 2), ProfileResult::Created);
    p.panel.profileSelected(0);
    QCOMPARE(p.panel.selectedProfile(), 0);
    QVERIFY(p.plot.graphs().isEmpty());
    p.panel.profileSelected(4);
    QCOMPARE(p.panel.selectedProfile(), 0);
    p.panel.sliderChanged(1);
    QCOMPARE(p.panel.selectedProfile(), -1);
    QCOMPARE(p.plot.graphs().size(), 1);
    QCOMPARE(p.plot.caption(), QStringLiteral("t = 0.1 s"));
    p.panel.sliderChanged(0);
    QCOMPARE(p.plot.caption(), QString());

    // Without data the plot is emptied.
    p.fixture.project->clear();
    const QList<float> values{1.0f, 2.0f};
    p.plot.addGraph(&values, &values, QString(), 1, 1, QPen());
    p.panel.sliderChanged(2);
    QVERIFY(p.plot.graphs().isEmpty());
}

QTEST_MAIN(TestCtrlGraph2d)
#include "tst_ctrlgraph2d.moc"
