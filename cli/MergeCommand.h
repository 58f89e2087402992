#pragma once

#include "cli/CliCommand.h"

// "merge": another copy of the collection merged into qmk.dat Card by Card,
// as the window's File > Merge Collection merges it, without questions.
CliCommand MergeCommand();

// The exit code of a merge left undone because the two copies conflict.
inline constexpr int kExitConflicts = 3;
