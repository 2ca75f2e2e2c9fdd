#ifndef TARVEL_TESTS_LOGFILE_H
#define TARVEL_TESTS_LOGFILE_H

// Reads a log file the way a person checks it: every line must end with
// CR LF, a line is either the separator of 100 hyphens or
// "yyMMdd hh:mm:ss TAG<tab>text". The lines come back as "TAG<tab>text"
// (or the separator itself), so tests compare them without the clock.

#include <QByteArray>
#include <QFile>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

class LogFile
{
public:
    static QString separator() { return QString(100, QLatin1Char('-')); }

    explicit LogFile(const QString& path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            m_error = QStringLiteral("cannot open %1").arg(path);
            return;
        }
        m_exists = true;
        m_bytes = file.readAll();
        parse();
    }

    bool exists() const { return m_exists; }
    bool isWellFormed() const { return m_error.isEmpty(); }
    QString error() const { return m_error; }
    QByteArray bytes() const { return m_bytes; }
    QStringList lines() const { return m_lines; }
    // The "yyMMdd hh:mm:ss" stamp of each line (empty for separators).
    QStringList stamps() const { return m_stamps; }

private:
    void parse()
    {
        static const QRegularExpression entry(QStringLiteral("^(\\d{6} \\d{2}:\\d{2}:\\d{2}) (INF|WRN|ERR)\\t(.*)$"),
                                              QRegularExpression::DotMatchesEverythingOption);
        if (m_bytes.isEmpty())
            return;
        if (!m_bytes.endsWith("\r\n")) {
            m_error = QStringLiteral("the file does not end with CR LF");
            return;
        }
        const QList<QByteArray> raw = m_bytes.left(m_bytes.size() - 1).split('\n');
        for (const QByteArray& withCr : raw) {
            if (!withCr.endsWith('\r')) {
                m_error = QStringLiteral("a line ends with a bare LF: %1").arg(QString::fromUtf8(withCr));
                return;
            }
            const QString line = QString::fromUtf8(withCr.left(withCr.size() - 1));
            if (line.contains(QLatin1Char('\r'))) {
                m_error = QStringLiteral("a CR inside a line: %1").arg(line);
                return;
            }
            if (line == separator()) {
                m_lines << line;
                m_stamps << QString();
                continue;
            }
            const QRegularExpressionMatch match = entry.match(line);
            if (!match.hasMatch()) {
                m_error = QStringLiteral("not a log line: %1").arg(line);
                return;
            }
            m_lines << match.captured(2) + QLatin1Char('\t') + match.captured(3);
            m_stamps << match.captured(1);
        }
    }

    QByteArray m_bytes;
    QString m_error;
    QStringList m_lines;
    QStringList m_stamps;
    bool m_exists = false;
};

#endif
