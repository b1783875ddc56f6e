// Feeds arbitrary bytes to the mod file reader, parses the script it finds,
// and checks what it read: factors inside their ranges, names and
// descriptions within their caps, an opaque
// tint. The same bytes go through the row text shortener and the check of
// a player picture's header.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "mods/ModFile.h"
#include "mods/ModLoader.h"

namespace {

void fail(const char* why) {
    std::fprintf(stderr, "mod_file fuzzer: %s\n", why);
    std::abort();
}

void checkFactor(float v, float lo, float hi, const char* what) {
    if (v != 1.0f && !(v >= lo && v <= hi)) fail(what);
}

std::size_t characters(const std::string& s) {
    std::size_t n = 0;
    for (char c : s)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    return n;
}

// The part ends inside a character of the whole: the next byte continues it.
bool cutInsideCharacter(const std::string& whole, const std::string& part) {
    return !part.empty() && part.size() < whole.size() &&
           (static_cast<unsigned char>(whole[part.size()]) & 0xC0) == 0x80;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > kMaxModFileBytes) return 0;
    const std::string text(reinterpret_cast<const char*>(data), size);

    ModInfo mod;
    const ModText read = readModText(text, mod);
    checkFactor(mod.gravity, 0.2f, 3.0f, "gravity out of range");
    checkFactor(mod.speed, 0.3f, 3.0f, "speed out of range");
    checkFactor(mod.jump, 0.3f, 3.0f, "jump out of range");
    checkFactor(mod.size, 0.4f, 1.6f, "size out of range");
    if (mod.name.size() > kMaxModNameBytes) fail("name over its cap");
    if (mod.description.size() > kMaxModDescriptionBytes) fail("description over its cap");
    if (mod.color.a != 255) fail("tint not opaque");
    if (read.hasCode && !read.isMod) fail("a code line that does not make a mod");
    if (!read.hasCode && !read.code.empty()) fail("code without a code line");
    if (read.code.size() > size + 1) fail("code longer than the file");
    if (read.hasCode) {
        const auto script = parseModScript(read.code);
        if (!script) fail("no script");
    }

    const std::string shortened = shortenText(text, 70);
    if (characters(shortened) > 70) fail("shortened text too long");
    const std::string cut = cutUtf8(text, 64);
    if (cut.size() > 64 || text.compare(0, cut.size(), cut) != 0) fail("cut is not a prefix within the cap");
    if (cutInsideCharacter(text, cut)) fail("cut inside a character");

    unsigned w = 0, h = 0;
    if (pngSize(text, w, h) && size < 24) fail("a PNG size from a short header");
    return 0;
}
