// The schemes database: one binary file holding every scheme (and, for a
// project file, the project). Written with Qt 4's data-stream layout so files
// stay byte-compatible with those earlier versions wrote. Each record carries
// a checksum, so damaged records are skipped one by one; a truncated or
// damaged file never makes the reader loop over bogus counts.

#include "scheme.h"

#include "diagnostic.h"
#include "largebuffer.h"
#include "options.h"
#include "streamdevice.h"

#include <QDataStream>
#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSet>
#include <QtEndian>

#include <algorithm>
#include <vector>

namespace {

const char* const kMarker = "VORDANT";
constexpr qint32 kVersion = 3;

// The sum of the UTF-16 code units, wrapping like the 32-bit sums of old.
quint32 checksum(const QString& text)
{
    quint32 sum = 0;
    for (const QChar c : text)
        sum += c.unicode();
    return sum;
}

// A string as QDataStream writes it (its length in bytes, or 0xFFFFFFFF for
// a null string, then its UTF-16 code units in the stream's byte order),
// converted in slices: QDataStream's own operator makes a byte-swapped copy
// of the whole string, and a run's texts reach hundreds of megabytes.
void writeLongString(QDataStream& out, const QString& text)
{
    if (text.isNull()) {
        out << quint32(0xFFFFFFFF);
        return;
    }
    out << quint32(text.size() * qsizetype(sizeof(char16_t)));
    constexpr qsizetype kSlice = qsizetype(1) << 18;
    std::vector<char16_t> slice(size_t(std::min(text.size(), kSlice)));
    const bool bigEndian = out.byteOrder() == QDataStream::BigEndian;
    for (qsizetype from = 0; from < text.size(); from += kSlice) {
        const qsizetype count = std::min(kSlice, text.size() - from);
        if (bigEndian)
            qToBigEndian<char16_t>(text.utf16() + from, count, slice.data());
        else
            qToLittleEndian<char16_t>(text.utf16() + from, count, slice.data());
        out.writeRawData(reinterpret_cast<const char*>(slice.data()), int(count * qsizetype(sizeof(char16_t))));
    }
}

// Reads what writeLongString wrote into `text` and returns the checksum of
// what it read. A run's texts reach hundreds of megabytes: the string is
// allocated once at its full size when the file holds that many bytes (else
// it grows as the bytes arrive, so a damaged length asks for at most twice
// what the file holds), read into straight from the file, and byte-swapped
// and summed a slice at a time while the slice is in the cache. A short or
// damaged record leaves the string empty and the stream's status set, as
// QDataStream's own operator does; on a stream already failed it reads
// nothing.
quint32 readLongString(QDataStream& in, QString& text)
{
    quint32 bytes = 0;
    in >> bytes;
    if (in.status() != QDataStream::Ok) {
        text.clear();
        return 0;
    }
    if (bytes == 0xFFFFFFFF) {
        text = QString();
        return 0;
    }
    if (bytes == 0) {
        text = QLatin1String(""); // empty, not null
        return 0;
    }
    if (bytes & 1) {
        text.clear();
        in.setStatus(QDataStream::ReadCorruptData);
        return 0;
    }
    constexpr qsizetype kStep = qsizetype(1) << 20;
    constexpr qsizetype kSlice = qsizetype(1) << 18;
    const qsizetype units = qsizetype(bytes / 2);
    const bool backed = in.device() && in.device()->bytesAvailable() >= qint64(bytes);
    text = QString(backed ? units : std::min(units, kStep), Qt::Uninitialized);
    LargeBuffer::preferLargePages(text.data(), text.size() * qsizetype(sizeof(char16_t)));
    const bool bigEndian = in.byteOrder() == QDataStream::BigEndian;
    quint32 sum = 0;
    for (qsizetype done = 0; done < units;) {
        if (done == text.size())
            text.resize(std::min(units, 2 * text.size()));
        const qsizetype count = std::min({kSlice, units - done, text.size() - done});
        char16_t* slice = reinterpret_cast<char16_t*>(text.data()) + done;
        const int sliceBytes = int(count * qsizetype(sizeof(char16_t)));
        if (in.readRawData(reinterpret_cast<char*>(slice), sliceBytes) != sliceBytes) {
            text.clear();
            in.setStatus(QDataStream::ReadPastEnd);
            return 0;
        }
        if (bigEndian)
            qFromBigEndian<char16_t>(slice, count, slice);
        else
            qFromLittleEndian<char16_t>(slice, count, slice);
        for (qsizetype i = 0; i < count; ++i)
            sum += slice[i];
        done += count;
    }
    return sum;
}

void prepare(QDataStream& stream)
{
    stream.setVersion(QDataStream::Qt_4_8);
    stream.setByteOrder(QDataStream::BigEndian);
}

bool damaged(const QDataStream& in)
{
    return in.status() != QDataStream::Ok;
}

} // namespace

