#ifndef TARVEL_TESTS_PROJECTFIXTURE_H
#define TARVEL_TESTS_PROJECTFIXTURE_H

// A project over a test catalogue in a temporary folder: the catalogue's XML
// written here, its executors copies of the test-double executable (the first
// with a blank in its name and folder), a project directory, and helpers to
// tell the executables what to do and to build a small scheme.

#include "translation.h"
#include "require.h"
#include "options.h"
#include "project.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

struct FakeExecutor
{
    QString name;
    QString file;    // the copy's file name, in the fixture's "fake bin" folder
    QString success; // empty: none
    QString failure;
    bool executable = true;
    bool present = true; // false: named in the catalogue, never installed
};

struct CatalogueSettings
{
    QString compufile = QStringLiteral("fort.18");
    QString profilestart = QStringLiteral(">DATA");
    QString profileend = QStringLiteral("<");
    QString datafile = QStringLiteral("fort.29");
    int fieldsize = 18;
    QString timefield = QStringLiteral("t(s)");
    QString duroption = QStringLiteral("TEND");
};

class ProjectFixture
{
public:
    static QList<FakeExecutor> twoExecutors()
    {
        return {{QStringLiteral("FakeInp"), QStringLiteral("fake inp.x"), QString(), QStringLiteral("ABNORMAL END")},
                {QStringLiteral("FakeRun"), QStringLiteral("fakerun.x"),
                 QStringLiteral("CONGRATULATION  -  SIMULATION WAS SUCCESSFUL"), QStringLiteral("ABNORMAL END")}};
    }

    explicit ProjectFixture(const QList<FakeExecutor>& executors = twoExecutors(),
                            const CatalogueSettings& settings = CatalogueSettings())
    {
        static bool translated = false;
        if (!translated)
            translated = Translation::instance().load(QStringLiteral(":/translate.xml"));
        if (!translated || !m_root.isValid())
            qFatal("ProjectFixture: no translation table or no temporary folder");
        QDir(m_root.path()).mkpath(QStringLiteral("fake bin"));
        QDir(m_root.path()).mkpath(QStringLiteral("project"));
        for (const FakeExecutor& executor : executors) {
            if (executor.present)
                installFake(executor);
        }
        const QString xml = catalogueXml(executors, settings);
        const QString xmlFile = m_root.filePath(QStringLiteral("optstruct.xml"));
        writeFile(xmlFile, xml.toUtf8());
        if (!m_catalogue.loadOptions(xmlFile))
            qFatal("ProjectFixture: the test catalogue does not load");
        m_project = std::make_unique<Project>(&m_catalogue);
        if (!m_project->setPath(projectDir()))
            qFatal("ProjectFixture: no project directory");
    }

    Options& catalogue() { return m_catalogue; }
    Project& project() { return *m_project; }
    QString root() const { return m_root.path(); }
    QString projectDir() const { return m_root.filePath(QStringLiteral("project")); }
    QString binDir() const { return m_root.filePath(QStringLiteral("fake bin")); }
    QString inProject(const QString& name) const { return QDir(projectDir()).filePath(name); }

    // The commands the executable copy `file` carries out when it starts.
    void control(const QString& file, const QStringList& lines) const
    {
        writeFile(inProject(file + QStringLiteral(".ctl")), (lines.join(QLatin1Char('\n')) + '\n').toUtf8());
    }

    // A scheme with options LSENS = 1 and MOLE = on, the species H2 and O2
    // with O2's boundary condition, and the conditions TEND, TSTA and STEP.
    void buildScheme(const QString& tend = QStringLiteral("1.0E-03"))
    {
        Project& p = project();
        require(p.setName(QStringLiteral("Test project")), "setName");
        p.addExtra(QStringLiteral("OUTPUT_DATA"), QString());
        SchemeNode* group = p.addGroup(QStringLiteral("Chemistry"));
        option(group, QStringLiteral("LSENS"), QStringLiteral("1"));
        option(group, QStringLiteral("MOLE"), QStringLiteral("on"));
        option(group, QStringLiteral("VPRO"), QStringLiteral("off"));
        option(group, QStringLiteral("TEND"), tend);
        option(group, QStringLiteral("TSTA"), QStringLiteral("0"));
        option(group, QStringLiteral("STEP"), QStringLiteral("1.0E-07"));
        p.addSpecies(QStringLiteral("H2"));
        p.addSpecies(QStringLiteral("O2"));
        SchemeNode* bc = p.addOption(p.findOption(QStringLiteral("BC_O2")), group);
        bc->value = QStringLiteral("1.0");
        p.generateFiles();
    }

    SchemeNode* option(SchemeNode* parent, const QString& name, const QString& value)
    {
        SchemeNode* node = project().addOption(m_catalogue.findOption(name), parent);
        if (!node)
            qFatal("ProjectFixture: no option %s in the test catalogue", qPrintable(name));
        node->value = value;
        return node;
    }

