#ifndef TARVEL_TESTS_MESSAGECAPTURE_H
#define TARVEL_TESTS_MESSAGECAPTURE_H

// Records every diagnostic of the process while it lives, as (severity, text)
// pairs, so that tests can compare the exact texts the log would receive.
// Replaces QtTest's own handler for that time and puts it back afterwards.

#include "app/log.h"

#include <QList>
#include <QMutex>
#include <QMutexLocker>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QtGlobal>

class MessageCapture
{
public:
    using Message = QPair<QtMsgType, QString>;

    MessageCapture()
    {
        // Logging rules of the environment must not hide debug reports here
        // either: the log keeps them on in the program.
        Log::installCategoryFilter();
        QMutexLocker lock(&mutex());
        store().clear();
        m_previous = qInstallMessageHandler(&MessageCapture::receive);
    }
    ~MessageCapture() { qInstallMessageHandler(m_previous); }
    MessageCapture(const MessageCapture&) = delete;
    MessageCapture& operator=(const MessageCapture&) = delete;

    QList<Message> messages() const
    {
        QMutexLocker lock(&mutex());
        return store();
    }

    // Each message as the log's level tag, a blank and the text, e.g.
    // "WRN Options::readNode(). Uknown tag ..."; critical counts as "ERR".
    QStringList lines() const
    {
        QStringList result;
        for (const Message& message : messages())
            result << tag(message.first) + QLatin1Char(' ') + message.second;
        return result;
    }

    QStringList texts() const
    {
        QStringList result;
        for (const Message& message : messages())
            result << message.second;
        return result;
    }

    // Texts of one severity only (QtInfoMsg counts as debug, as in the log).
    QStringList texts(QtMsgType type) const
    {
        QStringList result;
        for (const Message& message : messages()) {
            const QtMsgType seen = message.first == QtInfoMsg ? QtDebugMsg : message.first;
            if (seen == type)
                result << message.second;
        }
        return result;
    }

    void clear()
    {
        QMutexLocker lock(&mutex());
        store().clear();
    }

private:
    static QString tag(QtMsgType type)
    {
        switch (type) {
        case QtDebugMsg:
        case QtInfoMsg:
            return QStringLiteral("INF");
        case QtWarningMsg:
            return QStringLiteral("WRN");
        case QtCriticalMsg:
            return QStringLiteral("ERR");
        case QtFatalMsg:
            break;
        }
        return QStringLiteral("FTL");
    }

    static void receive(QtMsgType type, const QMessageLogContext&, const QString& text)
    {
        QMutexLocker lock(&mutex());
        store().append(Message(type, text));
    }
    static QList<Message>& store()
    {
        static QList<Message> messages;
        return messages;
    }
    static QMutex& mutex()
    {
        static QMutex lock;
        return lock;
    }

    QtMessageHandler m_previous = nullptr;
};

#endif
