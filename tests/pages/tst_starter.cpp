// The start page: recent projects kept in settings.ini, the schemes of a
// database, opening, saving and saving under a new name, the advanced mode,
// and the question before unsaved work is replaced.

#include "modalanswers.h"
#include "require.h"
#include "messagecapture.h"
#include "translation.h"
#include "options.h"
#include "listdelegate.h"
#include "listdelegateeditor.h"
#include "starter.h"
#include "project.h"

#include <QtTest>

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>

namespace {

QString settingsFile()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("settings.ini"));
}

ListDelegateEditor* barOf(QListWidget* list, int row)
{
    return qobject_cast<ListDelegateEditor*>(list->itemWidget(list->item(row)));
}

void clickBar(QListWidget* list, int row)
{
    ListDelegateEditor* bar = barOf(list, row);
    QVERIFY(bar);
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(10, bar->height() / 2));
}

} // namespace

class TestStarter : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void withoutProject();
    void pageContents();
    void recentProjectsRead();
    void recentProjectsWrittenAsUtf8();
    void openingARecentProject();
    void openingMovesToTopAndKeepsTwenty();
    void loadDialogAndFailure();
    void missingRecentFileHidden();
    void choosingASchemeAndUnknownNames();
    void advancedMode();
    void saveAsChecksTheExtension();
    void saveAddsToRecent();
    void saveFailureAndNoProject();
    void unsavedWorkIsOfferedForSaving();

private:
    // A database of two schemes and a folder for project files.
    void writeSchemes();
    // A saved project file named `name`.tarvel in the folder.
    QString writeProject(const QString& name);
    std::unique_ptr<Starter> makeStarter();

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Options> m_catalogue;
    std::unique_ptr<Project> m_project;
    QString m_schemes;
};

void TestStarter::initTestCase()
{
    QVERIFY(Translation::instance().load(QStringLiteral(":/translate.xml")));
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
}

void TestStarter::init()
{
    QFile::remove(settingsFile());
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_catalogue = std::make_unique<Options>();
    QVERIFY(m_catalogue->loadBuiltIn());
    m_project = std::make_unique<Project>(m_catalogue.get());
    writeSchemes();
}

void TestStarter::cleanup()
{
    m_project.reset();
    m_catalogue.reset();
    QFile::remove(settingsFile());
}

void TestStarter::writeSchemes()
{
    Scheme first(m_catalogue.get());
    QVERIFY(first.setNameAndDescription(QStringLiteral("H2-TEST"), QStringLiteral("Hydrogen test scheme")));
    SchemeNode* group = first.addGroup(QStringLiteral("Times"));
    SchemeNode* tend = first.addOption(m_catalogue->findOption(QStringLiteral("TEND")), group);
    QVERIFY(tend);
    tend->value = QStringLiteral("1.0E-03");
    Scheme second(m_catalogue.get());
    QVERIFY(second.setNameAndDescription(QStringLiteral("CH4-TEST"), QStringLiteral("Methane test scheme")));
    second.addGroup(QStringLiteral("Empty"));
    m_schemes = m_dir->filePath(QStringLiteral("schemes.dat"));
    QString error;
    QCOMPARE(Scheme::writeDatabase(m_schemes, {&first, &second}, &error), Scheme::WriteResult::Written);
}

QString TestStarter::writeProject(const QString& name)
{
    Project writer(m_catalogue.get());
    require(writer.setName(name), "setName");
    const QString file = m_dir->filePath(name + QStringLiteral(".tarvel"));
    if (!writer.save(file))
        qFatal("cannot write the project file %s", qPrintable(file));
    return file;
}

std::unique_ptr<Starter> TestStarter::makeStarter()
{
    return std::make_unique<Starter>(m_project.get(), m_schemes);
}

void TestStarter::withoutProject()
{
    MessageCapture capture;
    Starter page(nullptr, m_schemes);
    QCOMPARE(capture.texts(QtCriticalMsg), QStringList{"Cannot initialise Starter(). Project is not provided "});
    QVERIFY(!page.recentList());
    QVERIFY(!page.schemesList());
    QVERIFY(page.findChildren<QWidget*>().isEmpty());
    // Its slots are harmless.
    QVariant name(QStringLiteral("H2-TEST"));
    page.schemeSelected(name);
    page.saveProject();
    page.checkFiles();
}

