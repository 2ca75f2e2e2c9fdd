// The option selector and the string editor windows: what the selector
// lists and reports, the string editor's save and cancel, and the geometry
// both keep in the user's settings.

#include "optionpagefixture.h"

#include "fstringeditor.h"
#include "optionselector.h"
#include "optiontree.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>

class TestOptionSelector : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void selectorWindow();
    void selectorWithoutSchemeListsEverything();
    void selectorLeavesUsedOptionsOut();
    void selectorSelectAndCancel();
    void selectorGroupRowSelectsNothing();
    void selectorKeys();
    void selectorKeepsGeometry();
    void editorWindowAndLabel();
    void editorReturnFinishes();
    void editorCloseCancels();
    void editorButtons();
    void editorKeepsGeometry();
    void editorInsideAnotherWidget();

private:
    // As the window system delivers it: a click, then the double click.
    static void doubleClick(QTreeWidget* tree, QPoint position)
    {
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, position);
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, position);
    }
    static QTreeWidgetItem* rowOf(OptionSelector& selector, const QString& optionName)
    {
        OptionTree* tree = selector.tree();
        for (int g = 0; g < tree->topLevelItemCount(); ++g) {
            QTreeWidgetItem* group = tree->topLevelItem(g);
            for (int o = 0; o < group->childCount(); ++o) {
                OOption* option = selector.optionOf(group->child(o));
                if (option && option->name == optionName)
                    return group->child(o);
            }
        }
        return nullptr;
    }
    static QTreeWidgetItem* groupRow(OptionSelector& selector, const QString& text)
    {
        OptionTree* tree = selector.tree();
        for (int g = 0; g < tree->topLevelItemCount(); ++g) {
            if (tree->topLevelItem(g)->text(0) == text)
                return tree->topLevelItem(g);
        }
        return nullptr;
    }

    OptionPageFixture m_fixture;
};

void TestOptionSelector::initTestCase()
{
    OptionPageFixture::useTestSettings();
}

void TestOptionSelector::init()
{
    QSettings().clear();
}

void TestOptionSelector::selectorWindow()
{
    OptionSelector selector(&m_fixture.catalogue());
    QVERIFY(selector.isWindow());
    QCOMPARE(selector.windowTitle(), QStringLiteral("ZDL.Tarvel.Option Selector"));
    QCOMPARE(selector.size(), QSize(600, 480));
    QVERIFY(!selector.windowIcon().isNull());
    OptionTree* tree = selector.tree();
    QCOMPARE(tree->columnCount(), 1);
    QCOMPARE(tree->columnMinimalWidth(0), 100);
    QVERIFY(tree->isHeaderHidden());
    QCOMPARE(tree->selectionBehavior(), QAbstractItemView::SelectRows);
    QCOMPARE(tree->selectionMode(), QAbstractItemView::SingleSelection);
    QCOMPARE(tree->dragDropMode(), QAbstractItemView::NoDragDrop);
    auto* buttons = selector.findChild<QDialogButtonBox*>();
    QVERIFY(buttons);
    QVERIFY(buttons->button(QDialogButtonBox::Ok));
    QVERIFY(buttons->button(QDialogButtonBox::Cancel));
}

void TestOptionSelector::selectorWithoutSchemeListsEverything()
{
    Options& catalogue = m_fixture.catalogue();
    OptionSelector selector(&catalogue);
    selector.updateOptions();
    OptionTree* tree = selector.tree();
    QCOMPARE(tree->topLevelItemCount(), int(catalogue.groups().size()));
    for (int g = 0; g < tree->topLevelItemCount(); ++g) {
        const OGroup& group = *catalogue.groups()[g];
        QTreeWidgetItem* row = tree->topLevelItem(g);
        QCOMPARE(row->text(0), group.text);
        QVERIFY(row->isFirstColumnSpanned());
        QVERIFY(!selector.optionOf(row));
        QCOMPARE(row->childCount(), int(group.options.size()));
        for (int o = 0; o < row->childCount(); ++o) {
            const OOption* option = group.options[o].get();
            QCOMPARE(row->child(o)->text(0), option->name + QStringLiteral(" \t ") + option->text);
            QVERIFY(selector.optionOf(row->child(o)) == option);
        }
    }
    QCOMPARE(tree->topLevelItem(tree->topLevelItemCount() - 1)->text(0), QStringLiteral("Boundary conditions"));
}

