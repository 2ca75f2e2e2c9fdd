#ifndef TARVEL_SCALEDELEGATE_H
#define TARVEL_SCALEDELEGATE_H

// Shows and edits a scale factor: any finite number but 0, in plain or
// scientific notation ("0.001", "2.5e-4"), shown in full. A text that is no
// such number is not taken: the cell keeps its value. The factors are kept
// in single precision, so a number beyond its range is refused too.

#include <QStyledItemDelegate>

class ScaleDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit ScaleDelegate(QObject* parent = nullptr);

    // The shortest text that reads back as the same single-precision value.
    static QString text(double value);
    // The factor a text means; false for anything else.
    static bool parse(const QString& text, float* factor);

    QString displayText(const QVariant& value, const QLocale& locale) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
};

#endif
