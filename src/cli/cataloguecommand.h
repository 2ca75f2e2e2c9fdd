#ifndef TARVEL_CATALOGUECOMMAND_H
#define TARVEL_CATALOGUECOMMAND_H

// `tarvel catalogue [--json]`: prints the built-in option catalogue.

#include <QStringList>

class Options;
class QJsonObject;

class CatalogueCommand
{
public:
    static int run(const QStringList& arguments);
    static QJsonObject toJson(const Options& catalogue);
    static QString toText(const Options& catalogue);
};

#endif
