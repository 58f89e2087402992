#pragma once

#include "cli/CliCommand.h"

// "lookup": the cards of the public card databases that match a name or a
// set and number, as text or JSON.
CliCommand LookupCommand();
