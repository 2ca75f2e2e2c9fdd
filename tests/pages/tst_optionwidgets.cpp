// The option editor widgets: the field and menu editors bound to a value
// string, the group button (keys, tree item, painting), the hosting tree
// and the catalogue viewer.

#include "optionpagefixture.h"

#include "optbutton.h"
#include "optioncombo.h"
#include "optionfield.h"
#include "optiontree.h"
#include "optviewer.h"
#include "numbervalidator.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QScrollBar>
#include <QWheelEvent>
#include <QSignalSpy>
#include <QTest>

namespace {

bool near(QColor actual, QColor expected, int tolerance = 3)
{
    return qAbs(actual.red() - expected.red()) <= tolerance && qAbs(actual.green() - expected.green()) <= tolerance
           && qAbs(actual.blue() - expected.blue()) <= tolerance;
}

QString describe(QColor colour)
{
    return QStringLiteral("rgb(%1, %2, %3)").arg(colour.red()).arg(colour.green()).arg(colour.blue());
}

bool isWhite(QColor colour)
{
    return colour.red() > 235 && colour.green() > 235 && colour.blue() > 235;
}

int whiteInColumn(const QImage& image, int x, int top, int bottom)
{
    int count = 0;
    for (int y = top; y <= bottom; ++y)
        count += isWhite(image.pixelColor(x, y)) ? 1 : 0;
    return count;
}

int whiteInRow(const QImage& image, int y, int left, int right)
{
    int count = 0;
    for (int x = left; x <= right; ++x)
        count += isWhite(image.pixelColor(x, y)) ? 1 : 0;
    return count;
}

} // namespace

class TestOptionWidgets : public QObject
{
    Q_OBJECT

private slots:
    void comboShowsAndWritesMenuValues();
    void fieldTakesNumbersAsTyped();
    void wheelEditsOnlyFocusedEditors();
    void buttonDefaultsAndTreeItem();
    void buttonKeys();
    void buttonTakesFocusOnMouseRelease();
    void buttonPaintsStateColours();
    void buttonPaintsArrowByCheckedState();
    void buttonShortensText();
    void treeOwnsAndDeletesCellWidgets();
    void treeMovesAndRemovesItems();
    void treeColumnMinimalWidths();
    void treeKeys();
    void viewerListsCatalogue();

private:
    OptionPageFixture m_fixture;
};

void TestOptionWidgets::comboShowsAndWritesMenuValues()
{
    OOption* mole = m_fixture.option(QStringLiteral("MOLE"));
    QVERIFY(mole->values.size() >= 3);
    QString value = QStringLiteral("2");
    OptionCombo combo(mole, &value);
    QSignalSpy edited(&combo, &OptionCombo::valueEdited);
    QCOMPARE(combo.count(), mole->values.size());
    for (int i = 0; i < combo.count(); ++i) {
        QCOMPARE(combo.itemText(i), mole->values.at(i).text);
        QCOMPARE(combo.itemData(i).toString(), mole->values.at(i).value);
        QCOMPARE(combo.itemData(i, Qt::ToolTipRole).toString(), mole->values.at(i).detail);
    }
    QCOMPARE(combo.itemText(0), QStringLiteral("Mole fractions"));
    QCOMPARE(combo.currentIndex(), 1);
    QCOMPARE(combo.focusPolicy(), Qt::StrongFocus);
    combo.setCurrentIndex(0);
    QCOMPARE(value, QStringLiteral("1"));
    QCOMPARE(edited.count(), 1);

    // A value no item offers: shown as an unknown value carrying it, not as
    // "off", and written as it is until another is chosen.
    QString unknown = QStringLiteral("7");
    OptionCombo other(mole, &unknown);
    QCOMPARE(other.count(), mole->values.size() + 1);
    QCOMPARE(other.currentIndex(), other.count() - 1);
    QCOMPARE(other.currentText(), QStringLiteral("Uknown Value"));
    QCOMPARE(other.itemData(other.currentIndex()).toString(), QStringLiteral("7"));
    QCOMPARE(other.itemData(other.currentIndex(), Qt::ToolTipRole).toString(), QStringLiteral("7"));
    QCOMPARE(unknown, QStringLiteral("7"));
    other.setCurrentIndex(1);
    QCOMPARE(unknown, QStringLiteral("2"));
    other.setCurrentIndex(other.count() - 1);
    QCOMPARE(unknown, QStringLiteral("7"));
    // No current item: the option's default.
    other.setCurrentIndex(-1);
    QCOMPARE(unknown, mole->defaultValue);
}

