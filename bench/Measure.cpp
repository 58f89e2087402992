#include "Measure.h"

#include <QCoreApplication>

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>

double ProcessorSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

double Median(std::vector<double> samples)
{
    if (samples.empty())
        return 0;
    std::sort(samples.begin(), samples.end());
    const std::size_t middle = samples.size() / 2;
    return samples.size() % 2 == 1 ? samples[middle] : (samples[middle - 1] + samples[middle]) / 2;
}

Duration Median(const std::vector<Duration>& samples)
{
    std::vector<double> walls, processors;
    for (const Duration& sample : samples) {
        walls.push_back(sample.wall);
        processors.push_back(sample.processor);
    }
    return {Median(walls), Median(processors)};
}

Duration Longest(std::initializer_list<std::vector<Duration>> sampleLists)
{
    Duration longest;
    for (const std::vector<Duration>& samples : sampleLists) {
        for (const Duration& sample : samples) {
            longest.wall = std::max(longest.wall, sample.wall);
            longest.processor = std::max(longest.processor, sample.processor);
        }
    }
    return longest;
}

std::uint64_t PeakResidentBytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stoull(line.substr(6)) * 1024;
    }
    return 0;
}

bool ResetPeakResident()
{
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    return bool(clear);
}

std::uint64_t ResidentBytesInUse()
{
    malloc_trim(0);
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stoull(line.substr(6)) * 1024;
    }
    return 0;
}

void Report(std::uint64_t cards, std::string_view name, double value)
{
    std::printf("RESULT\t%llu\t%.*s\t%.9g\n", static_cast<unsigned long long>(cards), int(name.size()), name.data(),
                value);
    std::fflush(stdout);
}

void Report(std::uint64_t cards, std::string_view name, Duration duration)
{
    const std::string base(name);
    Report(cards, base + "_s", duration.wall);
    Report(cards, base + "_cpu_s", duration.processor);
}

void ProcessPostedEvents()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}
