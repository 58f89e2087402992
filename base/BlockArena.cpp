#include "base/BlockArena.h"

#include "base/LargeAllocations.h"

#include <atomic>
#include <cstdint>
#include <new>

#include <sys/mman.h>

#if defined(__SANITIZE_ADDRESS__)
#define QUILLMARK_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUILLMARK_ASAN 1
#endif
#endif
#if defined(QUILLMARK_ASAN)
#include <sanitizer/asan_interface.h>
#define POISON(at, bytes) ASAN_POISON_MEMORY_REGION(at, bytes)
#define UNPOISON(at, bytes) ASAN_UNPOISON_MEMORY_REGION(at, bytes)
#else
#define POISON(at, bytes) ((void)(at), (void)(bytes))
#define UNPOISON(at, bytes) ((void)(at), (void)(bytes))
#endif

namespace {

// Chunks start at a multiple of their size, so that a block finds its
// chunk's header by rounding its address down. A block too large for a chunk
// has a mapping of its own, which starts the same way.
constexpr std::size_t kChunkBytes = std::size_t(4) << 20;

struct alignas(64) Header {
    // The blocks carved and not yet given back, plus one while the chunk is
    // still being carved.
    std::atomic<std::size_t> owners{1};
    std::size_t mappedBytes = 0;
};

constexpr std::size_t kHeaderBytes = sizeof(Header);

constexpr std::size_t RoundUp(std::size_t bytes, std::size_t to)
{
    return (bytes + to - 1) / to * to;
}

Header* MapChunk(std::size_t bytes)
{
    void* at = MapAligned(bytes, kChunkBytes);
    if (at == nullptr)
        throw std::bad_alloc();
    auto* header = new (at) Header;
    header->mappedBytes = bytes;
    POISON(static_cast<char*>(at) + kHeaderBytes, bytes - kHeaderBytes);
    return header;
}

void Release(Header* header)
{
    if (header->owners.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        const std::size_t bytes = header->mappedBytes;
        UNPOISON(header, bytes);
        header->~Header();
        ::munmap(header, bytes);
    }
}

// The chunk a thread carves its blocks from.
class Carver {
public:
    ~Carver()
    {
        if (chunk_ != nullptr)
            Release(chunk_);
    }

    void* Allocate(std::size_t bytes)
    {
        bytes = RoundUp(bytes == 0 ? 1 : bytes, 8);
        if (bytes > kChunkBytes / 4) {
            Header* own = MapChunk(RoundUp(kHeaderBytes + bytes, std::size_t(2) << 20));
            // Only the block owns its mapping.
            char* block = reinterpret_cast<char*>(own) + kHeaderBytes;
            UNPOISON(block, bytes);
            return block;
        }
        if (chunk_ == nullptr || used_ + bytes > kChunkBytes) {
            if (chunk_ != nullptr)
                Release(chunk_);
            chunk_ = MapChunk(kChunkBytes);
            used_ = kHeaderBytes;
        }
        char* block = reinterpret_cast<char*>(chunk_) + used_;
        used_ += bytes;
        chunk_->owners.fetch_add(1, std::memory_order_relaxed);
        UNPOISON(block, bytes);
        return block;
    }

private:
    Header* chunk_ = nullptr;
    std::size_t used_ = 0;
};

thread_local Carver t_carver;

} // namespace

void* BlockArena::Allocate(std::size_t bytes)
{
    return t_carver.Allocate(bytes);
}

void BlockArena::Free(void* block, std::size_t bytes)
{
    if (block == nullptr)
        return;
    POISON(block, RoundUp(bytes == 0 ? 1 : bytes, 8));
    Release(reinterpret_cast<Header*>(reinterpret_cast<std::uintptr_t>(block) & ~(kChunkBytes - 1)));
}
