#include "benchpages.h"

#include "project.h"
#include "ctrlgraph2d.h"
#include "graph2d.h"
#include "results.h"
#include "timetoolbar.h"
#include "schemeextras.h"
#include "settings.h"
#include "simulator.h"

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSplitter>
#include <QWindow>

BenchPages::BenchPages(Project* project)
    : m_project(project)
{
    m_settings = new Settings(project);
    m_simulator = new Simulator(project);
    m_extras = new SchemeExtras;
    m_extras->setScheme(project);
    m_plot = new Graph2d;
    m_graphControl = new CtrlGraph2d(project, m_plot);
    m_graph = new QSplitter(Qt::Vertical);
    m_graph->addWidget(m_plot);
    m_graph->addWidget(m_graphControl);
    m_graph->setStretchFactor(0, 3);
    m_graph->setStretchFactor(1, 1);
    m_graph->setSizes({450, 150});
    m_results = new Results(project);
    QObject::connect(m_results->timeToolBar(), &TimeToolBar::valueChanged, m_graphControl, &CtrlGraph2d::sliderChanged);
}

BenchPages::~BenchPages()
{
    // The pages point into the project, which outlives them.
    delete m_results;
    delete m_graph;
    delete m_extras;
    delete m_simulator;
    delete m_settings;
}

void BenchPages::show()
{
    m_results->setWindowTitle(QStringLiteral("Results"));
    m_results->resize(1000, 650);
    m_results->move(0, 0);
    m_graph->setWindowTitle(QStringLiteral("Graph 2D"));
    m_graph->resize(1000, 650);
    m_graph->move(0, 660);
    m_results->show();
    m_graph->show();
    QElapsedTimer waited;
    waited.start();
    for (QWidget* page : {static_cast<QWidget*>(m_results), static_cast<QWidget*>(m_graph)}) {
        while (!(page->windowHandle() && page->windowHandle()->isExposed()) && waited.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    QCoreApplication::processEvents();
}

void BenchPages::plotCurves(int count)
{
    auto fill = [this, count] {
        if (m_project->fieldCount() == 0)
            return;
        while (m_graphControl->definitions().size() < count)
            m_graphControl->addGraphAction()->trigger();
    };
    QObject::connect(m_project, &Project::outDataUpdated, &m_context, fill);
    fill();
}
