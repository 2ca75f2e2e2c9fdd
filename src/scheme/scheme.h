#ifndef TARVEL_SCHEME_H
#define TARVEL_SCHEME_H

// A scheme: a named preset for one simulation. It owns a tree of option
// groups and option nodes over the catalogue, a sorted list of species with
// one boundary-condition option each, and named extra data (file texts).
// Schemes live in the schemes database; a project is a scheme with the
// additions of a run.

#include "extradata.h"
#include "schemenode.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

class Options;
struct OOption;
class QDataStream;
class QTextStream;

class Scheme : public QObject
{
    Q_OBJECT

public:
    explicit Scheme(Options* catalogue, QObject* parent = nullptr);
    ~Scheme() override;

    // --- whole scheme
    [[nodiscard]] bool setName(const QString& name);
    [[nodiscard]] bool setNameAndDescription(const QString& name, const QString& description);
    QString name() const { return m_name; }
    QString description() const { return m_description; }
    QString fileName() const { return m_fileName; }
    // Why the last save or load failed, in words for the user, with the
    // system's reason where there is one.
    QString errorString() const { return m_errorString; }
    bool isSaved() const { return m_saved; }
    Options* options() const { return m_options; }
    bool copy(const Scheme* other);
    void makeTestScheme();

    // --- the schemes database
    enum class WriteResult { Written, CannotCreate, WriteFailed };

    // The schemes of a database; `error` says why there are none when the
    // file cannot be read or is no database.
    static QList<Scheme*> loadAll(const QString& file, Options* catalogue, QString* error = nullptr);
    bool deleteSchemeFromFile(const QString& file = QString());
    // Writes the schemes into the file, in order, as a whole new database.
    // Atomic: the old file stays as it was unless the new one is complete.
    // Bytes read or written so far, reported while it goes on.
    using FileProgress = std::function<void(qint64 bytes)>;
    [[nodiscard]] static WriteResult writeDatabase(const QString& file, const QList<const Scheme*>& schemes,
                                                   QString* errorText, const FileProgress& progress = {},
                                                   const std::atomic<bool>* cancelled = nullptr);

    // --- tree
    const QList<SchemeNode*>& nodes() const { return m_nodes; }
    SchemeNode* nodeById(int id) const;
    static SchemeNode* nodeById(int id, const QList<SchemeNode*>& start);
    int nodeCount() const;
    int largestId() const;
    bool isOptionUsed(const OOption* option) const;
    static bool isInSubtree(const SchemeNode* node, const SchemeNode* candidate);
    OOption* findOption(const QString& name) const;
    QString optionValue(const QString& name) const;
    void insertNode(SchemeNode* node, SchemeNode* parent, SchemeNode* sibling, bool after);
    bool takeNode(SchemeNode* node);
    // Takes the node out of the tree and deletes it with its subtree.
    bool removeNode(SchemeNode* node);
    void dump(QTextStream& out) const;
    // Every node in pre-order: a node, then its children, then its next sibling.
    QList<SchemeNode*> allNodes() const;

    SchemeNode* addGroup(const QString& name, SchemeNode* parent = nullptr, SchemeNode* sibling = nullptr,
                         bool after = true);
    SchemeNode* addOption(OOption* option, SchemeNode* parent = nullptr, SchemeNode* sibling = nullptr,
                          bool after = true);
    bool moveNode(SchemeNode* node, SchemeNode* newParent, SchemeNode* sibling, bool after);
    bool changeGroupName(SchemeNode* node, const QString& newName);

    // --- extra data; names are compared trimmed and upper-cased
    bool addExtra(const ExtraData& record);
    bool addExtra(const QString& name, const QString& text);
    bool hasExtra(const QString& name) const;
    ExtraData* getExtra(const QString& name) const;
    QString* pointerToExtra(const QString& name) const;
    [[nodiscard]] bool setExtraData(const QString& name, const QString& text);
    [[nodiscard]] bool setExtra(const QString& name, const ExtraData& record);
    void removeExtra(const QString& name);
    QStringList extraNames() const;
    QList<ExtraData*> extras() const;

    // --- species
    const QStringList& species() const { return m_species; }
    const std::vector<std::unique_ptr<OOption>>& conditions() const { return m_conditions; }
    int indexOfSpecies(const QString& name) const;
    bool hasSpecies(const QString& name) const { return indexOfSpecies(name) != -1; }
    bool addSpecies(const QString& name);
    bool removeSpecies(const QString& name);

public slots:
    virtual void clear();
    [[nodiscard]] virtual bool load(const QString& name, const QString& file);
    [[nodiscard]] virtual bool save(const QString& file = QString());
    [[nodiscard]] virtual bool setFileName(const QString& file);
    void setUnsaved();

signals:
    void changed();
    void extrasChanged();
    void optionsChanged();
    void nodeAboutToAdd(SchemeNode* parent, int idx);
    void nodeAdded(SchemeNode* newNode);
    void nodeAboutToRemove(SchemeNode* nodeToRemove);
    void nodeRemoved();
    // The whole content is about to be deleted (clear()); still there now.
    void aboutToClear();

protected:
    // How reading a database file went, for callers that must not replace a
    // file they could not read.
    enum class FileState { Missing, Refused, Read };
    static QList<Scheme*> readDatabase(const QString& file, Options* catalogue, FileState* state,
                                       QString* error = nullptr, const FileProgress& progress = {},
                                       const std::atomic<bool>* cancelled = nullptr);
    static QString writeError(const QString& file, const QString& reason);
    static void removeLeftovers(const QString& fileName);
    void setErrorString(const QString& text) { m_errorString = text; }
    QString resolveFile(const QString& file) const;
    void markSaved(bool saved) { m_saved = saved; }
    // Stores the file name without marking the scheme unsaved: for a file
    // that has just been written or read.
    void storeFileName(const QString& file) { m_fileName = file.trimmed(); }
    // Adds an extra for every file of the catalogue (shown and editable).
    void addCatalogueFiles();

private:
    static void writeScheme(QDataStream& out, const Scheme& scheme);
    bool readSpeciesRecords(QDataStream& in, qint32 count);
    bool readNodeRecords(QDataStream& in, qint32 count);
    bool readExtraRecords(QDataStream& in, qint32 count, quint32 version);
    void deleteContent();
    void copyNodes(const QList<SchemeNode*>& source, QList<SchemeNode*>& target, SchemeNode* parent);
    std::unique_ptr<OOption> makeBoundaryCondition(const QString& species) const;
    // addSpecies without putting the species in its sorted place: for many
    // species at once, sorted once afterwards (sortSpecies).
    bool appendSpecies(const QString& name);
    void sortSpecies();
    qsizetype extraIndex(const QString& name) const;
    void extraChanged();

    QList<SchemeNode*> m_nodes;
    QString m_name;
    QString m_fileName;
    QString m_description;
    // Held by pointer: pages keep the addresses of records and texts.
    std::vector<std::unique_ptr<ExtraData>> m_extras;
    QStringList m_species;
    Options* m_options = nullptr;
    bool m_saved = false;
    QString m_errorString;
    std::vector<std::unique_ptr<OOption>> m_conditions;
    // A species by its upper-cased name, with its boundary condition: the
    // lookups that loading makes once per species and once per node, kept
    // off a walk of the whole list so that a large mechanism loads in
    // O(n log n).
    struct SpeciesEntry
    {
        QString name;
        OOption* condition = nullptr;
    };
    QHash<QString, SpeciesEntry> m_speciesIndex;
};

#endif
