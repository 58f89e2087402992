#pragma once

#include <algorithm>
#include <cstdint>
#include <thread>
#include <vector>

// Work over many rows shared out over the processor's cores: consecutive
// rows in equal shares, a thread for each share but the first, which runs on
// the calling thread.

struct Share {
    int first;
    int last;
};

// How many shares: the count asked for when there is one, else one per core
// but no more than gives each share at least the least number of rows.
inline int ShareCount(int rows, int least, int asked = 0)
{
    if (asked > 0)
        return std::clamp(asked, 1, std::max(rows, 1));
    const int cores = std::max(1, int(std::thread::hardware_concurrency()));
    return std::clamp(rows / std::max(least, 1), 1, cores);
}

// Rows first to last in count equal shares.
inline std::vector<Share> Shares(int first, int last, int count)
{
    const std::int64_t rows = std::int64_t(last) - first + 1;
    std::vector<Share> shares;
    for (int i = 0; i < count; ++i)
        shares.push_back({first + int(rows * i / count), first + int(rows * (i + 1) / count) - 1});
    return shares;
}

// Runs work(i) for each share i, and returns when all have run.
template <typename Work>
void RunShares(std::size_t count, const Work& work)
{
    std::vector<std::jthread> others;
    for (std::size_t i = 1; i < count; ++i)
        others.emplace_back([&work, i] { work(i); });
    if (count > 0)
        work(0);
}
