// The program's resources other than dialog templates: string table and
// icons. Defined with the program's resources, looked up by identifier.
#pragma once

#include <QIcon>
#include <string>

#include "ui/platform/WinDefs.h"

using HICON = QIcon;

// The string resource ID, or an empty string when there is none.
std::string LoadString(UINT id);

// The icon resource ID, or a null icon when there is none.
HICON LoadIcon(UINT id);
