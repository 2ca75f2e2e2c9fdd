// The graph table's delegates and the colour widget: what they paint and
// the editors they give.

#include "celledit.h"
#include "colordelegate.h"
#include "colorwidget.h"
#include "colorwidgetprivate.h"
#include "combodelegate.h"
#include "linedelegate.h"
#include "scaledelegate.h"

#include <QAbstractItemView>
#include <QColorDialog>
#include <QComboBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTableView>
#include <QTimer>
#include <QtTest>

namespace {

QList<ComboDelegate::Item> widths()
{
    QList<ComboDelegate::Item> items;
    for (int w = 1; w <= 5; ++w)
        items.append({QStringLiteral("%1 px").arg(w), w});
    return items;
}

QStyleOptionViewItem option(const QRect& rect, QStyle::State state = QStyle::State_Enabled)
{
    QStyleOptionViewItem option;
    option.rect = rect;
    option.state = state;
    option.palette = QApplication::palette();
    return option;
}

QImage paintCell(const QAbstractItemDelegate& delegate, const QModelIndex& index, const QSize& size,
                 QStyle::State state = QStyle::State_Enabled)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    delegate.paint(&painter, option(QRect(QPoint(0, 0), size), state), index);
    painter.end();
    return image;
}

struct Shades
{
    int darkest = 255; // the lowest grey level of a neutral pixel
    int coloured = 0;  // pixels that are not neutral
    int drawn = 0;     // pixels that are not white
    int leftmost = -1;
};

Shades shades(const QImage& image)
{
    Shades s;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (p == qRgb(255, 255, 255))
                continue;
            ++s.drawn;
            if (s.leftmost < 0 || x < s.leftmost)
                s.leftmost = x;
            if (std::abs(qRed(p) - qGreen(p)) > 8 || std::abs(qGreen(p) - qBlue(p)) > 8)
                ++s.coloured;
            else
                s.darkest = std::min(s.darkest, qGray(p));
        }
    }
    return s;
}

} // namespace

class TestDelegates : public QObject
{
    Q_OBJECT

private slots:
    void comboPaintsTextOrPlaceholder();
    void comboEditor();
    void linePaintsPenStyle();
    void colorPaintsSwatch();
    void colorEditor();
    void scaleDelegate();
    void colorWidget();
};

void TestDelegates::comboPaintsTextOrPlaceholder()
{
    QStandardItemModel model(1, 1);
    ComboDelegate delegate;
    delegate.setItems(widths(), QStringLiteral("<select>"));
    QCOMPARE(delegate.textFor(3), QStringLiteral("3 px"));
    QCOMPARE(delegate.textFor(0), QStringLiteral("<select>"));

    // A value of no item: the placeholder in grey (128), nothing darker.
    model.setData(model.index(0, 0), 0, Qt::EditRole);
    const Shades placeholder = shades(paintCell(delegate, model.index(0, 0), QSize(120, 24)));
    QVERIFY(placeholder.drawn > 20);
    QVERIFY2(placeholder.darkest >= 110 && placeholder.darkest <= 150, qPrintable(QString::number(placeholder.darkest)));

    // An item's text in the palette's text colour (black).
    model.setData(model.index(0, 0), 2, Qt::EditRole);
    const Shades text = shades(paintCell(delegate, model.index(0, 0), QSize(120, 24)));
    QVERIFY2(text.darkest < 60, qPrintable(QString::number(text.darkest)));
    // Left aligned by default, 4 pixels in.
    QVERIFY(text.leftmost >= 4 && text.leftmost < 10);

    // The cell's alignment is followed, and no background is painted.
    model.setData(model.index(0, 0), int(Qt::AlignRight), Qt::TextAlignmentRole);
    const Shades right = shades(paintCell(delegate, model.index(0, 0), QSize(120, 24)));
    QVERIFY(right.leftmost > 80);

    // Selected: the highlighted text colour (white in Fusion) on nothing.
    model.setData(model.index(0, 0), QVariant(), Qt::TextAlignmentRole);
    QImage selected = paintCell(delegate, model.index(0, 0), QSize(120, 24),
                                QStyle::State_Enabled | QStyle::State_Selected);
    QCOMPARE(shades(selected).drawn, 0);

    // A cell that names what it lacks: that name, in its foreground colour,
    // not the placeholder.
    model.setData(model.index(0, 0), -1, Qt::EditRole);
    model.setData(model.index(0, 0), QStringLiteral("H2 (missing)"), ComboDelegate::UnmatchedTextRole);
    model.setData(model.index(0, 0), QBrush(QColor(170, 0, 0)), Qt::ForegroundRole);
    const QImage missing = paintCell(delegate, model.index(0, 0), QSize(120, 24));
    const Shades marked = shades(missing);
    QVERIFY(marked.coloured > 20);
    QVERIFY(marked.drawn > placeholder.drawn + 20);
    int reddish = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 120; ++x)
            reddish += qRed(missing.pixel(x, y)) > qGreen(missing.pixel(x, y)) + 60 ? 1 : 0;
    QVERIFY(reddish > 10);
}

