#include "cataloguecommand.h"

#include "options.h"
#include "cliout.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QJsonObject optionToJson(const OOption& option)
{
    QJsonArray values;
    for (const OValue& value : option.values)
        values.append(QJsonObject{{"index", value.index},
                                  {"value", value.value},
                                  {"text", value.text},
                                  {"detail", value.detail}});
    return QJsonObject{{"kind", option.kind},
                       {"type", option.type},
                       {"index", option.index},
                       {"name", option.name},
                       {"text", option.text},
                       {"detail", option.detail},
                       {"default", option.defaultValue},
                       {"inputMask", option.inputMask},
                       {"values", values}};
}

} // namespace

QJsonObject CatalogueCommand::toJson(const Options& catalogue)
{
    QJsonArray executors;
    for (const OExecutor& executor : catalogue.executors())
        executors.append(QJsonObject{{"name", executor.name},
                                     {"path", executor.path},
                                     {"success", executor.success},
                                     {"failure", executor.failure}});
    const QJsonObject settings{{"compufile", catalogue.compufile()},
                               {"profilestart", catalogue.profilestart()},
                               {"profileend", catalogue.profileend()},
                               {"datafile", catalogue.datafile()},
                               {"fieldsize", catalogue.fieldsize()},
                               {"timefield", catalogue.timefield()},
                               {"duroption", catalogue.duroption()},
                               {"durationOption", catalogue.durationOption()
                                                      ? QJsonValue(catalogue.durationOption()->name)
                                                      : QJsonValue()},
                               {"coordfield", catalogue.coordfield()},
                               {"maxroption", catalogue.maxroption()},
                               {"executors", executors}};
    QJsonArray groups;
    for (const auto& group : catalogue.groups()) {
        QJsonArray options;
        for (const auto& option : group->options)
            options.append(optionToJson(*option));
        groups.append(QJsonObject{{"index", group->index},
                                  {"name", group->name},
                                  {"text", group->text},
                                  {"options", options}});
    }
    QJsonArray files;
    for (const auto& file : catalogue.files())
        files.append(QJsonObject{{"id", file->id}, {"name", file->name}, {"detail", file->detail}, {"text", file->text}});
    return QJsonObject{{"settings", settings},
                       {"groups", groups},
                       {"elements", QJsonArray::fromStringList(catalogue.elements())},
                       {"elementsMatchOrder", QJsonArray::fromStringList(catalogue.matchOrderedElements())},
                       {"files", files}};
}

QString CatalogueCommand::toText(const Options& catalogue)
{
    QString out;
    out += QStringLiteral("Run settings\n");
    auto setting = [&out](const char* key, const QString& value) {
        out += QStringLiteral("  %1 %2\n").arg(QLatin1String(key), -14).arg(value);
    };
    setting("compufile", catalogue.compufile());
    setting("profilestart", catalogue.profilestart());
    setting("profileend", catalogue.profileend());
    setting("datafile", catalogue.datafile());
    setting("fieldsize", QString::number(catalogue.fieldsize()));
    setting("timefield", catalogue.timefield());
    setting("duroption", catalogue.duroption());
    setting("coordfield", catalogue.coordfield());
    setting("maxroption", catalogue.maxroption());
    out += QStringLiteral("\nExecutors\n");
    for (const OExecutor& executor : catalogue.executors())
        out += QStringLiteral("  %1  %2\n    success \"%3\"\n    failure \"%4\"\n")
                   .arg(executor.name, executor.path, executor.success, executor.failure);
    for (const auto& group : catalogue.groups()) {
        out += QStringLiteral("\nGroup %1 %2: %3\n").arg(group->index).arg(group->name, group->text);
        for (const auto& option : group->options) {
            static const char* const kinds[] = {"?", "option", "condition", "boundary"};
            const int kind = (option->kind >= 1 && option->kind <= 3) ? option->kind : 0;
            out += QStringLiteral("  %1 %2 %3  %4  [%5, default \"%6\"%7]\n")
                       .arg(option->index, 2)
                       .arg(QLatin1String(kinds[kind]), -9)
                       .arg(option->name, -8)
                       .arg(option->text, option->type == OOption::Field ? QStringLiteral("field")
                                                                         : QStringLiteral("menu"),
                            option->defaultValue,
                            option->inputMask.isEmpty() ? QString()
                                                        : QStringLiteral(", mask \"%1\"").arg(option->inputMask));
            for (const OValue& value : option->values)
                out += QStringLiteral("      %1 = %2\n").arg(value.value, value.text);
        }
    }
    out += QStringLiteral("\nElements (sorted): %1\n").arg(catalogue.elements().join(QLatin1Char(' ')));
    out += QStringLiteral("Elements (match order): %1\n").arg(catalogue.matchOrderedElements().join(QLatin1Char(' ')));
    out += QStringLiteral("\nFiles\n");
    for (const auto& file : catalogue.files())
        out += QStringLiteral("  %1  %2  %3  (%4 characters)\n")
                   .arg(file->id, file->name, file->detail)
                   .arg(file->text.size());
    return out;
}

int CatalogueCommand::run(const QStringList& arguments)
{
    bool json = false;
    for (const QString& argument : arguments) {
        if (argument == QLatin1String("--json")) {
            json = true;
        } else {
            CliOut::error(QStringLiteral("catalogue: unknown argument \"%1\"").arg(argument));
            return 2;
        }
    }
    Options catalogue;
    if (!catalogue.loadBuiltIn())
        return 1;
    if (json)
        CliOut::print(QString::fromUtf8(QJsonDocument(toJson(catalogue)).toJson(QJsonDocument::Indented)));
    else
        CliOut::print(toText(catalogue));
    return 0;
}
