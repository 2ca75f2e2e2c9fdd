#ifndef TARVEL_AXISCONTROLS_H
#define TARVEL_AXISCONTROLS_H

// A row of the graph panel for the plot's three axes (X, Y, right Y): the
// title each carries, shown as a grey hint while it is the default one (the
// field name of the axis's first curve), and whether it is logarithmic.
// Axes are numbered as the plot numbers them.

#include <QWidget>

class QCheckBox;
class QLineEdit;

class AxisControls : public QWidget
{
    Q_OBJECT

public:
    static constexpr int AxisCount = 3;

    explicit AxisControls(QWidget* parent = nullptr);

    QLineEdit* titleEdit(int axis) const { return m_titles[axis]; }
    QCheckBox* logBox(int axis) const { return m_logs[axis]; }

    // These set what is shown without announcing it.
    void setTitle(int axis, const QString& title);
    void setDefaultTitle(int axis, const QString& title);
    void setLogarithmic(int axis, bool on);

signals:
    void titleChanged(int axis, const QString& title);
    void logarithmicChanged(int axis, bool on);

private:
    QLineEdit* m_titles[AxisCount] = {};
    QCheckBox* m_logs[AxisCount] = {};
};

#endif
