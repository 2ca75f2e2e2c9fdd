#pragma once

#include <string>
#include <utility>

namespace tarvelsim {

// Reads a line of the mechanism item by item: words separated by blanks,
// each perhaps followed by parameters between slashes, as in "AR/39.95/" of
// the ELEMENTS section or "LOW / 1.0E19 -1.0 0.0 /" and "H2O/6.4/" of a
// reaction's auxiliary lines, or words ended by a slash, as in the entries
// "MOLE   1/" of the run description's OPTIONS block.
class WordScanner
{
public:
    enum class Parameters { None, Closed, Unclosed };

    explicit WordScanner(std::string text)
        : m_text(std::move(text))
    {
    }

    // Skips blanks; true when nothing else is left.
    bool atEnd();
    // The next word: up to a blank or a slash; empty where a slash comes first.
    std::string word();
    // The text between the slashes that follow, perhaps after blanks: None
    // when no slash follows (nothing is consumed), Unclosed when the second
    // slash is missing (the rest of the line is consumed).
    Parameters parameters(std::string& inside);
    // Skips blanks and takes a slash if one comes next.
    bool slash();
    // What is left, from the current position.
    std::string rest() const { return m_text.substr(m_position); }

private:
    std::string m_text;
    size_t m_position = 0;
};

} // namespace tarvelsim
