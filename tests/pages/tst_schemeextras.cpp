// The file and extras pages: tabs by flags and detail, edits written into
// their targets at once, reloading what changed underneath, titles of the
// catalogue's files.

#include "optionpagefixture.h"

#include "optionfiles.h"
#include "schemeextras.h"

#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTabWidget>
#include <QFontDatabase>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>

class TestSchemeExtras : public QObject
{
    Q_OBJECT

private slots:
    void optionFilesTitlesAndFont();
    void optionFilesWriteAndReload();
    void extrasTabsByFlagsAndDetail();
    void extrasEditAll();
    void typingUpdatesExtraAndEmitsChanged();
    void showingReloadsAllChangedTabs();
    void followsSchemeAndItsExtras();
    void rebuiltOnlyWhenVisibleExtrasChange();

private:
    static ExtraData record(const QString& name, const QString& detail, quint16 flags, const QString& text)
    {
        ExtraData data;
        data.name = name;
        data.detail = detail;
        data.fileName = name.toLower() + QStringLiteral(".txt");
        data.text = text;
        data.flags = flags;
        return data;
    }

    OptionPageFixture m_fixture;
};

void TestSchemeExtras::optionFilesTitlesAndFont()
{
    Options& catalogue = m_fixture.catalogue();
    OptionFiles page(&catalogue);
    QTabWidget* tabs = page.tabWidget();
    QCOMPARE(tabs->count(), 3);
    // The translation table's caption of each file's id.
    QCOMPARE(tabs->tabText(0), QStringLiteral("File INP"));
    QCOMPARE(tabs->tabText(1), QStringLiteral("File MEC"));
    QCOMPARE(tabs->tabText(2), QStringLiteral("Thermo Data"));
    for (int i = 0; i < 3; ++i) {
        QPlainTextEdit* editor = page.editor(i);
        QCOMPARE(editor->toPlainText(), catalogue.files()[i]->text);
        QCOMPARE(editor->font().family(), QFontDatabase::systemFont(QFontDatabase::FixedFont).family());
        QCOMPARE(editor->font().pointSize(), 11);
        QVERIFY(!editor->isReadOnly());
    }

    // A title that is a tag shows its translation, any other stands as it
    // is; nothing for a null target or a blank title.
    QString text = QStringLiteral("some text");
    page.addTab(&text, QStringLiteral(" custom_inp "));
    QCOMPARE(tabs->count(), 4);
    QCOMPARE(tabs->tabText(3), QStringLiteral("File INP"));
    page.addTab(&text, QStringLiteral("My notes"));
    QCOMPARE(tabs->tabText(4), QStringLiteral("My notes"));
    page.addTab(nullptr, QStringLiteral("Title"));
    page.addTab(&text, QStringLiteral("   "));
    QCOMPARE(tabs->count(), 5);

    page.clear();
    QCOMPARE(tabs->count(), 0);
    QVERIFY(!page.editor(0));
}

void TestSchemeExtras::optionFilesWriteAndReload()
{
    Options& catalogue = m_fixture.catalogue();
    catalogue.resetAll();
    OptionFiles page(&catalogue);
    QPlainTextEdit* editor = page.editor(1);
    QTest::keyClicks(editor, QStringLiteral("ELEMENTS"));
    QCOMPARE(catalogue.files()[1]->text, QStringLiteral("ELEMENTS"));

    catalogue.files()[1]->text = QStringLiteral("ELEMENTS H O N END");
    QTextCursor cursor = editor->textCursor();
    cursor.setPosition(4);
    editor->setTextCursor(cursor);
    page.updateData();
    QCOMPARE(editor->toPlainText(), QStringLiteral("ELEMENTS H O N END"));
    QCOMPARE(editor->textCursor().position(), 4);
    QVERIFY(!editor->textCursor().hasSelection());
    // Reloading is no edit: the text stays as the catalogue has it.
    QCOMPARE(catalogue.files()[1]->text, QStringLiteral("ELEMENTS H O N END"));
    catalogue.resetAll();
}

