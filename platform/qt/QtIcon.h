#pragma once

#include <QIcon>
#include <string>

// The icon of that name from the program's resources, in every size it is drawn in.
QIcon LoadIcon(const std::string& name);
