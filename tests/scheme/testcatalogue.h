#ifndef TARVEL_TESTS_SCHEME_TESTCATALOGUE_H
#define TARVEL_TESTS_SCHEME_TESTCATALOGUE_H

// The built-in option catalogue as the program loads it, after the
// translation table its texts come from. A catalogue that does not load
// ends the test run at once: nothing else could be trusted then.

#include "translation.h"
#include "options.h"

#include <QString>
#include <QtGlobal>

#include <memory>

class TestCatalogue
{
public:
    static std::unique_ptr<Options> load(const QString& document = QString::fromLatin1(Options::BuiltInDocument))
    {
        static const bool translated = Translation::instance().load(QStringLiteral(":/translate.xml"));
        if (!translated)
            qFatal("The translation table :/translate.xml did not load");
        auto catalogue = std::make_unique<Options>();
        if (!catalogue->loadOptions(document))
            qFatal("The option catalogue %s did not load", qPrintable(document));
        return catalogue;
    }
};

#endif
