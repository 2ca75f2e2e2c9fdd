#ifndef TARVEL_FUZZ_SCHEMEIMAGE_H
#define TARVEL_FUZZ_SCHEMEIMAGE_H

// A scheme's whole content as lines of text, so that a scheme read, written
// and read again can be compared with the one first read, and a difference
// printed where it is.

#include "ooption.h"
#include "scheme.h"

#include <QSet>
#include <QStringList>

#include <algorithm>
#include <cstdio>

class SchemeImage
{
public:
    static QStringList of(const Scheme& scheme)
    {
        QStringList lines;
        lines << QStringLiteral("scheme %1 | %2").arg(scheme.name(), scheme.description());
        for (const QString& species : scheme.species())
            lines << QStringLiteral("species %1").arg(species);
        for (const SchemeNode* node : scheme.allNodes()) {
            lines << QStringLiteral("node %1 %2 group=%3 parent=%4 option=%5 enabled=%6 value=%7")
                         .arg(node->id)
                         .arg(node->name)
                         .arg(node->isGroup)
                         .arg(node->parent ? node->parent->id : 0)
                         .arg(node->option ? node->option->name : QString())
                         .arg(node->enabled)
                         .arg(node->value);
        }
        for (const ExtraData* extra : scheme.extras()) {
            lines << QStringLiteral("extra %1 | %2 | %3 | %4 | %5")
                         .arg(extra->name, extra->detail, extra->fileName)
                         .arg(extra->flags)
                         .arg(extra->text);
        }
        return lines;
    }

    // The invariants of a scheme: species sorted and unique when upper-cased,
    // one boundary condition each; node ids unique; every option node bound
    // to an option, each option to one node; children only under groups.
    static bool intact(const Scheme& scheme)
    {
        const QStringList& species = scheme.species();
        if (!std::is_sorted(species.cbegin(), species.cend()))
            return broken("the species are not sorted");
        QSet<QString> keys;
        for (const QString& name : species)
            keys.insert(name.toUpper());
        if (keys.size() != species.size())
            return broken("two species are the same when upper-cased");
        if (scheme.conditions().size() != std::size_t(species.size()))
            return broken("the species do not have one boundary condition each");
        QSet<int> ids;
        QSet<const OOption*> options;
        const QList<SchemeNode*> nodes = scheme.allNodes();
        for (const SchemeNode* node : nodes) {
            ids.insert(node->id);
            if (!node->isGroup) {
                if (!node->option)
                    return broken("an option node without an option");
                options.insert(node->option);
                if (!node->children.isEmpty())
                    return broken("an option node with children");
            }
            for (const SchemeNode* child : node->children) {
                if (child->parent != node)
                    return broken("a child that names another parent");
            }
        }
        if (ids.size() != nodes.size())
            return broken("two nodes with the same id");
        qsizetype optionNodes = 0;
        for (const SchemeNode* node : nodes)
            optionNodes += node->isGroup ? 0 : 1;
        if (options.size() != optionNodes)
            return broken("an option bound to two nodes");
        return true;
    }

    // Prints the first line where the two differ; true when they are equal.
    static bool same(const QStringList& first, const QStringList& second)
    {
        const qsizetype count = std::max(first.size(), second.size());
        for (qsizetype i = 0; i < count; ++i) {
            const QString a = i < first.size() ? first.at(i) : QStringLiteral("<none>");
            const QString b = i < second.size() ? second.at(i) : QStringLiteral("<none>");
            if (a != b) {
                std::fprintf(stderr, "line %lld differs:\n  first:  %s\n  second: %s\n", static_cast<long long>(i),
                             qPrintable(a.left(300)), qPrintable(b.left(300)));
                return false;
            }
        }
        return true;
    }

private:
    static bool broken(const char* what)
    {
        std::fprintf(stderr, "scheme invariant broken: %s\n", what);
        return false;
    }
};

#endif
