#ifndef TARVEL_TRANSLATION_H
#define TARVEL_TRANSLATION_H

// The table of user-visible texts, looked up by tag. Read once at start-up
// from the built-in document and read-only afterwards. A tag the table lacks
// comes back as itself, so a missing entry shows up as its tag.

#include <QList>
#include <QString>

class QDomElement;

struct TranslationItem
{
    QString tag;
    QString texts[3]; // English, German, Russian
};

class Translation
{
public:
    enum Language { English = 0, German = 1, Russian = 2 };

    explicit Translation(const QString& fileName = QString());

    // The application-wide table.
    static Translation& instance();

    [[nodiscard]] bool load(const QString& fileName);
    int readNode(const QDomElement& root);
    void readItem(const QDomElement& element, TranslationItem& item);
    int indexOf(const QString& tag) const;
    // Normalises the tag in place (upper case, trimmed).
    QString translate(QString& tag, int language = -1) const;

    int language() const { return m_language; }
    const QList<TranslationItem>& items() const { return m_items; }

private:
    int m_language = English;
    QList<TranslationItem> m_items;
};

// Looks the tag up in the application-wide table.
QString translate(QString& tag);
QString translate(const QString& tag);
inline QString translate(const char* tag)
{
    return translate(QString::fromLatin1(tag));
}

#endif
