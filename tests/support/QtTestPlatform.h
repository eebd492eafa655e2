#pragma once

#include <string>

class TQtPlatform;

// The one Qt platform of a widget test process, over a private data folder.
TQtPlatform& TestPlatform();
// Stands for /var/lib: the list file lies in its Mervane folder.
const std::string& TestDataFolder();

// Runs the process's tests on the offscreen platform with one TQtPlatform over a fresh
// data folder made from folderTemplate (mkdtemp's form), removed again afterwards.
int RunTestsOnQtPlatform(int argc, char** argv, std::string folderTemplate);
