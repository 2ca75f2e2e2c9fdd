// The start page's gradient bars: the colours of each look, the editor's
// hover and key handling, and the delegate's size, data and painting.

#include "listdelegate.h"
#include "listdelegateeditor.h"

#include <QtTest>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>

namespace {

constexpr int kWidth = 200;
constexpr int kHeight = 40;

QImage paintedBar(int state, const QString& text = QString(), const QColor& background = Qt::white)
{
    QImage image(kWidth, kHeight, QImage::Format_ARGB32);
    image.fill(background);
    QPainter painter(&image);
    QFont font;
    font.setPixelSize(16);
    ListDelegate::paintBar(&painter, image.rect(), text, font, state);
    return image;
}

// Whether a colour is close to another, for gradient pixels between stops.
bool near(const QColor& a, const QColor& b, int tolerance = 4)
{
    return qAbs(a.red() - b.red()) <= tolerance && qAbs(a.green() - b.green()) <= tolerance
           && qAbs(a.blue() - b.blue()) <= tolerance;
}

QString describe(const QColor& colour)
{
    return QStringLiteral("(%1, %2, %3, %4)").arg(colour.red()).arg(colour.green()).arg(colour.blue()).arg(colour.alpha());
}

// The colour of the most frequent pixel among those not in `except`.
QColor inkOf(const QImage& image, const QList<QColor>& except)
{
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor colour = image.pixelColor(x, y);
            bool skip = false;
            for (const QColor& other : except)
                skip = skip || near(colour, other, 40);
            if (!skip)
                ++counts[colour.rgba()];
        }
    }
    QRgb best = 0;
    int most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > most) {
            most = it.value();
            best = it.key();
        }
    }
    return QColor::fromRgba(best);
}

// The leftmost column holding a pixel unlike the background.
int firstInkColumn(const QImage& image, const QColor& background)
{
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            if (!near(image.pixelColor(x, y), background, 60))
                return x;
        }
    }
    return -1;
}

int firstInkRow(const QImage& image, const QColor& background)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (!near(image.pixelColor(x, y), background, 60))
                return y;
        }
    }
    return -1;
}

} // namespace

class TestListDelegate : public QObject
{
    Q_OBJECT

private slots:
    void barColours();
    void barText();
    void editorHoverAndFocus();
    void returnPressesWithoutClick();
    void spaceAndMouseClickHandOutData();
    void delegateEditorAndData();
    void delegateSizeAndPaint();
};

void TestListDelegate::barColours()
{
    // Normal: white all over.
    const QImage normal = paintedBar(ListDelegate::Normal);
    QCOMPARE(normal.pixelColor(5, 0), QColor(Qt::white));
    QCOMPARE(normal.pixelColor(5, kHeight - 1), QColor(Qt::white));

    // Under the mouse: light to saturated blue from top to bottom, the
    // bottom colour reached one pixel below the bar.
    const QImage hover = paintedBar(ListDelegate::UnderMouse, QString(), Qt::black);
    const QColor top = QColor::fromHsl(200, 255, 220);
    const QColor bottom = QColor::fromHsl(200, 255, 130);
    QVERIFY2(near(hover.pixelColor(5, 0), top), qPrintable(describe(hover.pixelColor(5, 0))));
    QVERIFY2(near(hover.pixelColor(5, kHeight - 1), bottom, 6), qPrintable(describe(hover.pixelColor(5, kHeight - 1))));
    QCOMPARE(hover.pixelColor(5, kHeight / 2).alpha(), 255);

    // Pressed: one flat colour.
    const QImage pressed = paintedBar(ListDelegate::Pressed, QString(), Qt::black);
    QCOMPARE(pressed.pixelColor(5, 0), QColor(46, 93, 127));
    QCOMPARE(pressed.pixelColor(5, kHeight - 1), QColor(46, 93, 127));

    // Focused: the hover gradient at alpha 10, a faint tint over the page.
    const QImage focused = paintedBar(ListDelegate::Focused, QString(), Qt::white);
    const QColor tint = focused.pixelColor(5, kHeight - 1);
    QVERIFY(tint != QColor(Qt::white));
    QVERIFY2(near(tint, QColor(255 - (255 - bottom.red()) * 10 / 255, 255 - (255 - bottom.green()) * 10 / 255,
                               255 - (255 - bottom.blue()) * 10 / 255),
                  3),
             qPrintable(describe(tint)));
}

