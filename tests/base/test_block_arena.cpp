#include "base/BlockArena.h"

#include <QTest>

#include <cstdint>
#include <cstring>
#include <thread>
#include <vector>

namespace {

struct Block {
    char* at;
    std::size_t bytes;
    char fill;
};

Block Take(std::size_t bytes, char fill)
{
    auto* at = static_cast<char*>(BlockArena::Allocate(bytes));
    std::memset(at, fill, bytes);
    return {at, bytes, fill};
}

bool Intact(const Block& block)
{
    for (std::size_t i = 0; i < block.bytes; ++i) {
        if (block.at[i] != block.fill)
            return false;
    }
    return true;
}

} // namespace

class TestBlockArena : public QObject {
    Q_OBJECT

private slots:
    // Blocks of every size, small ones and ones larger than a chunk, taken
    // on several threads and given back on others, in any order: each is
    // aligned, keeps its bytes while it lives, and overlaps no other.
    void blocksKeepTheirBytes()
    {
        std::vector<std::vector<Block>> taken(4);
        std::vector<std::thread> takers;
        for (std::size_t t = 0; t < taken.size(); ++t) {
            takers.emplace_back([&taken, t] {
                for (int i = 0; i < 20000; ++i) {
                    const std::size_t bytes = i % 997 == 0 ? (std::size_t(3) << 20) + std::size_t(i) : std::size_t(i % 300);
                    taken[t].push_back(Take(bytes, char('a' + (i + int(t)) % 26)));
                }
            });
        }
        for (std::thread& taker : takers)
            taker.join();
        for (const std::vector<Block>& blocks : taken) {
            for (const Block& block : blocks) {
                QCOMPARE(reinterpret_cast<std::uintptr_t>(block.at) % 8, std::uintptr_t(0));
                QVERIFY(Intact(block));
            }
        }
        // Every other block goes back, on a thread that did not take it.
        std::vector<std::thread> givers;
        for (std::size_t t = 0; t < taken.size(); ++t) {
            givers.emplace_back([&taken, t] {
                std::vector<Block>& blocks = taken[(t + 1) % taken.size()];
                for (std::size_t i = 0; i < blocks.size(); i += 2)
                    BlockArena::Free(blocks[i].at, blocks[i].bytes);
            });
        }
        for (std::thread& giver : givers)
            giver.join();
        for (const std::vector<Block>& blocks : taken) {
            for (std::size_t i = 1; i < blocks.size(); i += 2)
                QVERIFY(Intact(blocks[i]));
        }
        // New blocks do not land on the ones still held.
        std::vector<Block> more;
        for (int i = 0; i < 5000; ++i)
            more.push_back(Take(std::size_t(1 + i % 200), '#'));
        for (const std::vector<Block>& blocks : taken) {
            for (std::size_t i = 1; i < blocks.size(); i += 2)
                QVERIFY(Intact(blocks[i]));
        }
        for (const Block& block : more) {
            QVERIFY(Intact(block));
            BlockArena::Free(block.at, block.bytes);
        }
        for (const std::vector<Block>& blocks : taken) {
            for (std::size_t i = 1; i < blocks.size(); i += 2)
                BlockArena::Free(blocks[i].at, blocks[i].bytes);
        }
    }
};

QTEST_APPLESS_MAIN(TestBlockArena)
#include "test_block_arena.moc"
