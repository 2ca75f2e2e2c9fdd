#ifndef TARVEL_DIAGNOSTIC_H
#define TARVEL_DIAGNOSTIC_H

// Composes a diagnostic the way the Qt 4 debug stream wrote it, so that log
// files keep the form users and their scripts know: every part is followed by
// one blank (the last one too), string values stand in plain double quotes
// with nothing inside escaped, fixed fragments and numbers as they are.
// Qt 6's QDebug drops the last blank and escapes inner quotes, hence this.
//
//   tWarning() << "Scheme::save(). Cannot create file" << fileName;
//
// The text is handed to qDebug/qWarning/qCritical/qFatal when the temporary
// goes out of scope, i.e. at the end of the statement.

#include <QString>
#include <QtGlobal>

class Diagnostic
{
public:
    // A string that is written as it stands, without quotes.
    struct Fragment
    {
        QString text;
    };

    explicit Diagnostic(QtMsgType type);
    Diagnostic(const Diagnostic&) = delete;
    Diagnostic& operator=(const Diagnostic&) = delete;
    ~Diagnostic();

    Diagnostic& operator<<(const char* fragment);
    Diagnostic& operator<<(const Fragment& fragment);
    Diagnostic& operator<<(const QString& value);
    Diagnostic& operator<<(QChar value);
    Diagnostic& operator<<(bool value);
    Diagnostic& operator<<(int value);
    Diagnostic& operator<<(unsigned value);
    Diagnostic& operator<<(long value);
    Diagnostic& operator<<(unsigned long value);
    Diagnostic& operator<<(long long value);
    Diagnostic& operator<<(unsigned long long value);
    Diagnostic& operator<<(double value);
    Diagnostic& operator<<(float value) { return *this << double(value); }

    // The text composed so far, as it will reach the message handler.
    QString text() const { return m_text; }

private:
    QtMsgType m_type;
    QString m_text;
};

inline Diagnostic::Fragment fragment(const QString& text)
{
    return {text};
}

inline Diagnostic tDebug()
{
    return Diagnostic(QtDebugMsg);
}
inline Diagnostic tWarning()
{
    return Diagnostic(QtWarningMsg);
}
inline Diagnostic tCritical()
{
    return Diagnostic(QtCriticalMsg);
}
inline Diagnostic tFatal()
{
    return Diagnostic(QtFatalMsg);
}

#endif
