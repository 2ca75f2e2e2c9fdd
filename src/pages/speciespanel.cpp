#include "speciespanel.h"

#include "translation.h"
#include "optionactions.h"
#include "project.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

SpeciesPanel::SpeciesPanel(Project* project, OptionActions* actions, QWidget* parent)
    : QWidget(parent)
    , m_project(project)
    , m_actions(actions)
{
    auto* title = new QLabel(tr("Species"), this);
    m_list = new QListWidget(this);
    m_list->setToolTip(tr("The species as the SPECIES block of the input file numbers them"));
    m_name = new QLineEdit(this);
    m_name->setPlaceholderText(translate("NEW_SPECIES"));
    m_add = new QPushButton(QIcon(QStringLiteral(":/images/add.png")), translate("ADD_NEW"), this);
    m_remove = new QPushButton(QIcon(QStringLiteral(":/images/remove.png")), translate("REMOVE"), this);
    m_import = new QPushButton(translate("IMPORT"), this);
    m_import->setToolTip(tr("Adds the species of a text file, one a line"));

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    // Narrow beside the tree: two buttons a row.
    layout->addWidget(title, 0, 0, 1, 2);
    layout->addWidget(m_list, 1, 0, 1, 2);
    layout->addWidget(m_name, 2, 0, 1, 2);
    layout->addWidget(m_add, 3, 0);
    layout->addWidget(m_remove, 3, 1);
    layout->addWidget(m_import, 4, 0, 1, 2);

    connect(m_add, &QPushButton::clicked, this, &SpeciesPanel::add);
    connect(m_name, &QLineEdit::returnPressed, this, &SpeciesPanel::add);
    connect(m_name, &QLineEdit::textChanged, this, &SpeciesPanel::updateButtons);
    connect(m_remove, &QPushButton::clicked, this, &SpeciesPanel::removeCurrent);
    connect(m_import, &QPushButton::clicked, m_actions, &OptionActions::importSpecies);
    connect(m_list, &QListWidget::currentRowChanged, this, &SpeciesPanel::updateButtons);
    // The numbers follow the tree too: moving a boundary condition first
    // changes which species is number 1.
    connect(m_actions, &OptionActions::speciesChanged, this, &SpeciesPanel::refresh);
    connect(m_project, &Scheme::optionsChanged, this, &SpeciesPanel::refresh);
    connect(m_project, &Project::dataUpdated, this, &SpeciesPanel::refresh);
    refresh();
}

void SpeciesPanel::refresh()
{
    const QString current = m_list->currentItem() ? m_list->currentItem()->data(Qt::UserRole).toString() : QString();
    m_list->clear();
    const QStringList order = OptionActions::speciesOrder(*m_project);
    for (int i = 0; i < order.size(); ++i) {
        auto* item = new QListWidgetItem(QStringLiteral("%1  %2").arg(i + 1, 3).arg(order.at(i)), m_list);
        item->setData(Qt::UserRole, order.at(i));
        if (order.at(i) == current)
            m_list->setCurrentItem(item);
    }
    updateButtons();
}

void SpeciesPanel::add()
{
    const QString name = m_name->text().trimmed();
    if (name.isEmpty())
        return;
    m_actions->addSpeciesNamed(name);
    if (m_project->hasSpecies(name))
        m_name->clear();
}

void SpeciesPanel::removeCurrent()
{
    if (QListWidgetItem* item = m_list->currentItem())
        m_actions->removeSpecies(item->data(Qt::UserRole).toString());
}

void SpeciesPanel::updateButtons()
{
    m_add->setEnabled(!m_name->text().trimmed().isEmpty());
    m_remove->setEnabled(m_list->currentItem() != nullptr);
}