void TestOptionWidgets::fieldTakesNumbersAsTyped()
{
    // What the validator takes, and how long: a condition's column is 10
    // characters, an option's (TIGN) 2.
    NumberValidator condition(NumberValidator::ConditionLength);
    const QList<QPair<QString, QValidator::State>> cases{
        {"1100", QValidator::Acceptable},       {"2.5E-4", QValidator::Acceptable},
        {"1.0D-03", QValidator::Acceptable},    {"-.5e+120", QValidator::Acceptable},
        {"500.", QValidator::Acceptable},       {"", QValidator::Acceptable},
        {"1.23456E-5", QValidator::Acceptable}, {"1.23456E-05", QValidator::Invalid},
        {"2.5E", QValidator::Intermediate},     {"-", QValidator::Intermediate},
        {"1E-", QValidator::Intermediate},      {"12a", QValidator::Invalid},
        {"1.0E-0003", QValidator::Invalid},     {"1..2", QValidator::Invalid},
    };
    for (const auto& [text, state] : cases) {
        QString input = text;
        int position = 0;
        QVERIFY2(condition.validate(input, position) == state, qPrintable(text));
    }
    OptionField tign(m_fixture.option(QStringLiteral("TIGN")), new QString(QStringLiteral("8")));
    QCOMPARE(tign.numberValidator()->maxLength(), 2);
    QString wide = QStringLiteral("108");
    int position = 0;
    QCOMPARE(tign.numberValidator()->validate(wide, position), QValidator::Invalid);
    delete tign.value();
    // No mask, ever: the catalogue keeps its mask strings for nothing else.
    OOption* tend = m_fixture.option(QStringLiteral("TEND"));
    QCOMPARE(tend->inputMask, QStringLiteral("#00.00E#00"));

    QString value = QStringLiteral("1.0E-03");
    QWidget window;
    auto* field = new OptionField(tend, &value, &window);
    auto* other = new QLineEdit(&window);
    other->move(0, 40);
    QSignalSpy edited(field, &OptionField::valueEdited);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    // Focus in and out changes nothing.
    for (int i = 0; i < 2; ++i) {
        field->setFocus(Qt::MouseFocusReason);
        QTRY_VERIFY(field->hasFocus());
        QCOMPARE(field->inputMask(), QString());
        other->setFocus(Qt::MouseFocusReason);
        QTRY_VERIFY(other->hasFocus());
    }
    QCOMPARE(value, QStringLiteral("1.0E-03"));
    QCOMPARE(field->text(), QStringLiteral("1.0E-03"));
    QCOMPARE(edited.count(), 0);

    // Typed and confirmed: stored as typed.
    field->setFocus(Qt::MouseFocusReason);
    field->selectAll();
    QTest::keyClicks(field, QStringLiteral("2.5E-4"));
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(value, QStringLiteral("2.5E-4"));
    QCOMPARE(edited.count(), 1);

    // Text that does not parse yet: framed red with a tool tip, not stored,
    // still on show after the focus has gone.
    field->setToolTip(QStringLiteral("End time"));
    field->selectAll();
    QTest::keyClicks(field, QStringLiteral("3E"));
    QVERIFY(field->isShownInvalid());
    QCOMPARE(field->toolTip(), field->numberValidator()->expectation());
    QVERIFY(field->styleSheet().contains(QStringLiteral("border")));
    other->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(other->hasFocus());
    QCOMPARE(value, QStringLiteral("2.5E-4"));
    QCOMPARE(field->text(), QStringLiteral("3E"));
    QVERIFY(field->isShownInvalid());
    // Finished: stored, the frame and the tool tip back to normal.
    field->setFocus(Qt::MouseFocusReason);
    field->end(false);
    QTest::keyClick(field, Qt::Key_5);
    other->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(other->hasFocus());
    QCOMPARE(value, QStringLiteral("3E5"));
    QVERIFY(!field->isShownInvalid());
    QCOMPARE(field->toolTip(), QStringLiteral("End time"));
    QCOMPARE(field->styleSheet(), QString());
    QCOMPARE(edited.count(), 2);

    // Emptied: the option is off, and shows empty with "off" in grey.
    field->setFocus(Qt::MouseFocusReason);
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(value, QStringLiteral("off"));
    QString off = QStringLiteral("off");
    OptionField offField(tend, &off);
    QCOMPARE(offField.text(), QString());
    QCOMPARE(offField.placeholderText(), QStringLiteral("off"));

    // A stored value longer than the column is shown whole, and focus
    // alone does not cut it.
    QString longer = QStringLiteral("1.23456E-05");
    auto* whole = new OptionField(tend, &longer, &window);
    whole->move(0, 80);
    whole->show();
    QCOMPARE(whole->text(), QStringLiteral("1.23456E-05"));
    whole->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(whole->hasFocus());
    other->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(other->hasFocus());
    QCOMPARE(longer, QStringLiteral("1.23456E-05"));
    delete whole;

    // The second form is the catalogue's, shown for reference: read-only.
    OptionField own(tend);
    QVERIFY(own.value() == &tend->value);
    QVERIFY(own.isReadOnly());
}

