#pragma once

#include <string>

class TComputerList;
class TFileSystem;
struct TMergeBase;

// The shared data folder's path, created when missing; empty when it can neither be found
// nor created. subFolder carries its own leading separator.
std::string GetDataFolder(TFileSystem& files, const std::string& subFolder);

// Appends the entries of the list file, each offline, and keeps them as base when the file
// holds a whole list. Throws EOstrelError when the file cannot be read or decoded, or is
// longer than a list can be before its text ends; then nothing has been appended and base is
// as it was.
void LoadList(TComputerList& list, TFileSystem& files, TMergeBase& base);

// Writes the list to the list file, merged with what other copies saved there since base
// (see MergeList), and keeps the list as base. The list itself stays as it is. Other copies'
// saves wait meanwhile, and this one waits a few seconds for theirs. Throws EOstrelError on
// failure, leaving the previous file whole and base as it was.
void SaveList(const TComputerList& list, TFileSystem& files, TMergeBase& base);
