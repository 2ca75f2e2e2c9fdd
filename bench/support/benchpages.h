#ifndef TARVEL_BENCH_BENCHPAGES_H
#define TARVEL_BENCH_BENCHPAGES_H

// The pages the main window builds over a project, built and connected the
// same way: options, files, results, the graph (plot over its panel) and the
// terminal. The results page and the graph page are shown side by side as
// windows of their own, so both paint all the time, which the window's page
// selector would never allow; the other pages stay hidden, as pages not
// chosen do.

#include <QObject>

#include <memory>

class CtrlGraph2d;
class Graph2d;
class Project;
class QSplitter;
class Results;
class SchemeExtras;
class Settings;
class Simulator;

class BenchPages
{
public:
    explicit BenchPages(Project* project);
    ~BenchPages();

    // Shows the results page and the graph page and waits until both are on
    // screen.
    void show();
    // From the first output data on, the graph panel keeps `count` curves
    // over time (the panel adds temperature itself).
    void plotCurves(int count);

    Results* results() const { return m_results; }
    Graph2d* plot() const { return m_plot; }
    CtrlGraph2d* graphControl() const { return m_graphControl; }
    QSplitter* graphPage() const { return m_graph; }
    Simulator* simulator() const { return m_simulator; }

private:
    Project* m_project = nullptr;
    Settings* m_settings = nullptr;
    SchemeExtras* m_extras = nullptr;
    Results* m_results = nullptr;
    Graph2d* m_plot = nullptr;
    CtrlGraph2d* m_graphControl = nullptr;
    QSplitter* m_graph = nullptr;
    Simulator* m_simulator = nullptr;
    QObject m_context; // for connections that end with the pages
};

#endif
