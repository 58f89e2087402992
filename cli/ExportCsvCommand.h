#pragma once

#include "cli/CliCommand.h"

// "export-csv": every Card as CSV, the bytes the window's export writes.
CliCommand ExportCsvCommand();
