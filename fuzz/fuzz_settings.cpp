// The settings store codec (SettingsStore::decode). The input is the stored
// bytes before their Base64 encoding, so the fuzzer works on the data stream
// itself. Whatever is decoded is a list of plain values: encoded and decoded
// again it must give the same text, or the graph settings would change with
// every save.

#include "fuzzcheck.h"

#include "settingsstore.h"

#include <QByteArray>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const SettingsStore::Pairs pairs = SettingsStore::decode(QString::fromLatin1(bytes.toBase64()));
    for (const auto& pair : pairs)
        FUZZ_CHECK(SettingsStore::isStorable(pair.second), "every value decoded is a plain value");
    const QString text = SettingsStore::encode(pairs);
    const SettingsStore::Pairs again = SettingsStore::decode(text);
    FUZZ_CHECK(again.size() == pairs.size(), "every pair encoded is decoded again");
    FUZZ_CHECK(SettingsStore::encode(again) == text, "pairs encoded and decoded again encode the same");
    return 0;
}
