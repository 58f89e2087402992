#pragma once

// The steps of the program's run, timed for whoever wants to see where the
// time goes: with QT_LOGGING_RULES="quillmark.steps.debug=true" each step is
// told on standard error as it ends, with the wall-clock time and the
// processor time of the whole process (every thread) since main() began; the
// first line says how long the system took from starting the process to
// main(). Otherwise a step costs one look at a flag.
namespace StepTimes {

// Called first thing in main().
void Begin();

// The step has ended now.
void Mark(const char* step);

} // namespace StepTimes
