#pragma once

#include <QString>

// The files that ship with the programs (the help page, the sample
// templates) lie under share/quillmark: below the program's prefix once it
// is installed (bin/..), beside the program in a build tree. Both the window
// and quillmark-cli find them so.
QString SharedFilePath(const QString& relative);
