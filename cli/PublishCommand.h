#pragma once

#include "cli/CliCommand.h"

// "catalogue" and "list": write the page as the window's button does.
CliCommand CatalogueCommand();
CliCommand ListCommand();
// "trade" and "want": write the Trade List or the Want List as the window's
// File menu does, or to --output.
CliCommand TradeCommand();
CliCommand WantCommand();
