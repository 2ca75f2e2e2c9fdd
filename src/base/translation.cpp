#include "translation.h"

#include "diagnostic.h"

#include <QDomDocument>
#include <QDomElement>
#include <QFile>

Translation::Translation(const QString& fileName)
{
    if (!fileName.isEmpty())
        (void)load(fileName); // a failure is reported in the log
}

Translation& Translation::instance()
{
    static Translation table;
    return table;
}

bool Translation::load(const QString& fileName)
{
    QDomDocument document(QStringLiteral("translations"));
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        tCritical() << "Translation::load(). Cannot open" << fileName;
        return false;
    }
    QString message;
    int line = 0;
    int column = 0;
    if (!document.setContent(&file, &message, &line, &column)) {
        tCritical() << "Translation::load(). XML Error (row" << line << ", col" << column << "):" << message;
        file.close();
        return false;
    }
    file.close();
    m_items.clear();
    if (readNode(document.documentElement()) != 0) {
        tDebug() << "Options::loadOptions(). Loaded" << int(m_items.size()) << "translations";
        return true;
    }
    tCritical() << "Options::loadOptions(). No valid translations have been found.";
    return false;
}

int Translation::readNode(const QDomElement& root)
{
    int count = 0;
    for (QDomNode node = root.firstChild(); !node.isNull(); node = node.nextSibling()) {
        if (!node.isElement() || !node.hasChildNodes())
            continue;
        const QDomElement element = node.toElement();
        const QString name = element.tagName().toLower();
        if (name == QLatin1String("tag")) {
            TranslationItem item;
            item.tag = element.attribute(QStringLiteral("id")).trimmed().toUpper();
            if (item.tag.isEmpty()) {
                tWarning() << "Translation::readNode(). No Name specified for TAG (row" << element.lineNumber()
                           << ", col" << element.columnNumber() << "). Skipped...";
            } else if (indexOf(item.tag) != -1) {
                tWarning() << "Options::readNode(). Repeated Tag" << item.tag << "in TRANSLATIONS (row"
                           << element.lineNumber() << ", col" << element.columnNumber() << "). Skipped...";
            } else {
                readItem(element, item);
                static const char* const missing[3] = {
                    "Translation::readNode(). No English translation found in TAG (row",
                    "Translation::readNode(). No German translation found in TAG (row",
                    "Translation::readNode(). No Russian translation found in TAG (row",
                };
                for (int language = 0; language < 3; ++language) {
                    if (item.texts[language].isEmpty())
                        tWarning() << missing[language] << element.lineNumber() << ", col" << element.columnNumber()
                                   << ").";
                }
                m_items.append(item);
            }
            ++count;
        } else {
            tWarning() << "Options::readNode(). Uknown tag" << name << "in TRANSLATIONS (row" << element.lineNumber()
                       << ", col" << element.columnNumber() << ")";
        }
    }
    return count;
}

void Translation::readItem(const QDomElement& element, TranslationItem& item)
{
    if (item.tag.isEmpty())
        return;
    for (QDomNode node = element.firstChild(); !node.isNull(); node = node.nextSibling()) {
        if (!node.isElement() || !node.hasChildNodes())
            continue;
        const QDomElement child = node.toElement();
        const QString name = child.tagName().toLower();
        if (name == QLatin1String("en"))
            item.texts[English] = child.text();
        else if (name == QLatin1String("de"))
            item.texts[German] = child.text();
        else if (name == QLatin1String("ru"))
            item.texts[Russian] = child.text();
        else
            tWarning() << "Translation::readItem(). Uknown language id" << name << "in TAG" << item.tag << "(row"
                       << child.lineNumber() << ", col" << child.columnNumber() << ")";
    }
}

int Translation::indexOf(const QString& tag) const
{
    const QString key = tag.toUpper().trimmed();
    if (key.isEmpty())
        return -1;
    for (int i = 0; i < m_items.size(); ++i) {
        if (m_items.at(i).tag == key)
            return i;
    }
    return -1;
}

QString Translation::translate(QString& tag, int language) const
{
    tag = tag.toUpper().trimmed();
    if (tag.isEmpty()) {
        tWarning() << "Translation::translate(). Empty translation code!";
        return QString();
    }
    if (language == -1)
        language = m_language;
    for (const TranslationItem& item : m_items) {
        if (item.tag == tag)
            return (language >= 0 && language < 3) ? item.texts[language] : QString();
    }
    return tag;
}

QString translate(QString& tag)
{
    return Translation::instance().translate(tag);
}

QString translate(const QString& tag)
{
    QString copy = tag;
    return Translation::instance().translate(copy);
}
