#ifndef TARVEL_TESTS_MESSAGECAPTURE_H
#define TARVEL_TESTS_MESSAGECAPTURE_H

// Records every diagnostic of the process while it lives, with its severity,
// so that tests can compare the exact texts the log would receive. Replaces
// QtTest's own handler for that time and puts it back afterwards.

#include <QList>
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

    MessageCapture();
    ~MessageCapture();
    MessageCapture(const MessageCapture&) = delete;
    MessageCapture& operator=(const MessageCapture&) = delete;

    QList<Message> messages() const;
    // Each message as the log's level tag, a blank and the text, e.g.
    // "WRN Options::readNode(). Uknown tag ..."; critical counts as "ERR".
    QStringList lines() const;
    QStringList texts() const;
    // Texts of one severity only (QtInfoMsg counts as debug, as in the log).
    QStringList texts(QtMsgType type) const;
    QStringList debugs() const { return texts(QtDebugMsg); }
    QStringList warnings() const { return texts(QtWarningMsg); }
    QStringList criticals() const { return texts(QtCriticalMsg); }
    // Everything but debug reports, each as "W: text" or "C: text".
    QStringList problems() const;
    void clear();

private:
    QtMessageHandler m_previous = nullptr;
};

#endif