QList<Scheme*> Scheme::loadAll(const QString& file, Options* catalogue, QString* error)
{
    return readDatabase(file, catalogue, nullptr, error);
}

QList<Scheme*> Scheme::readDatabase(const QString& fileName, Options* catalogue, FileState* state, QString* error,
                                    const FileProgress& progress, const std::atomic<bool>* cancelled)
{
    if (state)
        *state = FileState::Missing;
    auto refuse = [error, &fileName](const QString& why) {
        if (error)
            *error = QStringLiteral("\"%1\" %2").arg(fileName.trimmed(), why);
    };
    QList<Scheme*> result;
    const QString name = fileName.trimmed();
    if (name.isEmpty()) {
        tCritical() << "Scheme::loadAll(). Data file is not specified.";
        if (error)
            *error = QStringLiteral("No file is named.");
        return result;
    }
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) {
        tCritical() << "Scheme::loadAll(). Cannot read file" << name;
        if (state && file.exists())
            *state = FileState::Refused;
        refuse(QStringLiteral("cannot be read: %1").arg(file.errorString()));
        return result;
    }
    StreamDevice device(&file, progress, cancelled);
    QDataStream in(&device);
    prepare(in);
    QString marker;
    qint32 version = 0;
    quint32 count = 0;
    in >> marker >> version >> count;
    tDebug() << "Opened Schemes File ver. " << quint32(version) << ": " << name;
    // A file that ends inside its header is no database either.
    if (damaged(in) || marker.trimmed() != QLatin1String(kMarker)) {
        tCritical() << "Cannot load Schemes File: File is corrupt or wrong.";
        if (state)
            *state = FileState::Refused;
        refuse(QStringLiteral("is not a schemes database or project file, or it is damaged."));
        return result;
    }
    // Compared unsigned: a negative version is newer than anything we know.
    if (quint32(version) > quint32(kVersion)) {
        tCritical() << "Cannot load Schemes File: file version" << quint32(version)
                    << "is higher than the programme supports" << kVersion;
        if (state)
            *state = FileState::Refused;
        refuse(
            QStringLiteral("was written by a newer version of this program (file version %1).").arg(quint32(version)));
        return result;
    }
    if (version != 2 && version != 3) {
        tCritical() << "Cannot load data file: uknown file version" << quint32(version);
        if (state)
            *state = FileState::Refused;
        refuse(QStringLiteral("has a file version this program does not know (%1).").arg(quint32(version)));
        count = 0;
    } else if (state) {
        *state = FileState::Read;
    }

    for (quint32 i = 0; i < count && !damaged(in); ++i) {
        QString schemeName;
        QString description;
        qint32 speciesCount = 0;
        qint32 nodeCount = 0;
        qint32 extraCount = 0;
        qint32 sum = 0;
        in >> schemeName >> description >> speciesCount >> nodeCount >> extraCount >> sum;
        if (damaged(in)) {
            tWarning() << "Cannot Load scheme #" << i << ": file is corrupt.";
            break;
        }
        const quint32 expected = quint32(speciesCount) + quint32(nodeCount) + quint32(extraCount)
                                 + checksum(schemeName) + checksum(description);
        if (quint32(sum) != expected) {
            // The body is not skipped: what follows is read as the next header.
            tWarning() << "Cannot Load scheme #" << i << ": file is corrupt.";
            continue;
        }
        auto* scheme = new Scheme(catalogue);
        scheme->m_name = schemeName.trimmed();
        scheme->m_description = description.trimmed();
        scheme->m_saved = true;
        const bool intact = scheme->readSpeciesRecords(in, speciesCount)
                            && scheme->readNodeRecords(in, nodeCount)
                            && scheme->readExtraRecords(in, extraCount, quint32(version));
        if (!intact) {
            // Cut short: the rest of the file is gone, and half a scheme
            // must not pass for a whole one.
            delete scheme;
            break;
        }
        for (const auto& entry : catalogue->files()) {
            if (!scheme->hasExtra(entry->id))
                scheme->addExtra(entry->id, entry->defaultText);
        }
        result.append(scheme);
        tDebug() << "Scheme" << scheme->m_name << "has been loaded:" << scheme->nodeCount() << "nodes,"
                 << int(scheme->m_species.size()) << "species," << int(scheme->m_extras.size()) << "extras.";
    }
    file.close();
    if (result.isEmpty())
        tDebug() << "No valid schemes found.";
    else
        tDebug() << "Successfully loaded" << int(result.size()) << "schemes";
    return result;
}

