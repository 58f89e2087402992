#pragma once

#include "cli/CliCommand.h"

// "card-index": downloads the Magic name index kept on this machine, and
// completes names from it.
CliCommand CardIndexCommand();
