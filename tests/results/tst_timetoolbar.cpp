// The time toolbar: the slider and the step field over the output data, the
// delayed announcement of the step, and the profiles it saves, shows,
// renames and deletes.

#include "messagecapture.h"
#include "modalanswers.h"
#include "profile.h"
#include "stepvalidator.h"
#include "timetoolbar.h"
#include "resultsfixture.h"

#include <QAction>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <functional>

namespace {

// Answers the next text-input dialog once it is up: notes its texts, then
// types `answer` and accepts, or cancels when `answer` is null.
class DialogAnswer
{
public:
    explicit DialogAnswer(const QString& answer)
    {
        QTimer::singleShot(0, [this, answer] { poll(answer); });
    }
    QString title;
    QString label;
    QString proposed;
    bool seen = false;

private:
    void poll(const QString& answer)
    {
        auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            QTimer::singleShot(10, [this, answer] { poll(answer); });
            return;
        }
        seen = true;
        title = dialog->windowTitle();
        label = dialog->labelText();
        proposed = dialog->textValue();
        if (answer.isNull()) {
            dialog->reject();
            return;
        }
        dialog->setTextValue(answer);
        dialog->accept();
    }
};

QStringList actionTexts(const QList<QAction*>& actions)
{
    QStringList texts;
    for (const QAction* action : actions)
        texts << action->text();
    return texts;
}

} // namespace

class TestTimeToolBar : public QObject
{
    Q_OBJECT

private slots:
    void startsEmpty();
    void followsOutputData();
    void sliderFollowsShrinkingData();
    void typedNumbersAreClamped();
    void delayedEmission();
    void valueWithoutData();
    void profileMenu();
    void showAndCloseProfile();
    void profileListChangeReturnsToSlider();
    void stepZeroCannotBeSaved();
    void addProfileAsksForName();
    void renameProfile();
    void deleteProfile();
};

void TestTimeToolBar::startsEmpty()
{
    ResultsFixture fixture;
    TimeToolBar bar(fixture.project.get());
    QCOMPARE(bar.currentView(), 0);
    QCOMPARE(bar.slider()->minimum(), 0);
    QCOMPARE(bar.slider()->maximum(), 0);
    QCOMPARE(bar.slider()->orientation(), Qt::Horizontal);
    QCOMPARE(bar.slider()->focusPolicy(), Qt::WheelFocus);
    QCOMPARE(bar.endTimeLabel()->text(), QStringLiteral("0 s"));
    QCOMPARE(bar.stepField()->text(), QStringLiteral("0"));
    QCOMPARE(bar.stepField()->toolTip(), QStringLiteral("Time Step Number"));
    QCOMPARE(bar.stepField()->width(), 40);
    QCOMPARE(bar.delay(), 200);
    QCOMPARE(bar.selectedProfile(), -1);
    QCOMPARE(bar.profileButton()->menu(), bar.profileMenu());
    QCOMPARE(bar.sliderMenuButton()->menu(), bar.profileMenu());
    QVERIFY(bar.profileButton()->isFlat());

    const QList<QAction*> entries = bar.profileMenu()->actions();
    QCOMPARE(entries.size(), 3);
    QCOMPARE(entries.at(0), bar.addProfileAction());
    QCOMPARE(entries.at(0)->text(), QStringLiteral("Add Profile"));
    QCOMPARE(entries.at(0)->toolTip(), QStringLiteral("Save selected Time Step as a Profile"));
    QVERIFY(entries.at(0)->isVisible());
    QCOMPARE(entries.at(1), bar.closeProfileAction());
    QCOMPARE(entries.at(1)->text(), QStringLiteral("Close Profile"));
    QCOMPARE(entries.at(1)->toolTip(), QStringLiteral("Close selected profile"));
    QVERIFY(!entries.at(1)->isVisible());
    QVERIFY(entries.at(2)->isSeparator());

    QStringList tips;
    for (const QPushButton* button : bar.findChildren<QPushButton*>()) {
        if (button != bar.profileButton()) {
            tips << button->toolTip();
            QCOMPARE(button->width(), 30);
        }
    }
    tips.sort();
    QCOMPARE(tips, (QStringList{"Close profile", "Edit profile name", "Remove selected profile"}));
}