bool Scheme::readSpeciesRecords(QDataStream& in, qint32 count)
{
    // Each species is checked as addSpecies checks it, and the list sorted
    // once at the end rather than once per species.
    for (qint32 i = 0; i < count; ++i) {
        QString species;
        qint32 sum = 0;
        in >> species >> sum;
        if (damaged(in)) {
            tWarning() << "Scheme::_loadAllpecies(). Cannot load Species, file is corrupt.";
            sortSpecies();
            return false;
        }
        if (quint32(sum) == checksum(species) && !species.isEmpty())
            appendSpecies(species);
        else
            tWarning() << "Scheme::_loadAllpecies(). Cannot load Species, file is corrupt.";
    }
    sortSpecies();
    return true;
}

bool Scheme::readNodeRecords(QDataStream& in, qint32 count)
{
    // The nodes read so far by id and the options they are bound to: looked
    // up once per record, where walks of the tree would make a scheme of
    // many nodes load in quadratic time.
    QHash<int, SchemeNode*> byId;
    QSet<const OOption*> used;
    for (SchemeNode* node : allNodes()) {
        byId.insert(node->id, node);
        if (!node->isGroup)
            used.insert(node->option);
    }
    for (qint32 i = 0; i < count; ++i) {
        qint32 id = 0;
        QString nodeName;
        bool isGroup = false;
        qint32 parentId = 0;
        QString optionName;
        QString value;
        bool enabled = false;
        qint32 sum = 0;
        in >> id >> nodeName >> isGroup >> parentId >> optionName >> value >> enabled >> sum;
        if (damaged(in)) {
            tWarning() << "Scheme::_loadNodes(). Cannot Load Node, file is corrupt.";
            return false;
        }
        const quint32 expected = quint32(enabled) + quint32(id) + quint32(isGroup) + quint32(parentId)
                                 + checksum(nodeName) + checksum(optionName) + checksum(value);
        if (quint32(sum) != expected) {
            tWarning() << "Scheme::_loadNodes(). Cannot Load Node, file is corrupt.";
            continue;
        }
        OOption* option = nullptr;
        if (!isGroup) {
            option = findOption(optionName);
            if (!option) {
                tWarning() << "Scheme::_loadNodes(). Cannot load Node #" << id << "," << nodeName << ". Uknown Option"
                           << optionName;
                continue;
            }
        }
        // Ids must stay unique and a catalogue option may be bound to one
        // node only, or later edits would act on the wrong node.
        if (byId.contains(id)) {
            tWarning() << "Scheme::_loadNodes(). Cannot load Node #" << id << "," << nodeName
                       << ". Its id is not unique. Skipped.";
            continue;
        }
        if (option && used.contains(option)) {
            tWarning() << "Scheme::_loadNodes(). Cannot load Node #" << id << "," << nodeName << ". The Option"
                       << optionName << "is already in use. Skipped.";
            continue;
        }
        SchemeNode* parent = nullptr;
        if (parentId != 0 && parentId != id) {
            parent = byId.value(parentId);
            // Only a group can hold children.
            if (!parent || !parent->isGroup) {
                tWarning() << "Scheme::_loadNodes(). Cannot load Node #" << id << "," << nodeName
                           << ". It refers to non-existing parent #" << quint32(parentId) << ". Skipped.";
                continue;
            }
        }
        auto* node = new SchemeNode;
        node->id = id;
        node->name = nodeName;
        node->isGroup = isGroup;
        node->parent = parent;
        node->option = option;
        node->value = value;
        node->enabled = enabled;
        (parent ? parent->children : m_nodes).append(node);
        byId.insert(id, node);
        if (option)
            used.insert(option);
    }
    return true;
}

