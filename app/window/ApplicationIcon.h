#pragma once

class QIcon;

// The program's icon, at 16 and 32 pixels, for its windows.
QIcon ApplicationIcon();
