#ifndef TARVEL_IGNITIONBAR_H
#define TARVEL_IGNITIONBAR_H

// The line above the results table that reads the run's ignition delay with
// its definition ("Ignition delay 2.177E-04 s (steepest temperature
// rise)"), and lets the user choose the definition: the steepest
// temperature rise, a rise of the temperature by some kelvin, or a
// species' peak or steepest rise. The choice travels with the project in
// its settings store.

#include "ignitiondefinition.h"

#include <QWidget>

class Project;
class QComboBox;
class QDoubleSpinBox;
class QLabel;

class IgnitionBar : public QWidget
{
    Q_OBJECT

public:
    explicit IgnitionBar(Project* project, QWidget* parent = nullptr);
    ~IgnitionBar() override;

    IgnitionDefinition definition() const { return m_definition; }
    QLabel* label() const { return m_label; }
    QComboBox* kindBox() const { return m_kind; }
    QDoubleSpinBox* riseBox() const { return m_rise; }
    QComboBox* speciesBox() const { return m_species; }

public slots:
    // The delay of the output data as it is now.
    void refresh();
    // The definition stored with the project, or the default.
    void loadDefinition();

private:
    void showDefinition();
    void fillSpecies();
    void chosen();

    Project* m_project = nullptr;
    IgnitionDefinition m_definition;
    QLabel* m_label = nullptr;
    QComboBox* m_kind = nullptr;
    QDoubleSpinBox* m_rise = nullptr;
    QComboBox* m_species = nullptr;
    bool m_showing = false;
};

#endif