bool Scheme::readExtraRecords(QDataStream& in, qint32 count, quint32 version)
{
    if (version != 2 && version != 3) {
        tWarning() << "Scheme::_loadExtras(). Cannot load an Extra Data, unknown file version.";
        return true;
    }
    for (qint32 i = 0; i < count; ++i) {
        ExtraData record;
        qint32 length = 0;
        qint32 sum = 0;
        quint32 expected = 0;
        if (version == 3) {
            qint16 flags = 0;
            in >> record.name >> record.detail >> record.fileName >> flags >> length;
            const quint32 textSum = readLongString(in, record.text);
            in >> sum;
            record.flags = quint16(flags);
            expected = quint32(record.flags) + quint32(length) + checksum(record.name) + checksum(record.detail)
                       + checksum(record.fileName) + textSum;
        } else {
            in >> record.name >> length;
            const quint32 textSum = readLongString(in, record.text);
            in >> sum;
            expected = checksum(record.name) + quint32(length) + textSum;
        }
        if (damaged(in)) {
            tWarning() << "Scheme::_loadExtras(). Cannot load an Extra Data, file is corrupt.";
            return false;
        }
        record.name = record.name.trimmed().toUpper();
        if (quint32(sum) != expected || length != record.text.size() || record.name.isEmpty()) {
            tWarning() << "Scheme::_loadExtras(). Cannot load an Extra Data, file is corrupt.";
            continue;
        }
        const qsizetype existing = extraIndex(record.name);
        if (existing < 0) {
            m_extras.push_back(std::make_unique<ExtraData>(record));
        } else if (version == 3) {
            *m_extras[size_t(existing)] = record;
        } else {
            m_extras[size_t(existing)]->text = record.text;
        }
    }
    return true;
}

void Scheme::writeScheme(QDataStream& out, const Scheme& scheme)
{
    const QList<SchemeNode*> nodes = scheme.allNodes();
    const qint32 speciesCount = qint32(scheme.m_species.size());
    const qint32 nodeCount = qint32(nodes.size());
    const qint32 extraCount = qint32(scheme.m_extras.size());
    out << scheme.m_name << scheme.m_description << speciesCount << nodeCount << extraCount
        << qint32(quint32(speciesCount) + quint32(nodeCount) + quint32(extraCount) + checksum(scheme.m_name)
                  + checksum(scheme.m_description));
    for (const QString& species : scheme.m_species)
        out << species << qint32(checksum(species));
    for (const SchemeNode* node : nodes) {
        const qint32 parentId = node->parent ? node->parent->id : node->id;
        const QString optionName = (node->isGroup || !node->option) ? QString() : node->option->name;
        out << qint32(node->id) << node->name << node->isGroup << parentId << optionName << node->value
            << node->enabled
            << qint32(quint32(node->enabled) + quint32(node->id) + quint32(node->isGroup) + quint32(parentId)
                      + checksum(node->name) + checksum(optionName) + checksum(node->value));
    }
    for (const auto& extra : scheme.m_extras) {
        const qint32 length = qint32(extra->text.size());
        out << extra->name << extra->detail << extra->fileName << qint16(extra->flags) << length;
        writeLongString(out, extra->text);
        out << qint32(quint32(extra->flags) + quint32(length) + checksum(extra->name) + checksum(extra->detail)
                      + checksum(extra->fileName) + checksum(extra->text));
    }
}