void TestOptionWidgets::wheelEditsOnlyFocusedEditors()
{
    // A tall tree of menus and fields: the wheel over one the user is not in
    // scrolls the tree and changes no value.
    QString values[40];
    OptionTree tree;
    tree.setColumnCount(2);
    tree.resize(300, 200);
    QList<OptionCombo*> combos;
    QList<OptionField*> fields;
    for (int i = 0; i < 40; ++i) {
        auto* item = new QTreeWidgetItem(&tree);
        item->setText(0, QString::number(i));
        if (i % 2 == 0) {
            values[i] = QStringLiteral("1");
            combos << new OptionCombo(m_fixture.option(QStringLiteral("MOLE")), &values[i]);
            tree.setItemWidget(item, 1, combos.last());
        } else {
            values[i] = QStringLiteral("1.0");
            fields << new OptionField(m_fixture.option(QStringLiteral("TEND")), &values[i]);
            tree.setItemWidget(item, 1, fields.last());
        }
    }
    tree.show();
    tree.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&tree));
    auto wheel = [](QWidget* target) {
        const QPointF at(target->width() / 2.0, target->height() / 2.0);
        QWheelEvent event(at, target->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &event);
    };
    QScrollBar* bar = tree.verticalScrollBar();
    QCOMPARE(bar->value(), 0);
    // The tree has the focus, not the editors.
    tree.setFocus();
    QTRY_VERIFY(tree.hasFocus());
    wheel(combos.first());
    QVERIFY(bar->value() > 0);
    QCOMPARE(combos.first()->currentIndex(), 0);
    QCOMPARE(values[0], QStringLiteral("1"));
    const int scrolled = bar->value();
    wheel(fields.first());
    QVERIFY(bar->value() > scrolled);

    // In the drop-down the user is in, the wheel turns it.
    combos.first()->setFocus();
    QTRY_VERIFY(combos.first()->hasFocus());
    wheel(combos.first());
    QCOMPARE(combos.first()->currentIndex(), 1);
    QCOMPARE(values[0], QStringLiteral("2"));
    tree.clear();
}

void TestOptionWidgets::buttonDefaultsAndTreeItem()
{
    OptButton lonely;
    QVERIFY(lonely.isCheckable());
    QCOMPARE(lonely.text(), QStringLiteral("[group button]"));
    QCOMPARE(lonely.minimumHeight(), 15);
    QCOMPARE(lonely.sizePolicy().horizontalPolicy(), QSizePolicy::Expanding);
    // No tree item: the state changes and nothing else happens.
    lonely.setChecked(true);
    QVERIFY(lonely.isChecked());
    lonely.click();
    QVERIFY(!lonely.isChecked());

    QTreeWidget tree;
    auto* group = new QTreeWidgetItem(&tree, {QStringLiteral("group")});
    new QTreeWidgetItem(group, {QStringLiteral("child")});
    auto* button = new OptButton;
    button->setText(QStringLiteral("Chemical system"));
    button->setItem(group);
    tree.setItemWidget(group, 0, button);
    QCOMPARE(button->text(), QStringLiteral("Chemical system"));
    QVERIFY(!group->isExpanded());
    button->click();
    QVERIFY(group->isExpanded());
    button->setChecked(false);
    QVERIFY(!group->isExpanded());
}

