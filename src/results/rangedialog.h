#ifndef TARVEL_RANGEDIALOG_H
#define TARVEL_RANGEDIALOG_H

// The plot's "Set Range" dialog: the four limits of the view as numbers.

#include <QDialog>

class QDoubleValidator;
class QGridLayout;
class QLineEdit;
class QPushButton;

class RangeDialog : public QDialog
{
    Q_OBJECT

public:
    RangeDialog(double xMin, double xMax, double yMin, double yMax, QWidget* parent = nullptr);
    // A third row for the right-hand Y axis.
    void addRightAxis(double min, double max);

    // The limits typed, each pair in ascending order.
    double xMin() const;
    double xMax() const;
    double yMin() const;
    double yMax() const;
    double rightMin() const;
    double rightMax() const;

    // Min X, Max X, Min Y, Max Y, then Min and Max of the right axis if added.
    QLineEdit* field(int index) const { return m_fields[index]; }
    QPushButton* applyButton() const { return m_apply; }

private:
    double number(int index) const;
    void addRow(int row, const char* minLabel, double min, const char* maxLabel, double max);

    QLineEdit* m_fields[6] = {};
    QPushButton* m_apply = nullptr;
    QGridLayout* m_grid = nullptr;
    QDoubleValidator* m_validator = nullptr;
};

#endif
