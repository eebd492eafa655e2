// Merges arbitrary base, file and list texts (three parts split at NUL, texts at LF) and checks
// what a save must never do: drop an entry that either copy added, change a file that this copy
// left alone, or write something other than the list when no other copy saved meanwhile.
#include "list/ListMerge.h"
#include "platform/common/Text.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

using TTexts = std::vector<std::string>;

TTexts Split(std::string_view part)
{
    TTexts texts;
    while (!part.empty()) {
        const auto end = std::min(part.find('\n'), part.size());
        texts.emplace_back(part.substr(0, end));
        part.remove_prefix(std::min(end + 1, part.size()));
    }
    return texts;
}

TTexts Owned(const std::vector<std::string_view>& merged)
{
    return { merged.begin(), merged.end() };
}

TPackedTexts Packed(const TTexts& texts)
{
    TPackedTexts packed;
    for (const auto& text : texts)
        packed.Append(text);
    return packed;
}

// How many of texts equal text without regard to letter case.
std::ptrdiff_t CountSame(const TTexts& texts, const std::string& text)
{
    return std::count_if(texts.begin(), texts.end(), [&](const std::string& other) { return SameText(other, text); });
}

void Check(bool holds)
{
    if (!holds)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view input(reinterpret_cast<const char*>(data), size);
    TTexts parts[3];
    for (auto& part : parts) {
        const auto end = std::min(input.find('\0'), input.size());
        part = Split(input.substr(0, end));
        input.remove_prefix(std::min(end + 1, input.size()));
    }
    const TTexts& baseTexts = parts[0];
    const TTexts& fileNow = parts[1];
    const TTexts& list = parts[2];
    const TMergeBase base { Packed(baseTexts) };
    const TPackedTexts packedFile = Packed(fileNow);
    const TPackedTexts packedList = Packed(list);

    Check(Owned(MergeList(base, packedFile, base.Texts)) == fileNow);

    auto unchangedFile = Owned(MergeList(base, base.Texts, packedList));
    auto sortedList = list;
    std::sort(unchangedFile.begin(), unchangedFile.end());
    std::sort(sortedList.begin(), sortedList.end());
    Check(unchangedFile == sortedList);

    const auto merged = Owned(MergeList(base, packedFile, packedList));
    Check(merged.size() <= fileNow.size() + list.size());
    for (const TTexts* side : { &fileNow, &list })
        for (const auto& text : *side)
            Check(CountSame(merged, text) >= CountSame(*side, text) - CountSame(baseTexts, text));
    return 0;
}