void TestTimeToolBar::followsOutputData()
{
    ResultsFixture fixture;
    TimeToolBar bar(fixture.project.get());
    bar.setDelay(0);
    QSignalSpy steps(&bar, &TimeToolBar::valueChanged);
    fixture.setSteps(10);
    QCOMPARE(bar.slider()->maximum(), 9);
    QCOMPARE(bar.endTimeLabel()->text(), QStringLiteral("0.9 s"));
    auto* validator = qobject_cast<const StepValidator*>(bar.stepField()->validator());
    QVERIFY(validator);
    QCOMPARE(validator->top(), 9);
    QCOMPARE(steps.count(), 0); // the position stays where it was

    bar.slider()->setValue(3);
    QCOMPARE(steps.count(), 1);
    QCOMPARE(steps.at(0).at(0).toInt(), 3);
    QCOMPARE(bar.slider()->toolTip(), QStringLiteral("t = 0.3 s\ni = 3"));
    QCOMPARE(bar.stepField()->text(), QStringLiteral("3"));
    QCOMPARE(bar.value(), 3);

    // Without a time column the times read 0.
    fixture.setData({"T(K)", "P"}, {{300.0f, 1.0f}, {310.0f, 1.0f}, {320.0f, 1.0f}, {330.0f, 1.0f}});
    QCOMPARE(bar.endTimeLabel()->text(), QStringLiteral("0 s"));
    bar.slider()->setValue(2);
    QCOMPARE(bar.slider()->toolTip(), QStringLiteral("t = 0 s\ni = 2"));

    // Data gone: everything back to the start, and step -1 announced.
    steps.clear();
    fixture.project->clear();
    QCOMPARE(bar.slider()->maximum(), 0);
    QCOMPARE(bar.slider()->value(), 0);
    QCOMPARE(bar.slider()->toolTip(), QStringLiteral("no data"));
    QCOMPARE(bar.endTimeLabel()->text(), QStringLiteral("0 s"));
    QCOMPARE(bar.stepField()->text(), QStringLiteral("0"));
    QVERIFY(steps.count() >= 1);
    QCOMPARE(steps.first().at(0).toInt(), -1);
}

void TestTimeToolBar::sliderFollowsShrinkingData()
{
    ResultsFixture fixture;
    TimeToolBar bar(fixture.project.get());
    bar.setDelay(0);
    fixture.setSteps(10);
    bar.slider()->setValue(8);
    QSignalSpy steps(&bar, &TimeToolBar::valueChanged);
    fixture.setSteps(5);
    QCOMPARE(bar.slider()->maximum(), 4);
    QCOMPARE(bar.slider()->value(), 4);
    QCOMPARE(bar.slider()->toolTip(), QStringLiteral("t = 0.4 s\ni = 4"));
    QCOMPARE(bar.stepField()->text(), QStringLiteral("4"));
    QCOMPARE(bar.endTimeLabel()->text(), QStringLiteral("0.4 s"));
    QCOMPARE(steps.count(), 1);
    QCOMPARE(steps.at(0).at(0).toInt(), 4);
}

void TestTimeToolBar::typedNumbersAreClamped()
{
    ResultsFixture fixture;
    TimeToolBar bar(fixture.project.get());
    bar.setDelay(0);
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    fixture.setSteps(10);
    QLineEdit* field = bar.stepField();

    struct Case
    {
        const char* typed;
        int step;
    };
    // 70 has more digits than the last step 9: still typed, then pulled in.
    for (const Case& c : {Case{"5", 5}, Case{"70", 9}, Case{"123456", 9}, Case{"-3", 0}, Case{"7", 7}}) {
        field->setFocus();
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, QString::fromLatin1(c.typed));
        QCOMPARE(field->text(), QString::fromLatin1(c.typed));
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(bar.slider()->value(), c.step);
        QCOMPARE(field->text(), QString::number(c.step));
    }
    // Letters never get in.
    field->selectAll();
    QTest::keyClicks(field, QStringLiteral("x"));
    QCOMPARE(field->text(), QStringLiteral("7"));

    // Set from outside the keyboard, a negative number selects 0 as well.
    field->setText(QStringLiteral("-12"));
    bar.onManualEdit();
    QCOMPARE(bar.slider()->value(), 0);
    QCOMPARE(field->text(), QStringLiteral("0"));
    field->setText(QStringLiteral("99999999999"));
    bar.onManualEdit();
    QCOMPARE(bar.slider()->value(), 9);
}

