#ifndef TARVEL_DATATABLEMODEL_H
#define TARVEL_DATATABLEMODEL_H

// The item model behind the data table: serves the cells straight from the
// value vectors the columns point to, one row per value, one column per
// vector. It copies nothing, so showing a long run costs nothing per row;
// when only the vectors' lengths or contents change it announces the rows
// added or removed instead of a reset, and the view keeps its selection and
// scroll position while a run appends time steps.

#include <QAbstractTableModel>
#include <QList>
#include <QString>

#include <utility>

class DataTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    // A column's name and the vector it shows; the vector is not owned.
    using Column = std::pair<QString, const QList<float>*>;

    explicit DataTableModel(QObject* parent = nullptr);

    // Takes over the column list and tells the views what changed.
    void setColumns(const QList<Column>& columns);
    const QList<Column>& columns() const { return m_columns; }
    // The time step of the first row, as the time toolbar counts them (from
    // 0); -1 for rows that are no time steps (a profile), which are not
    // numbered.
    void setFirstStep(int step);
    int firstStep() const { return m_firstStep; }
    // A value as the table shows it: six significant digits, a point and an
    // upper-case exponent whatever the system's language ("1.23457E+06").
    static QString displayText(float value);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    static int longest(const QList<Column>& columns);
    static bool sameNames(const QList<Column>& a, const QList<Column>& b);

    QList<Column> m_columns;
    int m_rows = 0; // the row count the views were last told
    int m_firstStep = 0;
};

#endif
