// Reads arbitrary bytes as a list file: no crash, no hang, and whatever was read
// comes back unchanged after a save and a second read.
#include "list/ListFileFormat.h"
#include "platform/OstrelError.h"
#include "platform/posix/Utf8CodePage.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const TUtf8CodePage ansi;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    TListFileContent content;
    try {
        content = ParseListFile(bytes, ansi);
    } catch (const EOstrelError&) {
        return 0;
    }
    const auto again = ParseListFile(FormatListFile(content.Entries, content.Encoding, ansi), ansi);
    if (again.Entries != content.Entries)
        __builtin_trap();
    return 0;
}
