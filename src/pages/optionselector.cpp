#include "optionselector.h"

#include "diagnostic.h"
#include "windowplacement.h"
#include "options.h"
#include "optiontree.h"
#include "scheme.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QIcon>
#include <QScreen>
#include <QSettings>
#include <QVBoxLayout>

namespace {
const char* const geometryKey = "OptionSelector/Geometry";
}

OptionSelector::OptionSelector(Options* catalogue, QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags)
    , m_options(catalogue)
{
    if (!m_options)
        tFatal() << "OptionSelector Constructor. Options' is a NULL Pointer.";

    setWindowIcon(QIcon(QStringLiteral(":/images/documents.png")));
    setWindowTitle(tr("ZDL.Tarvel.Option Selector"));
    QSettings settings;
    WindowPlacement::place(this, QSize(600, 480), settings, QLatin1String(geometryKey));

    m_tree = new OptionTree(this);
    m_tree->setColumnCount(1);
    m_tree->setColumnMinimalWidth(0, 100);
    m_tree->setHeaderHidden(true);
    m_tree->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tree->setDragDropMode(QAbstractItemView::NoDragDrop);
    connect(m_tree, &QTreeWidget::doubleClicked, this, &OptionSelector::select);
    connect(m_tree, &OptionTree::accepted, this, &OptionSelector::select);
    connect(m_tree, &OptionTree::rejected, this, &QWidget::hide);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &OptionSelector::select);
    connect(buttons, &QDialogButtonBox::rejected, this, &OptionSelector::cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tree);
    layout->addWidget(buttons);
}

void OptionSelector::setScheme(Scheme* scheme)
{
    if (scheme == m_scheme)
        return;
    m_scheme = scheme;
    updateOptions();
}

OOption* OptionSelector::optionOf(const QTreeWidgetItem* item) const
{
    for (const Row& row : m_rows) {
        if (row.item == item)
            return row.option;
    }
    return nullptr;
}

void OptionSelector::show(OOption* currentOption)
{
    m_selected = nullptr;
    m_current = currentOption;
    updateOptions();
    QWidget::show();
    raise();
    activateWindow();
}

void OptionSelector::updateOptions()
{
    m_tree->clear();
    m_rows.clear();
    const auto& groups = m_options->groups();
    for (int index = 0; index < int(groups.size()); ++index) {
        const OGroup& group = *groups[index];
        auto* groupItem = new QTreeWidgetItem(m_tree);
        groupItem->setText(0, group.text);
        groupItem->setFirstColumnSpanned(true);
        m_rows.append(Row{groupItem, index, nullptr});
        for (const auto& option : group.options) {
            if (!m_scheme || !m_scheme->isOptionUsed(option.get()))
                addOptionRow(groupItem, index, option.get());
        }
        if (group.name == QLatin1String("BCOND") && m_scheme) {
            for (const auto& condition : m_scheme->conditions()) {
                if (!m_scheme->isOptionUsed(condition.get()))
                    addOptionRow(groupItem, index, condition.get());
            }
        }
    }
    // The options are what the user looks for: all of them in view.
    m_tree->expandAll();
    if (QTreeWidgetItem* current = m_tree->currentItem())
        m_tree->scrollToItem(current);
    m_tree->updateSizes();
}

void OptionSelector::addOptionRow(QTreeWidgetItem* groupItem, int group, OOption* option)
{
    auto* item = new QTreeWidgetItem(groupItem);
    item->setText(0, QStringLiteral("%1 \t %2").arg(option->name, option->text));
    item->setToolTip(0, option->detail.isEmpty() ? option->text : option->detail);
    m_rows.append(Row{item, group, option});
    if (m_current && option->name == m_current->name)
        m_tree->setCurrentItem(item);
}

void OptionSelector::select()
{
    OOption* option = optionOf(m_tree->currentItem());
    if (!option)
        return;
    m_selected = option;
    emit selected(option);
    hide();
}

void OptionSelector::cancel()
{
    m_selected = nullptr;
    hide();
}

void OptionSelector::closeEvent(QCloseEvent* event)
{
    if (isVisible())
        storeGeometry();
    QWidget::closeEvent(event);
}

void OptionSelector::hideEvent(QHideEvent* event)
{
    // OK and Cancel hide the window without closing it; the geometry is the
    // user's choice all the same.
    storeGeometry();
    QWidget::hideEvent(event);
}

void OptionSelector::storeGeometry() const
{
    if (isWindow())
        QSettings().setValue(QLatin1String(geometryKey), saveGeometry());
}
