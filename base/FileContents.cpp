#include "base/FileContents.h"

#include "base/FileAccess.h"
#include "base/LargeAllocations.h"
#include "base/Shares.h"

#include <QFile>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t kPage = 4096;
constexpr std::size_t kLargePage = std::size_t(2) << 20;
// Below this a file is read into small pages: a large one would take more
// memory than the file, for a few page faults saved.
constexpr std::size_t kLargeFile = std::size_t(4) << 20;

constexpr std::size_t RoundUp(std::size_t bytes, std::size_t to)
{
    return (bytes + to - 1) / to * to;
}

QString Reason(const QString& path, const QString& why)
{
    return QStringLiteral("%1: %2").arg(path, why);
}

// The mapped files, so that a bus error, which reading a page of a file cut
// short in place raises, finds whose page it was. Slots are taken with the
// mapping's start and let go when it is unmapped; the handler only reads.
struct Guard {
    std::atomic<std::uintptr_t> begin{0};
    std::atomic<std::size_t> size{0};
    std::atomic<bool> cut{false};
};
constexpr int kGuards = 16;
Guard g_guards[kGuards];
struct sigaction g_previous {};
std::once_flag g_installed;

// A page that went with the file's end reads as zeros from now on, and its
// mapping says it is no longer whole. Any other bus error is the one before's.
void OnBusError(int signal, siginfo_t* info, void* context)
{
    const auto at = reinterpret_cast<std::uintptr_t>(info->si_addr);
    for (Guard& guard : g_guards) {
        const std::uintptr_t begin = guard.begin.load(std::memory_order_acquire);
        if (begin == 0 || at < begin || at - begin >= guard.size.load(std::memory_order_acquire))
            continue;
        void* page = reinterpret_cast<void*>(at & ~std::uintptr_t(kPage - 1));
        if (::mmap(page, kPage, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) != MAP_FAILED) {
            guard.cut.store(true, std::memory_order_release);
            return;
        }
    }
    if ((g_previous.sa_flags & SA_SIGINFO) != 0 && g_previous.sa_sigaction != nullptr) {
        g_previous.sa_sigaction(signal, info, context);
        return;
    }
    if ((g_previous.sa_flags & SA_SIGINFO) == 0 && g_previous.sa_handler != SIG_DFL
        && g_previous.sa_handler != SIG_IGN) {
        g_previous.sa_handler(signal);
        return;
    }
    // The access faults again on return, now to the default action.
    ::signal(SIGBUS, SIG_DFL);
}

// A guard for the mapping, -1 when none is free.
int Guarded(const char* begin, std::size_t size)
{
    std::call_once(g_installed, [] {
        struct sigaction action {};
        action.sa_sigaction = OnBusError;
        action.sa_flags = SA_SIGINFO;
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGBUS, &action, &g_previous);
    });
    for (int i = 0; i < kGuards; ++i) {
        std::uintptr_t free = 0;
        // Taken with a start no address has, then given the mapping's.
        if (g_guards[i].begin.compare_exchange_strong(free, std::uintptr_t(1))) {
            g_guards[i].cut.store(false);
            g_guards[i].size.store(size, std::memory_order_release);
            g_guards[i].begin.store(reinterpret_cast<std::uintptr_t>(begin), std::memory_order_release);
            return i;
        }
    }
    return -1;
}

void LetGo(int guard)
{
    g_guards[guard].begin.store(0, std::memory_order_release);
    g_guards[guard].size.store(0, std::memory_order_release);
}

// Memory for a file of the given size, with room for one byte more, so that
// a read that fills it tells the end of the file from a file that grew.
char* Map(std::size_t size, std::size_t& mapped)
{
    if (size + 1 < kLargeFile) {
        mapped = RoundUp(size + 1, kPage);
        void* at = ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        return at == MAP_FAILED ? nullptr : static_cast<char*>(at);
    }
    mapped = RoundUp(size + 1, kLargePage);
    return static_cast<char*>(MapAligned(mapped, kLargePage));
}

// Reads the bytes of the file from offset on into at, up to the end or to
// bytes; the count read, or -1 with errno.
ssize_t ReadAt(int file, char* at, std::size_t bytes, off_t offset)
{
    std::size_t got = 0;
    while (got < bytes) {
        const ssize_t read = ::pread(file, at + got, bytes - got, offset + off_t(got));
        if (read < 0 && errno == EINTR)
            continue;
        if (read < 0)
            return -1;
        if (read == 0)
            break;
        got += std::size_t(read);
    }
    return ssize_t(got);
}

