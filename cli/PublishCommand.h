#pragma once

#include "cli/CliCommand.h"

// "catalogue" and "list": write the page as the window's button does.
CliCommand CatalogueCommand();
CliCommand ListCommand();
