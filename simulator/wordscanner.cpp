#include "wordscanner.h"

#include <cctype>

namespace tarvelsim {

namespace {

bool blank(char c)
{
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

} // namespace

bool WordScanner::atEnd()
{
    while (m_position < m_text.size() && blank(m_text[m_position]))
        ++m_position;
    return m_position >= m_text.size();
}

std::string WordScanner::word()
{
    atEnd();
    const size_t start = m_position;
    while (m_position < m_text.size() && m_text[m_position] != '/' && !blank(m_text[m_position]))
        ++m_position;
    return m_text.substr(start, m_position - start);
}

bool WordScanner::slash()
{
    if (atEnd() || m_text[m_position] != '/')
        return false;
    ++m_position;
    return true;
}

WordScanner::Parameters WordScanner::parameters(std::string& inside)
{
    inside.clear();
    size_t look = m_position;
    while (look < m_text.size() && blank(m_text[look]))
        ++look;
    if (look >= m_text.size() || m_text[look] != '/')
        return Parameters::None;
    const size_t close = m_text.find('/', look + 1);
    if (close == std::string::npos) {
        m_position = m_text.size();
        return Parameters::Unclosed;
    }
    inside = m_text.substr(look + 1, close - look - 1);
    m_position = close + 1;
    return Parameters::Closed;
}

} // namespace tarvelsim
