#ifndef TARVEL_TESTS_SCHEME_MESSAGECAPTURE_H
#define TARVEL_TESTS_SCHEME_MESSAGECAPTURE_H

// Records every diagnostic while it lives, with its severity, so that a test
// can compare the exact texts the log would receive. Puts the previous
// handler (QtTest's) back when it goes out of scope.

#include "app/log.h"

#include <QList>
#include <QMutex>
#include <QMutexLocker>
#include <QString>
#include <QStringList>
#include <QtGlobal>

class MessageCapture
{
public:
    struct Message
    {
        QtMsgType type;
        QString text;
        bool operator==(const Message& other) const { return type == other.type && text == other.text; }
    };

    MessageCapture()
    {
        // The logging rules of the environment must not hide debug reports:
        // the program's log keeps them.
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

    // Texts of one severity, in order.
    QStringList texts(QtMsgType type) const
    {
        QStringList result;
        for (const Message& message : messages()) {
            if (message.type == type)
                result << message.text;
        }
        return result;
    }
    QStringList debugs() const { return texts(QtDebugMsg); }
    QStringList warnings() const { return texts(QtWarningMsg); }
    QStringList criticals() const { return texts(QtCriticalMsg); }

    // Everything but debug reports, each as "W: text" or "C: text".
    QStringList problems() const
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

    void clear()
    {
        QMutexLocker lock(&mutex());
        store().clear();
    }

private:
    static void receive(QtMsgType type, const QMessageLogContext&, const QString& text)
    {
        QMutexLocker lock(&mutex());
        store().append(Message{type, text});
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
