#ifndef TARVEL_INPUTGENERATOR_H
#define TARVEL_INPUTGENERATOR_H

// The pieces of the simulation code's fixed-format input file: the entries of
// the OPTIONS, SPECIES and CONDITIONS blocks, their layout in rows, the banner
// of a new file and the removal of an old block. Pure functions from values to
// text; the project puts them together in Project::generateFiles().

#include <QList>
#include <QString>
#include <QStringList>

class Options;
struct SchemeNode;

class InputGenerator
{
public:
    static constexpr int EntriesPerRow = 7; // OPTIONS and SPECIES rows
    static constexpr int ConditionsPerRow = 1;

    // One entry of an option (kind 1), a condition (kind 2) or a boundary
    // condition (kind 3, whose name loses its "BC_" prefix). A value equal to
    // `onText` is a bare switch and writes no value. Empty for another kind.
    static QString entry(int kind, const QString& name, const QString& value, const QString& onText);
    static QString speciesEntry(const QString& species);

    // The entries of every option of `kind` in the tree, in pre-order; an
    // option whose value is exactly `offText` is switched off and left out.
    static QStringList entries(const QList<SchemeNode*>& nodes, int kind, const QString& onText,
                               const QString& offText);

    // The keyword line, the entries in rows of `perRow`, the last row filled
    // up, and an END line. Without entries, the keyword line alone.
    static QString block(const QString& keyword, const QStringList& entries, int perRow);

    // Three lines of 48 characters, each ended by a line feed.
    static QString banner();

    // Removes the block that starts at a line beginning with `prefix` (any
    // letter case) and ends after the line beginning with `suffix`, or before
    // the next line that begins another standard block; returns where it
    // began, or -1 when there is none.
    static int removeBlock(QString& text, const QString& prefix, const QString& suffix);

    // The species whose own boundary condition ("BC_" and its name, not an
    // option of the catalogue) comes first in the tree; false if there is none.
    static bool firstBoundarySpecies(const QList<SchemeNode*>& nodes, const Options& catalogue, QString* species);

    // The keywords of the standard blocks.
    static QStringList standardKeywords();
};

#endif
