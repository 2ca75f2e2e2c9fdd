// The results page: all time steps, one step, or a profile in the table, as
// the time toolbar chooses, over the project's output data; the ignition
// delay above it.

#include "datatable.h"
#include "ignitionbar.h"
#include "results.h"
#include "timetoolbar.h"
#include "resultsfixture.h"

#include <QAction>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QSignalSpy>
#include <QSlider>
#include <QVBoxLayout>
#include <QtTest>

#include <cmath>

namespace {

// The table's cells, row by row, as numbers; an empty cell as NaN.
QList<QList<double>> cells(const DataTable* table)
{
    const QAbstractItemModel* model = table->model();
    QList<QList<double>> result;
    for (int row = 0; row < model->rowCount(); ++row) {
        QList<double> line;
        for (int column = 0; column < model->columnCount(); ++column) {
            const QVariant value = model->data(model->index(row, column), Qt::EditRole);
            line << (value.isValid() ? value.toDouble() : qQNaN());
        }
        result << line;
    }
    return result;
}

QStringList headers(const DataTable* table)
{
    QStringList result;
    for (int column = 0; column < table->model()->columnCount(); ++column)
        result << table->model()->headerData(column, Qt::Horizontal).toString();
    return result;
}

} // namespace

class TestResults : public QObject
{
    Q_OBJECT

private slots:
    void layout();
    void allStepsReadTheProjectsVectors();
    void singleStep();
    void stepClamping();
    void zeroTimeSteps();
    void followsTheToolbar();
    void profileDisplay();
    void shortFieldGivesEmptyCell();
    void appendedStepsInsertRows();
    void ignitionDelayAboveTheTable();
};

void TestResults::layout()
{
    ResultsFixture fixture;
    Results page(fixture.project.get());
    auto* layout = qobject_cast<QVBoxLayout*>(page.layout());
    QVERIFY(layout);
    QCOMPARE(layout->count(), 3);
    QCOMPARE(layout->itemAt(0)->widget(), page.timeToolBar());
    QCOMPARE(layout->itemAt(1)->widget(), page.ignitionBar());
    QCOMPARE(layout->itemAt(2)->widget(), page.table());
    QCOMPARE(page.timeToolBar()->maximumHeight(), 32);
    QCOMPARE(page.table()->parent(), &page);
    QCOMPARE(page.table()->model()->rowCount(), 0);
}

void TestResults::allStepsReadTheProjectsVectors()
{
    ResultsFixture fixture;
    Results page(fixture.project.get());
    fixture.setSteps(4, 3);
    QCOMPARE(fixture.project->fieldCount(), 3);
    QCOMPARE(headers(page.table()), (QStringList{"t(s)", "F1", "F2"}));
    QCOMPARE(cells(page.table()), (QList<QList<double>>{{0.0, 100.0, 200.0},
                                                          {double(0.1f), 101.0, 201.0},
                                                          {double(0.2f), 102.0, 202.0},
                                                          {double(0.3f), 103.0, 203.0}}));
    for (int i = 0; i < 3; ++i)
        QCOMPARE(page.table()->columns().at(i).second, &fixture.project->field(i)->values);
}

void TestResults::singleStep()
{
    ResultsFixture fixture;
    Results page(fixture.project.get());
    fixture.setSteps(5, 3);
    page.updateTable(2);
    QCOMPARE(headers(page.table()), (QStringList{"t(s)", "F1", "F2"}));
    QCOMPARE(cells(page.table()), (QList<QList<double>>{{double(0.2f), 102.0, 202.0}}));
    // The row is numbered as the time toolbar numbers the step.
    QCOMPARE(page.table()->model()->headerData(0, Qt::Vertical).toString(), QStringLiteral("2"));
    for (int i = 0; i < 3; ++i)
        QVERIFY(page.table()->columns().at(i).second != &fixture.project->field(i)->values);
    // Back to 0: every time step again, numbered from 0.
    page.updateTable(0);
    QCOMPARE(page.table()->model()->rowCount(), 5);
    QCOMPARE(page.table()->model()->headerData(4, Qt::Vertical).toString(), QStringLiteral("4"));
}

