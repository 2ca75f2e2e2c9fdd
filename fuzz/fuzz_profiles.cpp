// Profiles: the decoder of the project file's encoded profiles
// (Profile::decode) and the cutting of a profile out of a computation text
// (Profile::create). The first byte chooses: even, the rest is the bytes of
// an encoded profile list before Base64; odd, the second byte is the time
// step and the rest the computation text.

#include "fuzzcheck.h"

#include "outputfield.h"
#include "profile.h"

#include <QByteArray>

#include <memory>
#include <vector>

namespace {

void decode(const QByteArray& bytes)
{
    const auto profiles = Profile::decode(QString::fromLatin1(bytes.toBase64()));
    for (const auto& profile : profiles) {
        FUZZ_CHECK(!profile->name().isEmpty() && !profile->data().isEmpty(), "a profile decoded has a name and data");
        // The project stores each profile by its encoding: it must decode to
        // a profile that encodes the same.
        const QString text = profile->encode();
        if (text.isEmpty())
            continue;
        const auto again = Profile::decode(text);
        FUZZ_CHECK(again.size() == 1, "an encoded profile decodes to one profile");
        FUZZ_CHECK(again.front()->encode() == text, "a profile encoded and decoded again encodes the same");
    }
}

void create(int step, const QByteArray& bytes)
{
    const QString text = QString::fromUtf8(bytes);
    // Output data of as many time steps as the step asks for and a few more.
    std::vector<std::unique_ptr<OutputField>> outData;
    for (int f = 0; f < 3; ++f) {
        auto field = std::make_unique<OutputField>();
        field->name = QStringLiteral("field %1").arg(f);
        for (int t = 0; t < step + 3; ++t)
            field->values.append(float(t * 3 + f));
        outData.push_back(std::move(field));
    }
    const QString start = QStringLiteral(">DATA");
    const QString stop = QStringLiteral("<");
    Profile profile;
    if (profile.create(QStringLiteral("fuzz"), &outData, &text, step, start, stop) != ProfileResult::Created)
        return;
    FUZZ_CHECK(profile.data().startsWith(start) && profile.data().endsWith(stop),
               "a profile's block runs from the start marker through the stop marker");
    FUZZ_CHECK(profile.values().size() == qsizetype(outData.size()), "a profile holds one value per output field");
    const auto again = Profile::decode(profile.encode());
    FUZZ_CHECK(again.size() == 1 && *again.front() == profile, "a profile created decodes from its encoding");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const QByteArray rest(reinterpret_cast<const char*>(data) + 2, qsizetype(size - 2));
    if (data[0] % 2 == 0)
        decode(QByteArray(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1)));
    else
        create(data[1], rest);
    return 0;
}
