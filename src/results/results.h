#ifndef TARVEL_RESULTS_H
#define TARVEL_RESULTS_H

// The results page: the time toolbar, the run's ignition delay, and a
// table of the output data showing every time step, one chosen step, or the
// values of a saved profile, as the toolbar says.

#include <QList>
#include <QWidget>

#include <memory>
#include <vector>

class DataTable;
class IgnitionBar;
class Project;
class TimeToolBar;

class Results : public QWidget
{
    Q_OBJECT

public:
    explicit Results(Project* project, QWidget* parent = nullptr);
    ~Results() override;

    DataTable* table() const { return m_table; }
    TimeToolBar* timeToolBar() const { return m_toolBar; }
    IgnitionBar* ignitionBar() const { return m_ignition; }

public slots:
    void onDataUpdated();
    // Step 0 shows all time steps; any other step that step alone.
    void updateTable(int step);
    void profileSelected(int index);

private:
    bool showsProjectData() const;

    Project* m_project = nullptr;
    DataTable* m_table = nullptr;
    TimeToolBar* m_toolBar = nullptr;
    IgnitionBar* m_ignition = nullptr;
    // The one-value vectors of a single step or a profile on show.
    std::vector<std::unique_ptr<QList<float>>> m_values;
};

#endif