void TestListDelegate::barText()
{
    const QString text = QStringLiteral("Hydrogen");
    const QImage normal = paintedBar(ListDelegate::Normal, text);
    // Dark blue text, starting 20 pixels in.
    QVERIFY(near(inkOf(normal, {Qt::white}), QColor(0, 0, 191), 8));
    const int left = firstInkColumn(normal, Qt::white);
    QVERIFY2(left >= 20 && left <= 23, qPrintable(QString::number(left)));

    // On the gradient the text is the one pure white there is.
    const QImage hover = paintedBar(ListDelegate::UnderMouse, text);
    const QImage emptyHover = paintedBar(ListDelegate::UnderMouse);
    auto whitePixels = [](const QImage& image) {
        int count = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                count += image.pixelColor(x, y) == QColor(255, 255, 255) ? 1 : 0;
        }
        return count;
    };
    QCOMPARE(whitePixels(emptyHover), 0);
    QVERIFY(whitePixels(hover) > 10);

    // Pressed text is white and one pixel lower.
    const QImage pressed = paintedBar(ListDelegate::Pressed, text);
    QCOMPARE(inkOf(pressed, {QColor(46, 93, 127)}), QColor(Qt::white));
    QCOMPARE(firstInkRow(pressed, QColor(46, 93, 127)), firstInkRow(normal, Qt::white) + 1);
}

void TestListDelegate::editorHoverAndFocus()
{
    QWidget window;
    window.resize(300, 120);
    auto* bar = new ListDelegateEditor(&window);
    bar->setGeometry(10, 10, kWidth, kHeight);
    bar->setText(QStringLiteral("Scheme"));
    bar->setFocusPolicy(Qt::NoFocus);
    QVERIFY(bar->autoFillBackground());
    QVERIFY(bar->hasMouseTracking());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(bar->state(), int(ListDelegate::Normal));

    // The mouse enters: saturated blue with white text; leaves: white again.
    QEnterEvent enter(QPointF(5, 5), QPointF(15, 15), QPointF(15, 15));
    bar->setAttribute(Qt::WA_UnderMouse, true);
    QApplication::sendEvent(bar, &enter);
    QCOMPARE(bar->state(), int(ListDelegate::UnderMouse));
    QImage picture = bar->grab().toImage();
    QVERIFY(near(picture.pixelColor(2, picture.height() - 2), QColor::fromHsl(200, 255, 130), 8));

    bar->setAttribute(Qt::WA_UnderMouse, false);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(bar, &leave);
    QCOMPARE(bar->state(), int(ListDelegate::Normal));
    picture = bar->grab().toImage();
    QCOMPARE(picture.pixelColor(2, picture.height() - 2), QColor(Qt::white));

    bar->setFocusPolicy(Qt::StrongFocus);
    bar->setFocus();
    QTRY_VERIFY(bar->hasFocus());
    QCOMPARE(bar->state(), int(ListDelegate::Focused));
}

