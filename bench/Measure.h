#pragma once

#include <chrono>
#include <ctime>
#include <initializer_list>
#include <cstdint>
#include <string_view>
#include <vector>

// Timing and memory readings for the benchmarks, and the one line format in
// which every figure is reported: "RESULT <tab> cards <tab> name <tab> value".

// Seconds of the clock on the wall and of the processor for this process:
// on a machine shared with other work the second shows what the program
// itself spent.
double ProcessorSeconds();

struct Duration {
    double wall = 0;
    double processor = 0;
};

class Stopwatch {
public:
    Stopwatch()
        : start_(std::chrono::steady_clock::now())
        , processorStart_(ProcessorSeconds())
    {
    }
    double Seconds() const
    {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    }
    Duration Elapsed() const { return {Seconds(), ProcessorSeconds() - processorStart_}; }

private:
    std::chrono::steady_clock::time_point start_;
    double processorStart_;
};

// Runs an action and the events it posted (repaints, relayouts), as the user
// waits for both.
template <typename Action>
Duration TimeWithEvents(Action&& action);

double Median(std::vector<double> samples);
// The median of each clock; samples taken together stay apart here.
Duration Median(const std::vector<Duration>& samples);
Duration Longest(std::initializer_list<std::vector<Duration>> sampleLists);

template <typename... Lists>
Duration Longest(const Lists&... lists)
{
    return Longest({lists...});
}

// The process's peak resident memory in bytes since it started or since the
// last ResetPeakResident.
std::uint64_t PeakResidentBytes();
// False where the kernel does not allow it; the peak then runs from the start.
bool ResetPeakResident();
// The resident memory now, after the allocator has given back to the system
// what it holds free, so that it counts only what is in use.
std::uint64_t ResidentBytesInUse();

void Report(std::uint64_t cards, std::string_view name, double value);
// Reports NAME_s and NAME_cpu_s.
void Report(std::uint64_t cards, std::string_view name, Duration duration);

void ProcessPostedEvents();

template <typename Action>
Duration TimeWithEvents(Action&& action)
{
    const Stopwatch watch;
    action();
    ProcessPostedEvents();
    return watch.Elapsed();
}
