#include "textfile.h"

#include <cstdio>
#include <sys/stat.h>
#include <zlib.h>

namespace tarvelsim {

bool TextFile::readText(const std::string &path, std::string &text, Diagnostic &error)
{
    text.clear();
    if (!exists(path)) {
        error = Diagnostic(path, 0, "the file does not exist");
        return false;
    }
    gzFile file = gzopen(path.c_str(), "rb");
    if (!file) {
        error = Diagnostic(path, 0, "cannot open the file");
        return false;
    }
    char buffer[65536];
    int count = 0;
    while ((count = gzread(file, buffer, sizeof buffer)) > 0)
        text.append(buffer, static_cast<size_t>(count));
    const bool failed = count < 0;
    gzclose(file);
    if (failed) {
        error = Diagnostic(path, 0, "cannot read the file (damaged compressed data?)");
        return false;
    }
    return true;
}

bool TextFile::readLines(const std::string &path, std::vector<std::string> &lines, Diagnostic &error)
{
    lines.clear();
    std::string text;
    if (!readText(path, text, error))
        return false;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return true;
}

bool TextFile::writeText(const std::string &path, const std::string &text, Diagnostic &error)
{
    std::FILE *file = std::fopen(path.c_str(), "wb");
    if (!file) {
        error = Diagnostic(path, 0, "cannot create the file");
        return false;
    }
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        error = Diagnostic(path, 0, "cannot write the file");
        return false;
    }
    return true;
}

bool TextFile::exists(const std::string &path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

} // namespace tarvelsim
