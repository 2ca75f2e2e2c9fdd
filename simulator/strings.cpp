#include "strings.h"

#include <cctype>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace tarvelsim {

std::string Strings::trimmed(const std::string &text)
{
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(text[begin])))
        ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1])))
        --end;
    return text.substr(begin, end - begin);
}

std::string Strings::upper(const std::string &text)
{
    std::string result = text;
    for (char &c : result)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return result;
}

bool Strings::equalNoCase(const std::string &a, const std::string &b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

bool Strings::startsWithNoCase(const std::string &text, const std::string &prefix)
{
    return text.size() >= prefix.size() && equalNoCase(text.substr(0, prefix.size()), prefix);
}

std::vector<std::string> Strings::words(const std::string &text)
{
    std::vector<std::string> result;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
            ++i;
        const size_t begin = i;
        while (i < text.size() && !std::isspace(static_cast<unsigned char>(text[i])))
            ++i;
        if (i > begin)
            result.push_back(text.substr(begin, i - begin));
    }
    return result;
}

std::string Strings::withoutComment(const std::string &line)
{
    const size_t bang = line.find('!');
    return bang == std::string::npos ? line : line.substr(0, bang);
}

std::string Strings::column(const std::string &line, size_t start, size_t length)
{
    if (start >= line.size())
        return std::string();
    return line.substr(start, length);
}

bool Strings::toNumber(const std::string &text, double &value)
{
    std::string word = trimmed(text);
    if (word.empty())
        return false;
    for (char &c : word) {
        if (c == 'D' || c == 'd')
            c = 'E';
    }
    // strtod would also take hexadecimal, "inf" and "nan"; the formats know
    // only decimal numbers.
    for (char c : word) {
        if (!std::isdigit(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.' && c != 'E'
            && c != 'e')
            return false;
    }
    char *end = nullptr;
    const double parsed = std::strtod(word.c_str(), &end);
    if (end != word.c_str() + word.size() || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

std::string Strings::format(const char *pattern, ...)
{
    char buffer[512];
    va_list arguments;
    va_start(arguments, pattern);
    const int length = std::vsnprintf(buffer, sizeof buffer, pattern, arguments);
    va_end(arguments);
    if (length < 0)
        return std::string();
    if (static_cast<size_t>(length) < sizeof buffer)
        return std::string(buffer, static_cast<size_t>(length));
    std::string result(static_cast<size_t>(length) + 1, '\0');
    va_start(arguments, pattern);
    std::vsnprintf(&result[0], result.size(), pattern, arguments);
    va_end(arguments);
    result.resize(static_cast<size_t>(length));
    return result;
}

} // namespace tarvelsim