void TestResults::stepClamping()
{
    ResultsFixture fixture;
    Results page(fixture.project.get());
    fixture.setSteps(5, 2);
    page.updateTable(99);
    QCOMPARE(cells(page.table()), (QList<QList<double>>{{double(0.4f), 104.0}}));
    page.updateTable(-4);
    QCOMPARE(page.table()->model()->rowCount(), 5);
    QCOMPARE(page.table()->columns().at(1).second, &fixture.project->field(1)->values);
    page.updateTable(4);
    QCOMPARE(cells(page.table()), (QList<QList<double>>{{double(0.4f), 104.0}}));
}

void TestResults::zeroTimeSteps()
{
    ResultsFixture fixture;
    Results page(fixture.project.get());
    fixture.setSteps(5, 2);
    page.updateTable(3);
    const QList<QList<double>> shown = cells(page.table());
    QCOMPARE(shown, (QList<QList<double>>{{double(0.3f), 103.0}}));

    // Headings but no data line yet: the step on show stays.
    fixture.setData({"t(s)", "F1"}, {});
    QCOMPARE(fixture.project->fieldCount(), 2);
    QCOMPARE(fixture.project->timeStepCount(), 0);
    page.updateTable(1);
    QCOMPARE(cells(page.table()), shown);
    fixture.project->clear();
    QCOMPARE(cells(page.table()), shown);

    // The table of all steps reads the project's vectors; when the project
    // frees them it must not keep pointing to them.
    fixture.setSteps(5, 2);
    page.updateTable(0);
    QCOMPARE(page.table()->model()->rowCount(), 5);
    fixture.project->clear();
    QCOMPARE(page.table()->model()->rowCount(), 0);
    QCOMPARE(page.table()->columnCount(), 0);
}

void TestResults::followsTheToolbar()
{
    ResultsFixture fixture;
    Results page(fixture.project.get());
    page.timeToolBar()->setDelay(0);
    fixture.setSteps(6, 2);
    page.timeToolBar()->slider()->setValue(3);
    QCOMPARE(cells(page.table()), (QList<QList<double>>{{double(0.3f), 103.0}}));
    // New data: the step the toolbar holds.
    fixture.setSteps(8, 2);
    QCOMPARE(cells(page.table()), (QList<QList<double>>{{double(0.3f), 103.0}}));
    fixture.setSteps(3, 2);
    QCOMPARE(cells(page.table()), (QList<QList<double>>{{double(0.2f), 102.0}}));
    page.timeToolBar()->slider()->setValue(0);
    QCOMPARE(page.table()->model()->rowCount(), 3);
}

void TestResults::profileDisplay()
{
    ResultsFixture fixture;
    Results page(fixture.project.get());
    page.timeToolBar()->setDelay(0);
    fixture.setSteps(6, 3);
    fixture.addComputation(6);
    QCOMPARE(fixture.project->saveProfile(QStringLiteral("p4"), 4), ProfileResult::Created);
    page.timeToolBar()->slider()->setValue(2);

    page.timeToolBar()->profileActions().at(0)->trigger();
    QCOMPARE(headers(page.table()), (QStringList{"t(s)", "F1", "F2"}));
    QCOMPARE(cells(page.table()), (QList<QList<double>>{{double(0.4f), 104.0, 204.0}}));
    QVERIFY(!page.table()->model()->headerData(0, Qt::Vertical).isValid());

    // A poll of a run does not push the profile off the table.
    emit fixture.project->outDataUpdated();
    QCOMPARE(cells(page.table()), (QList<QList<double>>{{double(0.4f), 104.0, 204.0}}));

    // An index out of range leaves the table alone.
    page.profileSelected(5);
    page.profileSelected(-1);
    QCOMPARE(cells(page.table()), (QList<QList<double>>{{double(0.4f), 104.0, 204.0}}));

    // Closing the profile shows the step of the slider again.
    page.timeToolBar()->closeProfileAction()->trigger();
    QCOMPARE(cells(page.table()), (QList<QList<double>>{{double(0.2f), 102.0, 202.0}}));
}

void TestResults::shortFieldGivesEmptyCell()
{
    ResultsFixture fixture;
    Results page(fixture.project.get());
    fixture.setSteps(4, 3);
    // A field shorter than the first, as a damaged file could leave it.
    auto* field = const_cast<OutputField*>(fixture.project->field(2));
    field->values.resize(2);
    page.updateTable(3);
    const QList<QList<double>> shown = cells(page.table());
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.at(0).at(1), 103.0);
    QVERIFY(qIsNaN(shown.at(0).at(2)));
}

