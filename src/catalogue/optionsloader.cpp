// Reading the option structure document into the catalogue. The reader is
// tolerant: whatever it cannot use is reported with its line and column and
// skipped, and loading goes on.

#include "options.h"

#include "diagnostic.h"
#include "translation.h"

#include <QDir>
#include <QDomDocument>
#include <QDomElement>
#include <QFile>

namespace {

// Children worth reading: elements that hold something. Empty elements,
// comments and text are passed over silently.
template<typename Visit>
void forEachChildElement(const QDomElement& parent, Visit visit)
{
    for (QDomNode node = parent.firstChild(); !node.isNull(); node = node.nextSibling()) {
        if (node.isElement() && node.hasChildNodes())
            visit(node.toElement(), node.toElement().tagName().toLower());
    }
}

// Text taken "as 8-bit characters up to the first zero byte".
QString latin1UpToZero(const QByteArray& bytes)
{
    const qsizetype zero = bytes.indexOf('\0');
    return QString::fromLatin1(zero < 0 ? bytes : bytes.left(zero));
}

OOption makeBoundaryCondition(int index, const QString& name, const QString& text, const QString& what,
                              const QString& defaultValue)
{
    OOption option;
    option.type = OOption::Field;
    option.kind = OOption::BoundaryCondition;
    option.index = index;
    option.name = name;
    option.text = text;
    option.detail = QStringLiteral("%1: %2").arg(translate("BOUND_COND"), what);
    option.defaultValue = defaultValue;
    option.inputMask = QStringLiteral("#00.00E#00");
    return option;
}

} // namespace

bool Options::loadOptions(const QString& fileName)
{
    QDomDocument document(QStringLiteral("options"));
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        tCritical() << "Options::loadOptions(). Cannot open" << fileName;
        return false;
    }
    QString message;
    int line = 0;
    int column = 0;
    if (!document.setContent(&file, &message, &line, &column)) {
        tCritical() << "Options::loadOptions(). XML Error (row" << line << ", col" << column << "):" << message;
        file.close();
        return false;
    }
    file.close();

    // Executors and run settings are kept: a second load adds its executors.
    m_groups.clear();
    m_files.clear();
    m_elements.clear();
    m_matchElements.clear();
    m_durationOption = nullptr;

    if (readNode(document.documentElement()) == 0) {
        tCritical() << "Options::loadOptions(). No valid configuration have been found. Aborting ...";
        return false;
    }
    completeOptions();
    m_matchElements = matchOrder(m_elements);
    m_elements.sort();
    appendBoundaryConditions();
    resolveDurationOption();
    resolveExecutorPaths();
    return true;
}

void Options::completeOptions()
{
    for (const auto& group : m_groups) {
        if (group->options.empty())
            tWarning() << "Options::loadOptions(). Group" << group->name << "has no Options";
        for (const auto& option : group->options) {
            // Only a real option without choices of its own becomes an on/off
            // switch; a condition just gets the way to switch it off.
            if (option->kind == OOption::Option && option->values.isEmpty())
                option->values.append(OValue{0, translate("ON"), translate("ENABLE"), translate("ENABLE_OPT")});
            option->values.append(OValue{int(option->values.size()), translate("OFF"), translate("DISABLE"),
                                         translate("DISABLE_OPT")});
        }
    }
}

void Options::appendBoundaryConditions()
{
    int largest = 0;
    for (const auto& group : m_groups)
        largest = qMax(largest, group->index);
    auto group = std::make_unique<OGroup>();
    group->index = qMax(largest + 1, 1);
    group->name = QStringLiteral("BCOND");
    group->text = translate("BOUND_COND");
    const QString temperature = translate("TEMPERATURE");
    const QString pressure = translate("PRESSURE");
    const QString volume = translate("CONVECT_VEL");
    group->options.push_back(std::make_unique<OOption>(makeBoundaryCondition(
        1, QStringLiteral("BC_T"), QStringLiteral("%1 T [%2K]").arg(temperature, QString(QChar(0x00B0))),
        temperature, QStringLiteral("273.15"))));
    group->options.push_back(std::make_unique<OOption>(makeBoundaryCondition(
        2, QStringLiteral("BC_P"), QStringLiteral("%1 P [Bar]").arg(pressure), pressure, QStringLiteral("1.0"))));
    group->options.push_back(std::make_unique<OOption>(makeBoundaryCondition(
        3, QStringLiteral("BC_V"), QStringLiteral("%1 v [m^3]").arg(volume), volume, QStringLiteral("1.0"))));
    m_groups.push_back(std::move(group));
}

void Options::resolveDurationOption()
{
    if (m_duroption.isEmpty()) {
        m_durationOption = nullptr;
        tWarning() << "Option Name is not specified for the duration of the numerical simulation";
        return;
    }
    m_durationOption = findOption(m_duroption);
    if (!m_durationOption)
        tWarning() << "Uknown Option Name specified for the duration of the numerical simulation:" << m_duroption;
}

