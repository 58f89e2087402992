#pragma once

#include "base/SharedFiles.h"

#include <QUrl>

// The help page, as a file address, so that it opens without a network.
QUrl HelpPageAddress();
