#include "datatablemodel.h"

#include <QLocale>

DataTableModel::DataTableModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

int DataTableModel::longest(const QList<Column>& columns)
{
    qsizetype rows = 0;
    for (const Column& column : columns)
        rows = qMax(rows, column.second->size());
    return int(rows);
}

bool DataTableModel::sameNames(const QList<Column>& a, const QList<Column>& b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a.at(i).first != b.at(i).first)
            return false;
    }
    return true;
}

void DataTableModel::setColumns(const QList<Column>& columns)
{
    const int rows = longest(columns);
    if (!sameNames(columns, m_columns)) {
        beginResetModel();
        m_columns = columns;
        m_rows = rows;
        endResetModel();
        return;
    }
    // The same columns: a run has appended time steps, or the vectors behind
    // the columns have been swapped for others of the same fields. Announcing
    // only the difference keeps the work proportional to the new rows.
    m_columns = columns;
    if (rows > m_rows) {
        beginInsertRows(QModelIndex(), m_rows, rows - 1);
        m_rows = rows;
        endInsertRows();
    } else if (rows < m_rows) {
        beginRemoveRows(QModelIndex(), rows, m_rows - 1);
        m_rows = rows;
        endRemoveRows();
    }
    if (m_rows > 0 && !m_columns.isEmpty())
        emit dataChanged(index(0, 0), index(m_rows - 1, int(m_columns.size()) - 1));
}

int DataTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int DataTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant DataTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return QVariant();
    if (index.column() >= m_columns.size())
        return QVariant();
    const QList<float>* values = m_columns.at(index.column()).second;
    // A column shorter than the longest shows empty cells below its end.
    if (index.row() >= values->size())
        return QVariant();
    const float value = values->at(index.row());
    if (role == Qt::DisplayRole)
        return displayText(value);
    return double(value);
}

QString DataTableModel::displayText(float value)
{
    return QLocale::c().toString(double(value), 'G', 6);
}

void DataTableModel::setFirstStep(int step)
{
    if (step == m_firstStep)
        return;
    m_firstStep = step;
    if (m_rows > 0)
        emit headerDataChanged(Qt::Vertical, 0, m_rows - 1);
}

QVariant DataTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return QVariant();
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < m_columns.size() ? QVariant(m_columns.at(section).first) : QVariant();
    // Numbered as the time toolbar numbers its steps.
    return m_firstStep < 0 ? QVariant() : QVariant(section + m_firstStep);
}

Qt::ItemFlags DataTableModel::flags(const QModelIndex& index) const
{
    // Read-only: an edited cell would change neither the output data nor
    // anything saved, and the next update would silently undo it.
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled;
}