void TestDelegates::comboEditor()
{
    QStandardItemModel model(1, 1);
    model.setData(model.index(0, 0), 3, Qt::EditRole);
    QWidget parent;
    ComboDelegate delegate;
    const QStyleOptionViewItem cell = option(QRect(10, 20, 90, 22));
    // No items: not editable.
    QCOMPARE(delegate.createEditor(&parent, cell, model.index(0, 0)), nullptr);

    LineDelegate lines;
    delegate.setItems(widths(), QStringLiteral("<select>"));
    delegate.setPopupDelegate(&lines);
    auto* combo = qobject_cast<QComboBox*>(delegate.createEditor(&parent, cell, model.index(0, 0)));
    QVERIFY(combo);
    QCOMPARE(combo->parentWidget(), &parent);
    QCOMPARE(combo->view()->itemDelegate(), &lines);
    QCOMPARE(combo->count(), 5);
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(combo->itemText(i), QStringLiteral("%1 px").arg(i + 1));
        QCOMPARE(combo->itemData(i).toInt(), i + 1);
        QVERIFY(combo->itemIcon(i).isNull());
    }
    delegate.setEditorData(combo, model.index(0, 0));
    QCOMPARE(combo->currentIndex(), 2);
    // No item of the value: the selection stays.
    model.setData(model.index(0, 0), 9, Qt::EditRole);
    delegate.setEditorData(combo, model.index(0, 0));
    QCOMPARE(combo->currentIndex(), 2);

    combo->setCurrentIndex(4);
    delegate.setModelData(combo, &model, model.index(0, 0));
    QCOMPARE(model.data(model.index(0, 0), Qt::EditRole), QVariant(5));

    delegate.updateEditorGeometry(combo, cell, model.index(0, 0));
    QCOMPARE(combo->geometry(), QRect(10, 20, 90, 22));
    // Choosing an entry commits it at once; the editor stays open, so that
    // typing on to find an entry goes on in it.
    QSignalSpy commits(&delegate, &QAbstractItemDelegate::commitData);
    QSignalSpy closes(&delegate, &QAbstractItemDelegate::closeEditor);
    combo->setCurrentIndex(1);
    QCOMPARE(commits.count(), 0);
    emit combo->activated(1);
    QCOMPARE(commits.count(), 1);
    QCOMPARE(commits.at(0).at(0).value<QWidget*>(), combo);
    QCOMPARE(closes.count(), 0);
    delete combo;
    // The shared popup delegate outlives its editors.
    QCOMPARE(lines.color(), QColor(Qt::black));
}

