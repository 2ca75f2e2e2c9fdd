#ifndef TARVEL_OPTIONFILES_H
#define TARVEL_OPTIONFILES_H

// The texts of the catalogue's files, one editable tab each, written back
// into the catalogue as they are typed.

#include "texttabspage.h"

class Options;

class OptionFiles : public TextTabsPage
{
    Q_OBJECT

public:
    explicit OptionFiles(Options* catalogue, QWidget* parent = nullptr);

    // A tab titled by the translation of `title` where the table has it as
    // a tag, else by `title` itself.
    void addTab(QString* target, const QString& title);

private:
    Options* m_options = nullptr;
};

#endif