// Fills at with the first bytes of the file, shared out over threads that
// each first take every page of their share at once (rather than a fault
// at a time as the read fills them): the time fresh memory costs is then
// divided too. False, with errno, on a read error or when the file turned
// out shorter.
bool ReadShares(int file, char* at, std::size_t bytes)
{
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t count = bytes < kLargeFile ? 1 : std::min<std::size_t>(cores, 4);
    std::vector<int> errors(count, 0);
    RunShares(count, [&](std::size_t i) {
        const std::size_t from = i == 0 ? 0 : RoundUp(bytes * i / count, kLargePage);
        const std::size_t to = i + 1 == count ? bytes : RoundUp(bytes * (i + 1) / count, kLargePage);
        if (to <= from)
            return;
#if defined(MADV_POPULATE_WRITE)
        if (bytes >= kLargeFile)
            ::madvise(at + from, RoundUp(to - from, kPage), MADV_POPULATE_WRITE);
#endif
        const ssize_t got = ReadAt(file, at + from, to - from, off_t(from));
        if (got < 0)
            errors[i] = errno;
        else if (std::size_t(got) != to - from)
            errors[i] = EAGAIN;
    });
    for (const int error : errors) {
        if (error != 0) {
            errno = error;
            return false;
        }
    }
    return true;
}

} // namespace

FileContents::FileContents(FileContents&& other) noexcept
    : data_(std::exchange(other.data_, nullptr))
    , size_(std::exchange(other.size_, 0))
    , mapped_(std::exchange(other.mapped_, 0))
    , guard_(std::exchange(other.guard_, -1))
{
}

FileContents& FileContents::operator=(FileContents&& other) noexcept
{
    if (this != &other) {
        Clear();
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
        mapped_ = std::exchange(other.mapped_, 0);
        guard_ = std::exchange(other.guard_, -1);
    }
    return *this;
}

bool FileContents::Whole() const
{
    return guard_ < 0 || !g_guards[guard_].cut.load(std::memory_order_acquire);
}

FileContents::~FileContents()
{
    Clear();
}

void FileContents::Clear()
{
    if (data_ != nullptr)
        ::munmap(data_, mapped_);
    if (guard_ >= 0)
        LetGo(guard_);
    data_ = nullptr;
    size_ = 0;
    mapped_ = 0;
    guard_ = -1;
}

FileRead FileContents::Read(const QString& path, QString* reason, Way way)
{
    Clear();
    const auto fail = [&](const QString& why) {
        if (reason != nullptr)
            *reason = Reason(path, why);
        Clear();
        return FileRead::Failed;
    };
    FileRead failure = FileRead::Failed;
    const int file = OpenRegularFile(path, &failure, reason);
    if (file < 0)
        return failure;
    struct stat info {};
    if (::fstat(file, &info) != 0) {
        const int error = errno;
        ::close(file);
        return fail(QString::fromLocal8Bit(std::strerror(error)));
    }
    if (way == Way::MappedWhenLarge && std::size_t(info.st_size) >= kLargeFile) {
        const std::size_t size = std::size_t(info.st_size);
        void* at = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, file, 0);
        if (at != MAP_FAILED) {
            guard_ = Guarded(static_cast<const char*>(at), size);
            if (guard_ >= 0) {
                ::close(file);
                data_ = static_cast<char*>(at);
                size_ = mapped_ = size;
                return FileRead::Read;
            }
            ::munmap(at, size);
        }
    }
    data_ = Map(std::size_t(info.st_size), mapped_);
    if (data_ == nullptr) {
        ::close(file);
        return fail(QString::fromLocal8Bit(std::strerror(ENOMEM)));
    }
    // The size the file had; what it has beyond that is read after it. A
    // file that became shorter meanwhile is read again from its start.
    if (ReadShares(file, data_, std::size_t(info.st_size)))
        size_ = std::size_t(info.st_size);
    else if (errno != EAGAIN) {
        const int error = errno;
        ::close(file);
        return fail(QString::fromLocal8Bit(std::strerror(error)));
    }
    while (true) {
        if (size_ == mapped_) {
            // The file grew while it was read.
            void* grown = ::mremap(data_, mapped_, 2 * mapped_, MREMAP_MAYMOVE);
            if (grown == MAP_FAILED) {
                ::close(file);
                return fail(QString::fromLocal8Bit(std::strerror(ENOMEM)));
            }
            data_ = static_cast<char*>(grown);
            mapped_ *= 2;
        }
        const ssize_t got = ReadAt(file, data_ + size_, mapped_ - size_, off_t(size_));
        if (got < 0) {
            const int error = errno;
            ::close(file);
            return fail(QString::fromLocal8Bit(std::strerror(error)));
        }
        size_ += std::size_t(got);
        if (size_ < mapped_)
            break;
    }
    ::close(file);
    return FileRead::Read;
}
