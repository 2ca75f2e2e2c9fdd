// The data table: its columns over vectors it does not own, the cells and
// headers its model serves, and what the views are told on a change.

#include "messagecapture.h"
#include "datatable.h"

#include <QClipboard>
#include <QSignalSpy>
#include <QtTest>

class TestDataTable : public QObject
{
    Q_OBJECT

private slots:
    void viewSettings();
    void addRefusesNullAndBlankNames();
    void replaceByNameKeepsOrder();
    void unequalColumns();
    void headersAndFlags();
    void removeAndClear();
    void appendedValuesInsertRows();
    void setColumnsFollowsAddRules();
    void numbersAndCopy();
};

void TestDataTable::viewSettings()
{
    DataTable table;
    // A block of cells can be selected, to be copied.
    QCOMPARE(table.selectionMode(), QAbstractItemView::ContiguousSelection);
    // Custom, and nothing connected: a right click opens no menu.
    QCOMPARE(table.contextMenuPolicy(), Qt::CustomContextMenu);
    const QList<float> values{1.0f};
    table.addData(QStringLiteral("a"), &values);
    table.show();
    QVERIFY(QTest::qWaitForWindowExposed(&table));
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(20, 20), table.viewport()->mapToGlobal(QPoint(20, 20)));
    QApplication::sendEvent(table.viewport(), &rightClick);
    QCOMPARE(QApplication::activePopupWidget(), nullptr);
    table.clearData();
    QCOMPARE(table.model(), table.dataModel());
    QCOMPARE(table.dataModel()->parent(), &table);
    QCOMPARE(table.model()->rowCount(), 0);
    QCOMPARE(table.model()->columnCount(), 0);
}

void TestDataTable::addRefusesNullAndBlankNames()
{
    DataTable table;
    const QList<float> values{1.0f};
    QCOMPARE(table.addData(QStringLiteral("a"), nullptr), -1);
    QCOMPARE(table.addData(QStringLiteral("   "), &values), -1);
    QCOMPARE(table.addData(QString(), &values), -1);
    QCOMPARE(table.model()->columnCount(), 0);
    QCOMPARE(table.addData(QStringLiteral("a"), &values), 0);
    // Names are compared as they stand: a blank more is another column.
    QCOMPARE(table.addData(QStringLiteral("a "), &values), 1);
    QCOMPARE(table.addData(QStringLiteral("A"), &values), 2);
    QCOMPARE(table.model()->columnCount(), 3);
}

void TestDataTable::replaceByNameKeepsOrder()
{
    DataTable table;
    const QList<float> a{1.0f, 2.0f};
    const QList<float> b{3.0f};
    const QList<float> c{4.0f};
    const QList<float> b2{7.5f, 8.5f, 9.5f};
    QCOMPARE(table.addData(QStringLiteral("a"), &a), 0);
    QCOMPARE(table.addData(QStringLiteral("b"), &b), 1);
    QCOMPARE(table.addData(QStringLiteral("c"), &c), 2);
    QCOMPARE(table.addData(QStringLiteral("b"), &b2), 1);
    QCOMPARE(table.columnCount(), 3);
    QCOMPARE(table.columns().at(0).first, QStringLiteral("a"));
    QCOMPARE(table.columns().at(1).first, QStringLiteral("b"));
    QCOMPARE(table.columns().at(2).first, QStringLiteral("c"));
    QCOMPARE(table.columns().at(1).second, &b2);
    const QAbstractItemModel* model = table.model();
    QCOMPARE(model->rowCount(), 3);
    QCOMPARE(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("b"));
    QCOMPARE(model->data(model->index(2, 1)).toDouble(), 9.5);
}

