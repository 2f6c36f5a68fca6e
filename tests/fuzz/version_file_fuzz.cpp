// The update server's version file of any bytes: its first line names a version or nothing,
// a version named reads back from its own text, and releases order one way only.
#include <cstdint>

#include "fuzz_support.h"
#include "platform/filesystem.h"
#include "update/update_check.h"
#include "update/version.h"

using namespace dadaz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string path = fuzz::scratchFolder() + "/vaz_izurev.txt";
    fuzz::writeBytes(path, bytes);

    const std::vector<std::string> lines = splitLines(bytes);
    const std::optional<Version> named =
        lines.empty() ? std::nullopt : parseVersionLine(lines.front());
    const VersionFileVerdict verdict = readVersionFile(path);
    using Kind = VersionFileVerdict::Kind;
    FUZZ_CHECK((verdict.kind != Kind::Unreadable) == named.has_value());
    if (!named) {
        FUZZ_CHECK(!verdict.reason.empty());
        return 0;
    }
    const Version v = *named;
    FUZZ_CHECK(v.major >= 0 && v.minor >= 0 && v.revision >= 0);
    FUZZ_CHECK(verdict.offered.major == v.major && verdict.offered.minor == v.minor &&
               verdict.offered.revision == v.revision);
    FUZZ_CHECK((verdict.kind == Kind::Newer) == isNewer(v, kProgramVersion));

    const auto again = parseVersionLine(versionText(v));
    FUZZ_CHECK(again && again->major == v.major && again->minor == v.minor &&
               again->revision == v.revision);
    FUZZ_CHECK(!isNewer(v, v));
    FUZZ_CHECK(!(isNewer(v, kProgramVersion) && isNewer(kProgramVersion, v)));
    return 0;
}
