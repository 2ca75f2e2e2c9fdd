// The schemes database reader (Scheme::loadAll): any file gives some valid
// schemes, or none, with its damage reported, never a crash, a hang or a
// scheme that breaks its invariants. What it reads is a database's content:
// written out and read again it must come back whole, or a save after a load
// would lose data.

#include "fuzzcheck.h"
#include "qtharness.h"
#include "schemeimage.h"

#include "scheme.h"

#include <QList>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QtHarness::start();
    const QString file = QtHarness::scratchFile(QStringLiteral("schemes.dat"));
    QtHarness::writeFile(file, data, size);
    const QList<Scheme*> schemes = Scheme::loadAll(file, QtHarness::catalogue());
    for (const Scheme* scheme : schemes)
        FUZZ_CHECK(SchemeImage::intact(*scheme), "a scheme read keeps the invariants of a scheme");
    if (!schemes.isEmpty()) {
        const QString copy = QtHarness::scratchFile(QStringLiteral("copy.dat"));
        QString error;
        const QList<const Scheme*> list(schemes.cbegin(), schemes.cend());
        FUZZ_CHECK(Scheme::writeDatabase(copy, list, &error) == Scheme::WriteResult::Written,
                   "the schemes read are written again");
        const QList<Scheme*> again = Scheme::loadAll(copy, QtHarness::catalogue());
        FUZZ_CHECK(again.size() == schemes.size(), "every scheme written is read again");
        for (qsizetype i = 0; i < schemes.size(); ++i) {
            FUZZ_CHECK(SchemeImage::same(SchemeImage::of(*schemes.at(i)), SchemeImage::of(*again.at(i))),
                       "a scheme written and read again is the scheme first read");
        }
        qDeleteAll(again);
    }
    qDeleteAll(schemes);
    return 0;
}
