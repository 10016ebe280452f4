// CBlockArena: memory for many small records of one list, taken from a few large blocks
// instead of one heap allocation each. Nothing is freed one by one: Reset() and the
// destructor give back every block at once. Large blocks are aligned to 2 MiB and offered
// to the kernel for huge pages, so a list of millions of records costs few page faults.
//
// The arena only hands out memory; constructing and destroying what lives in it is the
// owner's business (COwningArray::Emplace).
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

class CBlockArena {
  public:
    CBlockArena() = default;
    CBlockArena(const CBlockArena&) = delete;
    CBlockArena& operator=(const CBlockArena&) = delete;
    CBlockArena(CBlockArena&&) noexcept = default;
    CBlockArena& operator=(CBlockArena&&) noexcept = default;
    ~CBlockArena() = default;

    // size bytes aligned to align (a power of two no larger than 4096). Throws
    // std::bad_alloc as operator new does.
    void* Allocate(std::size_t size, std::size_t align);
    // Gives back every block; whatever lived in them must already be destroyed.
    void Reset();
    // Bytes of the blocks held (for tests and benchmarks).
    std::size_t GetCapacity() const;

  private:
    struct CBlockFree {
        std::size_t m_nSize;
        void operator()(std::byte* block) const;
    };
    using Block = std::unique_ptr<std::byte[], CBlockFree>;

    std::vector<Block> m_blocks;
    std::byte* m_pNext = nullptr;
    std::size_t m_nLeft = 0;
};