void TestStarter::pageContents()
{
    auto page = makeStarter();
    QStringList labels;
    for (const QLabel* label : page->findChildren<QLabel*>())
        labels << label->text();
    labels.sort();
    QCOMPARE(labels, (QStringList{"New Project", "Recent Projects"}));
    QCOMPARE(page->openButton()->text(), QStringLiteral("Open other Project"));
    QCOMPARE(page->advancedButton()->text(), QStringLiteral("Advanced Mode"));
    QCOMPARE(page->findChildren<QGroupBox*>().size(), 2);
    for (QListWidget* list : {page->recentList(), page->schemesList()}) {
        QCOMPARE(list->font().pixelSize(), 16);
        QVERIFY(qobject_cast<ListDelegate*>(list->itemDelegate()));
    }
    QVERIFY(page->recentList()->itemDelegate() != page->schemesList()->itemDelegate());

    QListWidget* schemes = page->schemesList();
    QCOMPARE(schemes->count(), 2);
    QCOMPARE(page->schemes().size(), 2);
    // The name and the whole description: on the bar, and in the tool tip
    // where the bar is too narrow for it.
    QCOMPARE(schemes->item(0)->text(), QStringLiteral("H2-TEST \u2014 Hydrogen test scheme"));
    QCOMPARE(schemes->item(1)->text(), QStringLiteral("CH4-TEST \u2014 Methane test scheme"));
    QCOMPARE(barOf(schemes, 0)->text(), QStringLiteral("H2-TEST \u2014 Hydrogen test scheme"));
    QCOMPARE(barOf(schemes, 0)->toolTip(), QStringLiteral("<b>H2-TEST</b><br>Hydrogen test scheme"));
    QCOMPARE(barOf(schemes, 0)->data, QVariant(QStringLiteral("H2-TEST")));
    QCOMPARE(barOf(schemes, 1)->data, QVariant(QStringLiteral("CH4-TEST")));

    // The recent files are looked at every 500 ms only while the page is on
    // show.
    auto* timer = page->findChild<QTimer*>();
    QVERIFY(timer);
    QCOMPARE(timer->interval(), 500);
    QVERIFY(!timer->isActive());
    page->show();
    QVERIFY(timer->isActive());
    page->hide();
    QVERIFY(!timer->isActive());
}

void TestStarter::recentProjectsRead()
{
    const QString first = writeProject(QStringLiteral("First"));
    const QString second = writeProject(QStringLiteral("Second"));
    {
        QSettings settings(settingsFile(), QSettings::IniFormat);
        settings.setValue(QStringLiteral("PrjHistory/file0"), first.toUtf8());
        settings.setValue(QStringLiteral("PrjHistory/file1"), second.toUtf8());
        settings.setValue(QStringLiteral("PrjHistory/file2"), QByteArray());
        settings.setValue(QStringLiteral("PrjHistory/file3"), writeProject(QStringLiteral("Third")).toUtf8());
    }
    auto page = makeStarter();
    QCOMPARE(page->recentPaths(), (QStringList{first, second}));
    QListWidget* recent = page->recentList();
    QCOMPARE(recent->count(), 2);
    QCOMPARE(recent->item(0)->text(), QStringLiteral("First"));
    QCOMPARE(recent->item(0)->toolTip(), first);
    QCOMPARE(recent->item(1)->text(), QStringLiteral("Second"));
    QCOMPARE(barOf(recent, 0)->text(), QStringLiteral("First"));
    QCOMPARE(barOf(recent, 1)->data, QVariant(1));
}

