#include "messagecapture.h"

#include "log.h"

#include <QMutex>
#include <QMutexLocker>

namespace {

QMutex& storeMutex()
{
    static QMutex lock;
    return lock;
}

QList<MessageCapture::Message>& store()
{
    static QList<MessageCapture::Message> messages;
    return messages;
}

void receive(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    QMutexLocker lock(&storeMutex());
    store().append(MessageCapture::Message{type, text});
}

QtMsgType logLevel(QtMsgType type)
{
    return type == QtInfoMsg ? QtDebugMsg : type;
}

QString tag(QtMsgType type)
{
    switch (logLevel(type)) {
    case QtDebugMsg:
        return QStringLiteral("INF");
    case QtWarningMsg:
        return QStringLiteral("WRN");
    case QtCriticalMsg:
        return QStringLiteral("ERR");
    default:
        return QStringLiteral("FTL");
    }
}

} // namespace

MessageCapture::MessageCapture()
{
    // Logging rules of the environment must not hide debug reports here
    // either: the log keeps them on in the program.
    Log::installCategoryFilter();
    QMutexLocker lock(&storeMutex());
    store().clear();
    m_previous = qInstallMessageHandler(&receive);
}

MessageCapture::~MessageCapture()
{
    qInstallMessageHandler(m_previous);
}

QList<MessageCapture::Message> MessageCapture::messages() const
{
    QMutexLocker lock(&storeMutex());
    return store();
}

QStringList MessageCapture::lines() const
{
    QStringList result;
    for (const Message& message : messages())
        result << tag(message.type) + QLatin1Char(' ') + message.text;
    return result;
}

QStringList MessageCapture::texts() const
{
    QStringList result;
    for (const Message& message : messages())
        result << message.text;
    return result;
}

QStringList MessageCapture::texts(QtMsgType type) const
{
    QStringList result;
    for (const Message& message : messages()) {
        if (logLevel(message.type) == logLevel(type))
            result << message.text;
    }
    return result;
}

QStringList MessageCapture::problems() const
{
    QStringList result;
    for (const Message& message : messages()) {
        if (message.type == QtWarningMsg)
            result << QStringLiteral("W: ") + message.text;
        else if (message.type == QtCriticalMsg || message.type == QtFatalMsg)
            result << QStringLiteral("C: ") + message.text;
    }
    return result;
}

void MessageCapture::clear()
{
    QMutexLocker lock(&storeMutex());
    store().clear();
}