void TestTimeToolBar::delayedEmission()
{
    ResultsFixture fixture;
    TimeToolBar bar(fixture.project.get());
    fixture.setSteps(10);
    QSignalSpy steps(&bar, &TimeToolBar::valueChanged);
    // A drag: several positions in a row, one announcement of the last.
    bar.slider()->setValue(2);
    bar.slider()->setValue(5);
    bar.slider()->setValue(6);
    QCOMPARE(steps.count(), 0);
    QVERIFY(steps.wait(2000));
    QCOMPARE(steps.count(), 1);
    QCOMPARE(steps.at(0).at(0).toInt(), 6);
    QVERIFY2(!steps.wait(500), "announced once only");

    bar.setDelay(-5);
    QCOMPARE(bar.delay(), 0);
    bar.slider()->setValue(7);
    QCOMPARE(steps.count(), 2);
    QCOMPARE(steps.at(1).at(0).toInt(), 7);
}

void TestTimeToolBar::valueWithoutData()
{
    ResultsFixture fixture;
    TimeToolBar bar(fixture.project.get());
    QSignalSpy steps(&bar, &TimeToolBar::valueChanged);
    QCOMPARE(bar.value(), 0);
    QCOMPARE(steps.count(), 1);
    QCOMPARE(steps.at(0).at(0).toInt(), -1);
    QCOMPARE(bar.slider()->toolTip(), QStringLiteral("no data"));

    // Fields without values are no data either.
    fixture.setData({"t(s)", "T"}, {});
    QCOMPARE(bar.value(), 0);
    QCOMPARE(bar.slider()->maximum(), 0);
}

void TestTimeToolBar::profileMenu()
{
    ResultsFixture fixture;
    TimeToolBar bar(fixture.project.get());
    fixture.setSteps(6);
    fixture.addComputation(6);
    QCOMPARE(fixture.project->saveProfile(QStringLiteral("ignition"), 2), ProfileResult::Created);
    QCOMPARE(fixture.project->saveProfile(QStringLiteral("end"), 5), ProfileResult::Created);
    QCOMPARE(actionTexts(bar.profileActions()), (QStringList{"ignition", "end"}));
    const QList<QAction*> entries = bar.profileMenu()->actions();
    QCOMPARE(entries.size(), 5);
    QCOMPARE(entries.at(3), bar.profileActions().at(0));
    QCOMPARE(entries.at(4), bar.profileActions().at(1));
    for (int i = 0; i < 2; ++i) {
        QCOMPARE(bar.profileActions().at(i)->data().toInt(), i);
        QCOMPARE(bar.profileActions().at(i)->toolTip(), QStringLiteral("Save selected Time Step as a Profile"));
    }
    fixture.project->removeProfile(0);
    QCOMPARE(actionTexts(bar.profileActions()), QStringList{"end"});
    QCOMPARE(bar.profileMenu()->actions().size(), 4);
}

