#pragma once

#include <string>

class TQtPlatform;

// The one Qt platform of a widget test process, over a private data folder.
TQtPlatform& TestPlatform();
// Stands for /var/lib: the list file lies in its Mervane folder.
const std::string& TestDataFolder();
