#pragma once

#include <QUrl>

// The help page that ships with the program, as a file address.
QUrl HelpPageAddress();