void TestResults::appendedStepsInsertRows()
{
    ResultsFixture fixture;
    Results page(fixture.project.get());
    fixture.setSteps(3, 3);
    QCOMPARE(page.table()->model()->rowCount(), 3);
    QSignalSpy resets(page.table()->model(), &QAbstractItemModel::modelReset);
    QSignalSpy inserted(page.table()->model(), &QAbstractItemModel::rowsInserted);
    // The data file grows by two lines; the reader reads only those.
    fixture.read(ResultsFixture::dataText(ResultsFixture::names(3), ResultsFixture::rows(5, 3)));
    emit fixture.project->outDataUpdated();
    QCOMPARE(page.table()->model()->rowCount(), 5);
    QCOMPARE(resets.count(), 0);
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(cells(page.table()).last(), (QList<double>{double(0.4f), 104.0, 204.0}));
}

void TestResults::ignitionDelayAboveTheTable()
{
    ResultsFixture fixture;
    Results page(fixture.project.get());
    IgnitionBar* bar = page.ignitionBar();
    QCOMPARE(bar->label()->text(), QString());
    // An ignition at 2.177e-4 s, and OH peaking at 2.3e-4 s.
    QList<QList<float>> rows;
    for (int i = 0; i < 400; ++i) {
        const double t = i * 1e-6;
        rows.append({float(t), float(1000.0 + 1500.0 / (1.0 + std::exp(-(t - 2.177e-4) / 4e-6))),
                     float(1e-2 * std::exp(-std::pow((t - 2.3e-4) / 2e-5, 2)))});
    }
    fixture.setData({"t(s)", "T(K)", "OH"}, rows);
    QCOMPARE(bar->label()->text(), QStringLiteral("Ignition delay 2.177E-04 s (steepest temperature rise)"));
    QVERIFY(!bar->riseBox()->isVisibleTo(bar));
    QVERIFY(!bar->speciesBox()->isVisibleTo(bar));

    // Another definition: shown at once and stored with the project; a
    // species definition starts from OH.
    Project* project = fixture.project.get();
    auto choose = [bar](IgnitionDefinition::Kind kind) {
        bar->kindBox()->setCurrentIndex(bar->kindBox()->findData(int(kind)));
        emit bar->kindBox()->activated(bar->kindBox()->currentIndex());
    };
    choose(IgnitionDefinition::SpeciesPeak);
    QCOMPARE(bar->label()->text(), QStringLiteral("Ignition delay 2.300E-04 s (peak of OH)"));
    QCOMPARE(project->setting(QStringLiteral("Ignition/definition")).toString(), QStringLiteral("peak:OH"));
    QVERIFY(bar->speciesBox()->isVisibleTo(bar));
    QCOMPARE(bar->speciesBox()->currentText(), QStringLiteral("OH"));
    QCOMPARE(bar->speciesBox()->count(), 2); // T(K) and OH: not the time
    choose(IgnitionDefinition::TemperatureRise);
    QVERIFY(bar->riseBox()->isVisibleTo(bar));
    QCOMPARE(bar->riseBox()->value(), 400.0);
    QVERIFY(bar->label()->text().endsWith(QStringLiteral(" s (temperature 400 K above its initial value)")));
    bar->riseBox()->setValue(2000.0);
    emit bar->riseBox()->editingFinished();
    QCOMPARE(project->setting(QStringLiteral("Ignition/definition")).toString(), QStringLiteral("deltaT:2000"));
    QCOMPARE(bar->label()->text(), QStringLiteral("No ignition (temperature 2000 K above its initial value)"));

    // A project brings its own choice.
    QVERIFY(project->setSetting(QStringLiteral("Ignition/definition"), QStringLiteral("rise:HO2")));
    emit project->dataUpdated();
    QCOMPARE(bar->definition().toString(), QStringLiteral("rise:HO2"));
    QCOMPARE(bar->speciesBox()->currentText(), QStringLiteral("HO2"));
    QCOMPARE(bar->label()->text(), QStringLiteral("No ignition delay: the output data has no field \"HO2\""));
}

QTEST_MAIN(TestResults)
#include "tst_results.moc"
