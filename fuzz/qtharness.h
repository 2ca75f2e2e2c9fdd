#ifndef TARVEL_FUZZ_QTHARNESS_H
#define TARVEL_FUZZ_QTHARNESS_H

// What the fuzz targets over the Qt core set up once per process: a core
// application (the project asks it for the program directory), the
// translation table and the built-in option catalogue, a scratch folder for
// the readers that take a file name, and a message handler that keeps the
// diagnostics of millions of damaged inputs off the console. A fatal report
// still aborts: no input may end the program.

#include <QString>

#include <cstddef>
#include <cstdint>

class Options;

class QtHarness
{
public:
    // Sets everything up on its first call; later calls do nothing.
    static void start();
    static Options* catalogue();
    // A path in the scratch folder (on tmpfs where there is one).
    static QString scratchFile(const QString& name);
    // Replaces the file's content with the bytes; aborts when it cannot.
    static void writeFile(const QString& path, const std::uint8_t* data, std::size_t size);
};

#endif
