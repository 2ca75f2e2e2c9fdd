// The page selector: entries and their page indices, separators, enabling,
// the current page, the warning for a page added twice, and how entries and
// separators are drawn.

#include "selector.h"
#include "selectordelegate.h"
#include "messagecapture.h"

#include <QtTest>

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QRegularExpression>
#include <QStackedWidget>

namespace {

// A square picture of one colour, so that drawn pixels tell where it went.
QIcon solidIcon(int side, const QColor& colour)
{
    QPixmap pixmap(side, side);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

bool isGrey(const QColor& colour)
{
    return qAbs(colour.red() - colour.green()) < 16 && qAbs(colour.green() - colour.blue()) < 16;
}

} // namespace

class TestSelector : public QObject
{
    Q_OBJECT

private slots:
    void pagesAndCurrentEntry();
    void pageAddedTwice();
    void separators();
    void enablingEntries();
    void checkWgtEnableFollowsPages();
    void currentIndexAndWidget();
    void entrySizes();
    void drawing();
    void disabledEntryDrawnGreyAndNotChosen();
};

void TestSelector::pagesAndCurrentEntry()
{
    Selector selector;
    auto* first = new QLabel(QStringLiteral("first"));
    auto* second = new QLabel(QStringLiteral("second"));
    auto* third = new QLabel(QStringLiteral("third"));
    QCOMPARE(selector.addWidget(first, solidIcon(48, Qt::red), QStringLiteral("One")), 0);
    QCOMPARE(selector.list()->currentRow(), 0);
    QCOMPARE(selector.stack()->currentWidget(), first);
    QCOMPARE(selector.addWidget(second, solidIcon(48, Qt::red), QStringLiteral("Two")), 1);
    selector.addSeparator();
    QCOMPARE(selector.addWidget(third, solidIcon(48, Qt::red), QStringLiteral("Three")), 2);
    // Later pages leave the first one in front.
    QCOMPARE(selector.list()->currentRow(), 0);
    QCOMPARE(selector.stack()->currentWidget(), first);

    QCOMPARE(selector.list()->count(), 4);
    QCOMPARE(selector.list()->item(0)->text(), QStringLiteral("One"));
    QCOMPARE(selector.list()->item(1)->data(Qt::UserRole).toInt(), 1);
    QCOMPARE(selector.list()->item(3)->data(Qt::UserRole).toInt(), 2);
    QCOMPARE(selector.list()->item(3)->flags(), Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    QCOMPARE(selector.stack()->widget(2), third);
    QVERIFY(selector.list()->maximumWidth() <= 80);
    QCOMPARE(selector.list()->font().weight(), QFont::Bold);
    QVERIFY(qobject_cast<SelectorDelegate*>(selector.list()->itemDelegate()));

    // Choosing an entry shows its page.
    selector.list()->setCurrentRow(3);
    QCOMPARE(selector.stack()->currentWidget(), third);
}

void TestSelector::pageAddedTwice()
{
    Selector selector;
    auto* page = new QLabel;
    page->setObjectName(QStringLiteral("thePage"));
    QCOMPARE(selector.addWidget(page, QIcon(), QStringLiteral("Page")), 0);
    MessageCapture capture;
    QCOMPARE(selector.addWidget(page, QIcon(), QStringLiteral("Again")), -1);
    const QStringList warnings = capture.texts(QtWarningMsg);
    QCOMPARE(warnings.size(), 1);
    const QRegularExpression expected(
        QStringLiteral("^Selector::addWidget\\(\\)\\. Widget QLabel\\(0x[0-9a-f]+, name=\"thePage\"\\) already exists $"));
    QVERIFY2(expected.match(warnings.first()).hasMatch(), qPrintable(warnings.first()));
    QCOMPARE(selector.list()->count(), 1);
    QCOMPARE(selector.list()->item(0)->text(), QStringLiteral("Page"));
    QCOMPARE(selector.stack()->count(), 1);
}

void TestSelector::separators()
{
    Selector selector;
    selector.addSeparator();
    QListWidgetItem* separator = selector.list()->item(0);
    QCOMPARE(separator->flags(), Qt::NoItemFlags);
    QCOMPARE(separator->data(Qt::UserRole).toInt(), -1);
    // A separator is never found by page index, and cannot become current
    // through a click.
    QCOMPARE(selector.entry(-1), nullptr);
    auto* page = new QLabel;
    QCOMPARE(selector.addWidget(page, QIcon(), QStringLiteral("Page")), 0);
    QCOMPARE(selector.list()->count(), 2);
    selector.setTabEnabled(-1, true);
    QCOMPARE(separator->flags(), Qt::NoItemFlags);

    selector.resize(300, 300);
    selector.show();
    QVERIFY(QTest::qWaitForWindowExposed(&selector));
    selector.list()->setCurrentRow(1);
    const QRect rect = selector.list()->visualItemRect(separator);
    QTest::mouseClick(selector.list()->viewport(), Qt::LeftButton, {}, rect.center());
    QCOMPARE(selector.list()->currentRow(), 1);
    QCOMPARE(selector.stack()->currentWidget(), page);
}

void TestSelector::enablingEntries()
{
    Selector selector;
    selector.addWidget(new QLabel, QIcon(), QStringLiteral("A"));
    selector.addSeparator();
    selector.addWidget(new QLabel, QIcon(), QStringLiteral("B"));
    selector.setTabEnabled(1, false);
    QCOMPARE(selector.list()->item(2)->flags(), Qt::ItemIsSelectable);
    selector.setTabEnabled(1, true);
    QCOMPARE(selector.list()->item(2)->flags(), Qt::ItemIsSelectable | Qt::ItemIsEnabled);

    // An index no entry has changes nothing.
    selector.setTabEnabled(0, false);
    QList<Qt::ItemFlags> before;
    for (int row = 0; row < selector.list()->count(); ++row)
        before << selector.list()->item(row)->flags();
    selector.setTabEnabled(7, true);
    selector.setTabEnabled(-1, true);
    for (int row = 0; row < selector.list()->count(); ++row)
        QCOMPARE(selector.list()->item(row)->flags(), before.at(row));
}

void TestSelector::checkWgtEnableFollowsPages()
{
    Selector selector;
    auto* a = new QLabel;
    auto* b = new QLabel;
    selector.addWidget(a, QIcon(), QStringLiteral("A"));
    selector.addSeparator();
    selector.addWidget(b, QIcon(), QStringLiteral("B"));
    b->setEnabled(false);
    selector.setTabEnabled(0, false);
    QVERIFY(QMetaObject::invokeMethod(&selector, "checkWgtEnable"));
    QCOMPARE(selector.list()->item(0)->flags(), Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    QCOMPARE(selector.list()->item(1)->flags(), Qt::NoItemFlags);
    QCOMPARE(selector.list()->item(2)->flags(), Qt::ItemIsSelectable);
    b->setEnabled(true);
    QVERIFY(QMetaObject::invokeMethod(&selector, "checkWgtEnable"));
    QCOMPARE(selector.list()->item(2)->flags(), Qt::ItemIsSelectable | Qt::ItemIsEnabled);
}

void TestSelector::currentIndexAndWidget()
{
    Selector selector;
    auto* a = new QLabel;
    auto* b = new QLabel;
    auto* c = new QLabel;
    selector.addWidget(a, QIcon(), QStringLiteral("A"));
    selector.addSeparator();
    selector.addWidget(b, QIcon(), QStringLiteral("B"));
    selector.addWidget(c, QIcon(), QStringLiteral("C"));
    selector.setCurrentIndex(2);
    QCOMPARE(selector.stack()->currentWidget(), c);
    QCOMPARE(selector.list()->currentRow(), 3);
    selector.setCurrentWidget(b);
    QCOMPARE(selector.stack()->currentWidget(), b);
    QCOMPARE(selector.list()->currentRow(), 2);
    // Unknown pages change nothing.
    selector.setCurrentIndex(9);
    selector.setCurrentWidget(new QLabel(&selector));
    QCOMPARE(selector.stack()->currentWidget(), b);
    QCOMPARE(selector.list()->currentRow(), 2);
}

void TestSelector::entrySizes()
{
    QListWidget list;
    QFont font = list.font();
    font.setWeight(QFont::Bold);
    list.setFont(font);
    SelectorDelegate delegate;
    auto* separator = new QListWidgetItem(&list);
    separator->setData(Qt::UserRole, -1);
    auto* large = new QListWidgetItem(solidIcon(64, Qt::red), QStringLiteral("X"), &list);
    large->setData(Qt::UserRole, 0);
    auto* small = new QListWidgetItem(solidIcon(32, Qt::red), QStringLiteral("A rather long caption"), &list);
    small->setData(Qt::UserRole, 1);
    auto* bare = new QListWidgetItem(QStringLiteral("Text"), &list);
    bare->setData(Qt::UserRole, 2);

    QStyleOptionViewItem option;
    option.initFrom(&list);
    option.font = font;
    const QFontMetrics metrics(font);
    QCOMPARE(delegate.sizeHint(option, list.model()->index(0, 0)), QSize(32, 16));
    QCOMPARE(delegate.sizeHint(option, QModelIndex()), QSize(32, 16));
    // A 64-pixel icon counts as 48 wide and 52 high with its margin.
    QCOMPARE(delegate.sizeHint(option, list.model()->index(1, 0)),
             QSize(qMax(48, metrics.horizontalAdvance(QStringLiteral("X"))), 52 + metrics.height()));
    const int captionWidth = metrics.horizontalAdvance(QStringLiteral("A rather long caption"));
    QVERIFY(captionWidth > 32);
    QCOMPARE(delegate.sizeHint(option, list.model()->index(2, 0)), QSize(captionWidth, 36 + metrics.height()));
    QCOMPARE(delegate.sizeHint(option, list.model()->index(3, 0)),
             QSize(metrics.horizontalAdvance(QStringLiteral("Text")), 4 + metrics.height()));
}

void TestSelector::drawing()
{
    // Painted straight through the delegate, over a known background.
    QListWidget list;
    SelectorDelegate delegate;
    auto* separator = new QListWidgetItem(&list);
    separator->setData(Qt::UserRole, -1);
    auto* entry = new QListWidgetItem(solidIcon(48, QColor(255, 0, 0)), QStringLiteral("Entry"), &list);
    entry->setData(Qt::UserRole, 0);

    QImage image(80, 100, QImage::Format_ARGB32);
    image.fill(QColor(10, 20, 30));
    QPainter painter(&image);
    QStyleOptionViewItem option;
    option.initFrom(&list);
    option.state = QStyle::State_Enabled | QStyle::State_Active;
    option.rect = QRect(0, 0, 80, 16);
    delegate.paint(&painter, option, list.model()->index(0, 0));
    // The selected entry below the separator.
    option.rect = QRect(0, 20, 80, 75);
    option.state |= QStyle::State_Selected;
    delegate.paint(&painter, option, list.model()->index(1, 0));
    painter.end();

    // The separator: a grey line across the middle, a tenth of the width
    // short of each end.
    QCOMPARE(image.pixelColor(40, 8), QColor(192, 192, 192));
    QCOMPARE(image.pixelColor(20, 8), QColor(192, 192, 192));
    QCOMPARE(image.pixelColor(3, 8), QColor(10, 20, 30));
    QCOMPARE(image.pixelColor(77, 8), QColor(10, 20, 30));
    QCOMPARE(image.pixelColor(40, 2), QColor(10, 20, 30));

    // The selected entry: highlight, with the icon centred in its area.
    const QColor highlight = list.palette().color(QPalette::Active, QPalette::Highlight);
    QCOMPARE(image.pixelColor(2, 22), highlight);
    const QFontMetrics metrics(list.font());
    const int iconAreaHeight = 75 - metrics.height() - 8;
    const int iconSide = qMin(48, iconAreaHeight);
    const QPoint iconCentre(40, 20 + 4 + iconAreaHeight / 2);
    QCOMPARE(image.pixelColor(iconCentre), QColor(255, 0, 0));
    QCOMPARE(image.pixelColor(40 - iconSide / 2 - 2, iconCentre.y()), highlight);
    // The caption sits under the icon, in the highlighted-text colour.
    const QColor ink = list.palette().color(QPalette::Active, QPalette::HighlightedText);
    bool captionFound = false;
    for (int y = 20 + iconSide; y < 95 && !captionFound; ++y) {
        for (int x = 0; x < 80; ++x) {
            if (image.pixelColor(x, y) == ink) {
                captionFound = true;
                break;
            }
        }
    }
    QVERIFY(captionFound);
}

void TestSelector::disabledEntryDrawnGreyAndNotChosen()
{
    Selector selector;
    auto* a = new QLabel;
    auto* b = new QLabel;
    selector.addWidget(a, solidIcon(48, QColor(255, 0, 0)), QStringLiteral("A"));
    selector.addWidget(b, solidIcon(48, QColor(255, 0, 0)), QStringLiteral("B"));
    selector.setTabEnabled(1, false);
    selector.resize(300, 400);
    selector.show();
    QVERIFY(QTest::qWaitForWindowExposed(&selector));

    QListWidget* list = selector.list();
    const QRect disabledRect = list->visualItemRect(list->item(1));
    const QRect enabledRect = list->visualItemRect(list->item(0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, disabledRect.center());
    QCOMPARE(list->currentRow(), 0);
    QCOMPARE(selector.stack()->currentWidget(), a);

    list->clearSelection();
    const QImage picture = list->viewport()->grab().toImage();
    const qreal ratio = picture.devicePixelRatio();
    auto iconPixel = [&](const QRect& rect) {
        const QPoint centre(rect.center().x(), rect.top() + 4 + 24);
        return picture.pixelColor(centre * ratio);
    };
    const QColor enabledColour = iconPixel(enabledRect);
    const QColor disabledColour = iconPixel(disabledRect);
    QCOMPARE(enabledColour, QColor(255, 0, 0));
    // Still drawn, but greyed: not the background, not red.
    const QColor background = picture.pixelColor(QPoint(disabledRect.left() + 1, disabledRect.top() + 1) * ratio);
    QVERIFY2(isGrey(disabledColour), qPrintable(disabledColour.name()));
    QVERIFY(disabledColour != background);
}

QTEST_MAIN(TestSelector)
#include "tst_selector.moc"
