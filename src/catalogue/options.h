#ifndef TARVEL_OPTIONS_H
#define TARVEL_OPTIONS_H

// The option catalogue: every option, condition and boundary condition the
// simulation code can be told, the element symbols species are built from,
// the files a project holds, the executables of a run and the run settings.
// Loaded once from the option structure document and read-only afterwards;
// records are handed out by pointer and stay valid while the catalogue lives.

#include "oexecutor.h"
#include "ofile.h"
#include "ogroup.h"

#include <QList>
#include <QObject>
#include <QStringList>

#include <memory>
#include <vector>

class QDomElement;

class Options : public QObject
{
    Q_OBJECT

public:
    explicit Options(QObject* parent = nullptr);
    ~Options() override;

    [[nodiscard]] bool loadOptions(const QString& fileName);
    // The catalogue built into the program (its resource BuiltInDocument).
    [[nodiscard]] bool loadBuiltIn() { return loadOptions(QString::fromLatin1(BuiltInDocument)); }
    static constexpr const char* BuiltInDocument = ":/optstruct.xml";

    OOption* findOption(const QString& name) const;
    // Normalises the id in place (trimmed, upper case).
    QString* fileText(QString& id);
    QString* fileText(const QString& id);
    bool isValidSpecies(const QString& name) const;
    QString speciesName(const QString& name) const;
    void resetAll();

    const std::vector<std::unique_ptr<OGroup>>& groups() const { return m_groups; }
    const QStringList& elements() const { return m_elements; }
    const QStringList& matchOrderedElements() const { return m_matchElements; }
    const std::vector<std::unique_ptr<OFile>>& files() const { return m_files; }
    const QList<OExecutor>& executors() const { return m_executors; }

    QString compufile() const { return m_compufile; }
    QString profilestart() const { return m_profilestart; }
    QString profileend() const { return m_profileend; }
    QString datafile() const { return m_datafile; }
    int fieldsize() const { return m_fieldsize; }
    QString timefield() const { return m_timefield; }
    QString duroption() const { return m_duroption; }
    OOption* durationOption() const { return m_durationOption; }
    QString coordfield() const { return m_coordfield; }
    QString maxroption() const { return m_maxroption; }

    // The folder that holds the program; relative executor paths resolve here.
    static QString programDirectory();
    // Orders element symbols for species matching: longer symbols first.
    static QStringList matchOrder(const QStringList& symbols);

private:
    int readNode(const QDomElement& root);
    void readSettings(const QDomElement& element);
    void readExecutor(const QDomElement& element, OExecutor& executor);
    void readGroup(const QDomElement& element, OGroup& group);
    int readOption(const QDomElement& element, OOption& option);
    void readValue(const QDomElement& element, OValue& value);
    void readElements(const QDomElement& element);
    void readFiles(const QDomElement& element);
    void readFile(const QDomElement& element, OFile& file);
    void completeOptions();
    void appendBoundaryConditions();
    void resolveDurationOption();
    void resolveExecutorPaths();

    std::vector<std::unique_ptr<OGroup>> m_groups;
    QStringList m_elements;
    QStringList m_matchElements;
    std::vector<std::unique_ptr<OFile>> m_files;
    QList<OExecutor> m_executors;

    QString m_compufile;
    QString m_profilestart;
    QString m_profileend;
    QString m_datafile;
    int m_fieldsize = 0;
    QString m_timefield;
    QString m_duroption;
    OOption* m_durationOption = nullptr;
    QString m_coordfield;
    QString m_maxroption;
};

#endif