void TestSchemeExtras::extrasTabsByFlagsAndDetail()
{
    Scheme scheme(&m_fixture.catalogue());
    scheme.addExtra(QStringLiteral("PROFILES_DATA"), QStringLiteral("hidden"));
    scheme.addExtra(record(QStringLiteral("SHOWN"), QStringLiteral("Shown only"), 1, QStringLiteral("read me")));
    scheme.addExtra(record(QStringLiteral("BLANK"), QStringLiteral("   "), 3, QStringLiteral("no title")));
    scheme.addExtra(record(QStringLiteral("EDIT"), QStringLiteral(" Editable "), 3, QStringLiteral("edit me")));

    SchemeExtras page;
    QCOMPARE(page.tabWidget()->count(), 0);
    page.setScheme(&scheme);
    QTabWidget* tabs = page.tabWidget();
    QCOMPARE(tabs->count(), 5);
    // The files the translation table knows by their id, the others by
    // their description.
    QCOMPARE(tabs->tabText(0), QStringLiteral("File INP"));
    QCOMPARE(tabs->tabText(1), QStringLiteral("File MEC"));
    QCOMPARE(tabs->tabText(2), QStringLiteral("Thermo Data"));
    QCOMPARE(tabs->tabText(3), QStringLiteral("Shown only"));
    // The detail stands as it is, blanks and all.
    QCOMPARE(tabs->tabText(4), QStringLiteral(" Editable "));
    QCOMPARE(page.tabOf(QStringLiteral("profiles_data")), -1);
    QCOMPARE(page.tabOf(QStringLiteral("blank")), -1);
    QCOMPARE(page.tabOf(QStringLiteral(" shown")), 3);

    QVERIFY(!page.editor(0)->isReadOnly());
    QVERIFY(page.editor(3)->isReadOnly());
    QCOMPARE(page.editor(3)->toPlainText(), QStringLiteral("read me"));
    QVERIFY(!page.editor(4)->isReadOnly());
    for (int i = 0; i < tabs->count(); ++i) {
        QPlainTextEdit* editor = page.editor(i);
        QCOMPARE(editor->font().family(), QFontDatabase::systemFont(QFontDatabase::FixedFont).family());
        QCOMPARE(editor->font().pointSize(), 10);
        QCOMPARE(editor->lineWrapMode(), QPlainTextEdit::NoWrap);
    }
}

void TestSchemeExtras::extrasEditAll()
{
    Scheme scheme(&m_fixture.catalogue());
    scheme.addExtra(record(QStringLiteral("SHOWN"), QStringLiteral("Shown only"), 1, QStringLiteral("read me")));
    SchemeExtras page;
    page.setScheme(&scheme);
    const int shown = page.tabOf(QStringLiteral("SHOWN"));
    QVERIFY(page.editor(shown)->isReadOnly());
    page.setEditAll(true);
    QVERIFY(page.editAll());
    QVERIFY(!page.editor(shown)->isReadOnly());
    QTest::keyClicks(page.editor(shown), QStringLiteral("!"));
    QCOMPARE(scheme.getExtra(QStringLiteral("SHOWN"))->text, QStringLiteral("!read me"));
    page.setEditAll(false);
    QVERIFY(page.editor(shown)->isReadOnly());
}

void TestSchemeExtras::typingUpdatesExtraAndEmitsChanged()
{
    m_fixture.loadHydrogen();
    Project& project = m_fixture.project();
    QVERIFY(project.isSaved());
    SchemeExtras page;
    page.setScheme(&project);
    const int mechanism = page.tabOf(QStringLiteral("MECHANISM"));
    QVERIFY(mechanism >= 0);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));

    QSignalSpy changed(&project, &Scheme::changed);
    QTest::keyClicks(page.editor(mechanism), QStringLiteral("END"));
    QCOMPARE(project.getExtra(QStringLiteral("MECHANISM"))->text, QStringLiteral("END"));
    QCOMPARE(changed.count(), 3);
    QVERIFY(!project.isSaved());

    // Leaving the page stores the texts; with nothing edited it says nothing.
    changed.clear();
    page.hide();
    page.show();
    QCOMPARE(changed.count(), 0);

    // A page without a scheme writes nothing anywhere.
    SchemeExtras empty;
    QString loose = QStringLiteral("loose");
    empty.addTab(&loose, QStringLiteral("Loose"), false);
    QTest::keyClicks(empty.editor(0), QStringLiteral("x"));
    QCOMPARE(loose, QStringLiteral("loose"));
}

