#pragma once

#include <string>

class TComputerList;
class TFileSystem;

// The shared data folder's path, created when missing; empty when it can neither be found
// nor created. subFolder carries its own leading separator.
std::string GetDataFolder(TFileSystem& files, const std::string& subFolder);

// Appends the entries of the list file, each offline. Throws EOstrelError when the file
// cannot be read or decoded; then nothing has been appended.
void LoadList(TComputerList& list, TFileSystem& files);

// Writes the whole list to the list file. Throws EOstrelError on failure, leaving the
// previous file whole.
void SaveList(const TComputerList& list, TFileSystem& files);
