#pragma once

#include "cli/CliCommand.h"

// "stats": what the collection holds and cost, as text or JSON. Reads the
// folder's files only, so it may run while the window has them open.
CliCommand StatsCommand();
