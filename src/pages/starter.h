#ifndef TARVEL_STARTER_H
#define TARVEL_STARTER_H

// The start page: the recently used projects, the schemes of the schemes
// database as starting points of a new project, a button to open any project
// file and one for the advanced mode (every catalogue option). It also saves
// the project for the main window's actions. `selected()` tells that the
// project has new content.

#include <QList>
#include <QStringList>
#include <QVariant>
#include <QWidget>

class ListDelegate;
class Project;
class QListWidget;
class QPushButton;
class QTimer;
class Scheme;

class Starter : public QWidget
{
    Q_OBJECT

public:
    static constexpr int MaximumRecent = 20;
    static constexpr int CheckIntervalMs = 500;

    Starter(Project* project, const QString& schemesFile, QWidget* parent = nullptr);
    ~Starter() override;

    QStringList recentPaths() const { return m_recent; }
    QListWidget* recentList() const { return m_recentList; }
    QListWidget* schemesList() const { return m_schemesList; }
    const QList<Scheme*>& schemes() const { return m_schemes; }
    QPushButton* openButton() const { return m_openButton; }
    QPushButton* advancedButton() const { return m_advancedButton; }

    // The file filter of project files and their extension.
    static QString projectFilter();
    static QString projectExtension() { return QStringLiteral("tarvel"); }

signals:
    void selected();

public slots:
    void loadProject();
    void saveProject();
    void saveAsProject();
    void checkFiles();
    void schemeSelected(QVariant& var);
    void projectSelected(QVariant& var);
    void advancedSelected();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void readRecent();
    void writeRecent() const;
    void fillRecent();
    void fillSchemes();
    void openProject(const QString& file);
    void addToRecent();
    // The file to save a project without a file name to, or "" when the
    // user gave none or a wrong one.
    QString askForFile();
    [[nodiscard]] bool saveTo(const QString& file);
    // Whether the project may be replaced: an unsaved project is offered for
    // saving first.
    bool mayReplaceProject();
    static QString settingsFile();

    Project* m_project = nullptr;
    QString m_schemesFile;
    QListWidget* m_recentList = nullptr;
    QListWidget* m_schemesList = nullptr;
    QList<Scheme*> m_schemes;
    QStringList m_recent;
    QPushButton* m_openButton = nullptr;
    QPushButton* m_advancedButton = nullptr;
    QTimer* m_timer = nullptr;
};

#endif