void TestDataTable::unequalColumns()
{
    DataTable table;
    const QList<float> longer{0.5f, 1.5f, 2.5f, 3.5f};
    const QList<float> shorter{10.25f};
    const QList<float> empty;
    table.addData(QStringLiteral("long"), &longer);
    table.addData(QStringLiteral("short"), &shorter);
    table.addData(QStringLiteral("empty"), &empty);
    const QAbstractItemModel* model = table.model();
    QCOMPARE(model->rowCount(), 4);
    QCOMPARE(model->columnCount(), 3);
    for (int row = 0; row < 4; ++row) {
        const QVariant value = model->data(model->index(row, 0), Qt::EditRole);
        QCOMPARE(value.typeId(), int(QMetaType::Double));
        QCOMPARE(value.toDouble(), double(longer.at(row)));
        QVERIFY2(!model->data(model->index(row, 2), Qt::EditRole).isValid(), "the empty column has no cell");
    }
    QCOMPARE(model->data(model->index(0, 1), Qt::DisplayRole).toString(), QStringLiteral("10.25"));
    for (int row = 1; row < 4; ++row) {
        QVERIFY(!model->data(model->index(row, 1), Qt::DisplayRole).isValid());
        QVERIFY(!model->data(model->index(row, 1), Qt::EditRole).isValid());
    }
    // The cells are the vectors' values, not copies taken when added.
    QList<float> live{1.0f};
    table.addData(QStringLiteral("live"), &live);
    live[0] = 42.0f;
    QCOMPARE(model->data(model->index(0, 3)).toDouble(), 42.0);
}

void TestDataTable::headersAndFlags()
{
    DataTable table;
    const QList<float> values{1.0f, 2.0f};
    table.addData(QStringLiteral("T(K)"), &values);
    const QAbstractItemModel* model = table.model();
    QCOMPARE(model->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("T(K)"));
    QCOMPARE(model->headerData(0, Qt::Horizontal, Qt::EditRole).toString(), QStringLiteral("T(K)"));
    // Rows count as the time toolbar counts its steps: from 0, or from the
    // step on show; a profile's row has no number.
    QCOMPARE(model->headerData(0, Qt::Vertical).toString(), QStringLiteral("0"));
    QCOMPARE(model->headerData(1, Qt::Vertical).toString(), QStringLiteral("1"));
    QSignalSpy headers(model, &QAbstractItemModel::headerDataChanged);
    table.setColumns(table.columns(), 7);
    QCOMPARE(model->headerData(0, Qt::Vertical).toString(), QStringLiteral("7"));
    QCOMPARE(headers.count(), 1);
    table.setColumns(table.columns(), -1);
    QVERIFY(!model->headerData(0, Qt::Vertical).isValid());
    // Shown, selectable, but not editable: an edit would change nothing real.
    const Qt::ItemFlags flags = model->flags(model->index(0, 0));
    QVERIFY(flags & Qt::ItemIsSelectable);
    QVERIFY(flags & Qt::ItemIsEnabled);
    QVERIFY(!(flags & Qt::ItemIsEditable));
}

void TestDataTable::removeAndClear()
{
    DataTable table;
    const QList<float> a{1.0f};
    const QList<float> b{2.0f, 3.0f};
    const QList<float> c{4.0f};
    table.addData(QStringLiteral("a"), &a);
    table.addData(QStringLiteral("b"), &b);
    table.addData(QStringLiteral("c"), &c);

    MessageCapture capture;
    table.removeData(QStringLiteral("b"));
    QCOMPARE(capture.lines(),
             QStringList{QStringLiteral("INF DataTable::removeData(). Removing data vector \"b\" , index = 1 ")});
    QCOMPARE(table.model()->columnCount(), 2);
    QCOMPARE(table.model()->rowCount(), 1);
    QCOMPARE(table.model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("c"));

    capture.clear();
    table.removeData(QStringLiteral("zz"));
    table.removeData(-1);
    table.removeData(2);
    QVERIFY(capture.lines().isEmpty());
    QCOMPARE(table.model()->columnCount(), 2);

    table.removeData(0);
    QCOMPARE(capture.lines(),
             QStringList{QStringLiteral("INF DataTable::removeData(). Removing data vector \"a\" , index = 0 ")});
    QCOMPARE(table.model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("c"));

    table.clearData();
    QCOMPARE(table.model()->rowCount(), 0);
    QCOMPARE(table.model()->columnCount(), 0);
    QCOMPARE(table.columnCount(), 0);
}