void TestOptionSelector::selectorLeavesUsedOptionsOut()
{
    m_fixture.loadHydrogen();
    Project& project = m_fixture.project();
    // A species without a boundary-condition node yet.
    QVERIFY(project.addSpecies(QStringLiteral("h2o")));
    OptionSelector selector(&m_fixture.catalogue());
    selector.setScheme(&project);
    QVERIFY(selector.scheme() == &project);

    for (const char* used : {"VPRO", "TPRO", "MOLE", "TEND", "BC_T", "BC_P", "BC_H2", "BC_O2", "BC_N2"})
        QVERIFY2(!rowOf(selector, QString::fromLatin1(used)), used);
    for (const char* unused : {"GSENS", "LSENS", "NT", "STEP", "BC_V"})
        QVERIFY2(rowOf(selector, QString::fromLatin1(unused)), unused);

    // The scheme's unused boundary conditions close the boundary-condition group.
    QTreeWidgetItem* bcond = groupRow(selector, QStringLiteral("Boundary conditions"));
    QVERIFY(bcond);
    QCOMPARE(bcond->childCount(), 2);
    QCOMPARE(bcond->child(0)->text(0).left(4), QStringLiteral("BC_V"));
    QCOMPARE(bcond->child(1)->text(0), QStringLiteral("BC_H2O \t Concentration of H2O"));
    QVERIFY(selector.optionOf(bcond->child(1)) == project.findOption(QStringLiteral("BC_H2O")));

    // Once the scheme uses an option, the next listing leaves it out.
    SchemeNode* node = project.addOption(m_fixture.option(QStringLiteral("NT")), project.nodes().first());
    QVERIFY(node);
    selector.updateOptions();
    QVERIFY(!rowOf(selector, QStringLiteral("NT")));
    // No scheme: everything again.
    selector.setScheme(nullptr);
    QVERIFY(rowOf(selector, QStringLiteral("NT")));
    QVERIFY(rowOf(selector, QStringLiteral("VPRO")));
    QVERIFY(!rowOf(selector, QStringLiteral("BC_H2O")));
}

void TestOptionSelector::selectorSelectAndCancel()
{
    OptionSelector selector(&m_fixture.catalogue());
    QList<OOption*> selected;
    connect(&selector, &OptionSelector::selected, this, [&selected](OOption* option) { selected << option; });
    OOption* nt = m_fixture.option(QStringLiteral("NT"));
    selector.show(nt);
    QVERIFY(selector.isVisible());
    QVERIFY(!selector.selectedOption());
    // The option asked for is the current row.
    QVERIFY(selector.optionOf(selector.tree()->currentItem()) == nt);

    auto* buttons = selector.findChild<QDialogButtonBox*>();
    buttons->button(QDialogButtonBox::Ok)->click();
    QCOMPARE(selected.count(), 1);
    QVERIFY(selected.at(0) == nt);
    QVERIFY(selector.selectedOption() == nt);
    QVERIFY(!selector.isVisible());

    selector.show(nullptr);
    QVERIFY(!selector.selectedOption());
    selector.tree()->setCurrentItem(rowOf(selector, QStringLiteral("TEND")));
    buttons->button(QDialogButtonBox::Cancel)->click();
    QVERIFY(!selector.isVisible());
    QVERIFY(!selector.selectedOption());
    QCOMPARE(selected.count(), 1);

    // Double-click on an option row picks it.
    selector.show(nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(&selector));
    QTreeWidgetItem* tend = rowOf(selector, QStringLiteral("TEND"));
    selector.tree()->scrollToItem(tend);
    const QRect rect = selector.tree()->visualItemRect(tend);
    doubleClick(selector.tree(), rect.center());
    QCOMPARE(selected.count(), 2);
    QCOMPARE(selected.at(1)->name, QStringLiteral("TEND"));
    QVERIFY(!selector.isVisible());
}

