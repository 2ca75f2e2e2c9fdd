#include "datatable.h"

#include "diagnostic.h"

DataTable::DataTable(QWidget* parent)
    : QTableView(parent)
{
    m_model = new DataTableModel(this);
    setModel(m_model);
    setSelectionMode(QAbstractItemView::SingleSelection);
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

void DataTable::setColumns(const QList<Column>& columns)
{
    // The rules of addData(), column by column, so that the table ends as a
    // series of additions would leave it.
    m_columns.clear();
    for (const Column& column : columns)
        placeColumn(column.first, column.second);
    updateData();
}

void DataTable::updateData()
{
    m_model->setColumns(m_columns);
}