void TestStarter::recentProjectsWrittenAsUtf8()
{
    const QString file = writeProject(QStringLiteral("Прожект é"));
    {
        QSettings settings(settingsFile(), QSettings::IniFormat);
        settings.setValue(QStringLiteral("PrjHistory/file0"), file.toUtf8());
        settings.setValue(QStringLiteral("PrjHistory/file1"), QByteArray());
        settings.setValue(QStringLiteral("PrjHistory/file5"), QByteArray("left alone"));
    }
    const QString other = writeProject(QStringLiteral("Other"));
    {
        auto page = makeStarter();
        QCOMPARE(page->recentList()->item(0)->text(), QStringLiteral("Прожект é"));
        ModalAnswers answers;
        answers.add(ModalAnswers::chooseFile(other));
        answers.add(ModalAnswers::press(QMessageBox::Ok));
        page->loadProject();
        QCOMPARE(answers.pending(), 0);
        QCOMPARE(page->recentPaths(), (QStringList{other, file}));
    }
    QSettings settings(settingsFile(), QSettings::IniFormat);
    const QVariant stored = settings.value(QStringLiteral("PrjHistory/file1"));
    QCOMPARE(stored.typeId(), int(QMetaType::QByteArray));
    QCOMPARE(stored.toByteArray(), file.toUtf8());
    QCOMPARE(settings.value(QStringLiteral("PrjHistory/file0")).toByteArray(), other.toUtf8());
    QCOMPARE(settings.value(QStringLiteral("PrjHistory/file5")).toByteArray(), QByteArray("left alone"));
}

void TestStarter::openingARecentProject()
{
    const QString a = writeProject(QStringLiteral("Alpha"));
    const QString b = writeProject(QStringLiteral("Beta"));
    const QString c = writeProject(QStringLiteral("Gamma"));
    {
        QSettings settings(settingsFile(), QSettings::IniFormat);
        settings.setValue(QStringLiteral("PrjHistory/file0"), a.toUtf8());
        settings.setValue(QStringLiteral("PrjHistory/file1"), b.toUtf8());
        settings.setValue(QStringLiteral("PrjHistory/file2"), c.toUtf8());
    }
    auto page = makeStarter();
    page->show();
    QVERIFY(QTest::qWaitForWindowExposed(page.get()));
    QSignalSpy selected(page.get(), &Starter::selected);
    ModalAnswers answers;
    answers.add(ModalAnswers::press(QMessageBox::Ok));
    clickBar(page->recentList(), 1);
    QCOMPARE(answers.seen().size(), 1);
    QCOMPARE(answers.seen().first().text, QStringLiteral("Project has been loaded!"));
    QCOMPARE(selected.count(), 1);
    QCOMPARE(m_project->name(), QStringLiteral("Beta"));
    QCOMPARE(page->recentPaths(), (QStringList{b, a, c}));
    QCOMPARE(page->recentList()->item(0)->text(), QStringLiteral("Beta"));

    // Indices and values that name no project.
    QVariant beyond(7);
    page->projectSelected(beyond);
    QVariant text(QStringLiteral("0"));
    page->projectSelected(text);
    QCOMPARE(selected.count(), 1);
    QCOMPARE(page->recentList()->count(), 3);
}

void TestStarter::openingMovesToTopAndKeepsTwenty()
{
    QStringList paths;
    {
        QSettings settings(settingsFile(), QSettings::IniFormat);
        for (int i = 0; i < 20; ++i) {
            paths << m_dir->filePath(QStringLiteral("old%1.tarvel").arg(i));
            settings.setValue(QStringLiteral("PrjHistory/file%1").arg(i), paths.last().toUtf8());
        }
    }
    const QString fresh = writeProject(QStringLiteral("Fresh"));
    auto page = makeStarter();
    QCOMPARE(page->recentPaths(), paths);
    ModalAnswers answers;
    answers.add(ModalAnswers::chooseFile(fresh));
    answers.add(ModalAnswers::press(QMessageBox::Ok));
    page->loadProject();
    QCOMPARE(answers.pending(), 0);
    QCOMPARE(page->recentPaths().size(), 20);
    QCOMPARE(page->recentPaths().first(), fresh);
    QCOMPARE(page->recentPaths().mid(1), paths.mid(0, 19));
    QCOMPARE(page->recentList()->count(), 20);

    // Opened again: moved, not repeated.
    answers.add(ModalAnswers::chooseFile(fresh));
    answers.add(ModalAnswers::press(QMessageBox::Ok));
    page->loadProject();
    QCOMPARE(page->recentPaths().count(fresh), 1);
    QCOMPARE(page->recentPaths().size(), 20);
}