void TestDataTable::appendedValuesInsertRows()
{
    DataTable table;
    QList<float> time{0.0f, 1.0f};
    QList<float> temperature{300.0f, 310.0f};
    table.addData(QStringLiteral("t"), &time);
    table.addData(QStringLiteral("T"), &temperature);
    QSignalSpy resets(table.model(), &QAbstractItemModel::modelReset);
    QSignalSpy inserted(table.model(), &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(table.model(), &QAbstractItemModel::rowsRemoved);
    QSignalSpy changed(table.model(), &QAbstractItemModel::dataChanged);

    time << 2.0f << 3.0f;
    temperature << 320.0f << 330.0f;
    table.updateData();
    QCOMPARE(resets.count(), 0);
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(inserted.at(0).at(1).toInt(), 2);
    QCOMPARE(inserted.at(0).at(2).toInt(), 3);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(table.model()->rowCount(), 4);
    QCOMPARE(table.model()->data(table.model()->index(3, 1)).toDouble(), 330.0);

    time.resize(1);
    temperature.resize(1);
    table.updateData();
    QCOMPARE(removed.count(), 1);
    QCOMPARE(removed.at(0).at(1).toInt(), 1);
    QCOMPARE(removed.at(0).at(2).toInt(), 3);
    QCOMPARE(table.model()->rowCount(), 1);
    QCOMPARE(resets.count(), 0);

    // Other columns: the views start afresh.
    table.addData(QStringLiteral("p"), &time);
    QCOMPARE(resets.count(), 1);
    QCOMPARE(table.model()->columnCount(), 3);
}

void TestDataTable::setColumnsFollowsAddRules()
{
    DataTable table;
    const QList<float> a{1.0f};
    const QList<float> b{2.0f};
    const QList<float> a2{5.0f};
    table.setColumns({{QStringLiteral("a"), &a},
                      {QStringLiteral(" "), &b},
                      {QStringLiteral("b"), nullptr},
                      {QStringLiteral("b"), &b},
                      {QStringLiteral("a"), &a2}});
    QCOMPARE(table.columnCount(), 2);
    QCOMPARE(table.columns().at(0).first, QStringLiteral("a"));
    QCOMPARE(table.columns().at(0).second, &a2);
    QCOMPARE(table.columns().at(1).first, QStringLiteral("b"));
    QCOMPARE(table.model()->data(table.model()->index(0, 0)).toDouble(), 5.0);
}

void TestDataTable::numbersAndCopy()
{
    // Whatever the system's language, numbers show with a point.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    DataTable table;
    const QList<float> time{0.0f, 1.5e-4f, 3.0e-4f};
    const QList<float> big{1234567.0f, 2.5f, -0.000123456f};
    const QList<float> t{300.0f, 1500.5f};
    table.setColumns({{QStringLiteral("t(s)"), &time}, {QStringLiteral("P"), &big}, {QStringLiteral("T(K)"), &t}});
    QAbstractItemModel* model = table.model();
    QCOMPARE(model->data(model->index(0, 1)).toString(), QStringLiteral("1.23457E+06"));
    QCOMPARE(model->data(model->index(2, 1)).toString(), QStringLiteral("-0.000123456"));
    QCOMPARE(model->data(model->index(1, 0)).toString(), QStringLiteral("0.00015"));
    QCOMPARE(model->data(model->index(0, 1), Qt::EditRole).toDouble(), 1234567.0);
    QCOMPARE(table.locale(), QLocale::c());
    QLocale::setDefault(QLocale::c());

    // Ctrl+C: the selected block, the field names first, values as the
    // export writes them, tabs between, a line feed after each line; a
    // shorter column leaves its cell empty.
    table.show();
    QVERIFY(QTest::qWaitForWindowExposed(&table));
    QCOMPARE(table.selectionText(), QString());
    table.selectionModel()->select(QItemSelection(model->index(1, 1), model->index(2, 2)),
                                   QItemSelectionModel::ClearAndSelect);
    QCOMPARE(table.selectionText(), QStringLiteral("P\tT(K)\n2.5\t1500.5\n-0.000123456\t\n"));
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(&table, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), table.selectionText());
    table.selectionModel()->select(QItemSelection(model->index(0, 0), model->index(0, 1)),
                                   QItemSelectionModel::ClearAndSelect);
    QCOMPARE(table.selectionText(), QStringLiteral("t(s)\tP\n0\t1.23457e+06\n"));
}

QTEST_MAIN(TestDataTable)
#include "tst_datatable.moc"