void TestOptionWidgets::buttonKeys()
{
    QTreeWidget tree;
    auto* group = new QTreeWidgetItem(&tree, {QStringLiteral("group")});
    new QTreeWidgetItem(group, {QStringLiteral("child")});
    auto* button = new OptButton;
    button->setItem(group);
    tree.setItemWidget(group, 0, button);

    QTest::keyPress(button, Qt::Key_Right);
    QVERIFY(button->isDown());
    QVERIFY(!button->isChecked());
    QTest::keyRelease(button, Qt::Key_Right);
    QVERIFY(!button->isDown());
    QVERIFY(button->isChecked());
    QVERIFY(group->isExpanded());
    // Right again keeps it expanded.
    QTest::keyClick(button, Qt::Key_Right);
    QVERIFY(button->isChecked());

    QTest::keyPress(button, Qt::Key_Left);
    QVERIFY(button->isDown());
    QTest::keyRelease(button, Qt::Key_Left);
    QVERIFY(!button->isChecked());
    QVERIFY(!group->isExpanded());
    QTest::keyClick(button, Qt::Key_Left);
    QVERIFY(!button->isChecked());

    QTest::keyPress(button, Qt::Key_Return);
    QVERIFY(button->isDown());
    QTest::keyRelease(button, Qt::Key_Return);
    QVERIFY(button->isChecked());
    QVERIFY(group->isExpanded());
    QTest::keyClick(button, Qt::Key_Enter);
    QVERIFY(!button->isChecked());
    QVERIFY(!group->isExpanded());

    // Other keys are the button's ordinary ones: Space clicks it.
    QTest::keyClick(button, Qt::Key_Space);
    QVERIFY(button->isChecked());
    QTest::keyClick(button, Qt::Key_A);
    QVERIFY(button->isChecked());
}

void TestOptionWidgets::buttonTakesFocusOnMouseRelease()
{
    QWidget window;
    auto* other = new QLineEdit(&window);
    auto* button = new OptButton(&window);
    button->setFocusPolicy(Qt::NoFocus);
    button->setGeometry(0, 40, 200, 24);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    other->setFocus();
    QTRY_VERIFY(other->hasFocus());
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(button->isChecked());
    QTRY_VERIFY(button->hasFocus());
}

void TestOptionWidgets::buttonPaintsStateColours()
{
    QWidget window;
    auto* button = new OptButton(&window);
    auto* other = new QLineEdit(&window);
    button->setText(QString());
    button->setGeometry(0, 0, 200, 24);
    other->move(0, 40);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    other->setFocus();
    QTRY_VERIFY(other->hasFocus());

    // Far right, away from the arrow: the background alone. The gradient
    // runs from the top edge (y = 0) to the bottom edge (y = 23); a pixel
    // shows the colour at its centre.
    const int x = 190;
    auto check = [&](const char* state, QColor top, QColor bottom) {
        const QImage image = button->grab().toImage();
        const int last = image.height() - 1;
        for (int y : {0, last / 2, last}) {
            const double t = qBound(0.0, (y + 0.5) / last, 1.0);
            const QColor expected((1 - t) * top.red() + t * bottom.red(), (1 - t) * top.green() + t * bottom.green(),
                                  (1 - t) * top.blue() + t * bottom.blue());
            QVERIFY2(near(image.pixelColor(x, y), expected),
                     qPrintable(QStringLiteral("%1, row %2: %3, expected %4")
                                    .arg(state)
                                    .arg(y)
                                    .arg(describe(image.pixelColor(x, y)), describe(expected))));
        }
    };
    button->setAttribute(Qt::WA_UnderMouse, false);
    check("no mouse, no focus", QColor(224, 224, 224), QColor(192, 192, 192));
    button->setAttribute(Qt::WA_UnderMouse, true);
    check("mouse over, no focus", QColor(240, 240, 240), QColor(208, 208, 208));
    button->setFocus();
    QTRY_VERIFY(button->hasFocus());
    check("mouse over, focus", QColor::fromHsl(200, 255, 220), QColor::fromHsl(200, 255, 130));
    button->setAttribute(Qt::WA_UnderMouse, false);
    check("no mouse, focus", QColor::fromHsl(200, 255, 190), QColor::fromHsl(200, 255, 100));
    button->setDown(true);
    check("pressed", QColor(46, 93, 127), QColor(46, 93, 127));

    // The text pen: opaque white, half-transparent white when pressed.
    button->setText(QStringLiteral("MMMMMMMM"));
    button->setDown(false);
    button->setAttribute(Qt::WA_UnderMouse, false);
    other->setFocus();
    QTRY_VERIFY(other->hasFocus());
    auto brightest = [&] {
        const QImage image = button->grab().toImage();
        int best = 0;
        for (int px = 40; px < 160; ++px) {
            for (int py = 0; py < image.height(); ++py)
                best = qMax(best, image.pixelColor(px, py).blue());
        }
        return best;
    };
    QCOMPARE(brightest(), 255);
    button->setDown(true);
    // White at alpha 192 over RGB (46, 93, 127): 0.75 * 255 + 0.25 * 127.
    const int pressedText = brightest();
    QVERIFY2(qAbs(pressedText - 223) <= 3, qPrintable(QString::number(pressedText)));
}