Scheme::WriteResult Scheme::writeDatabase(const QString& fileName, const QList<const Scheme*>& schemes,
                                          QString* errorText, const FileProgress& progress,
                                          const std::atomic<bool>* cancelled)
{
    // Straight into a new file beside the target, renamed over it when
    // complete: the old file stays as it was until then. Unbuffered, as the
    // stream device gathers small writes and keeps the reason of a failed one.
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        if (errorText)
            *errorText = file.errorString();
        return WriteResult::CannotCreate;
    }
    StreamDevice device(&file, progress, cancelled);
    {
        QDataStream out(&device);
        prepare(out);
        out << QString::fromLatin1(kMarker) << kVersion << quint32(schemes.size());
        for (const Scheme* scheme : schemes) {
            if (out.status() != QDataStream::Ok)
                break;
            writeScheme(out, *scheme);
        }
    }
    // Write errors show only when the data reaches the disk: judge by commit().
    const bool written = device.flushWrites() && device.failure().isEmpty();
    if (!written || !file.commit()) {
        if (errorText)
            *errorText = device.failure().isEmpty() ? file.errorString() : device.failure();
        file.cancelWriting();
        return WriteResult::WriteFailed;
    }
    removeLeftovers(fileName);
    return WriteResult::Written;
}

void Scheme::removeLeftovers(const QString& fileName)
{
    // A save that was killed can leave its temporary file beside the target
    // (where the system has no unnamed temporary files): the target's name,
    // a dot and six letters or digits. Only files that begin as a database
    // does are ours to remove.
    const QFileInfo target(fileName);
    const QRegularExpression pattern(
        QStringLiteral("^%1\\.[A-Za-z0-9]{6}$").arg(QRegularExpression::escape(target.fileName())));
    QByteArray header;
    {
        QDataStream out(&header, QIODevice::WriteOnly);
        prepare(out);
        out << QString::fromLatin1(kMarker);
    }
    const QDir folder = target.absoluteDir();
    const QStringList candidates = folder.entryList({target.fileName() + QStringLiteral(".*")}, QDir::Files);
    for (const QString& name : candidates) {
        if (!pattern.match(name).hasMatch())
            continue;
        QFile leftover(folder.filePath(name));
        if (leftover.open(QIODevice::ReadOnly) && leftover.read(header.size()) == header) {
            leftover.close();
            if (leftover.remove())
                tDebug() << "Removed the leftover of an interrupted save:" << leftover.fileName();
        }
    }
}

QString Scheme::writeError(const QString& file, const QString& reason)
{
    return QStringLiteral("\"%1\" cannot be written: %2").arg(file, reason);
}

QString Scheme::resolveFile(const QString& file) const
{
    const QString trimmed = file.trimmed();
    return trimmed.isEmpty() ? m_fileName : trimmed;
}

