#include "listdelegate.h"

#include "listdelegateeditor.h"

#include <QKeyEvent>
#include <QLinearGradient>
#include <QPainter>

ListDelegate::ListDelegate(QObject* parent)
    : QItemDelegate(parent)
{
}

QWidget* ListDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const
{
    auto* editor = new ListDelegateEditor(parent);
    editor->setFocusPolicy(Qt::StrongFocus);
    return editor;
}

void ListDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    if (auto* bar = qobject_cast<ListDelegateEditor*>(editor))
        bar->setText(index.data(Qt::DisplayRole).toString());
}

void ListDelegate::setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const
{
    // The bars show their items; they never edit them.
}

QSize ListDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    return QSize(option.rect.width(), QFontMetrics(option.font).height() + 8);
}

void ListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const bool focused = option.state.testFlag(QStyle::State_Selected) && option.state.testFlag(QStyle::State_HasFocus);
    painter->save();
    paintBar(painter, option.rect, index.data(Qt::DisplayRole).toString(), option.font, focused ? Focused : Normal);
    painter->restore();
}

void ListDelegate::paintBar(QPainter* painter, const QRect& rect, const QString& text, const QFont& font, int state)
{
    QRect textRect = rect.adjusted(20, 0, -20, 0);
    painter->setRenderHint(QPainter::Antialiasing);

    const QColor darkBlue(0, 0, 191);
    QColor top;
    QColor bottom;
    QColor ink;
    switch (state) {
    case Pressed:
        top = QColor(46, 93, 127);
        bottom = top;
        ink = Qt::white;
        textRect.translate(0, 1);
        break;
    case UnderMouse:
        top = QColor::fromHsl(200, 255, 220);
        bottom = QColor::fromHsl(200, 255, 130);
        ink = QColor(255, 255, 255);
        break;
    case Focused:
        top = QColor::fromHsl(200, 255, 220, 10);
        bottom = QColor::fromHsl(200, 255, 130, 10);
        ink = darkBlue;
        break;
    default:
        top = Qt::white;
        bottom = Qt::white;
        ink = darkBlue;
        break;
    }

    QLinearGradient gradient(rect.topLeft(), rect.bottomLeft() + QPoint(0, 1));
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    painter->fillRect(rect, gradient);

    painter->setPen(ink);
    painter->setFont(font);
    // Scheme descriptions are often wider than the page: cut after a whole
    // word, with an ellipsis (the bar's tool tip has the whole text).
    const QFontMetrics metrics(font);
    QString shown = metrics.elidedText(text, Qt::ElideRight, textRect.width());
    if (shown != text) {
        const qsizetype space = shown.lastIndexOf(QLatin1Char(' '));
        if (space > 0)
            shown = shown.left(space) + QChar(0x2026);
    }
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, shown);
}

bool ListDelegate::eventFilter(QObject* object, QEvent* event)
{
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (object->metaObject()->className() == QByteArray("ListDelegateEditor")) {
                auto* bar = static_cast<ListDelegateEditor*>(object);
                // Return works like Space: pressed while held, a click when
                // let go.
                const bool press = event->type() == QEvent::KeyPress;
                if (press) {
                    bar->setDown(true);
                } else if (!static_cast<QKeyEvent*>(event)->isAutoRepeat() && bar->isDown()) {
                    bar->setDown(false);
                    bar->click();
                }
            }
            return true;
        }
    }
    return QItemDelegate::eventFilter(object, event);
}
