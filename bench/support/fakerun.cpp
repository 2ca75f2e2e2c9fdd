#include "fakerun.h"

#include "log.h"
#include "options.h"
#include "project.h"
#include "scheme.h"
#include "translation.h"

#include "streamvalue.h"

#include <QDir>
#include <QFile>

#include <cstdio>

namespace {

const char* const kScheme = "CH4-AIR-GRI30";

// GRI-Mech 3.0's species; the last columns repeat a few, as only the count
// matters here.
const char* const kSpecies[] = {"H2",    "H",      "O",      "O2",   "OH",   "H2O",  "HO2",  "H2O2", "C",     "CH",
                                "CH2",   "CH2(S)", "CH3",    "CH4",  "CO",   "CO2",  "HCO",  "CH2O", "CH2OH", "CH3O",
                                "CH3OH", "C2H",    "C2H2",   "C2H3", "C2H4", "C2H5", "C2H6", "HCCO", "CH2CO", "HCCOH",
                                "N",     "NH",     "NH2",    "NH3",  "NNH",  "NO",   "NO2",  "N2O",  "HNO",   "CN",
                                "HCN",   "H2CN",   "HCNN",   "HCNO", "HOCN", "HNCO", "NCO",  "N2",   "AR",    "C3H7",
                                "C3H8",  "CH2CHO", "CH3CHO", "H2*",  "O2*",  "N2*"};

[[noreturn]] void fail(const QString& why)
{
    std::fprintf(stderr, "benchmark set-up: %s\n", qPrintable(why));
    std::exit(2);
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        fail(QStringLiteral("cannot write %1").arg(path));
}

QByteArray cell(const char* format, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return QByteArray(text);
}

} // namespace

FakeRun::FakeRun()
{
    static bool translated = false;
    if (!translated && !Translation::instance().load(QStringLiteral(":/translate.xml")))
        fail(QStringLiteral("the built-in translation cannot be read"));
    translated = true;
    if (!m_root.isValid())
        fail(QStringLiteral("no temporary folder"));
    QDir root(m_root.path());
    Log::installCategoryFilter();
    qInstallMessageHandler(Log::messageReceiver);
    Log::instance().setFile(root.filePath(QStringLiteral("log.txt")));
    Log::instance().setEcho(false);
    root.mkpath(QStringLiteral("bin"));
    root.mkpath(QStringLiteral("project"));

    // The built-in catalogue as it is, but for where its executables are.
    QFile builtIn(QString::fromLatin1(Options::BuiltInDocument));
    if (!builtIn.open(QIODevice::ReadOnly))
        fail(QStringLiteral("the built-in catalogue cannot be read"));
    QByteArray xml = builtIn.readAll();
    for (const char* name : {"tarinp.x", "tarrun.x"}) {
        const QString copy = root.filePath(QStringLiteral("bin/") + QLatin1String(name));
        if (!QFile::copy(QStringLiteral(TARVEL_FAKEEXEC), copy))
            fail(QStringLiteral("cannot copy the test double to %1").arg(copy));
        QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QByteArray from = QByteArray("<path>") + name + "</path>";
        if (!xml.contains(from))
            fail(QStringLiteral("the built-in catalogue no longer names %1").arg(QLatin1String(name)));
        xml.replace(from, "<path>" + copy.toUtf8() + "</path>");
    }
    const QString catalogueFile = root.filePath(QStringLiteral("optstruct.xml"));
    writeFile(catalogueFile, xml);
    m_catalogue = std::make_unique<Options>();
    if (!m_catalogue->loadOptions(catalogueFile))
        fail(QStringLiteral("the catalogue does not load"));
    if (m_catalogue->fieldsize() != FieldSize)
        fail(QStringLiteral("the catalogue's field size is no longer %1").arg(FieldSize));

    auto project = makeProject();
    const QByteArray end = project->optionValue(m_catalogue->duroption()).trimmed().toLatin1();
    m_endTime = end.toDouble();
    if (!(m_endTime > 0.0))
        fail(QStringLiteral("the scheme has no end time"));
}

FakeRun::~FakeRun() = default;

std::unique_ptr<Project> FakeRun::makeProject() const
{
    QString error;
    QList<Scheme*> schemes = Scheme::loadAll(QStringLiteral(TARVEL_BIN_DIR "/schemes.dat"), m_catalogue.get(), &error);
    Scheme* found = nullptr;
    for (Scheme* scheme : std::as_const(schemes)) {
        if (scheme->name() == QLatin1String(kScheme))
            found = scheme;
    }
    if (!found)
        fail(QStringLiteral("no %1 in the bundled schemes database: %2").arg(QLatin1String(kScheme), error));
    auto project = std::make_unique<Project>(m_catalogue.get());
    if (!project->setPath(projectDir()))
        fail(QStringLiteral("no project folder"));
    project->setScheme(found);
    qDeleteAll(schemes);
    return project;
}

QString FakeRun::projectDir() const
{
    return m_root.filePath(QStringLiteral("project"));
}

QString FakeRun::inProject(const QString& name) const
{
    return QDir(projectDir()).filePath(name);
}

void FakeRun::control(const QString& executable, const QStringList& lines) const
{
    writeFile(inProject(executable + QStringLiteral(".ctl")), (lines.join(QLatin1Char('\n')) + '\n').toUtf8());
}

QByteArray FakeRun::heading()
{
    QByteArray text;
    for (const char* name : {"t(s)", "T(K)", "P(bar)", "V(m^3)"})
        text += QByteArray(name).rightJustified(FieldSize);
    for (int c = 4; c < Columns; ++c)
        text += QByteArray(kSpecies[c - 4]).rightJustified(FieldSize);
    return text + '\n';
}

QByteArray FakeRun::line(double f, double end)
{
    QByteArray text;
    text.reserve(Columns * FieldSize + 1);
    for (int c = 0; c < Columns; ++c)
        text += cell("%18.9E", streamValue(c, f * end, f));
    return text + '\n';
}

QByteArray FakeRun::profileBlock(double f, double end)
{
    const QByteArray values = line(f, end);
    auto value = [&values](int c) { return values.mid(c * FieldSize, FieldSize).trimmed().toDouble(); };
    auto labelled = [](const char* label, double number) {
        char text[96];
        std::snprintf(text, sizeof text, "%-22s %.16E\n", label, number);
        return QByteArray(text);
    };
    QByteArray text = ">DATA\n";
    char time[64];
    std::snprintf(time, sizeof time, "TIME (S)  %9.3E     %9.3E\n", f * end, 1.0e-7);
    text += time;
    text += labelled("TEMPERATURE (K)", value(1));
    text += labelled("PRESSURE (BAR)", value(2));
    text += labelled("VOLUME (M^3)", value(3));
    text += "MASS FRACTIONS         " + QByteArray::number(Columns - 4) + '\n';
    for (int c = 4; c < Columns; ++c)
        text += labelled(kSpecies[c - 4], value(c));
    return text + "<\n";
}