void TestTimeToolBar::showAndCloseProfile()
{
    ResultsFixture fixture;
    TimeToolBar bar(fixture.project.get());
    bar.setDelay(0);
    fixture.setSteps(6);
    fixture.addComputation(6);
    QCOMPARE(fixture.project->saveProfile(QStringLiteral("first"), 1), ProfileResult::Created);
    QCOMPARE(fixture.project->saveProfile(QStringLiteral("second"), 3), ProfileResult::Created);
    bar.slider()->setValue(4);

    QSignalSpy profiles(&bar, &TimeToolBar::profileSelected);
    QSignalSpy steps(&bar, &TimeToolBar::valueChanged);
    bar.profileActions().at(1)->trigger();
    QCOMPARE(profiles.count(), 1);
    QCOMPARE(profiles.at(0).at(0).toInt(), 1);
    QCOMPARE(bar.currentView(), 1);
    QCOMPARE(bar.selectedProfile(), 1);
    QCOMPARE(bar.profileButton()->text(), QStringLiteral("second"));
    QVERIFY(!bar.addProfileAction()->isVisible());
    QVERIFY(bar.closeProfileAction()->isVisible());

    bar.closeProfileAction()->trigger();
    QCOMPARE(bar.currentView(), 0);
    QCOMPARE(bar.selectedProfile(), -1);
    QVERIFY(bar.addProfileAction()->isVisible());
    QVERIFY(!bar.closeProfileAction()->isVisible());
    QCOMPARE(steps.count(), 1);
    QCOMPARE(steps.at(0).at(0).toInt(), 4);

    // An entry of a profile that has gone rebuilds the menu instead.
    QAction stale(QStringLiteral("gone"));
    stale.setData(7);
    connect(&stale, &QAction::triggered, &bar, &TimeToolBar::actionProfile);
    stale.trigger();
    QCOMPARE(profiles.count(), 1);
    QCOMPARE(bar.currentView(), 0);
    QCOMPARE(actionTexts(bar.profileActions()), (QStringList{"first", "second"}));
}

void TestTimeToolBar::profileListChangeReturnsToSlider()
{
    ResultsFixture fixture;
    TimeToolBar bar(fixture.project.get());
    bar.setDelay(0);
    fixture.setSteps(6);
    fixture.addComputation(6);
    QCOMPARE(fixture.project->saveProfile(QStringLiteral("first"), 1), ProfileResult::Created);
    bar.slider()->setValue(2);
    bar.profileActions().at(0)->trigger();
    QCOMPARE(bar.currentView(), 1);
    QSignalSpy steps(&bar, &TimeToolBar::valueChanged);
    QCOMPARE(fixture.project->saveProfile(QStringLiteral("another"), 4), ProfileResult::Created);
    QCOMPARE(bar.currentView(), 0);
    QCOMPARE(bar.selectedProfile(), -1);
    QCOMPARE(steps.count(), 1);
    QCOMPARE(steps.at(0).at(0).toInt(), 2);
    QCOMPARE(actionTexts(bar.profileActions()), (QStringList{"first", "another"}));
}

void TestTimeToolBar::stepZeroCannotBeSaved()
{
    ResultsFixture fixture;
    TimeToolBar bar(fixture.project.get());
    fixture.setSteps(6);
    fixture.addComputation(6);
    QCOMPARE(bar.slider()->value(), 0);
    MessageCapture capture;
    // No dialog may come up: it would block here.
    bar.addProfileAction()->trigger();
    QCOMPARE(capture.lines(), QStringList{QStringLiteral("WRN Cannot create profile for time step 0 ")});
    QVERIFY(fixture.project->profileNames().isEmpty());
}

