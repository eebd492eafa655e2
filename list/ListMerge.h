#pragma once

#include "list/PackedTexts.h"

#include <string_view>
#include <vector>

// The list this copy last had in common with the list file: what it loaded, or what it held
// when it last saved, all of which the file then held beside other copies' additions. The
// common ground against which a save tells this copy's changes from those of the copies that
// share the file. Empty before the first read, after a failed one and after reading a file
// that holds no whole list, which makes a save keep everything the file holds, as nothing
// then counts as deleted.
struct TMergeBase
{
    TPackedTexts Texts;
};

// The entries a save writes when the file now holds fileNow: the file's entries in their
// order, less those this copy deleted since base, then those it added that the file does not
// hold yet, in list order. Entries are counted, so duplicates are deleted and added one by
// one. What this copy changed is told by exact spelling, so an edit of letter case alone
// still counts; whether the file holds an entry is told by equality without regard to case.
// All texts are as the file stores them; the merged ones are those of fileNow and list, which
// must outlive them.
std::vector<std::string_view> MergeList(const TMergeBase& base, const TPackedTexts& fileNow, const TPackedTexts& list);