void TestOptionWidgets::buttonPaintsArrowByCheckedState()
{
    OptButton button;
    button.setText(QString());
    button.resize(200, 24);
    // s = min(24 - 8, 12) = 12; centroid at (int(8 + 3.46), 12) = (11, 12).
    const int cx = 11;
    const int cy = 12;
    QImage image = button.grab().toImage();
    QVERIFY(isWhite(image.pixelColor(cx, cy)));
    // Pointing right: tall at its back edge, narrow above the centre.
    const int column = whiteInColumn(image, cx - 3, 0, image.height() - 1);
    const int row = whiteInRow(image, cy - 4, 0, 40);
    QVERIFY2(column >= 9 && row <= 5, qPrintable(QStringLiteral("column %1, row %2").arg(column).arg(row)));
    QVERIFY(!isWhite(image.pixelColor(cx, cy + 5)));

    button.setChecked(true);
    image = button.grab().toImage();
    QVERIFY(isWhite(image.pixelColor(cx, cy)));
    // Pointing down: wide at its top edge, the tip below the centre.
    const int downColumn = whiteInColumn(image, cx - 4, 0, image.height() - 1);
    const int downRow = whiteInRow(image, cy - 2, 0, 40);
    QVERIFY2(downRow >= 9 && downColumn <= 5,
             qPrintable(QStringLiteral("column %1, row %2").arg(downColumn).arg(downRow)));
    QVERIFY(isWhite(image.pixelColor(cx, cy + 4)));
    QVERIFY(!isWhite(image.pixelColor(cx + 5, cy)));

    // Pressed: one pixel lower. The arrow's top edge lies at y = 12 - 3.46:
    // row 9 is wholly inside, row 8 only in part; pressed, row 10 is the
    // first one wholly inside.
    auto pureWhite = [](const QImage& picture, int y) {
        int count = 0;
        for (int px = 0; px < 40; ++px) {
            const QColor colour = picture.pixelColor(px, y);
            count += colour.red() >= 250 && colour.green() >= 250 && colour.blue() >= 250 ? 1 : 0;
        }
        return count;
    };
    QVERIFY2(pureWhite(image, 9) >= 8, qPrintable(QString::number(pureWhite(image, 9))));
    QCOMPARE(pureWhite(image, 8), 0);
    button.setDown(true);
    const QImage pressed = button.grab().toImage();
    QCOMPARE(pureWhite(pressed, 9), 0);
    QVERIFY2(pureWhite(pressed, 10) >= 8, qPrintable(QString::number(pureWhite(pressed, 10))));
    QVERIFY(isWhite(pressed.pixelColor(cx, cy + 5)));
}

void TestOptionWidgets::buttonShortensText()
{
    OptButton button;
    button.resize(60, 20);
    button.setText(QStringLiteral("A very long group title that cannot fit"));
    const QImage image = button.grab().toImage();
    // Room for the text: (59 - 0) - (19 - 0) - 9 = 31 pixels, centred, so
    // nothing white lies right of 30 + 31 / 2 + 1.
    int rightmost = -1;
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            if (isWhite(image.pixelColor(x, y)))
                rightmost = qMax(rightmost, x);
        }
    }
    QVERIFY2(rightmost > 20 && rightmost <= 46, qPrintable(QString::number(rightmost)));
    QCOMPARE(button.text(), QStringLiteral("A very long group title that cannot fit"));
}