    // Output data and a computation text as the end of a run leaves them:
    // stored in the extras, the output data read.
    void setResults(const QByteArray& output, const QString& computation = QString())
    {
        Project& p = project();
        if (!p.hasExtra(QStringLiteral("OUTPUT_DATA")))
            p.addExtra(QStringLiteral("OUTPUT_DATA"), QString());
        require(p.setExtraData(QStringLiteral("OUTPUT_DATA"), QString::fromLatin1(output)), "setExtraData");
        if (!computation.isEmpty() && !p.hasExtra(QStringLiteral("COMPUT_DATA")))
            p.addExtra(QStringLiteral("COMPUT_DATA"), computation);
        QBuffer buffer;
        buffer.setData(output);
        buffer.open(QIODevice::ReadOnly);
        p._readOutData(buffer, true);
        p._updateTime();
    }

    // Saves the project into a file of the fixture, so that it counts as saved.
    void saveSomewhere()
    {
        if (project().name().isEmpty())
            require(project().setName(QStringLiteral("Saved")), "setName");
        if (!project().save(QDir(root()).filePath(QStringLiteral("saved.tarvel"))))
            qFatal("ProjectFixture: cannot save the project");
    }

    // Cells right-aligned in columns of 18, as the code writes its data file.
    static QString row(const QStringList& cells)
    {
        QString line;
        for (const QString& cell : cells)
            line += cell.rightJustified(18);
        return line;
    }

    static QByteArray line(const QStringList& cells) { return row(cells).toLatin1() + '\n'; }

    static QByteArray readFile(const QString& path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return QByteArray();
        return file.readAll();
    }

    static void writeFile(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
            qFatal("ProjectFixture: cannot write %s", qPrintable(path));
    }

private:
    void installFake(const FakeExecutor& executor)
    {
        const QString target = QDir(binDir()).filePath(executor.file);
        QFile::remove(target);
        if (!QFile::copy(QStringLiteral(TARVEL_FAKEEXEC), target))
            qFatal("ProjectFixture: cannot copy the test-double executable %s", TARVEL_FAKEEXEC);
        QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner;
        if (executor.executable)
            permissions |= QFile::ExeOwner;
        QFile::setPermissions(target, permissions);
    }

    QString catalogueXml(const QList<FakeExecutor>& executors, const CatalogueSettings& s) const
    {
        QString xml = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<config>\n  <settings>\n");
        for (const FakeExecutor& executor : executors) {
            xml += QStringLiteral("    <executor>\n      <name>%1</name>\n      <path>%2</path>\n")
                       .arg(executor.name, QDir(binDir()).filePath(executor.file).toHtmlEscaped());
            if (!executor.success.isEmpty())
                xml += QStringLiteral("      <success>%1</success>\n").arg(executor.success.toHtmlEscaped());
            if (!executor.failure.isEmpty())
                xml += QStringLiteral("      <failure>%1</failure>\n").arg(executor.failure.toHtmlEscaped());
            xml += QStringLiteral("    </executor>\n");
        }
        auto setting = [&xml](const char* tag, const QString& value) {
            if (!value.isEmpty())
                xml += QStringLiteral("    <%1>%2</%1>\n").arg(QString::fromLatin1(tag), value.toHtmlEscaped());
        };
        setting("compufile", s.compufile);
        setting("profilestart", s.profilestart);
        setting("profileend", s.profileend);
        setting("datafile", s.datafile);
        setting("fieldsize", QString::number(s.fieldsize));
        setting("timefield", s.timefield);
        setting("duroption", s.duroption);
        xml += QStringLiteral(
            "  </settings>\n"
            "  <group>\n    <name>CHEM</name>\n    <text>Chemistry</text>\n"
            "    <option><name>LSENS</name><text>Sensitivities</text><type>menu</type>"
            "<value><value>1</value><text>one</text></value><value><value>2</value><text>two</text></value></option>\n"
            "    <option><name>MOLE</name><text>Mole fractions</text></option>\n"
            "    <option><name>VPRO</name><text>Volume profile</text></option>\n"
            "    <option><name>TPRO</name><text>Temperature profile</text></option>\n"
            "    <option><name>GSENS</name><text>G</text></option>\n"
            "    <option><name>ASENS</name><text>A</text></option>\n"
            "    <option><name>RSENS</name><text>R</text></option>\n"
            "    <option><name>ISENS</name><text>I</text></option>\n"
            "    <option><name>LONGNAME</name><text>A long name</text></option>\n"
            "    <condition><name>TEND</name><text>End time</text></condition>\n"
            "    <condition><name>TSTA</name><text>Start time</text></condition>\n"
            "    <condition><name>STEP</name><text>Step</text></condition>\n"
            "  </group>\n"
            "  <elements><element>H</element><element>O</element><element>N</element>"
            "<element>C</element><element>Ar</element></elements>\n"
            "  <files>\n"
            "    <file><id>CUSTOM_INP</id><name>fort.2</name><detail>Config</detail></file>\n"
            "    <file><id>MECHANISM</id><name>fort.4</name><detail>Mechanism</detail></file>\n"
            "    <file><id>THERM</id><name>fort.9</name><detail>Therm</detail></file>\n"
            "  </files>\n"
            "</config>\n");
        return xml;
    }

    QTemporaryDir m_root;
    Options m_catalogue;
    std::unique_ptr<Project> m_project;
};

#endif
