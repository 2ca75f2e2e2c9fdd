#ifndef TARVEL_TESTS_CAPTUREDMESSAGES_H
#define TARVEL_TESTS_CAPTUREDMESSAGES_H

// Collects every diagnostic written while it exists, with its severity, so a
// test can compare the exact texts. One at a time.

#include "app/log.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

class CapturedMessages
{
public:
    struct Message
    {
        QtMsgType type;
        QString text;
        bool operator==(const Message& other) const { return type == other.type && text == other.text; }
    };

    CapturedMessages()
    {
        Log::installCategoryFilter();
        s_current = this;
        m_previous = qInstallMessageHandler(&CapturedMessages::receive);
    }
    ~CapturedMessages()
    {
        qInstallMessageHandler(m_previous);
        s_current = nullptr;
    }
    CapturedMessages(const CapturedMessages&) = delete;
    CapturedMessages& operator=(const CapturedMessages&) = delete;

    const QList<Message>& all() const { return m_messages; }
    QStringList texts(QtMsgType type) const
    {
        QStringList result;
        for (const Message& message : m_messages) {
            if (message.type == type)
                result.append(message.text);
        }
        return result;
    }
    void clear() { m_messages.clear(); }

private:
    static void receive(QtMsgType type, const QMessageLogContext&, const QString& text)
    {
        if (s_current)
            s_current->m_messages.append({type, text});
    }

    static inline CapturedMessages* s_current = nullptr;
    QtMessageHandler m_previous = nullptr;
    QList<Message> m_messages;
};

#endif