void TestStarter::loadDialogAndFailure()
{
    auto page = makeStarter();
    QSignalSpy selected(page.get(), &Starter::selected);
    ModalAnswers answers;
    answers.add(ModalAnswers::chooseFile(QString()));
    page->loadProject();
    QCOMPARE(answers.seen().size(), 1);
    const ModalAnswers::Seen dialog = answers.seen().first();
    QCOMPARE(dialog.kind, QStringLiteral("file"));
    QCOMPARE(dialog.title, QStringLiteral("Project to load"));
    QCOMPARE(dialog.directory, QDir::homePath());
    QCOMPARE(dialog.filters, QStringList{"Tarvel Project (*.tarvel)"});
    QCOMPARE(dialog.acceptMode, QFileDialog::AcceptOpen);
    QCOMPARE(selected.count(), 0);

    const QString junk = m_dir->filePath(QStringLiteral("junk.tarvel"));
    QFile file(junk);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not a database");
    file.close();
    answers.add(ModalAnswers::chooseFile(junk));
    answers.add(ModalAnswers::press(QMessageBox::Ok));
    page->loadProject();
    QCOMPARE(answers.seen().size(), 3);
    QCOMPARE(answers.seen().at(2).text, QStringLiteral("Failed to load the project!"));
    QCOMPARE(selected.count(), 0);
    QVERIFY(page->recentPaths().isEmpty());
}

void TestStarter::missingRecentFileHidden()
{
    const QString kept = writeProject(QStringLiteral("Kept"));
    const QString gone = writeProject(QStringLiteral("Gone"));
    {
        QSettings settings(settingsFile(), QSettings::IniFormat);
        settings.setValue(QStringLiteral("PrjHistory/file0"), kept.toUtf8());
        settings.setValue(QStringLiteral("PrjHistory/file1"), gone.toUtf8());
    }
    auto page = makeStarter();
    page->show();
    QVERIFY(QTest::qWaitForWindowExposed(page.get()));
    QListWidget* recent = page->recentList();
    QVERIFY(!recent->item(0)->isHidden());
    QVERIFY(!recent->item(1)->isHidden());

    const QString moved = gone + QStringLiteral(".away");
    QVERIFY(QFile::rename(gone, moved));
    QElapsedTimer clock;
    clock.start();
    QTRY_VERIFY_WITH_TIMEOUT(recent->item(1)->isHidden(), 2000);
    QVERIFY(!recent->item(0)->isHidden());
    QVERIFY(!barOf(recent, 1)->isVisible());
    QVERIFY(QFile::rename(moved, gone));
    QTRY_VERIFY_WITH_TIMEOUT(!recent->item(1)->isHidden(), 2000);
    QTRY_VERIFY(barOf(recent, 1)->isVisible());
}

void TestStarter::choosingASchemeAndUnknownNames()
{
    auto page = makeStarter();
    page->show();
    QVERIFY(QTest::qWaitForWindowExposed(page.get()));
    QSignalSpy selected(page.get(), &Starter::selected);
    MessageCapture capture;
    clickBar(page->schemesList(), 0);
    QCOMPARE(selected.count(), 1);
    QCOMPARE(m_project->name(), QStringLiteral("H2-TEST"));
    QCOMPARE(m_project->optionValue(QStringLiteral("TEND")), QStringLiteral("1.0E-03"));
    const QStringList debug = capture.texts(QtDebugMsg);
    QVERIFY(debug.contains(QStringLiteral("Selected Scheme: \"H2-TEST\" ")));
    QVERIFY(debug.contains(QStringLiteral("Selected scheme: \"H2-TEST\" ")));
    QVERIFY(debug.indexOf(QStringLiteral("Selected Scheme: \"H2-TEST\" "))
            < debug.indexOf(QStringLiteral("Selected scheme: \"H2-TEST\" ")));

    // A name the database does not hold: reported, the list read again.
    capture.clear();
    QVariant unknown(QStringLiteral("NOPE"));
    page->schemeSelected(unknown);
    QCOMPARE(capture.texts(QtCriticalMsg),
             QStringList{"Starter::schemeSelected(). Unexpected Error. Cannot find scheme \"NOPE\" among loaded "
                         "schemes. "});
    QCOMPARE(selected.count(), 1);
    QCOMPARE(page->schemesList()->count(), 2);
    QCOMPARE(m_project->name(), QStringLiteral("H2-TEST"));

    // Names must match exactly, and only strings name schemes.
    QVariant lower(QStringLiteral("h2-test"));
    page->schemeSelected(lower);
    QVariant number(1);
    page->schemeSelected(number);
    QCOMPARE(selected.count(), 1);
}

