#pragma once

#include "list/PackedTexts.h"
#include "list/TextCodec.h"

#include <span>
#include <string>
#include <string_view>

class TCodePage;

// What a list file holds: the entries' texts in list order, and the encoding it was
// stored in, which the next save keeps.
struct TListFileContent
{
    TPackedTexts Entries;
    TTextEncoding Encoding = TTextEncoding::Ansi;
    // The file holds a whole list, as a save writes it: a count, and a section with a name for
    // each entry it counts. A file cut short or emptied by another program is not, and tells
    // nothing of which entries were deleted.
    bool Whole = false;
};

// Reads "Name" of sections 0 to "Computers"-1, skipping empty texts. Throws EOstrelError
// when the bytes cannot be decoded; malformed content otherwise just yields fewer entries.
TListFileContent ParseListFile(std::string_view bytes, const TCodePage& ansi);

// The whole file for entries, mark included. Each text is written up to its first CR, LF or NUL.
std::string FormatListFile(const TPackedTexts& entries, TTextEncoding encoding, const TCodePage& ansi);
std::string FormatListFile(std::span<const std::string_view> entries, TTextEncoding encoding, const TCodePage& ansi);

// Appends text to stored as a list file gives it back once it is written there: cut at a line
// break, trimmed, invalid UTF-8 replaced; nothing when the file keeps no entry for it.
void AppendStoredText(TPackedTexts& stored, std::string_view text);
