#include "schemescommand.h"

#include "options.h"
#include "cliout.h"
#include "schemejson.h"
#include "scheme.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <memory>
#include <vector>

namespace {

// The version in the file's header, as the reader will see it.
qint32 fileVersion(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    QDataStream in(&file);
    in.setVersion(QDataStream::Qt_4_8);
    QString marker;
    qint32 version = -1;
    in >> marker >> version;
    return in.status() == QDataStream::Ok ? version : -1;
}

struct Owned
{
    QList<Scheme*> schemes;
    ~Owned() { qDeleteAll(schemes); }
};

} // namespace

QString SchemesCommand::defaultDatabase()
{
    return QDir(Options::programDirectory()).filePath(QStringLiteral("schemes.dat"));
}

int SchemesCommand::run(const QStringList& arguments)
{
    if (arguments.isEmpty()) {
        CliOut::error(QStringLiteral("schemes: say list, dump or build"));
        return 2;
    }
    Options catalogue;
    if (!catalogue.loadBuiltIn())
        return 1;
    const QString verb = arguments.first();
    const QStringList rest = arguments.mid(1);
    if (verb == QLatin1String("list"))
        return list(rest, &catalogue);
    if (verb == QLatin1String("dump"))
        return dump(rest, &catalogue);
    if (verb == QLatin1String("build"))
        return build(rest, &catalogue);
    CliOut::error(QStringLiteral("schemes: unknown command \"%1\"").arg(verb));
    return 2;
}

int SchemesCommand::list(const QStringList& arguments, Options* catalogue)
{
    if (arguments.size() > 1) {
        CliOut::error(QStringLiteral("schemes list: at most one database"));
        return 2;
    }
    const QString database = arguments.isEmpty() ? defaultDatabase() : arguments.first();
    if (!QFileInfo::exists(database)) {
        CliOut::error(QStringLiteral("schemes list: no such file \"%1\"").arg(database));
        return 1;
    }
    QString error;
    Owned stored{Scheme::loadAll(database, catalogue, &error)};
    if (stored.schemes.isEmpty() && !error.isEmpty()) {
        CliOut::error(QStringLiteral("schemes list: %1").arg(error));
        return 1;
    }
    QString out;
    for (const Scheme* scheme : std::as_const(stored.schemes))
        out += QStringLiteral("%1\t%2\t%3\t%4\t%5\n")
                   .arg(scheme->name(), scheme->description())
                   .arg(scheme->species().size())
                   .arg(scheme->nodeCount())
                   .arg(scheme->extras().size());
    CliOut::print(out);
    return 0;
}

int SchemesCommand::dump(const QStringList& arguments, Options* catalogue)
{
    QString database;
    QString only;
    bool onlyGiven = false;
    for (int i = 0; i < arguments.size(); ++i) {
        if (arguments.at(i) == QLatin1String("--scheme") && i + 1 < arguments.size()) {
            only = arguments.at(++i);
            onlyGiven = true;
        } else if (database.isEmpty() && !arguments.at(i).startsWith(QLatin1String("--"))) {
            database = arguments.at(i);
        } else {
            CliOut::error(QStringLiteral("schemes dump: unexpected argument \"%1\"").arg(arguments.at(i)));
            return 2;
        }
    }
    if (database.isEmpty())
        database = defaultDatabase();
    if (!QFileInfo::exists(database)) {
        CliOut::error(QStringLiteral("schemes dump: no such file \"%1\"").arg(database));
        return 1;
    }
    QString error;
    Owned stored{Scheme::loadAll(database, catalogue, &error)};
    if (stored.schemes.isEmpty() && !error.isEmpty()) {
        CliOut::error(QStringLiteral("schemes dump: %1").arg(error));
        return 1;
    }
    QJsonArray schemes;
    for (const Scheme* scheme : std::as_const(stored.schemes)) {
        if (!onlyGiven || scheme->name() == only)
            schemes.append(SchemeJson::toJson(*scheme));
    }
    if (onlyGiven && schemes.isEmpty()) {
        QStringList names;
        for (const Scheme* scheme : std::as_const(stored.schemes))
            names.append(scheme->name());
        CliOut::error(
            QStringLiteral("schemes dump: no scheme \"%1\" in \"%2\"; it holds %3")
                .arg(only, database, names.isEmpty() ? QStringLiteral("none") : names.join(QStringLiteral(", "))));
        return 1;
    }
    const QJsonObject root{{"version", fileVersion(database)}, {"schemes", schemes}};
    CliOut::print(QString::fromUtf8(QJsonDocument(root).toJson(QJsonDocument::Indented)));
    return 0;
}

int SchemesCommand::build(const QStringList& arguments, Options* catalogue)
{
    QStringList sources;
    QString output;
    for (int i = 0; i < arguments.size(); ++i) {
        if (arguments.at(i) == QLatin1String("-o") && i + 1 < arguments.size())
            output = arguments.at(++i);
        else
            sources.append(arguments.at(i));
    }
    if (sources.isEmpty() || output.isEmpty()) {
        CliOut::error(QStringLiteral("schemes build: usage: tarvel schemes build SOURCE.json... -o DB"));
        return 2;
    }
    std::vector<std::unique_ptr<Scheme>> built;
    for (const QString& source : std::as_const(sources)) {
        QFile file(source);
        if (!file.open(QIODevice::ReadOnly)) {
            CliOut::error(QStringLiteral("schemes build: cannot read \"%1\": %2. Nothing was written.")
                              .arg(source, file.errorString()));
            return 1;
        }
        QJsonParseError parseError;
        const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
        if (parseError.error != QJsonParseError::NoError || !document.isObject()) {
            CliOut::error(QStringLiteral("schemes build: \"%1\" is not a JSON object: %2 at offset %3. Nothing was "
                                         "written.")
                              .arg(source, parseError.errorString())
                              .arg(parseError.offset));
            return 1;
        }
        // A misspelt key would otherwise give a database without schemes.
        const QJsonValue list = document.object().value("schemes");
        if (!list.isArray()) {
            CliOut::error(
                QStringLiteral("schemes build: \"%1\" holds no \"schemes\" list. Nothing was written.").arg(source));
            return 1;
        }
        const QString baseDir = QFileInfo(source).absolutePath();
        for (const QJsonValue& value : list.toArray()) {
            QString error;
            if (!value.isObject()) {
                CliOut::error(QStringLiteral("schemes build: \"%1\": a scheme is not a JSON object. Nothing was "
                                             "written.")
                                  .arg(source));
                return 1;
            }
            std::unique_ptr<Scheme> scheme = SchemeJson::fromJson(value.toObject(), catalogue, baseDir, &error);
            if (!scheme) {
                CliOut::error(QStringLiteral("schemes build: \"%1\": %2. Nothing was written.").arg(source, error));
                return 1;
            }
            for (const auto& other : built) {
                if (other->name().toUpper() == scheme->name().toUpper()) {
                    CliOut::error(QStringLiteral("schemes build: \"%1\": the scheme name \"%2\" is used twice. "
                                                 "Nothing was written.")
                                      .arg(source, scheme->name()));
                    return 1;
                }
            }
            built.push_back(std::move(scheme));
        }
    }
    QList<const Scheme*> list;
    for (const auto& scheme : built)
        list.append(scheme.get());
    QString error;
    if (Scheme::writeDatabase(output, list, &error) != Scheme::WriteResult::Written) {
        CliOut::error(QStringLiteral("schemes build: cannot write \"%1\": %2").arg(output, error));
        return 1;
    }
    return 0;
}
