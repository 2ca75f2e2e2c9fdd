#ifndef TARVEL_PROJECTFILEPROGRESS_H
#define TARVEL_PROJECTFILEPROGRESS_H

// Waits for a project file job with a progress dialog over the window: the
// window goes on painting, the user cannot edit the project meanwhile, and
// an open can be cancelled. Short jobs finish before the dialog shows.

class ProjectFileJob;
class QString;
class QWidget;

class ProjectFileProgress
{
public:
    // True when the job succeeded.
    static bool wait(QWidget* parent, ProjectFileJob& job, const QString& label);
};

#endif
