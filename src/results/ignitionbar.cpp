#include "ignitionbar.h"

#include "diagnostic.h"
#include "ignitiondelay.h"
#include "project.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>

namespace {

const QString kKey = QString::fromLatin1(IgnitionDefinition::SettingsKey);

} // namespace

IgnitionBar::IgnitionBar(Project* project, QWidget* parent)
    : QWidget(parent)
    , m_project(project)
{
    m_label = new QLabel(this);
    m_label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_kind = new QComboBox(this);
    m_kind->addItem(QStringLiteral("Steepest temperature rise"), int(IgnitionDefinition::SteepestTemperatureRise));
    m_kind->addItem(QStringLiteral("Temperature rise of"), int(IgnitionDefinition::TemperatureRise));
    m_kind->addItem(QStringLiteral("Peak of"), int(IgnitionDefinition::SpeciesPeak));
    m_kind->addItem(QStringLiteral("Steepest rise of"), int(IgnitionDefinition::SpeciesSteepestRise));
    m_kind->setToolTip(tr("How the ignition delay is read from the results"));
    m_rise = new QDoubleSpinBox(this);
    m_rise->setLocale(QLocale::c());
    m_rise->setRange(1.0, 5000.0);
    m_rise->setDecimals(1);
    m_rise->setSuffix(QStringLiteral(" K"));
    m_rise->setToolTip(tr("Temperature rise above the initial temperature"));
    m_species = new QComboBox(this);
    m_species->setToolTip(tr("Species whose peak or rise marks the ignition"));

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_label, 1);
    layout->addWidget(m_kind);
    layout->addWidget(m_rise);
    layout->addWidget(m_species);

    connect(m_kind, &QComboBox::activated, this, &IgnitionBar::chosen);
    connect(m_rise, &QDoubleSpinBox::editingFinished, this, &IgnitionBar::chosen);
    connect(m_species, &QComboBox::activated, this, &IgnitionBar::chosen);
    connect(m_project, &Project::outDataUpdated, this, &IgnitionBar::refresh);
    connect(m_project, &Project::dataUpdated, this, &IgnitionBar::loadDefinition);
    loadDefinition();
}

// A focused ΔT field loses its focus inside ~QWidget, after this object's
// own part is gone: its editingFinished must not reach chosen() then.
IgnitionBar::~IgnitionBar()
{
    disconnect(m_rise, nullptr, this, nullptr);
}

void IgnitionBar::loadDefinition()
{
    IgnitionDefinition stored;
    if (m_project->hasExtra(QStringLiteral("SETTINGS"))
        && IgnitionDefinition::parse(m_project->setting(kKey).toString(), &stored))
        m_definition = stored;
    else
        m_definition = IgnitionDefinition();
    refresh();
}

void IgnitionBar::refresh()
{
    fillSpecies();
    showDefinition();
    // A pass over two columns of the data: a fraction of a millisecond for
    // a long run, against a poll's parsing of the new lines.
    if (m_project->fieldCount() == 0) {
        m_label->setText(QString());
        return;
    }
    const IgnitionDelay::Result result =
        IgnitionDelay::compute(m_project->outData(), m_project->timefield(), m_definition);
    m_label->setText(IgnitionDelay::sentence(result, m_definition));
}

void IgnitionBar::fillSpecies()
{
    QStringList names;
    const OutputField* time = IgnitionDelay::timeField(m_project->outData(), m_project->timefield());
    for (const auto& field : m_project->outData()) {
        if (field.get() != time && !field->name.isEmpty())
            names.append(field->name);
    }
    // The stored choice stays choosable before the data that has it comes.
    if (m_definition.needsSpecies() && !names.contains(m_definition.species()))
        names.prepend(m_definition.species());
    QStringList shown;
    for (int i = 0; i < m_species->count(); ++i)
        shown.append(m_species->itemText(i));
    if (shown == names)
        return;
    const QSignalBlocker quiet(m_species);
    m_species->clear();
    m_species->addItems(names);
}

void IgnitionBar::showDefinition()
{
    m_showing = true;
    m_kind->setCurrentIndex(m_kind->findData(int(m_definition.kind())));
    m_rise->setValue(m_definition.deltaT());
    m_rise->setVisible(m_definition.kind() == IgnitionDefinition::TemperatureRise);
    m_species->setCurrentIndex(m_species->findText(m_definition.species()));
    m_species->setVisible(m_definition.needsSpecies());
    m_showing = false;
}

void IgnitionBar::chosen()
{
    if (m_showing)
        return;
    const auto kind = IgnitionDefinition::Kind(m_kind->currentData().toInt());
    QString species = m_species->currentText();
    // Coming to a species definition: OH, the radical most ignition studies
    // follow, where the data has it.
    if (!m_definition.needsSpecies() && m_species->findText(QStringLiteral("OH")) >= 0)
        species = QStringLiteral("OH");
    const IgnitionDefinition definition(kind, m_rise->value(), species);
    if (definition.needsSpecies() && definition.species().isEmpty()) {
        showDefinition(); // no species to choose from yet
        return;
    }
    if (definition == m_definition)
        return;
    m_definition = definition;
    if (!m_project->setSetting(kKey, m_definition.toString()))
        tWarning() << "IgnitionBar::chosen(). The ignition delay's definition could not be stored.";
    refresh();
}