void TestOptionWidgets::treeOwnsAndDeletesCellWidgets()
{
    OptionTree tree;
    tree.setColumnCount(2);
    auto* item = new QTreeWidgetItem(&tree);
    QPointer<QWidget> first = new QLabel(QStringLiteral("first"));
    tree.setItemWidget(item, 1, first);
    tree.setItemWidget(item, 1, first);
    QCOMPARE(tree.ownedWidgetCount(), 1);
    QVERIFY(tree.itemWidget(item, 1) == first);

    tree.removeItemWidget(item, 1);
    // Deleted now, not later.
    QVERIFY(first.isNull());
    QCOMPARE(tree.ownedWidgetCount(), 0);
    QVERIFY(!tree.itemWidget(item, 1));

    QPointer<QWidget> second = new QLabel(QStringLiteral("second"));
    QPointer<QWidget> third = new QLabel(QStringLiteral("third"));
    tree.setItemWidget(item, 0, second);
    tree.setItemWidget(new QTreeWidgetItem(item), 1, third);
    QCOMPARE(tree.ownedWidgetCount(), 2);
    tree.clear();
    QVERIFY(second.isNull());
    QVERIFY(third.isNull());
    QCOMPARE(tree.ownedWidgetCount(), 0);
    QCOMPARE(tree.topLevelItemCount(), 0);
}

void TestOptionWidgets::treeMovesAndRemovesItems()
{
    OptionTree tree;
    tree.setColumnCount(2);
    auto* a = new QTreeWidgetItem(&tree, {QStringLiteral("A")});
    auto* b = new QTreeWidgetItem(&tree, {QStringLiteral("B")});
    auto* child = new QTreeWidgetItem(a, {QStringLiteral("A.1")});
    QPointer<QWidget> editor = new QLabel;
    tree.setItemWidget(child, 1, editor);

    QVERIFY(tree.moveItem(child, b));
    QVERIFY(child->parent() == b);
    QCOMPARE(a->childCount(), 0);
    QVERIFY(tree.currentItem() == child);
    // Its cell widgets went with the move.
    QVERIFY(editor.isNull());

    QVERIFY(tree.moveItem(child, nullptr));
    QCOMPARE(tree.topLevelItemCount(), 3);
    QVERIFY(tree.topLevelItem(2) == child);

    QTreeWidgetItem stray;
    QVERIFY(!tree.moveItem(&stray, a));
    QVERIFY(!tree.moveItem(nullptr, a));

    auto* grandchild = new QTreeWidgetItem(new QTreeWidgetItem(a), {QStringLiteral("deep")});
    QPointer<QWidget> deep = new QLabel;
    QPointer<QWidget> top = new QLabel;
    tree.setItemWidget(grandchild, 1, deep);
    tree.setItemWidget(a, 1, top);
    tree.removeItem(a);
    QVERIFY(deep.isNull());
    QVERIFY(top.isNull());
    QCOMPARE(tree.topLevelItemCount(), 2);
    QCOMPARE(tree.ownedWidgetCount(), 0);
}

void TestOptionWidgets::treeColumnMinimalWidths()
{
    OptionTree tree;
    tree.setColumnCount(3);
    QCOMPARE(tree.columnMinimalWidth(0), 1);
    QCOMPARE(tree.columnMinimalWidth(2), 1);
    tree.setColumnMinimalWidth(1, 80);
    tree.setColumnMinimalWidth(3, 50);
    tree.setColumnMinimalWidth(-1, 50);
    tree.setColumnMinimalWidth(2, -5);
    QCOMPARE(tree.columnMinimalWidth(1), 80);
    QCOMPARE(tree.columnMinimalWidth(2), 1);
    QCOMPARE(tree.columnMinimalWidth(3), -1);
    tree.setColumnCount(4);
    QCOMPARE(tree.columnMinimalWidth(3), 1);

    auto* group = new QTreeWidgetItem(&tree, {QStringLiteral("x"), QString(), QStringLiteral("y")});
    auto* inside = new QTreeWidgetItem(group, {QStringLiteral("a rather long text inside a folded group")});
    tree.updateSizes();
    QVERIFY(tree.columnWidth(1) >= 80);
    // Folded rows count too, and stay folded.
    QVERIFY(!group->isExpanded());
    QVERIFY2(tree.columnWidth(0) >= tree.fontMetrics().horizontalAdvance(inside->text(0)),
             qPrintable(QString::number(tree.columnWidth(0))));
}