void TestStarter::advancedMode()
{
    auto page = makeStarter();
    QSignalSpy selected(page.get(), &Starter::selected);
    QTest::mouseClick(page->advancedButton(), Qt::LeftButton);
    QCOMPARE(selected.count(), 1);
    QCOMPARE(m_project->name(), QStringLiteral("Advanced Mode"));
    int catalogueOptions = 0;
    for (const auto& group : m_catalogue->groups())
        catalogueOptions += int(group->options.size());
    int nodes = 0;
    for (const SchemeNode* node : m_project->allNodes())
        nodes += node->isGroup ? 0 : 1;
    QCOMPARE(nodes, catalogueOptions);
}

void TestStarter::saveAsChecksTheExtension()
{
    auto page = makeStarter();
    QVariant name(QStringLiteral("H2-TEST"));
    page->schemeSelected(name);
    ModalAnswers answers;
    const QString wrong = m_dir->filePath(QStringLiteral("wrong.dat"));
    answers.add(ModalAnswers::chooseFile(wrong));
    answers.add(ModalAnswers::press(QMessageBox::Ok));
    page->saveAsProject();
    QCOMPARE(answers.seen().size(), 2);
    const ModalAnswers::Seen dialog = answers.seen().at(0);
    QCOMPARE(dialog.title, QStringLiteral("New Project Name"));
    QCOMPARE(dialog.acceptMode, QFileDialog::AcceptSave);
    QCOMPARE(dialog.selected, QDir::homePath() + QStringLiteral("/untitled.tarvel"));
    QCOMPARE(dialog.filters, QStringList{"Tarvel Project (*.tarvel)"});
    QCOMPARE(answers.seen().at(1).text, QStringLiteral("Wrong project file extension!"));
    QVERIFY(!QFile::exists(wrong));

    // The extension's case does not matter; no box on success.
    const QString upper = m_dir->filePath(QStringLiteral("Upper.TARVEL"));
    answers.add(ModalAnswers::chooseFile(upper));
    MessageCapture capture;
    page->saveAsProject();
    QCOMPARE(answers.seen().size(), 3);
    QVERIFY(QFile::exists(upper));
    QVERIFY(capture.texts(QtDebugMsg).contains(QStringLiteral("Project \"H2-TEST\" saved to: \"%1\" ").arg(upper)));
    QCOMPARE(m_project->fileName(), upper);
    QCOMPARE(page->recentPaths(), QStringList{upper});

    // A name typed without extension gets it.
    const QString plain = m_dir->filePath(QStringLiteral("plain"));
    answers.add(ModalAnswers::chooseFile(plain));
    page->saveAsProject();
    QVERIFY(QFile::exists(plain + QStringLiteral(".tarvel")));
    QCOMPARE(m_project->fileName(), plain + QStringLiteral(".tarvel"));
    QCOMPARE(page->recentPaths(), (QStringList{plain + QStringLiteral(".tarvel"), upper}));
    QCOMPARE(answers.seen().size(), 4);

    // The next save-as starts from the project's file.
    answers.add(ModalAnswers::chooseFile(QString()));
    page->saveAsProject();
    QCOMPARE(answers.seen().size(), 5);
    QCOMPARE(answers.seen().at(4).selected, plain + QStringLiteral(".tarvel"));
}