void TestOptionSelector::selectorGroupRowSelectsNothing()
{
    OptionSelector selector(&m_fixture.catalogue());
    QList<OOption*> selected;
    connect(&selector, &OptionSelector::selected, this, [&selected](OOption* option) { selected << option; });
    selector.show(nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(&selector));
    QTreeWidgetItem* group = selector.tree()->topLevelItem(1);
    QVERIFY(group->isExpanded());
    selector.tree()->scrollToItem(group);
    const QRect rect = selector.tree()->visualItemRect(group);
    doubleClick(selector.tree(), rect.center());
    // The double click arrived (the group folded), and chose nothing.
    QVERIFY(!group->isExpanded());
    QVERIFY(selector.tree()->currentItem() == group);
    QCOMPARE(selected.count(), 0);
    QVERIFY(!selector.selectedOption());
    QVERIFY(selector.isVisible());
    selector.select();
    QCOMPARE(selected.count(), 0);
    QVERIFY(selector.isVisible());
}

void TestOptionSelector::selectorKeys()
{
    OptionSelector selector(&m_fixture.catalogue());
    QList<OOption*> selected;
    connect(&selector, &OptionSelector::selected, this, [&selected](OOption* option) { selected << option; });
    selector.show(m_fixture.option(QStringLiteral("LSENS")));
    QTest::keyClick(selector.tree(), Qt::Key_Return);
    QCOMPARE(selected.count(), 1);
    QCOMPARE(selected.at(0)->name, QStringLiteral("LSENS"));
    QVERIFY(!selector.isVisible());

    selector.show(nullptr);
    QTest::keyClick(selector.tree(), Qt::Key_Escape);
    QVERIFY(!selector.isVisible());
    QCOMPARE(selected.count(), 1);
}

void TestOptionSelector::selectorKeepsGeometry()
{
    {
        OptionSelector selector(&m_fixture.catalogue());
        selector.show(nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(&selector));
        selector.resize(520, 410);
        selector.close();
    }
    QVERIFY(QSettings().contains(QStringLiteral("OptionSelector/Geometry")));
    {
        OptionSelector selector(&m_fixture.catalogue());
        QCOMPARE(selector.size(), QSize(520, 410));
        selector.show(nullptr);
        selector.resize(480, 300);
        // OK and Cancel only hide the window: the geometry is kept all the same.
        selector.cancel();
    }
    OptionSelector selector(&m_fixture.catalogue());
    QCOMPARE(selector.size(), QSize(480, 300));
}

void TestOptionSelector::editorWindowAndLabel()
{
    FStringEditor editor(QStringLiteral("Reactor"));
    QVERIFY(editor.isWindow());
    QCOMPARE(editor.windowTitle(), QStringLiteral("String Editor"));
    QVERIFY(!editor.windowIcon().isNull());
    QCOMPARE(editor.width(), 400);
    QCOMPARE(editor.text(), QStringLiteral("Reactor"));
    QCOMPARE(editor.lineEdit()->selectedText(), QStringLiteral("Reactor"));
    QCOMPARE(editor.label(), QString());
    auto* buttons = editor.findChild<QDialogButtonBox*>();
    QCOMPARE(buttons->orientation(), Qt::Horizontal);
    const QList<QAbstractButton*> list = buttons->buttons();
    QCOMPARE(list.size(), 2);
    QCOMPARE(buttons->buttonRole(list.at(0)) == QDialogButtonBox::AcceptRole ? list.at(0)->text() : list.at(1)->text(),
             QStringLiteral("Save"));
    QCOMPARE(buttons->buttonRole(list.at(0)) == QDialogButtonBox::RejectRole ? list.at(0)->text() : list.at(1)->text(),
             QStringLiteral("Cancel"));

    editor.setLabel(QStringLiteral("  Group Name "));
    QCOMPARE(editor.label(), QStringLiteral("Group Name:"));
    QCOMPARE(editor.findChild<QLabel*>()->text(), QStringLiteral("Group Name:"));
    QCOMPARE(editor.windowTitle(), QStringLiteral("Group Name"));

    QString name = QStringLiteral("Output");
    editor.setTarget(&name);
    QCOMPARE(editor.text(), QStringLiteral("Output"));
    QCOMPARE(editor.lineEdit()->selectedText(), QStringLiteral("Output"));
    editor.setText(QStringLiteral("Input"));
    QCOMPARE(editor.lineEdit()->selectedText(), QStringLiteral("Input"));
    QCOMPARE(name, QStringLiteral("Output"));
}