void TestTimeToolBar::addProfileAsksForName()
{
    ResultsFixture fixture;
    TimeToolBar bar(fixture.project.get());
    bar.setDelay(0);
    fixture.setSteps(6);
    fixture.addComputation(6);
    bar.slider()->setValue(3);
    {
        DialogAnswer answer(QStringLiteral("hot spot"));
        MessageCapture capture;
        bar.addProfile();
        QVERIFY(answer.seen);
        QCOMPARE(answer.title, QStringLiteral("Create a new Profile"));
        QCOMPARE(answer.label, QStringLiteral("Profile Name:"));
        QCOMPARE(answer.proposed, QStringLiteral("new profile"));
        QVERIFY(capture.lines().contains(QStringLiteral("INF SaveProfile with 3 returned 0 ")));
    }
    QCOMPARE(fixture.project->profileNames(), QStringList{"hot spot"});
    QCOMPARE(fixture.project->profileAt(0)->values().at(1).value, 103.0f);
    QCOMPARE(actionTexts(bar.profileActions()), QStringList{"hot spot"});

    // Cancelled, or only blanks: nothing saved.
    for (const QString& reply : {QString(), QStringLiteral("   ")}) {
        DialogAnswer answer(reply);
        bar.addProfile();
        QVERIFY(answer.seen);
        QCOMPARE(fixture.project->profileNames().size(), 1);
    }

    // The project refuses (no computation text): the user is told why.
    fixture.project->removeExtra(QStringLiteral("COMPUT_DATA"));
    DialogAnswer answer(QStringLiteral("late"));
    ModalAnswers boxes;
    boxes.add(ModalAnswers::press(QMessageBox::Ok));
    MessageCapture capture;
    bar.addProfile();
    QVERIFY(capture.lines().contains(QStringLiteral("INF SaveProfile with 3 returned 2 ")));
    QCOMPARE(boxes.seen().size(), 1);
    QCOMPARE(boxes.seen().at(0).title, QStringLiteral("Profile not saved"));
    QCOMPARE(boxes.seen().at(0).text, QStringLiteral("The profile \"late\" could not be saved: the project holds no "
                                                     "computation data (COMPUT_DATA)."));
    QCOMPARE(fixture.project->profileNames().size(), 1);
}

void TestTimeToolBar::renameProfile()
{
    ResultsFixture fixture;
    TimeToolBar bar(fixture.project.get());
    fixture.setSteps(6);
    fixture.addComputation(6);
    QCOMPARE(fixture.project->saveProfile(QStringLiteral("  warm  "), 2), ProfileResult::Created);
    bar.profileActions().at(0)->trigger();
    QSignalSpy changes(fixture.project.get(), &Project::profilesChanged);

    // The same name (trimmed) and a blank name change nothing.
    for (const QString& reply : {QStringLiteral("warm"), QStringLiteral("   "), QString()}) {
        DialogAnswer answer(reply);
        bar.editProfile();
        QVERIFY(answer.seen);
        QCOMPARE(answer.title, QStringLiteral("Edit Profile: warm"));
        QCOMPARE(answer.label, QStringLiteral("Profile Name:"));
        QCOMPARE(answer.proposed, QStringLiteral("warm"));
        QCOMPARE(fixture.project->profileAt(0)->name(), QStringLiteral("warm"));
        QCOMPARE(changes.count(), 0);
    }
    DialogAnswer answer(QStringLiteral(" hot "));
    bar.editProfile();
    QCOMPARE(fixture.project->profileAt(0)->name(), QStringLiteral("hot"));
    QCOMPARE(bar.profileButton()->text(), QStringLiteral("hot"));
    QCOMPARE(actionTexts(bar.profileActions()), QStringList{"hot"});
    // Renamed through the project, which tells everyone (and marks itself
    // unsaved); the toolbar still shows the profile it renamed.
    QCOMPARE(changes.count(), 1);
    QVERIFY(!fixture.project->isSaved());
    QCOMPARE(bar.currentView(), 1);
    QCOMPARE(bar.selectedProfile(), 0);
}

void TestTimeToolBar::deleteProfile()
{
    ResultsFixture fixture;
    TimeToolBar bar(fixture.project.get());
    bar.setDelay(0);
    fixture.setSteps(6);
    fixture.addComputation(6);
    QCOMPARE(fixture.project->saveProfile(QStringLiteral("a"), 1), ProfileResult::Created);
    QCOMPARE(fixture.project->saveProfile(QStringLiteral("b"), 2), ProfileResult::Created);
    bar.profileActions().at(1)->trigger();
    bar.delProfile();
    QCOMPARE(fixture.project->profileNames(), QStringList{"a"});
    QCOMPARE(bar.currentView(), 0);
    QCOMPARE(bar.selectedProfile(), -1);
    QCOMPARE(actionTexts(bar.profileActions()), QStringList{"a"});
    // Nothing selected: nothing deleted.
    bar.delProfile();
    QCOMPARE(fixture.project->profileNames(), QStringList{"a"});
}

QTEST_MAIN(TestTimeToolBar)
#include "tst_timetoolbar.moc"
