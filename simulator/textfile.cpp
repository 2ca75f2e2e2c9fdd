#include "textfile.h"

#include "strings.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

namespace tarvelsim {

bool TextFile::readText(const std::string& path, std::string& text, Diagnostic& error, size_t sizeLimit)
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
    bool tooLarge = false;
    while ((count = gzread(file, buffer, sizeof buffer)) > 0) {
        if (text.size() + static_cast<size_t>(count) > sizeLimit) {
            tooLarge = true;
            break;
        }
        text.append(buffer, static_cast<size_t>(count));
    }
    const bool failed = count < 0;
    gzclose(file);
    if (tooLarge) {
        text.clear();
        text.shrink_to_fit();
        error = Diagnostic(path, 0,
                           Strings::format("the file holds more than %zu MB of text once inflated; "
                                           "larger files are not read",
                                           sizeLimit >> 20));
        return false;
    }
    if (failed) {
        error = Diagnostic(path, 0, "cannot read the file (damaged compressed data?)");
        return false;
    }
    return true;
}

bool TextFile::readLines(const std::string& path, std::vector<std::string>& lines, Diagnostic& error, size_t sizeLimit)
{
    lines.clear();
    std::string text;
    if (!readText(path, text, error, sizeLimit))
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

std::FILE* TextFile::create(const std::string& path, Diagnostic& error)
{
    const int flags = O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC;
    int descriptor = ::open(path.c_str(), flags, 0666);
    // A symbolic link at the name: remove the link, not what it points to,
    // and create the file in its place.
    if (descriptor < 0 && errno == ELOOP && ::unlink(path.c_str()) == 0)
        descriptor = ::open(path.c_str(), flags | O_EXCL, 0666);
    std::FILE* file = descriptor >= 0 ? ::fdopen(descriptor, "wb") : nullptr;
    if (!file) {
        if (descriptor >= 0)
            ::close(descriptor);
        error = Diagnostic(path, 0, "cannot create the file");
    }
    return file;
}

bool TextFile::writeText(const std::string& path, const std::string& text, Diagnostic& error)
{
    std::FILE* file = create(path, error);
    if (!file)
        return false;
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
