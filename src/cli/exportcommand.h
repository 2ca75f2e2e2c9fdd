#ifndef TARVEL_EXPORTCOMMAND_H
#define TARVEL_EXPORTCOMMAND_H

// `tarvel export PROJECT.tarvel FILE.tsv`: writes a project's output data as
// a tab-separated table.

#include <QStringList>

class ExportCommand
{
public:
    static int run(const QStringList& arguments);
};

#endif