void Options::resolveExecutorPaths()
{
    const QDir programDir(programDirectory());
    for (OExecutor& executor : m_executors) {
        if (QDir::isRelativePath(executor.path))
            executor.path = programDir.filePath(executor.path);
    }
}

int Options::readNode(const QDomElement& root)
{
    int count = 0;
    forEachChildElement(root, [&](const QDomElement& element, const QString& name) {
        if (name == QLatin1String("group")) {
            auto group = std::make_unique<OGroup>();
            group->index = count;
            readGroup(element, *group);
            if (group->name.trimmed().isEmpty())
                tWarning() << "Options::readNode(). No Name specified for GROUP (row" << element.lineNumber()
                           << ", col" << element.columnNumber() << "). Skipped...";
            else
                m_groups.push_back(std::move(group));
            ++count;
        } else if (name == QLatin1String("elements")) {
            readElements(element);
        } else if (name == QLatin1String("files")) {
            readFiles(element);
        } else if (name == QLatin1String("settings")) {
            readSettings(element);
        } else {
            tWarning() << "Options::readNode(). Uknown tag" << name << "in CONFIG (row" << element.lineNumber()
                       << ", col" << element.columnNumber() << ")";
        }
    });
    return count;
}

void Options::readSettings(const QDomElement& element)
{
    forEachChildElement(element, [&](const QDomElement& child, const QString& name) {
        const QString value = child.text().trimmed();
        if (name == QLatin1String("executor")) {
            OExecutor executor;
            readExecutor(child, executor);
            if (executor.name.trimmed().isEmpty() || executor.path.trimmed().isEmpty())
                tWarning() << "Options::readSettings(). Executor name and/or path not specified (row"
                           << child.lineNumber() << ", col" << child.columnNumber() << "). Skipped...";
            else
                m_executors.append(executor);
        } else if (name == QLatin1String("compufile")) {
            m_compufile = value;
        } else if (name == QLatin1String("profilestart")) {
            m_profilestart = value;
        } else if (name == QLatin1String("profileend")) {
            m_profileend = value;
        } else if (name == QLatin1String("datafile")) {
            m_datafile = value;
        } else if (name == QLatin1String("fieldsize")) {
            m_fieldsize = value.toInt();
        } else if (name == QLatin1String("timefield")) {
            m_timefield = value;
        } else if (name == QLatin1String("duroption")) {
            m_duroption = value;
        } else if (name == QLatin1String("coordfield")) {
            m_coordfield = value;
        } else if (name == QLatin1String("maxroption")) {
            m_maxroption = value;
        } else {
            tWarning() << "Options::readSettings(). Uknown tag" << name << "in CONFIG (row" << child.lineNumber()
                       << ", col" << child.columnNumber() << ")";
        }
    });
}

void Options::readExecutor(const QDomElement& element, OExecutor& executor)
{
    forEachChildElement(element, [&](const QDomElement& child, const QString& name) {
        if (name == QLatin1String("name"))
            executor.name = child.text();
        else if (name == QLatin1String("path"))
            executor.path = child.text();
        else if (name == QLatin1String("success"))
            executor.success = child.text();
        else if (name == QLatin1String("failure"))
            executor.failure = child.text();
        else
            tWarning() << "Options::readExecutor(). Uknown tag" << name << "in EXECUTOR"
                       << "(row" << child.lineNumber() << ", col" << child.columnNumber() << ")";
    });
}

void Options::readGroup(const QDomElement& element, OGroup& group)
{
    int count = 0;
    forEachChildElement(element, [&](const QDomElement& child, const QString& name) {
        if (name == QLatin1String("name")) {
            group.name = child.text();
        } else if (name == QLatin1String("text")) {
            group.text = child.text();
        } else if (name == QLatin1String("option") || name == QLatin1String("condition")) {
            const bool isOption = name == QLatin1String("option");
            auto option = std::make_unique<OOption>();
            option->type = isOption ? OOption::Menu : OOption::Field;
            option->kind = isOption ? OOption::Option : OOption::Condition;
            option->defaultValue = isOption ? QStringLiteral("off") : QStringLiteral("0");
            option->inputMask = isOption ? QString() : QStringLiteral("#00.00E#00");
            option->index = count;
            readOption(child, *option);
            if (option->name.trimmed().isEmpty()) {
                if (isOption)
                    tWarning() << "Options::readGroup(). No Name specified for OPTION (row" << child.lineNumber()
                               << ", col" << child.columnNumber() << "). Skipped...";
                else
                    tWarning() << "Options::readGroup(). No Name specified for CONDITION (row"
                               << child.lineNumber() << ", col" << child.columnNumber() << "). Skipped...";
            } else {
                option->value = option->defaultValue;
                group.options.push_back(std::move(option));
            }
            ++count;
        } else {
            tWarning() << "Options::readGroup(). Uknown tag" << name << "in GROUP #" << group.index << "(row"
                       << child.lineNumber() << ", col" << child.columnNumber() << ")";
        }
    });
}

