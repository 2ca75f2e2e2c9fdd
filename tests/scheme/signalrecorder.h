#ifndef TARVEL_TESTS_SCHEME_SIGNALRECORDER_H
#define TARVEL_TESTS_SCHEME_SIGNALRECORDER_H

// Records every signal of a scheme, in the order emitted, as a short text:
// "changed", "extras", "options", "aboutToAdd(P,I)" (P the parent's id, 0 for
// the top level), "added(N)", "aboutToRemove(N)", "removed".

#include "scheme.h"

#include <QObject>
#include <QStringList>

class SignalRecorder
{
public:
    explicit SignalRecorder(Scheme* scheme)
    {
        QObject::connect(scheme, &Scheme::changed, &m_context, [this] { m_events << QStringLiteral("changed"); });
        QObject::connect(scheme, &Scheme::extrasChanged, &m_context,
                         [this] { m_events << QStringLiteral("extras"); });
        QObject::connect(scheme, &Scheme::optionsChanged, &m_context,
                         [this] { m_events << QStringLiteral("options"); });
        QObject::connect(scheme, &Scheme::nodeAboutToAdd, &m_context, [this](SchemeNode* parent, int index) {
            m_events << QStringLiteral("aboutToAdd(%1,%2)").arg(parent ? parent->id : 0).arg(index);
        });
        QObject::connect(scheme, &Scheme::nodeAdded, &m_context, [this](SchemeNode* node) {
            m_events << QStringLiteral("added(%1)").arg(node ? node->id : -1);
        });
        QObject::connect(scheme, &Scheme::nodeAboutToRemove, &m_context, [this](SchemeNode* node) {
            m_events << QStringLiteral("aboutToRemove(%1)").arg(node ? node->id : -1);
        });
        QObject::connect(scheme, &Scheme::nodeRemoved, &m_context, [this] { m_events << QStringLiteral("removed"); });
    }

    QStringList events() const { return m_events; }
    // The events so far, forgetting them.
    QStringList take()
    {
        const QStringList events = m_events;
        m_events.clear();
        return events;
    }

private:
    QObject m_context;
    QStringList m_events;
};

#endif
