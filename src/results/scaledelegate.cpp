#include "scaledelegate.h"

#include <QLineEdit>
#include <QLocale>
#include <QRegularExpressionValidator>

#include <cfloat>
#include <charconv>
#include <cmath>

ScaleDelegate::ScaleDelegate(QObject* parent)
    : QStyledItemDelegate(parent)
{
}

QString ScaleDelegate::text(double value)
{
    // A factor read from the store is a float widened to double: 0.001f is
    // 0.0010000000474974513 as a double, but "0.001" as what it is.
    char buffer[64];
    const float single = float(value);
    const std::to_chars_result written = double(single) == value
                                             ? std::to_chars(buffer, buffer + sizeof(buffer), single)
                                             : std::to_chars(buffer, buffer + sizeof(buffer), value);
    return QString::fromLatin1(buffer, int(written.ptr - buffer));
}

bool ScaleDelegate::parse(const QString& text, float* factor)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    // Not 0 (it hides the curve), finite, and a float that is not 0 either.
    if (!ok || value == 0.0 || !std::isfinite(value) || std::fabs(value) > double(FLT_MAX) || float(value) == 0.0f)
        return false;
    *factor = float(value);
    return true;
}

QString ScaleDelegate::displayText(const QVariant& value, const QLocale&) const
{
    bool ok = false;
    const double number = value.toDouble(&ok);
    return ok ? text(number) : QString();
}

QWidget* ScaleDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const
{
    auto* editor = new QLineEdit(parent);
    // The shape of a number while it is typed; whether it is one worth
    // taking is decided when the edit ends.
    static const QRegularExpression shape(QStringLiteral("[+-]?(\\d+\\.?\\d*|\\.\\d*)([eE][+-]?\\d{0,3})?"));
    editor->setValidator(new QRegularExpressionValidator(shape, editor));
    editor->setFrame(false);
    return editor;
}

void ScaleDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    if (auto* line = qobject_cast<QLineEdit*>(editor))
        line->setText(displayText(index.data(Qt::EditRole), QLocale::c()));
}

void ScaleDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    auto* line = qobject_cast<QLineEdit*>(editor);
    float factor = 0.0f;
    if (!line || !parse(line->text(), &factor))
        return;
    // The value as typed: 0.001 stays 0.001 in the cell, the panel keeps the
    // factor in single precision.
    model->setData(index, QLocale::c().toDouble(line->text().trimmed()), Qt::EditRole);
}