void TestOptionWidgets::treeKeys()
{
    OptionTree tree;
    QSignalSpy accepted(&tree, &OptionTree::accepted);
    QSignalSpy rejected(&tree, &OptionTree::rejected);
    QTest::keyClick(&tree, Qt::Key_Return);
    QCOMPARE(accepted.count(), 0);
    QTest::keyClick(&tree, Qt::Key_Escape);
    QCOMPARE(rejected.count(), 1);

    auto* item = new QTreeWidgetItem(&tree, {QStringLiteral("row")});
    tree.setCurrentItem(item);
    QTest::keyClick(&tree, Qt::Key_Return);
    QTest::keyClick(&tree, Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(&tree, '|');
    QCOMPARE(accepted.count(), 3);
    QTest::keyClick(&tree, Qt::Key_A);
    QCOMPARE(accepted.count(), 3);
    QCOMPARE(rejected.count(), 1);
}

void TestOptionWidgets::viewerListsCatalogue()
{
    Options& catalogue = m_fixture.catalogue();
    catalogue.resetAll();
    OptViewer viewer(&catalogue);
    QCOMPARE(viewer.columnCount(), 2);
    QCOMPARE(viewer.columnWidth(1), 200);
    QVERIFY(viewer.isHeaderHidden());
    QVERIFY(!viewer.rootIsDecorated());
    QCOMPARE(viewer.topLevelItemCount(), int(catalogue.groups().size()));

    int editors = 0;
    for (int g = 0; g < viewer.topLevelItemCount(); ++g) {
        const OGroup& group = *catalogue.groups()[g];
        QTreeWidgetItem* row = viewer.topLevelItem(g);
        QVERIFY(row->isFirstColumnSpanned());
        auto* button = qobject_cast<OptButton*>(viewer.itemWidget(row, 0));
        QVERIFY(button);
        QCOMPARE(button->text(), group.text);
        QCOMPARE(button->toolTip(), group.text);
        QCOMPARE(row->childCount(), int(group.options.size()));
        for (int o = 0; o < row->childCount(); ++o) {
            OOption* option = group.options[o].get();
            QTreeWidgetItem* optionRow = row->child(o);
            QCOMPARE(optionRow->text(0), option->name + QStringLiteral(" \t ") + option->text);
            QWidget* editor = viewer.itemWidget(optionRow, 1);
            if (option->type == OOption::Field) {
                auto* field = qobject_cast<OptionField*>(editor);
                QVERIFY2(field, qPrintable(option->name));
                QVERIFY(field->value() == &option->value);
            } else {
                auto* combo = qobject_cast<OptionCombo*>(editor);
                QVERIFY2(combo, qPrintable(option->name));
                QVERIFY(combo->value() == &option->value);
            }
            ++editors;
        }
    }
    QCOMPARE(viewer.editorCount(), editors + viewer.topLevelItemCount());
    QCOMPARE(viewer.topLevelItem(0)->text(0), QString());
    QCOMPARE(catalogue.groups().back()->name, QStringLiteral("BCOND"));

    // The group button opens its group; the editors only show: no project
    // uses these values, and the tool tip says where to edit.
    auto* button = qobject_cast<OptButton*>(viewer.itemWidget(viewer.topLevelItem(0), 0));
    button->click();
    QVERIFY(viewer.topLevelItem(0)->isExpanded());
    OOption* vpro = m_fixture.option(QStringLiteral("VPRO"));
    auto* combo = qobject_cast<OptionCombo*>(viewer.itemWidget(viewer.topLevelItem(0)->child(0), 1));
    QCOMPARE(combo->currentText(), QStringLiteral("Disabled"));
    QVERIFY(!combo->isEnabled());
    QCOMPARE(combo->toolTip(), OptViewer::readOnlyToolTip());

    // A rebuild makes new editors over the current values.
    vpro->value = QStringLiteral("on");
    QPointer<QWidget> old = combo;
    viewer.rebuild();
    QVERIFY(old.isNull());
    combo = qobject_cast<OptionCombo*>(viewer.itemWidget(viewer.topLevelItem(0)->child(0), 1));
    QCOMPARE(combo->currentText(), QStringLiteral("Enabled"));
    catalogue.resetAll();
}

QTEST_MAIN(TestOptionWidgets)
#include "tst_optionwidgets.moc"
