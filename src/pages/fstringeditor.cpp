#include "fstringeditor.h"

#include "translation.h"
#include "windowplacement.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QVBoxLayout>

namespace {
const char* const geometryKey = "FStringEditor/Geometry";
}

FStringEditor::FStringEditor(const QString& text, QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags)
{
    m_ownWindow = isWindow();
    if (m_ownWindow) {
        setWindowIcon(QIcon(QStringLiteral(":/images/pen_32x32.png")));
        setWindowTitle(tr("String Editor"));
        QSettings settings;
        WindowPlacement::place(this, QSize(400, 20), settings, QLatin1String(geometryKey));
    }

    m_label = new QLabel(this);
    m_edit = new QLineEdit(this);
    auto* buttons = new QDialogButtonBox(Qt::Horizontal, this);
    QPushButton* save = buttons->addButton(translate("SAVE"), QDialogButtonBox::AcceptRole);
    buttons->addButton(translate("CANCEL"), QDialogButtonBox::RejectRole);
    // Return belongs to the line edit; a default button would take it twice.
    save->setAutoDefault(false);
    connect(m_edit, &QLineEdit::returnPressed, this, &FStringEditor::save);
    connect(buttons, &QDialogButtonBox::accepted, this, &FStringEditor::save);
    connect(buttons, &QDialogButtonBox::rejected, this, &QWidget::close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(m_edit);
    layout->addWidget(buttons);
    setText(text);
}

void FStringEditor::setLabel(const QString& text)
{
    m_label->setText(text.trimmed() + QLatin1Char(':'));
    if (m_ownWindow)
        setWindowTitle(text.trimmed());
}

QString FStringEditor::label() const
{
    return m_label->text();
}

void FStringEditor::setTarget(QString* target)
{
    m_target = target;
    setText(m_target ? *m_target : QString());
}

void FStringEditor::setText(const QString& text)
{
    m_edit->setText(text);
    m_edit->selectAll();
}

QString FStringEditor::text() const
{
    return m_edit->text();
}

void FStringEditor::save()
{
    m_saved = true;
    const QString text = m_edit->text();
    if (m_target)
        *m_target = text;
    hide();
    emit finished(text);
}

void FStringEditor::showEvent(QShowEvent* event)
{
    m_saved = false;
    m_edit->setFocus();
    QWidget::showEvent(event);
}

void FStringEditor::hideEvent(QHideEvent* event)
{
    // Save hides the window without closing it; the geometry is kept either way.
    storeGeometry();
    QWidget::hideEvent(event);
}

void FStringEditor::closeEvent(QCloseEvent* event)
{
    if (isVisible())
        storeGeometry();
    QWidget::closeEvent(event);
    if (!m_saved)
        emit cancelled();
}

void FStringEditor::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void FStringEditor::storeGeometry() const
{
    if (m_ownWindow)
        QSettings().setValue(QLatin1String(geometryKey), saveGeometry());
}