void TestDelegates::linePaintsPenStyle()
{
    QStandardItemModel model(5, 1);
    for (int style = 1; style <= 5; ++style)
        model.setData(model.index(style - 1, 0), style, Qt::UserRole);
    LineDelegate delegate;
    QCOMPARE(delegate.color(), QColor(Qt::black));

    // Solid: a 2-pixel line from x = 2 to 97 at y = (20 + 1) / 2 = 10.
    const QImage solid = paintCell(delegate, model.index(0, 0), QSize(100, 20));
    for (int x = 4; x <= 95; ++x)
        QVERIFY2(qGray(solid.pixel(x, 10)) < 100 || qGray(solid.pixel(x, 9)) < 100, qPrintable(QString::number(x)));
    QCOMPARE(solid.pixel(50, 3), qRgb(255, 255, 255));
    QCOMPARE(solid.pixel(50, 16), qRgb(255, 255, 255));
    QCOMPARE(solid.pixel(0, 10), qRgb(255, 255, 255));

    // Dashes and dots leave gaps along the line.
    const int solidInk = shades(solid).drawn;
    for (int row = 1; row < 5; ++row) {
        const int ink = shades(paintCell(delegate, model.index(row, 0), QSize(100, 20))).drawn;
        QVERIFY2(ink < solidInk * 0.9, qPrintable(QStringLiteral("style %1: %2 of %3").arg(row + 1).arg(ink).arg(solidInk)));
        QVERIFY(ink > 10);
    }

    // Selected: the highlight fills the item, the line in highlighted text.
    const QPalette palette = QApplication::palette();
    const QImage selected = paintCell(delegate, model.index(0, 0), QSize(100, 20),
                                      QStyle::State_Enabled | QStyle::State_Selected);
    QCOMPARE(QColor(selected.pixel(50, 3)), palette.color(QPalette::Highlight));
    QCOMPARE(QColor(selected.pixel(50, 10)).rgb() == palette.color(QPalette::HighlightedText).rgb()
                 || QColor(selected.pixel(50, 9)).rgb() == palette.color(QPalette::HighlightedText).rgb(),
             true);

    delegate.setColor(Qt::red);
    const QImage red = paintCell(delegate, model.index(0, 0), QSize(100, 20));
    QVERIFY(qRed(red.pixel(50, 10)) > 200 && qGreen(red.pixel(50, 10)) < 100);
}

void TestDelegates::colorPaintsSwatch()
{
    QStandardItemModel model(1, 1);
    model.setData(model.index(0, 0), QColor(200, 40, 20), Qt::EditRole);
    ColorDelegate delegate;
    const QImage cell = paintCell(delegate, model.index(0, 0), QSize(40, 20));
    QCOMPARE(cell.pixel(20, 10), qRgb(200, 40, 20));
    // The pill: from (2, 2), 34 x 14, radius 7; corners and the margin stay white.
    QCOMPARE(cell.pixel(0, 10), qRgb(255, 255, 255));
    QCOMPARE(cell.pixel(2, 2), qRgb(255, 255, 255));
    QCOMPARE(cell.pixel(38, 10), qRgb(255, 255, 255));
    QCOMPARE(cell.pixel(20, 18), qRgb(255, 255, 255));
    // A dark grey outline on the left end, antialiased over x = 1 and 2.
    const QRgb edge = cell.pixel(1, 10);
    QVERIFY(qGray(edge) < 240 && qRed(edge) == qGreen(edge) && qGreen(edge) == qBlue(edge));

    // Selected: the outline is white.
    const QImage selected =
        paintCell(delegate, model.index(0, 0), QSize(40, 20), QStyle::State_Enabled | QStyle::State_Selected);
    QCOMPARE(selected.pixel(20, 10), qRgb(200, 40, 20));
    QCOMPARE(selected.pixel(1, 10), qRgb(255, 255, 255));

    // Disabled: grey of level (11 R + 16 G + 5 B) / 32.
    const QImage disabled = paintCell(delegate, model.index(0, 0), QSize(40, 20), QStyle::State_None);
    const int level = (11 * 200 + 16 * 40 + 5 * 20) / 32;
    QCOMPARE(disabled.pixel(20, 10), qRgb(level, level, level));

    // Too small a cell is left empty.
    QImage narrow = paintCell(delegate, model.index(0, 0), QSize(9, 30));
    QCOMPARE(shades(narrow).drawn, 0);
    QImage low = paintCell(delegate, model.index(0, 0), QSize(40, 9));
    QCOMPARE(shades(low).drawn, 0);
    QVERIFY(shades(paintCell(delegate, model.index(0, 0), QSize(10, 10))).drawn > 0);
}

