#ifndef TARVEL_DATATABLE_H
#define TARVEL_DATATABLE_H

// A table view of named columns of single-precision values. The columns
// point to vectors that others own and keep alive while the column exists;
// the table shows them through its model without copying a value. A range
// of cells can be selected and copied (Ctrl+C) as tab-separated text.

#include "datatablemodel.h"

#include <QList>
#include <QString>
#include <QTableView>

class DataTable : public QTableView
{
    Q_OBJECT

public:
    using Column = DataTableModel::Column;

    explicit DataTable(QWidget* parent = nullptr);

    // Appends a column, or, when one of exactly that name exists, points it
    // to the new vector in place. Returns the column's index, or -1 for a
    // null vector or a blank name.
    int addData(const QString& name, const QList<float>* values);
    void removeData(const QString& name);
    void removeData(int index);
    void clearData();
    // Replaces all columns in one go: one update of the view instead of one
    // per column. `firstStep` numbers the rows (-1: not at all).
    void setColumns(const QList<Column>& columns, int firstStep = 0);
    // The selected cells as the clipboard gets them: the field names, then a
    // line per row, values in the export's format, separated by tabs.
    QString selectionText() const;
    void copySelection() const;

    const QList<Column>& columns() const { return m_columns; }
    int columnCount() const { return int(m_columns.size()); }
    DataTableModel* dataModel() const { return m_model; }

public slots:
    void updateData();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    int placeColumn(const QString& name, const QList<float>* values);

    QList<Column> m_columns; // the truth; the model follows it on updateData()
    DataTableModel* m_model = nullptr;
};

#endif
