#include "options.h"

#include <QCoreApplication>

Options::Options(QObject* parent)
    : QObject(parent)
{
}

Options::~Options() = default;

QString Options::programDirectory()
{
    return QCoreApplication::applicationDirPath();
}

OOption* Options::findOption(const QString& name) const
{
    const QString key = name.trimmed().toUpper();
    if (key.isEmpty())
        return nullptr;
    OOption* found = nullptr;
    for (const auto& group : m_groups) {
        for (const auto& option : group->options) {
            if (option->name.trimmed().toUpper() == key)
                found = option.get(); // the last match wins
        }
    }
    return found;
}

QString* Options::fileText(QString& id)
{
    id = id.trimmed().toUpper();
    for (const auto& file : m_files) {
        if (file->id == id)
            return &file->text;
    }
    return nullptr;
}

QString* Options::fileText(const QString& id)
{
    QString copy = id;
    return fileText(copy);
}

bool Options::isValidSpecies(const QString& name) const
{
    QString rest = name.toUpper().remove(QLatin1Char(' '));
    for (const QString& symbol : m_matchElements)
        rest.remove(symbol.toUpper());
    static const QString marks = QStringLiteral("0123456789-_()*");
    for (const QChar mark : marks)
        rest.remove(mark);
    return rest.isEmpty();
}

QString Options::speciesName(const QString& name) const
{
    QString result = name.toUpper().remove(QLatin1Char(' '));
    for (const QString& symbol : m_matchElements)
        result.replace(symbol.toUpper(), symbol);
    return result;
}

void Options::resetAll()
{
    for (const auto& group : m_groups) {
        for (const auto& option : group->options)
            option->value = option->defaultValue;
    }
    for (const auto& file : m_files)
        file->text = file->defaultText;
}

QStringList Options::matchOrder(const QStringList& symbols)
{
    qsizetype longest = 0;
    for (const QString& symbol : symbols)
        longest = qMax(longest, symbol.size());
    // Each position weighs by how early it stands; a missing character weighs
    // 65535, so a longer symbol always sorts before a shorter one.
    auto key = [longest](const QString& symbol) {
        qint64 sum = 0;
        for (qsizetype i = 0; i < longest; ++i) {
            const qint64 code = i < symbol.size() ? symbol.at(i).unicode() : 65535;
            sum += (longest - i) * code;
        }
        return sum;
    };
    QStringList ordered = symbols;
    for (qsizetype p = 0; p < ordered.size(); ++p) {
        for (qsizetype q = p + 1; q < ordered.size(); ++q) {
            if (key(ordered.at(q)) < key(ordered.at(p)))
                ordered.swapItemsAt(p, q);
        }
    }
    return ordered;
}
