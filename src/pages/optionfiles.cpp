#include "optionfiles.h"

#include "diagnostic.h"
#include "translation.h"
#include "options.h"

#include <cstdlib>

namespace {

QFont editorFont()
{
    QFont font(QStringLiteral("Menlo"), 11);
    font.setStyleHint(QFont::Monospace);
    return font;
}

} // namespace

OptionFiles::OptionFiles(Options* catalogue, QWidget* parent)
    : TextTabsPage(editorFont(), true, parent)
    , m_options(catalogue)
{
    if (!m_options) {
        tCritical() << "OptionFiles::OptionFiles. Cannot initialise Null pointer provided for options.";
        std::exit(1);
    }
    for (const auto& file : m_options->files())
        addTab(&file->text, file->detail.isEmpty() ? translate(file->id) : file->detail);
}

void OptionFiles::addTab(QString* target, const QString& title)
{
    const QString translated = translate(title);
    addTextTab(title, target, translated.isEmpty() ? title : translated, false);
}