void TestOptionSelector::editorReturnFinishes()
{
    FStringEditor editor;
    QSignalSpy finished(&editor, &FStringEditor::finished);
    QSignalSpy cancelled(&editor, &FStringEditor::cancelled);
    QString name = QStringLiteral("Output");
    editor.setTarget(&name);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    QTest::keyClicks(editor.lineEdit(), QStringLiteral("Results"));
    QTest::keyClick(editor.lineEdit(), Qt::Key_Return);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.at(0).at(0).toString(), QStringLiteral("Results"));
    QCOMPARE(name, QStringLiteral("Results"));
    QVERIFY(editor.isSaved());
    QVERIFY(!editor.isVisible());
    // Closed after saving: no cancel.
    editor.close();
    QCOMPARE(cancelled.count(), 0);

    // Showing clears the saved mark.
    editor.show();
    QVERIFY(!editor.isSaved());
    editor.close();
    QCOMPARE(cancelled.count(), 1);
    QCOMPARE(finished.count(), 1);
}

void TestOptionSelector::editorCloseCancels()
{
    FStringEditor editor(QStringLiteral("x"));
    QSignalSpy finished(&editor, &FStringEditor::finished);
    QSignalSpy cancelled(&editor, &FStringEditor::cancelled);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    editor.close();
    QCOMPARE(cancelled.count(), 1);
    QCOMPARE(finished.count(), 0);

    editor.show();
    QTest::keyClick(editor.lineEdit(), Qt::Key_Escape);
    QVERIFY(!editor.isVisible());
    QCOMPARE(cancelled.count(), 2);
}

void TestOptionSelector::editorButtons()
{
    FStringEditor editor(QStringLiteral("N2"));
    QSignalSpy finished(&editor, &FStringEditor::finished);
    QSignalSpy cancelled(&editor, &FStringEditor::cancelled);
    auto* buttons = editor.findChild<QDialogButtonBox*>();
    QAbstractButton* save = nullptr;
    QAbstractButton* cancel = nullptr;
    for (QAbstractButton* button : buttons->buttons())
        (buttons->buttonRole(button) == QDialogButtonBox::AcceptRole ? save : cancel) = button;

    editor.show();
    cancel->click();
    QVERIFY(!editor.isVisible());
    QCOMPARE(cancelled.count(), 1);
    editor.show();
    save->click();
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.at(0).at(0).toString(), QStringLiteral("N2"));
    QVERIFY(!editor.isVisible());
    QCOMPARE(cancelled.count(), 1);
}

void TestOptionSelector::editorKeepsGeometry()
{
    {
        FStringEditor editor;
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        editor.resize(450, editor.height());
        editor.save();
    }
    QVERIFY(QSettings().contains(QStringLiteral("FStringEditor/Geometry")));
    FStringEditor editor;
    QCOMPARE(editor.width(), 450);
}

void TestOptionSelector::editorInsideAnotherWidget()
{
    QWidget host;
    host.setWindowTitle(QStringLiteral("host"));
    auto* editor = new FStringEditor(QStringLiteral("inside"), &host);
    QVERIFY(!editor->isWindow());
    editor->setLabel(QStringLiteral("Name"));
    QCOMPARE(editor->label(), QStringLiteral("Name:"));
    QCOMPARE(editor->windowTitle(), QString());
    QVERIFY(!QSettings().contains(QStringLiteral("FStringEditor/Geometry")));
}

QTEST_MAIN(TestOptionSelector)
#include "tst_optionselector.moc"
