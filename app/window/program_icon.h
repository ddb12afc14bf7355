// The program's icon, from the SVG that ships with it.
#pragma once

#include <QIcon>

// The icon of every window; empty when the file is missing.
QIcon program_icon();