int Options::readOption(const QDomElement& element, OOption& option)
{
    int count = 0;
    forEachChildElement(element, [&](const QDomElement& child, const QString& name) {
        if (name == QLatin1String("name")) {
            option.name = child.text();
        } else if (name == QLatin1String("text")) {
            option.text = child.text();
        } else if (name == QLatin1String("detail")) {
            option.detail = child.text() + QLatin1String("<br>");
        } else if (name == QLatin1String("type")) {
            const QString type = child.text().trimmed().toLower();
            if (type == QLatin1String("1") || type == QLatin1String("menu"))
                option.type = OOption::Menu;
            else if (type == QLatin1String("2") || type == QLatin1String("field"))
                option.type = OOption::Field;
        } else if (name == QLatin1String("inputmask")) {
            option.inputMask = child.text();
        } else if (name == QLatin1String("default")) {
            option.defaultValue = child.text();
        } else if (name == QLatin1String("minimum") || name == QLatin1String("maximum")) {
            // accepted and not used
        } else if (name == QLatin1String("value")) {
            OValue value;
            value.index = count;
            readValue(child, value);
            if (value.value.trimmed().isEmpty())
                tWarning() << "Options::readOption(). No Name specified for VALUE (row" << child.lineNumber()
                           << ", col" << child.columnNumber() << "). Skipped...";
            else
                option.values.append(value);
            ++count;
        } else {
            tWarning() << "Options::readOption(). Uknown tag" << name << "in OPTION #" << option.index << "(row"
                       << child.lineNumber() << ", col" << child.columnNumber() << ")";
        }
    });
    return count;
}

void Options::readValue(const QDomElement& element, OValue& value)
{
    forEachChildElement(element, [&](const QDomElement& child, const QString& name) {
        if (name == QLatin1String("value"))
            value.value = child.text();
        else if (name == QLatin1String("text"))
            value.text = child.text();
        else if (name == QLatin1String("detail"))
            value.detail = child.text();
        else
            tWarning() << "Options::readValue(). Uknown tag" << name << "in VALUE #" << value.index << "(row"
                       << child.lineNumber() << ", col" << child.columnNumber() << ")";
    });
}

void Options::readElements(const QDomElement& element)
{
    // Its diagnostics carry the name readValue, as they always have.
    forEachChildElement(element, [&](const QDomElement& child, const QString& name) {
        if (name == QLatin1String("element")) {
            const QString symbol = child.text().trimmed();
            if (symbol.size() > 4)
                tWarning() << "Options::readValue(). Element Sign has to many characters ( > 4) in ELEMENTS"
                           << "(row" << child.lineNumber() << ", col" << child.columnNumber() << ")";
            else if (!symbol.isEmpty())
                m_elements.append(symbol);
        } else {
            tWarning() << "Options::readValue(). Uknown tag" << name << "in ELEMENTS"
                       << "(row" << child.lineNumber() << ", col" << child.columnNumber() << ")";
        }
    });
}

void Options::readFiles(const QDomElement& element)
{
    forEachChildElement(element, [&](const QDomElement& child, const QString& name) {
        if (name == QLatin1String("file")) {
            auto file = std::make_unique<OFile>();
            readFile(child, *file);
            if (file->id.trimmed().isEmpty() || file->name.trimmed().isEmpty())
                tWarning() << "Options::readFiles(). No Name specified for File (row" << child.lineNumber()
                           << ", col" << child.columnNumber() << "). Skipped...";
            else
                m_files.push_back(std::move(file));
        } else {
            tWarning() << "Options::readFiles(). Uknown tag" << name << "in CONFIG (row" << child.lineNumber()
                       << ", col" << child.columnNumber() << ")";
        }
    });
}

void Options::readFile(const QDomElement& element, OFile& file)
{
    forEachChildElement(element, [&](const QDomElement& child, const QString& name) {
        if (name == QLatin1String("id")) {
            file.id = child.text().trimmed().toUpper();
        } else if (name == QLatin1String("name")) {
            file.name = child.text();
        } else if (name == QLatin1String("detail")) {
            file.detail = child.text();
        } else if (name == QLatin1String("text")) {
            // Base64 skips line breaks and indentation of the document.
            file.text = latin1UpToZero(QByteArray::fromBase64(child.text().toLatin1()));
            file.defaultText = file.text;
        } else {
            tWarning() << "Options::readFile(). Uknown tag" << name << "in FILE "
                       << "(row" << child.lineNumber() << ", col" << child.columnNumber() << ")";
        }
    });
}