void TestListDelegate::returnPressesWithoutClick()
{
    QListWidget list;
    auto* delegate = new ListDelegate(&list);
    list.setItemDelegate(delegate);
    auto* item = new QListWidgetItem(QStringLiteral("Scheme"), &list);
    auto* bar = static_cast<ListDelegateEditor*>(delegate->createEditor(list.viewport(), {}, {}));
    bar->data = QStringLiteral("H2");
    bar->installEventFilter(delegate);
    list.setItemWidget(item, bar);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    bar->setFocus();
    int clicks = 0;
    connect(bar, &ListDelegateEditor::clicked, this, [&clicks](QVariant&) { ++clicks; });

    // Pressed while held, a click when let go, as Space does.
    for (int key : {int(Qt::Key_Return), int(Qt::Key_Enter)}) {
        QTest::keyPress(bar, Qt::Key(key));
        QVERIFY(bar->isDown());
        QCOMPARE(bar->state(), int(ListDelegate::Pressed));
        const QImage picture = bar->grab().toImage();
        QCOMPARE(picture.pixelColor(2, 2), QColor(46, 93, 127));
        QCOMPARE(clicks, key == Qt::Key_Return ? 0 : 1);
        QTest::keyRelease(bar, Qt::Key(key));
        QVERIFY(!bar->isDown());
        QCOMPARE(clicks, key == Qt::Key_Return ? 1 : 2);
    }

    // The filter consumes Return for any object, but presses only bars.
    QLineEdit other;
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QVERIFY(delegate->eventFilter(&other, &press));
    QKeyEvent letter(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QVERIFY(!delegate->eventFilter(bar, &letter));
}

void TestListDelegate::spaceAndMouseClickHandOutData()
{
    QWidget window;
    auto* bar = new ListDelegateEditor(&window);
    bar->setGeometry(0, 0, kWidth, kHeight);
    bar->data = 7;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVariant received;
    int clicks = 0;
    connect(bar, &ListDelegateEditor::clicked, this, [&](QVariant& data) {
        received = data;
        ++clicks;
    });
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(20, 20));
    QCOMPARE(clicks, 1);
    QCOMPARE(received, QVariant(7));
    bar->data = QStringLiteral("H2-AIR");
    bar->setFocus();
    QTest::keyClick(bar, Qt::Key_Space);
    QCOMPARE(clicks, 2);
    QCOMPARE(received, QVariant(QStringLiteral("H2-AIR")));
}

void TestListDelegate::delegateEditorAndData()
{
    QListWidget list;
    ListDelegate delegate;
    auto* item = new QListWidgetItem(QStringLiteral("Recent project"), &list);
    const QModelIndex index = list.model()->index(0, 0);
    QWidget* editor = delegate.createEditor(&list, {}, index);
    auto* bar = qobject_cast<ListDelegateEditor*>(editor);
    QVERIFY(bar);
    QCOMPARE(bar->focusPolicy(), Qt::StrongFocus);
    delegate.setEditorData(bar, index);
    QCOMPARE(bar->text(), QStringLiteral("Recent project"));
    bar->setText(QStringLiteral("changed"));
    delegate.setModelData(bar, list.model(), index);
    QCOMPARE(item->text(), QStringLiteral("Recent project"));
    delete editor;
}

void TestListDelegate::delegateSizeAndPaint()
{
    QListWidget list;
    ListDelegate delegate;
    new QListWidgetItem(QStringLiteral("Item"), &list);
    const QModelIndex index = list.model()->index(0, 0);
    QStyleOptionViewItem option;
    option.rect = QRect(0, 0, 250, 10);
    QFont font;
    font.setPixelSize(16);
    option.font = font;
    QCOMPARE(delegate.sizeHint(option, index), QSize(250, QFontMetrics(font).height() + 8));

    QImage image(kWidth, kHeight, QImage::Format_ARGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    option.rect = image.rect();
    option.state = QStyle::State_Selected | QStyle::State_HasFocus;
    delegate.paint(&painter, option, index);
    // Selected with focus: the faint tint over black, not white.
    QVERIFY(image.pixelColor(2, kHeight - 1).lightness() < 30);
    option.state = QStyle::State_Selected;
    delegate.paint(&painter, option, index);
    painter.end();
    QCOMPARE(image.pixelColor(2, kHeight - 1), QColor(Qt::white));
}

QTEST_MAIN(TestListDelegate)
#include "tst_listdelegate.moc"
