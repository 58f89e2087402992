#pragma once

#include "cli/CliCommand.h"

// "prices refresh": the market values of the collection's Cards, asked of
// the card databases, written to qmk.dat and the price history.
CliCommand PricesCommand();