void TestStarter::saveAddsToRecent()
{
    auto page = makeStarter();
    QVariant name(QStringLiteral("H2-TEST"));
    page->schemeSelected(name);
    const QString file = m_dir->filePath(QStringLiteral("saved.tarvel"));
    ModalAnswers answers;
    answers.add(ModalAnswers::chooseFile(file));
    page->saveProject();
    QCOMPARE(answers.seen().size(), 1);
    QVERIFY(QFile::exists(file));
    QVERIFY(m_project->isSaved());
    QCOMPARE(page->recentPaths(), QStringList{file});
    QCOMPARE(page->recentList()->item(0)->text(), QStringLiteral("saved"));

    // With a file name, save asks nothing.
    m_project->setUnsaved();
    page->saveProject();
    QCOMPARE(answers.seen().size(), 1);
    QVERIFY(m_project->isSaved());
    QCOMPARE(page->recentPaths(), QStringList{file});

    // A wrong extension on the first save writes nothing and remembers nothing.
    Project other(m_catalogue.get());
    Starter second(&other, m_schemes);
    require(other.setName(QStringLiteral("Other")), "setName");
    answers.add(ModalAnswers::chooseFile(m_dir->filePath(QStringLiteral("other.txt"))));
    answers.add(ModalAnswers::press(QMessageBox::Ok));
    second.saveProject();
    QCOMPARE(answers.seen().last().text, QStringLiteral("Wrong project file extension!"));
    QVERIFY(!QFile::exists(m_dir->filePath(QStringLiteral("other.txt"))));
    QCOMPARE(second.recentPaths(), QStringList{file});
}

void TestStarter::saveFailureAndNoProject()
{
    auto page = makeStarter();
    ModalAnswers answers;
    // A project without a name is not saved at all.
    answers.add(ModalAnswers::press(QMessageBox::Cancel));
    page->saveProject();
    page->saveAsProject();
    answers.settle();
    QCOMPARE(answers.seen().size(), 0);
    QCOMPARE(answers.pending(), 1);
    answers.dropPending();

    QVariant name(QStringLiteral("H2-TEST"));
    page->schemeSelected(name);
    QVERIFY(m_project->setFileName(m_dir->filePath(QStringLiteral("no/such/folder/x.tarvel"))));
    answers.add(ModalAnswers::press(QMessageBox::Ok));
    page->saveProject();
    QCOMPARE(answers.seen().size(), 1);
    QCOMPARE(answers.seen().first().text, QStringLiteral("Failed to save the project!"));
    QVERIFY(page->recentPaths().isEmpty());
}

void TestStarter::unsavedWorkIsOfferedForSaving()
{
    auto page = makeStarter();
    QSignalSpy selected(page.get(), &Starter::selected);
    QVariant h2(QStringLiteral("H2-TEST"));
    page->schemeSelected(h2);
    m_project->setUnsaved();

    ModalAnswers answers;
    answers.add(ModalAnswers::press(QMessageBox::Cancel));
    QVariant ch4(QStringLiteral("CH4-TEST"));
    page->schemeSelected(ch4);
    QCOMPARE(answers.seen().size(), 1);
    QCOMPARE(answers.seen().first().text, QStringLiteral("The project has been modified."));
    QCOMPARE(answers.seen().first().informativeText, QStringLiteral("Do you want to save your changes?"));
    QCOMPARE(answers.seen().first().buttons, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    QCOMPARE(answers.seen().first().defaultButton, QMessageBox::Save);
    QCOMPARE(m_project->name(), QStringLiteral("H2-TEST"));
    QCOMPARE(selected.count(), 1);

    // Save, then the file dialog cancelled: the project stays.
    answers.add(ModalAnswers::press(QMessageBox::Save));
    answers.add(ModalAnswers::chooseFile(QString()));
    page->advancedSelected();
    QCOMPARE(answers.seen().size(), 3);
    QCOMPARE(m_project->name(), QStringLiteral("H2-TEST"));

    answers.add(ModalAnswers::press(QMessageBox::Discard));
    page->schemeSelected(ch4);
    QCOMPARE(m_project->name(), QStringLiteral("CH4-TEST"));
    QCOMPARE(selected.count(), 2);
    // A fresh scheme counts as saved: the next choice asks nothing.
    page->schemeSelected(h2);
    QCOMPARE(answers.seen().size(), 4);
    QCOMPARE(m_project->name(), QStringLiteral("H2-TEST"));
}

QTEST_MAIN(TestStarter)
#include "tst_starter.moc"
