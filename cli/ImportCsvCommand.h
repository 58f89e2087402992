#pragma once

#include "cli/CliCommand.h"

// "import-csv": the Cards of a CSV file put at the top of the collection, as
// the window's import does, and qmk.dat written.
CliCommand ImportCsvCommand();
