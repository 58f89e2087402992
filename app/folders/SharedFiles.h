#pragma once

#include <QString>
#include <QUrl>

// The files that ship with the program (the help page, the sample
// templates) lie under share/quillmark: below the program's prefix once it
// is installed (bin/..), beside the program in a build tree.
QString SharedFilePath(const QString& relative);

// The help page, as a file address, so that it opens without a network.
QUrl HelpPageAddress();