void TestDelegates::colorEditor()
{
    // In a real view, as the graph panel has it: the dialog is modal, and
    // only OK keeps the colour browsed to.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QStandardItemModel model(1, 1);
    model.setData(model.index(0, 0), QColor(10, 20, 30), Qt::EditRole);
    QTableView view;
    ColorDelegate delegate;
    view.setModel(&model);
    view.setItemDelegate(&delegate);
    view.resize(300, 200);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QVERIFY(!delegate.createEditor(view.viewport(), option(QRect(0, 0, 70, 20)), model.index(0, 0)));

    QColor offered;
    // Browses to (1, 2, 3) in the dialog, then presses OK or Cancel.
    auto answer = [&](bool ok) {
        QTimer::singleShot(0, [&offered, ok] {
            auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                qFatal("no colour dialog came up");
            offered = dialog->currentColor();
            dialog->setCurrentColor(QColor(1, 2, 3));
            if (ok)
                dialog->accept();
            else
                dialog->reject();
        });
    };
    const QPoint cell = view.visualRect(model.index(0, 0)).center();
    // A double click as the window system gives it: a click, then the
    // second press as a double click.
    auto doubleClick = [&] {
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, cell);
        QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, cell);
    };
    answer(false);
    doubleClick();
    QCOMPARE(offered, QColor(10, 20, 30));
    QCOMPARE(model.data(model.index(0, 0), Qt::EditRole).value<QColor>(), QColor(10, 20, 30));
    QVERIFY(!view.indexWidget(model.index(0, 0)));

    answer(true);
    doubleClick();
    QCOMPARE(model.data(model.index(0, 0), Qt::EditRole).value<QColor>(), QColor(1, 2, 3));

    // F2 opens it too; a text that is not a colour offers none.
    model.setData(model.index(0, 0), QStringLiteral("red"), Qt::EditRole);
    view.setCurrentIndex(model.index(0, 0));
    answer(false);
    QTest::keyClick(&view, Qt::Key_F2);
    QVERIFY(offered != QColor(Qt::red));
    QCOMPARE(model.data(model.index(0, 0), Qt::EditRole).toString(), QStringLiteral("red"));
}

void TestDelegates::scaleDelegate()
{
    // Any finite number but 0, scientific notation included, shown in full;
    // in a real view, where opening and closing a cell must not change it.
    QCOMPARE(ScaleDelegate::text(double(0.001f)), QStringLiteral("0.001"));
    QCOMPARE(ScaleDelegate::text(0.001), QStringLiteral("0.001"));
    QCOMPARE(ScaleDelegate::text(1.0), QStringLiteral("1"));
    QCOMPARE(ScaleDelegate::text(double(2.5e-7f)), QStringLiteral("2.5e-07"));
    QCOMPARE(ScaleDelegate::text(-1234.5), QStringLiteral("-1234.5"));
    float factor = 0.0f;
    QVERIFY(ScaleDelegate::parse(QStringLiteral(" 1e-5"), &factor));
    QCOMPARE(factor, 1e-5f);
    QVERIFY(ScaleDelegate::parse(QStringLiteral("-2.5E+03"), &factor));
    QCOMPARE(factor, -2500.0f);
    for (const char* refused : {"0", "0.0", "-0", "", "abc", "1e39", "1e-50", "inf", "nan", "1,5"})
        QVERIFY2(!ScaleDelegate::parse(QString::fromLatin1(refused), &factor), refused);

    QStandardItemModel model(1, 1);
    model.setData(model.index(0, 0), double(0.001f), Qt::EditRole);
    QTableView view;
    ScaleDelegate delegate;
    view.setModel(&model);
    view.setItemDelegate(&delegate);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    const QModelIndex cell = model.index(0, 0);
    auto edit = [&](const QString* typed) { return CellEdit::type(&view, cell, typed); };
    QCOMPARE(edit(nullptr), QStringLiteral("0.001"));
    QCOMPARE(float(model.data(cell, Qt::EditRole).toDouble()), 0.001f);
    const QString tiny = QStringLiteral("2.5e-4");
    edit(&tiny);
    QCOMPARE(model.data(cell, Qt::EditRole).toDouble(), 2.5e-4);
    QCOMPARE(delegate.displayText(model.data(cell, Qt::EditRole), QLocale::c()), QStringLiteral("0.00025"));
    const QString zero = QStringLiteral("0");
    edit(&zero);
    QCOMPARE(model.data(cell, Qt::EditRole).toDouble(), 2.5e-4);
    // The editor takes only the shape of a number.
    view.edit(cell);
    auto* line = qobject_cast<QLineEdit*>(view.indexWidget(cell));
    QVERIFY(line);
    line->clear();
    QTest::keyClicks(line, QStringLiteral("x1.5ey-3"));
    QCOMPARE(line->text(), QStringLiteral("1.5e-3"));
}

