#include "diagnostic.h"

#include <QByteArray>

Diagnostic::Diagnostic(QtMsgType type)
    : m_type(type)
{
}

Diagnostic::~Diagnostic()
{
    const QByteArray utf8 = m_text.toUtf8();
    switch (m_type) {
    case QtDebugMsg:
        qDebug("%s", utf8.constData());
        break;
    case QtInfoMsg:
        qInfo("%s", utf8.constData());
        break;
    case QtWarningMsg:
        qWarning("%s", utf8.constData());
        break;
    case QtCriticalMsg:
        qCritical("%s", utf8.constData());
        break;
    case QtFatalMsg:
        qFatal("%s", utf8.constData());
    }
}

Diagnostic& Diagnostic::operator<<(const char* fragment)
{
    m_text += QString::fromUtf8(fragment);
    m_text += QLatin1Char(' ');
    return *this;
}

Diagnostic& Diagnostic::operator<<(const Fragment& fragment)
{
    m_text += fragment.text;
    m_text += QLatin1Char(' ');
    return *this;
}

Diagnostic& Diagnostic::operator<<(const QString& value)
{
    m_text += QLatin1Char('"');
    m_text += value;
    m_text += QLatin1String("\" ");
    return *this;
}

Diagnostic& Diagnostic::operator<<(QChar value)
{
    m_text += QLatin1Char('\'');
    m_text += value;
    m_text += QLatin1String("' ");
    return *this;
}

Diagnostic& Diagnostic::operator<<(bool value)
{
    m_text += value ? QLatin1String("true ") : QLatin1String("false ");
    return *this;
}

Diagnostic& Diagnostic::operator<<(int value)
{
    m_text += QString::number(value) + QLatin1Char(' ');
    return *this;
}

Diagnostic& Diagnostic::operator<<(unsigned value)
{
    m_text += QString::number(value) + QLatin1Char(' ');
    return *this;
}

Diagnostic& Diagnostic::operator<<(long value)
{
    m_text += QString::number(value) + QLatin1Char(' ');
    return *this;
}

Diagnostic& Diagnostic::operator<<(unsigned long value)
{
    m_text += QString::number(value) + QLatin1Char(' ');
    return *this;
}

Diagnostic& Diagnostic::operator<<(long long value)
{
    m_text += QString::number(value) + QLatin1Char(' ');
    return *this;
}

Diagnostic& Diagnostic::operator<<(unsigned long long value)
{
    m_text += QString::number(value) + QLatin1Char(' ');
    return *this;
}

Diagnostic& Diagnostic::operator<<(double value)
{
    // Qt 4's debug stream wrote reals through QTextStream: 6 significant
    // digits, the shorter of plain and exponent notation.
    m_text += QString::number(value, 'g', 6) + QLatin1Char(' ');
    return *this;
}
