#pragma once

#include "cli/CliCommand.h"

// "sets": how complete each set the collection touches is, from the set
// sizes already fetched, or, with --fetch, asking the card databases for the
// ones not known yet. Reads the folder's files only.
CliCommand SetsCommand();
