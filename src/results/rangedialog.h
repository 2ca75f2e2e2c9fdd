#ifndef TARVEL_RANGEDIALOG_H
#define TARVEL_RANGEDIALOG_H

// The plot's "Set Range" dialog: the four limits of the view as numbers.

#include <QDialog>

class QLineEdit;
class QPushButton;

class RangeDialog : public QDialog
{
    Q_OBJECT

public:
    RangeDialog(double xMin, double xMax, double yMin, double yMax, QWidget* parent = nullptr);

    // The limits typed, each pair in ascending order.
    double xMin() const;
    double xMax() const;
    double yMin() const;
    double yMax() const;

    QLineEdit* field(int index) const { return m_fields[index]; } // Min X, Max X, Min Y, Max Y
    QPushButton* applyButton() const { return m_apply; }

private:
    double number(int index) const;

    QLineEdit* m_fields[4] = {};
    QPushButton* m_apply = nullptr;
};

#endif
