#include "optionfiles.h"

#include "diagnostic.h"
#include "options.h"

#include <cstdlib>

OptionFiles::OptionFiles(Options* catalogue, QWidget* parent)
    : TextTabsPage(fixedFont(11), true, parent)
    , m_options(catalogue)
{
    if (!m_options) {
        tCritical() << "OptionFiles::OptionFiles. Cannot initialise Null pointer provided for options.";
        std::exit(1);
    }
    for (const auto& file : m_options->files())
        addTextTab(file->id, &file->text, tabTitle(file->id, file->detail), false);
}

void OptionFiles::addTab(QString* target, const QString& title)
{
    addTextTab(title, target, tabTitle(title, title), false);
}
