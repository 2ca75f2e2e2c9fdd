#ifndef TARVEL_SCHEMENODE_H
#define TARVEL_SCHEMENODE_H

#include <QList>
#include <QString>

struct OOption;

// One node of a scheme's tree: a group (with children) or an option node
// bound to a catalogue option (or to a species' boundary condition).
// Owned by its parent's children list or by the scheme's top-level list.
struct SchemeNode
{
    int id = 0;
    QString name;
    bool isGroup = false;
    SchemeNode* parent = nullptr;
    QList<SchemeNode*> children;
    OOption* option = nullptr;
    QString value;
    bool enabled = false;
};

#endif