bool Scheme::save(const QString& fileArgument)
{
    m_errorString.clear();
    if (m_name.trimmed().isEmpty()) {
        tCritical() << "Scheme::save(). Scheme name is not specified.";
        m_errorString = QStringLiteral("The scheme has no name.");
        return false;
    }
    const QString file = resolveFile(fileArgument);
    if (file.isEmpty()) {
        tCritical() << "Scheme::save(). Scheme" << m_name << ": Data File is not specified";
        m_errorString = QStringLiteral("No file is named.");
        return false;
    }
    FileState state = FileState::Missing;
    QList<Scheme*> stored = readDatabase(file, m_options, &state);
    if (state == FileState::Refused) {
        // Never replace a file we could not read: it may be a newer
        // programme's database, and all its schemes would be lost.
        tCritical() << "Scheme::save(). Data File" << file
                    << "is not a schemes database this programme can read. It has been left unchanged.";
        m_errorString = QStringLiteral("\"%1\" is not a schemes database this program can read; it has been left "
                                       "unchanged.")
                            .arg(file);
        qDeleteAll(stored);
        return false;
    }
    // A stored scheme of the same name (in any letter case) is replaced in
    // place by this one; otherwise this one is appended.
    bool replaced = false;
    const QString key = m_name.toUpper();
    QList<const Scheme*> list;
    for (const Scheme* scheme : std::as_const(stored)) {
        if (scheme->m_name.toUpper() == key) {
            list.append(this);
            replaced = true;
            tDebug() << "Replacing scheme" << m_name << "in" << file;
        } else {
            list.append(scheme);
        }
    }
    if (!replaced)
        list.append(this);

    QString error;
    const WriteResult result = writeDatabase(file, list, &error);
    const bool written = result == WriteResult::Written;
    if (result != WriteResult::Written)
        m_errorString = writeError(file, error);
    if (result == WriteResult::CannotCreate) {
        tCritical() << "Scheme::save(). Cannot create file" << file << ":" << fragment(error);
    } else if (result == WriteResult::WriteFailed) {
        tWarning() << "Scheme Data File" << file << "cannot be written. Reason:" << error;
    } else {
        tDebug() << "Scheme Data File" << file << "has been successfuly written.";
        m_saved = true;
        emit changed();
    }
    qDeleteAll(stored);
    return written;
}

bool Scheme::load(const QString& name, const QString& fileArgument)
{
    if (name.isEmpty()) {
        tCritical() << "Scheme::load(). Scheme Name is not specified.";
        return false;
    }
    const QString file = resolveFile(fileArgument);
    if (file.isEmpty()) {
        tCritical() << "Scheme::load(). Scheme" << name << " Data file is not specified.";
        return false;
    }
    QList<Scheme*> stored = loadAll(file, m_options);
    bool found = false;
    for (Scheme* scheme : std::as_const(stored)) {
        if (scheme->m_name == name) {
            copy(scheme);
            m_saved = true;
            found = true;
            break;
        }
    }
    qDeleteAll(stored);
    if (!found)
        tWarning() << "Scheme::load(). Scheme" << name << "is not found in" << file;
    return found;
}

bool Scheme::deleteSchemeFromFile(const QString& fileArgument)
{
    const QString file = resolveFile(fileArgument);
    if (file.isEmpty()) {
        tCritical() << "Scheme::deleteSchemeFromFile(). Data File is not specified";
        return false;
    }
    QList<Scheme*> stored = loadAll(file, m_options);
    const QString key = m_name.toUpper();
    QList<const Scheme*> remaining;
    bool removed = false;
    for (const Scheme* scheme : std::as_const(stored)) {
        if (scheme->m_name.toUpper() == key) {
            tDebug() << "Removing scheme" << scheme->m_name << "in" << file;
            removed = true;
        } else {
            remaining.append(scheme);
        }
    }
    if (!removed) {
        tWarning() << "Scheme::deleteSchemeFromFile(). Scheme" << m_name << "doesn't exist in data file" << file;
        qDeleteAll(stored);
        return true;
    }
    // Written once, whole: a failure half-way must not lose the others.
    QString error;
    if (writeDatabase(file, remaining, &error) != WriteResult::Written)
        tWarning() << "Could not save all schemes to" << file;
    qDeleteAll(stored);
    return true;
}
