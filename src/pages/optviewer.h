#ifndef TARVEL_OPTVIEWER_H
#define TARVEL_OPTVIEWER_H

// The whole catalogue as a tree: one expandable group button per group and
// a read-only editor per option showing the option's own current value.
// Shown by the option tree page while the project has no tree of its own.

#include <QList>
#include <QPointer>
#include <QTreeWidget>

class Options;

class OptViewer : public QTreeWidget
{
    Q_OBJECT

public:
    explicit OptViewer(Options* catalogue, QWidget* parent = nullptr);
    ~OptViewer() override;

    // Builds the rows anew from the catalogue's current values.
    void rebuild();
    int editorCount() const { return int(m_editors.size()); }
    // Why the values cannot be edited here.
    static QString readOnlyToolTip();

private:
    void deleteEditors();

    Options* m_options = nullptr;
    QList<QPointer<QWidget>> m_editors;
};

#endif
