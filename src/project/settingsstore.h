#ifndef TARVEL_SETTINGSSTORE_H
#define TARVEL_SETTINGSSTORE_H

// The codec of the project's settings store: key and value pairs as the
// Base64 text of a data stream in the layout Qt 4's QVariant had, so that
// projects written by earlier versions keep their graph definitions.
//
// Values are plain: bool, int, unsigned, float, double, string, byte array.
// They are not read through QVariant, whose readers of list and map types
// reserve room for the count a file claims: one damaged count would allocate
// gigabytes.

#include <QList>
#include <QString>
#include <QVariant>

#include <utility>

class SettingsStore
{
public:
    using Pairs = QList<std::pair<QString, QVariant>>;

    static bool isStorable(const QVariant& value);
    // The pairs of the text, up to the end or the first damage.
    static Pairs decode(const QString& text);
    static QString encode(const Pairs& pairs);
    // Replaces the value of the key, or appends the pair.
    static void assign(Pairs& pairs, const QString& key, const QVariant& value);
};

#endif
