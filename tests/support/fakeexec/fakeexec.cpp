// A stand-in for the simulation code's executables in tests. It does what the
// control file "<its own file name>.ctl" in its working directory says, one
// command a line, so one binary copied under several names plays every
// executable of a test catalogue:
//
//   print TEXT         TEXT and a line feed to standard output
//   printraw TEXT      TEXT alone (a sentence split across two writes)
//   stderr TEXT        TEXT and a line feed to standard error
//   sleep MS           wait MS milliseconds
//   datafile NAME      later data lines go to NAME (fort.29 at first)
//   data TEXT          append TEXT and a line feed to the data file
//   dataraw TEXT       append TEXT alone to the data file (an unfinished line)
//   append FILE TEXT   append TEXT and a line feed to FILE
//   copy FROM TO       copy the file FROM to TO
//   move FROM TO       rename the file FROM to TO: TO appears whole at once
//   spam N             N characters to standard output: 'x', every 100th a line feed
//   crash              abort
//   hang               sleep until killed
//   ignoreterm         ignore SIGTERM from now on (a program deaf to a stop)
//   child FILE         start a child that sleeps until killed; its id goes to FILE
//   flood N            N bytes of 'x' without a line feed, in pieces
//   stream RATE SECONDS COLUMNS END
//                      RATE data lines a second for SECONDS seconds, as the
//                      code writes them: COLUMNS cells of 18 characters
//                      ("%18.9E"), the time running from 0 to END, then a
//                      temperature that rises half-way and values that follow
//                      it; written in slices every 10 ms, each flushed, and a
//                      console line for every fiftieth of them. The heading
//                      is not written: "data" does that first.
//   exit N             end with exit code N (0 after the last line)
//
// Every write is flushed at once (files are opened and closed per command),
// so a test sees exactly what has been done so far. Plain C++: it must not
// depend on the libraries under test.

#include "streamvalue.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>