void TestDelegates::colorWidget()
{
    ColorWidget widget;
    QCOMPARE(widget.color(), QColor(Qt::white));
    QCOMPARE(QColorDialog::customColor(0), QColor(255, 0, 0, 255));
    QCOMPARE(widget.button()->maximumWidth(), 40);
    QVERIFY(widget.button()->text().isEmpty());
    QVERIFY(!widget.button()->icon().isNull());
    auto* grid = qobject_cast<QGridLayout*>(widget.layout());
    QVERIFY(grid);
    QCOMPARE(grid->itemAtPosition(0, 0)->widget(), widget.swatch());
    QCOMPARE(grid->itemAtPosition(0, 1)->widget(), widget.button());
    QCOMPARE(grid->columnStretch(0), 1);
    QCOMPARE(grid->columnStretch(1), 0);
    QVERIFY(!widget.dialog()->isModal());

    widget.resize(200, 40);
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
    widget.setColor(QColor(0, 0, 255));
    QCOMPARE(widget.dialog()->currentColor(), QColor(0, 0, 255));
    QImage swatch = widget.swatch()->grab().toImage();
    QCOMPARE(swatch.pixel(swatch.width() / 2, swatch.height() / 2), qRgb(0, 0, 255));

    // A colour chosen in the dialog.
    emit widget.dialog()->colorSelected(QColor(0, 128, 0));
    QCOMPARE(widget.color(), QColor(0, 128, 0));
    swatch = widget.swatch()->grab().toImage();
    QCOMPARE(swatch.pixel(swatch.width() / 2, swatch.height() / 2), qRgb(0, 128, 0));
    // The white outline, antialiased over y = 1 and 2: lighter than the
    // window behind it, and green mixed with white below.
    const QRgb behind = swatch.pixel(swatch.width() / 2, 0);
    QVERIFY(qGray(swatch.pixel(swatch.width() / 2, 1)) > qGray(behind));
    QCOMPARE(swatch.pixel(swatch.width() / 2, 2), qRgb(128, 192, 128));

    // The button opens the dialog, without blocking.
    QTest::mouseClick(widget.button(), Qt::LeftButton);
    QVERIFY(widget.dialog()->isVisible());
    widget.dialog()->hide();

    // A small swatch is left empty.
    const QColor colour(255, 0, 0);
    ColorWidgetPrivate tiny(&colour, nullptr);
    tiny.resize(9, 30);
    QImage empty = tiny.grab().toImage();
    for (int y = 0; y < empty.height(); ++y)
        for (int x = 0; x < empty.width(); ++x)
            QVERIFY(qRed(empty.pixel(x, y)) != 255 || qGreen(empty.pixel(x, y)) != 0);
    tiny.resize(10, 30);
    empty = tiny.grab().toImage();
    QCOMPARE(empty.pixel(5, 15), qRgb(255, 0, 0));
}

QTEST_MAIN(TestDelegates)
#include "tst_delegates.moc"
