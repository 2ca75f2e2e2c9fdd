#ifndef TARVEL_RUNSTORAGE_H
#define TARVEL_RUNSTORAGE_H

// The end of a run, off the user-interface thread: the rest of the output
// data file is parsed and both output files are read as the texts the
// project keeps. Big runs produce hundreds of megabytes; the window must go
// on painting meanwhile. The worker touches only its own buffers; the owner
// takes the result on its own thread once stored() has come.

#include "outputfield.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <memory>
#include <vector>

class QThread;

class RunStorage : public QObject
{
    Q_OBJECT

public:
    struct Request
    {
        QString dataFile; // the output data file, or empty
        QString computationFile; // the computation file, or empty
        qint64 readPos = 0; // where reading of the data file stopped
        int fieldsize = 0;
        // The fields read so far. Their values are shared with the
        // project's, which stay as they are while the worker runs; the
        // worker's copy of them becomes its own when it appends.
        std::vector<OutputField> fields;
    };
    struct Result
    {
        // The request's fields with the lines after readPos appended, or,
        // when nothing was read yet, fields of their own: joined here, as a
        // join of hundreds of megabytes on the owner's thread would stall it.
        std::vector<std::unique_ptr<OutputField>> fields;
        qint64 readPos = 0;
        bool refused = false; // the rest of the data is damaged
        bool hasData = false; // the data file could be read
        QString dataText;
        bool hasComputation = false;
        QString computationText;
    };

    explicit RunStorage(QObject* parent = nullptr);
    ~RunStorage() override;

    void start(const Request& request);
    bool isBusy() const { return m_thread != nullptr; }
    // The result of the last storing; valid from stored() on, until the next
    // start(). Null when it was abandoned.
    std::unique_ptr<Result> takeResult();
    // Abandons the storing under way: no stored() comes for it.
    void abandon();

    // A file's text as the project keeps it: each line as 8-bit text up to
    // its first zero byte (which ends the line, its line feed included).
    // False when it cannot be read.
    static bool readText(const QString& path, QString* text, const std::atomic<bool>* cancelled = nullptr);

signals:
    void stored();

private:
    void finish();

    QThread* m_thread = nullptr;
    std::shared_ptr<std::atomic<bool>> m_cancelled;
    std::shared_ptr<Result> m_running;
    std::unique_ptr<Result> m_result;
};

#endif