#if defined(__unix__) || defined(__APPLE__)
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace {

std::string ownName(const char* argv0)
{
    const std::string path = argv0 ? argv0 : "";
    const std::string::size_type slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Splits "word rest" at the first blank; the rest is kept as it is.
void split(const std::string& text, std::string& word, std::string& rest)
{
    const std::string::size_type blank = text.find(' ');
    if (blank == std::string::npos) {
        word = text;
        rest.clear();
    } else {
        word = text.substr(0, blank);
        rest = text.substr(blank + 1);
    }
}

bool appendTo(const std::string& file, const std::string& text)
{
    std::ofstream out(file, std::ios::binary | std::ios::app);
    out << text;
    out.flush();
    return bool(out);
}

bool copyFile(const std::string& from, const std::string& to)
{
    std::ifstream in(from, std::ios::binary);
    if (!in)
        return false;
    std::ofstream out(to, std::ios::binary | std::ios::trunc);
    out << in.rdbuf();
    out.flush();
    return bool(out);
}

void complain(const std::string& text)
{
    std::cerr << "fakeexec: " << text << std::endl;
}

[[noreturn]] void crash()
{
#if defined(__unix__) || defined(__APPLE__)
    // A crash, not a core file in the project directory.
    const rlimit none{0, 0};
    setrlimit(RLIMIT_CORE, &none);
#endif
    std::abort();
}

long number(const std::string& text)
{
    return std::strtol(text.c_str(), nullptr, 10);
}

// One data line of `columns` cells at the fraction `f` (0 to 1) of the run.
std::string streamLine(long columns, double time, double f)
{
    std::string line;
    char cell[40];
    for (long c = 0; c < columns; ++c) {
        std::snprintf(cell, sizeof cell, "%18.9E", streamValue(c, time, f));
        line += cell;
    }
    return line + '\n';
}

// The "stream" command: lines due by now are written every 10 ms, so that
// the rate holds on average whatever one slice costs.
bool stream(const std::string& file, long rate, long seconds, long columns, double end)
{
    using Clock = std::chrono::steady_clock;
    const long total = rate * seconds;
    if (rate <= 0 || seconds <= 0 || columns <= 0)
        return false;
    std::FILE* out = std::fopen(file.c_str(), "ab");
    if (!out)
        return false;
    const long consoleEvery = total / 50 > 0 ? total / 50 : 1;
    const Clock::time_point start = Clock::now();
    long written = 0;
    std::string slice;
    bool ok = true;
    while (written < total && ok) {
        const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
        long due = long(elapsed * double(rate));
        if (due > total)
            due = total;
        slice.clear();
        for (; written < due; ++written) {
            const double f = double(written) / double(total > 1 ? total - 1 : 1);
            slice += streamLine(columns, f * end, f);
            if (written % consoleEvery == 0)
                std::printf(" t = %.4E s\n", f * end);
        }
        ok = std::fwrite(slice.data(), 1, slice.size(), out) == slice.size() && std::fflush(out) == 0;
        std::fflush(stdout);
        if (written < total)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return std::fclose(out) == 0 && ok;
}

} // namespace

int main(int, char** argv)
{
    std::ifstream control(ownName(argv[0]) + ".ctl", std::ios::binary);
    if (!control) {
        std::cout << "fakeexec: no control file" << std::endl;
        return 3;
    }

    std::string dataFile = "fort.29";
    std::string line;
    while (std::getline(control, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        std::string command;
        std::string text;
        split(line, command, text);

        if (command == "print") {
            std::cout << text << '\n' << std::flush;
        } else if (command == "printraw") {
            std::cout << text << std::flush;
        } else if (command == "stderr") {
            std::cerr << text << '\n' << std::flush;
        } else if (command == "sleep") {
            std::this_thread::sleep_for(std::chrono::milliseconds(number(text)));
        } else if (command == "datafile") {
            dataFile = text;
        } else if (command == "data") {
            if (!appendTo(dataFile, text + '\n'))
                complain("cannot write " + dataFile);
        } else if (command == "dataraw") {
            if (!appendTo(dataFile, text))
                complain("cannot write " + dataFile);
        } else if (command == "append") {
            std::string file;
            std::string appended;
            split(text, file, appended);
            if (!appendTo(file, appended + '\n'))
                complain("cannot write " + file);
        } else if (command == "copy") {
            std::string from;
            std::string to;
            split(text, from, to);
            if (!copyFile(from, to))
                complain("cannot copy " + from + " to " + to);
        } else if (command == "move") {
            std::string from;
            std::string to;
            split(text, from, to);
            if (std::rename(from.c_str(), to.c_str()) != 0)
                complain("cannot move " + from + " to " + to);
        } else if (command == "stream") {
            std::string rate;
            std::string rest;
            std::string seconds;
            std::string columns;
            std::string end;
            split(text, rate, rest);
            split(rest, seconds, rest);
            split(rest, columns, end);
            if (!stream(dataFile, number(rate), number(seconds), number(columns), std::strtod(end.c_str(), nullptr)))
                complain("cannot stream to " + dataFile);
        } else if (command == "spam") {
            const long count = number(text);
            std::string bytes;
            bytes.reserve(size_t(count > 0 ? count : 0));
            for (long i = 1; i <= count; ++i)
                bytes += i % 100 == 0 ? '\n' : 'x';
            std::cout << bytes << std::flush;
        } else if (command == "crash") {
            std::cout << std::flush;
            crash();
        } else if (command == "hang") {
            std::cout << std::flush;
            for (;;)
                std::this_thread::sleep_for(std::chrono::hours(1));
#if defined(__unix__) || defined(__APPLE__)
        } else if (command == "ignoreterm") {
            std::signal(SIGTERM, SIG_IGN);
        } else if (command == "child") {
            const pid_t child = fork();
            if (child == 0) {
                for (;;)
                    pause();
            }
            if (!appendTo(text, std::to_string(child) + '\n'))
                complain("cannot write " + text);
#endif
        } else if (command == "flood") {
            const std::string piece(4096, 'x');
            for (long left = number(text); left > 0; left -= long(piece.size()))
                std::cout << piece.substr(0, size_t(left < long(piece.size()) ? left : long(piece.size())));
            std::cout << std::flush;
        } else if (command == "exit") {
            std::cout << std::flush;
            return int(number(text));
        } else {
            complain("unknown command " + command);
            return 4;
        }
    }
    return 0;
}
