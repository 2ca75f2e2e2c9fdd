#ifndef TARVEL_TESTS_PAGES_OPTIONPAGEFIXTURE_H
#define TARVEL_TESTS_PAGES_OPTIONPAGEFIXTURE_H

// The built-in catalogue as the program loads it, a project over it, and a
// small hydrogen/air scheme to put into the project: three groups, a menu
// option on, one off, a disabled node, conditions and the boundary
// conditions of three species. A catalogue that does not load ends the run.

#include "translation.h"
#include "require.h"
#include "options.h"
#include "project.h"
#include "scheme.h"

#include <QCoreApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QString>
#include <QtGlobal>

#include <memory>

class OptionPageFixture
{
public:
    OptionPageFixture()
    {
        static const bool translated = Translation::instance().load(QStringLiteral(":/translate.xml"));
        if (!translated)
            qFatal("The translation table :/translate.xml did not load");
        m_catalogue = std::make_unique<Options>();
        if (!m_catalogue->loadBuiltIn())
            qFatal("The option catalogue :/optstruct.xml did not load");
        m_project = std::make_unique<Project>(m_catalogue.get());
    }

    // The windows keep their geometry in the user's settings: a test store.
    static void useTestSettings()
    {
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setOrganizationName(QStringLiteral("ZDL"));
        QCoreApplication::setApplicationName(QStringLiteral("Tarvel GUI page tests"));
        QSettings().clear();
    }

    Options& catalogue() { return *m_catalogue; }
    Project& project() { return *m_project; }

    OOption* option(const QString& name) const
    {
        OOption* found = m_catalogue->findOption(name);
        if (!found)
            qFatal("The built-in catalogue has no option %s", qPrintable(name));
        return found;
    }

    // Reactor: VPRO "off", TPRO "on"; Output: MOLE "1" (disabled), TEND;
    // Initial state: BC_T, BC_P and the species H2, O2, N2.
    std::unique_ptr<Scheme> hydrogenScheme() const
    {
        auto scheme = std::make_unique<Scheme>(m_catalogue.get());
        require(
            scheme->setNameAndDescription(QStringLiteral("H2-TEST"), QStringLiteral("Hydrogen/air for the page tests")),
            "setNameAndDescription");
        for (const char* species : {"H2", "O2", "N2"})
            scheme->addSpecies(QString::fromLatin1(species));
        SchemeNode* reactor = scheme->addGroup(QStringLiteral("Reactor"));
        add(*scheme, reactor, QStringLiteral("VPRO"), QStringLiteral("off"));
        add(*scheme, reactor, QStringLiteral("TPRO"), QStringLiteral("on"));
        SchemeNode* output = scheme->addGroup(QStringLiteral("Output"));
        add(*scheme, output, QStringLiteral("MOLE"), QStringLiteral("1"))->enabled = false;
        add(*scheme, output, QStringLiteral("TEND"), QStringLiteral("1.0E-03"));
        SchemeNode* initial = scheme->addGroup(QStringLiteral("Initial state"));
        add(*scheme, initial, QStringLiteral("BC_T"), QStringLiteral("1000"));
        add(*scheme, initial, QStringLiteral("BC_P"), QStringLiteral("2.0"));
        add(*scheme, initial, QStringLiteral("BC_H2"), QStringLiteral("0.3"));
        add(*scheme, initial, QStringLiteral("BC_O2"), QStringLiteral("0.15"));
        add(*scheme, initial, QStringLiteral("BC_N2"), QStringLiteral("0.55"));
        return scheme;
    }

    // The project holding the hydrogen scheme, as the start page leaves it.
    void loadHydrogen() { m_project->setScheme(hydrogenScheme().get()); }

    SchemeNode* node(const QString& optionName) const
    {
        for (SchemeNode* node : m_project->allNodes()) {
            if (node->option && node->option->name == optionName)
                return node;
        }
        return nullptr;
    }
    SchemeNode* group(const QString& name) const
    {
        for (SchemeNode* node : m_project->allNodes()) {
            if (node->isGroup && node->name == name)
                return node;
        }
        return nullptr;
    }
    QString inputText() const
    {
        const QString* text = m_project->pointerToExtra(QStringLiteral("CUSTOM_INP"));
        return text ? *text : QString();
    }

private:
    static SchemeNode* add(Scheme& scheme, SchemeNode* group, const QString& name, const QString& value)
    {
        OOption* option = scheme.findOption(name);
        if (!option)
            qFatal("No option %s for the test scheme", qPrintable(name));
        SchemeNode* node = scheme.addOption(option, group);
        node->value = value;
        node->enabled = true;
        return node;
    }

    std::unique_ptr<Options> m_catalogue;
    std::unique_ptr<Project> m_project;
};

#endif
