#ifndef TARVEL_FSTRINGEDITOR_H
#define TARVEL_FSTRINGEDITOR_H

// A one-line text editor (a name), writing into a bound string and handing
// the text over by signal. As a window of its own it remembers its geometry
// in the user's native settings store.

#include <QWidget>

class QLabel;
class QLineEdit;

class FStringEditor : public QWidget
{
    Q_OBJECT

public:
    explicit FStringEditor(const QString& text = QString(), QWidget* parent = nullptr,
                           Qt::WindowFlags flags = Qt::WindowFlags());

    void setLabel(const QString& text);
    QString label() const;
    void setTarget(QString* target);
    void setText(const QString& text);
    QString text() const;
    bool isSaved() const { return m_saved; }
    QLineEdit* lineEdit() const { return m_edit; }

public slots:
    void save();

signals:
    void finished(const QString& text);
    void cancelled();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void storeGeometry() const;

    QString* m_target = nullptr;
    bool m_saved = false;
    QLabel* m_label = nullptr;
    QLineEdit* m_edit = nullptr;
    bool m_ownWindow = false;
};

#endif
