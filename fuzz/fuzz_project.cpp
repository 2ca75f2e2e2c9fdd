// The project file reader (Project::load): a schemes database whose first
// scheme is the project, with the output data, the profiles and the settings
// in its extra data. Any file loads or is refused with a message; what loads
// keeps the invariants the views rely on, saves, and loads again as it was.

#include "fuzzcheck.h"
#include "qtharness.h"
#include "schemeimage.h"

#include "profile.h"
#include "project.h"

#include <cstring>

namespace {

// Everything the project holds beyond its scheme part, as text.
QStringList projectImage(const Project& project)
{
    QStringList lines = SchemeImage::of(project);
    for (const auto& field : project.outData()) {
        QString line = QStringLiteral("field %1:").arg(field->name);
        for (const float value : field->values) {
            quint32 bits = 0;
            std::memcpy(&bits, &value, sizeof bits);
            line += QStringLiteral(" %1").arg(bits, 8, 16, QLatin1Char('0'));
        }
        lines << line;
    }
    for (const Profile* profile : project.profiles())
        lines << QStringLiteral("profile %1").arg(profile->encode());
    lines << QStringLiteral("status %1").arg(int(project.status()));
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QtHarness::start();
    const QString file = QtHarness::scratchFile(QStringLiteral("project.tarvel"));
    QtHarness::writeFile(file, data, size);
    Project project(QtHarness::catalogue());
    if (!project.load(file))
        return 0;
    FUZZ_CHECK(SchemeImage::intact(project), "a project read keeps the invariants of a scheme");
    // Tables and plots index every field by the same time step.
    const int steps = project.timeStepCount();
    for (const auto& field : project.outData())
        FUZZ_CHECK(field->values.size() == steps, "every output field holds one value per time step");
    for (const Profile* profile : project.profiles())
        FUZZ_CHECK(!profile->name().isEmpty() && !profile->data().isEmpty(), "a profile read has a name and data");
    (void)project.settings();
    (void)project.progress();
    // What a user does next: save a profile of the last time step from the
    // computation data the file holds.
    if (steps > 0)
        (void)project.saveProfile(QStringLiteral("fuzz"), steps - 1);

    // A project without a name is refused by save, as it should be.
    if (project.name().trimmed().isEmpty())
        return 0;
    const QString copy = QtHarness::scratchFile(QStringLiteral("copy.tarvel"));
    FUZZ_CHECK(project.save(copy), "a project loaded saves again");
    Project again(QtHarness::catalogue());
    FUZZ_CHECK(again.load(copy), "a project saved loads again");
    FUZZ_CHECK(SchemeImage::same(projectImage(project), projectImage(again)),
               "a project saved and loaded again is the project saved");
    return 0;
}
