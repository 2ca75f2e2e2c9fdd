#include "datatable.h"

#include "diagnostic.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLocale>

#include <algorithm>

DataTable::DataTable(QWidget* parent)
    : QTableView(parent)
{
    m_model = new DataTableModel(this);
    setModel(m_model);
    // A block of cells, to be copied into a spreadsheet.
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    // Numbers as the export writes them, whatever the system's language.
    setLocale(QLocale::c());
    // Custom with nothing attached: a right click shows no menu.
    setContextMenuPolicy(Qt::CustomContextMenu);
}

int DataTable::addData(const QString& name, const QList<float>* values)
{
    const int index = placeColumn(name, values);
    if (index >= 0)
        updateData();
    return index;
}

int DataTable::placeColumn(const QString& name, const QList<float>* values)
{
    if (!values || name.trimmed().isEmpty())
        return -1;
    int index = -1;
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_columns.at(i).first == name) {
            m_columns[i].second = values;
            index = i;
            break;
        }
    }
    if (index < 0) {
        m_columns.append({name, values});
        index = int(m_columns.size()) - 1;
    }
    return index;
}

void DataTable::removeData(const QString& name)
{
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_columns.at(i).first == name) {
            removeData(i);
            return;
        }
    }
}

void DataTable::removeData(int index)
{
    if (index < 0 || index >= m_columns.size())
        return;
    tDebug() << "DataTable::removeData(). Removing data vector" << m_columns.at(index).first << ", index ="
             << index;
    m_columns.removeAt(index);
    updateData();
}

void DataTable::clearData()
{
    m_columns.clear();
    updateData();
}

void DataTable::setColumns(const QList<Column>& columns, int firstStep)
{
    // The rules of addData(), column by column, so that the table ends as a
    // series of additions would leave it. From a copy: the list given may be
    // the table's own.
    const QList<Column> given = columns;
    m_columns.clear();
    for (const Column& column : given)
        placeColumn(column.first, column.second);
    updateData();
    m_model->setFirstStep(firstStep);
}

QString DataTable::selectionText() const
{
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    if (selected.isEmpty())
        return QString();
    int top = selected.first().row();
    int bottom = top;
    int left = selected.first().column();
    int right = left;
    for (const QModelIndex& index : selected) {
        top = std::min(top, index.row());
        bottom = std::max(bottom, index.row());
        left = std::min(left, index.column());
        right = std::max(right, index.column());
    }
    QStringList names;
    for (int column = left; column <= right; ++column)
        names.append(m_model->columns().at(column).first);
    QString text = names.join(QLatin1Char('\t')) + QLatin1Char('\n');
    for (int row = top; row <= bottom; ++row) {
        QStringList cells;
        for (int column = left; column <= right; ++column) {
            const QList<float>* values = m_model->columns().at(column).second;
            // printf's %g, as the export writes it.
            cells.append(row < values->size() ? QString::number(double(values->at(row)), 'g', 6) : QString());
        }
        text += cells.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    return text;
}

void DataTable::copySelection() const
{
    const QString text = selectionText();
    if (!text.isEmpty())
        QGuiApplication::clipboard()->setText(text);
}

void DataTable::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        copySelection();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void DataTable::updateData()
{
    m_model->setColumns(m_columns);
}