void TestSchemeExtras::showingReloadsAllChangedTabs()
{
    m_fixture.loadHydrogen();
    Project& project = m_fixture.project();
    SchemeExtras page;
    page.setScheme(&project);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    page.hide();

    // Two texts rewritten while the page is away: both show, neither is
    // overwritten by the other tab's stale editor.
    *project.pointerToExtra(QStringLiteral("MECHANISM")) = QStringLiteral("ELEMENTS H O END");
    *project.pointerToExtra(QStringLiteral("THERM")) = QStringLiteral("THERMO ALL");
    page.show();
    QCOMPARE(page.editor(page.tabOf(QStringLiteral("MECHANISM")))->toPlainText(), QStringLiteral("ELEMENTS H O END"));
    QCOMPARE(page.editor(page.tabOf(QStringLiteral("THERM")))->toPlainText(), QStringLiteral("THERMO ALL"));
    QCOMPARE(project.getExtra(QStringLiteral("MECHANISM"))->text, QStringLiteral("ELEMENTS H O END"));
    QCOMPARE(project.getExtra(QStringLiteral("THERM"))->text, QStringLiteral("THERMO ALL"));
    QCOMPARE(page.editor(page.tabOf(QStringLiteral("CUSTOM_INP")))->toPlainText(), m_fixture.inputText());
}

void TestSchemeExtras::followsSchemeAndItsExtras()
{
    Scheme first(&m_fixture.catalogue());
    Scheme second(&m_fixture.catalogue());
    second.removeExtra(QStringLiteral("THERM"));
    SchemeExtras page;
    page.setScheme(&first);
    QCOMPARE(page.tabWidget()->count(), 3);

    first.addExtra(record(QStringLiteral("NOTES"), QStringLiteral("Notes"), 3, QStringLiteral("n")));
    QCOMPARE(page.tabWidget()->count(), 4);
    QCOMPARE(page.tabWidget()->tabText(3), QStringLiteral("Notes"));

    page.setScheme(&second);
    QCOMPARE(page.tabWidget()->count(), 2);
    // The old scheme no longer drives the page.
    first.removeExtra(QStringLiteral("NOTES"));
    QCOMPARE(page.tabWidget()->count(), 2);
    second.removeExtra(QStringLiteral("MECHANISM"));
    QCOMPARE(page.tabWidget()->count(), 1);

    page.setScheme(nullptr);
    QCOMPARE(page.tabWidget()->count(), 0);
}

void TestSchemeExtras::rebuiltOnlyWhenVisibleExtrasChange()
{
    m_fixture.loadHydrogen();
    Project& project = m_fixture.project();
    SchemeExtras page;
    page.setScheme(&project);
    const int built = page.rebuildCount();
    QPointer<QPlainTextEdit> mechanism = page.editor(page.tabOf(QStringLiteral("MECHANISM")));

    // A save stores graph settings and profiles in hidden extras, setting by
    // setting: no tab is rebuilt.
    QTemporaryDir dir;
    for (int i = 0; i < 59; ++i)
        QVERIFY(project.setSetting(QStringLiteral("CtrlGraph/key%1").arg(i), i));
    QVERIFY(project.save(dir.filePath(QStringLiteral("p.tarvel"))));
    QCOMPARE(page.rebuildCount(), built);
    QVERIFY(mechanism);

    // Typing stores its own tab only: another tab's text is not touched.
    QString* therm = project.pointerToExtra(QStringLiteral("THERM"));
    const QChar* before = therm->constData();
    QTest::keyClicks(mechanism, QStringLiteral("X"));
    QVERIFY(therm->constData() == before);
    QVERIFY(project.getExtra(QStringLiteral("MECHANISM"))->text.startsWith(QStringLiteral("X")));

    // A new visible extra: built once more.
    project.addExtra(record(QStringLiteral("NOTES"), QStringLiteral("Notes"), 3, QStringLiteral("n")));
    QCOMPARE(page.rebuildCount(), built + 1);
    // The project replaced: its texts go at once, before they are deleted.
    project.clear();
    QCOMPARE(page.tabWidget()->count(), 0);
    QVERIFY(!mechanism);
}

QTEST_MAIN(TestSchemeExtras)
#include "tst_schemeextras.moc"
