#include "base/StepTimes.h"

#include <QLoggingCategory>

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include <unistd.h>

namespace {

Q_LOGGING_CATEGORY(lcSteps, "quillmark.steps", QtWarningMsg)

double Seconds(clockid_t clock)
{
    timespec now {};
    ::clock_gettime(clock, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// When the process was started, on the boot-time clock: the 22nd field of
// /proc/self/stat, in clock ticks since boot. Negative when unknown.
double ProcessStarted()
{
    std::FILE* stat = std::fopen("/proc/self/stat", "r");
    if (stat == nullptr)
        return -1;
    char text[1024] = {};
    const std::size_t read = std::fread(text, 1, sizeof text - 1, stat);
    std::fclose(stat);
    text[read] = '\0';
    // The command name may hold spaces: the fields are counted after its ')'.
    const char* at = nullptr;
    for (const char* c = text; *c != '\0'; ++c) {
        if (*c == ')')
            at = c;
    }
    if (at == nullptr)
        return -1;
    // Field 3 follows the name; the start time is field 22.
    int field = 2;
    for (const char* c = at + 1; *c != '\0'; ++c) {
        if (*c == ' ' && ++field == 22)
            return double(std::strtoull(c + 1, nullptr, 10)) / double(::sysconf(_SC_CLK_TCK));
    }
    return -1;
}

bool g_on = false;
double g_wall = 0;
double g_cpu = 0;

} // namespace

void StepTimes::Begin()
{
    g_on = lcSteps().isDebugEnabled();
    if (!g_on)
        return;
    g_wall = Seconds(CLOCK_MONOTONIC);
    g_cpu = Seconds(CLOCK_PROCESS_CPUTIME_ID);
    const double started = ProcessStarted();
    if (started >= 0)
        std::fprintf(stderr, "quillmark.steps: %9.1f ms %9.1f ms  process started (clock ticks of 10 ms)\n",
                     (started - Seconds(CLOCK_BOOTTIME)) * 1000, -g_cpu * 1000);
    std::fprintf(stderr, "quillmark.steps: %9.1f ms %9.1f ms  main()\n", 0.0, 0.0);
}

void StepTimes::Mark(const char* step)
{
    if (!g_on)
        return;
    std::fprintf(stderr, "quillmark.steps: %9.1f ms %9.1f ms  %s\n", (Seconds(CLOCK_MONOTONIC) - g_wall) * 1000,
                 (Seconds(CLOCK_PROCESS_CPUTIME_ID) - g_cpu) * 1000, step);
}
