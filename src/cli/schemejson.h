#ifndef TARVEL_SCHEMEJSON_H
#define TARVEL_SCHEMEJSON_H

// Schemes as JSON, both ways: what `tarvel schemes dump` prints and what
// `tarvel schemes build` reads. An extra of a source may name a "textFile"
// (relative to the source; a .gz file is decompressed) instead of a "text".

#include <QJsonObject>
#include <QString>

#include <memory>

class Options;
class Scheme;

class SchemeJson
{
public:
    static QJsonObject toJson(const Scheme& scheme);
    // Builds a scheme over the catalogue; on refusal returns null and says why.
    static std::unique_ptr<Scheme> fromJson(const QJsonObject& object, Options* catalogue, const QString& baseDir,
                                            QString* error);
};

#endif
