#include "scene/block_arena.h"

#include "platform/aligned_memory.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <sys/mman.h>

namespace {

constexpr std::size_t kFirstBlock = 64 * 1024;
constexpr std::size_t kHugePage = 2 * 1024 * 1024;
// Blocks grow with the list, up to this size, so a small part stays small and a large one
// needs few blocks.
constexpr std::size_t kLargestBlock = 64 * 1024 * 1024;

std::size_t RoundUp(std::size_t value, std::size_t step) {
    return (value + step - 1) / step * step;
}

} // namespace

void CBlockArena::CBlockFree::operator()(std::byte* block) const {
    if (m_nSize >= kHugePage)
        FreeAligned(block);
    else
        ::operator delete[](block);
}

void* CBlockArena::Allocate(std::size_t size, std::size_t align) {
    std::size_t skip =
        static_cast<std::size_t>(-reinterpret_cast<std::uintptr_t>(m_pNext)) & (align - 1);
    if (m_pNext == nullptr || skip + size > m_nLeft) {
        // Each block twice the last: 64 KiB, 128 KiB, ... up to kLargestBlock.
        const std::size_t doublings = std::min<std::size_t>(m_blocks.size(), 10);
        std::size_t blockSize = std::min(kFirstBlock << doublings, kLargestBlock);
        blockSize = RoundUp(std::max(blockSize, size + align), kFirstBlock);
        std::byte* block = nullptr;
        if (blockSize >= kHugePage) {
            blockSize = RoundUp(blockSize, kHugePage);
            block = static_cast<std::byte*>(AllocateAligned(kHugePage, blockSize));
            if (block == nullptr)
                throw std::bad_alloc();
            // Advice only: where huge pages are off, the block is used as it is.
            (void)::madvise(block, blockSize, MADV_HUGEPAGE);
        } else {
            block = static_cast<std::byte*>(::operator new[](blockSize));
        }
        m_blocks.push_back(Block(block, CBlockFree{blockSize}));
        m_pNext = block;
        m_nLeft = blockSize;
        skip = static_cast<std::size_t>(-reinterpret_cast<std::uintptr_t>(m_pNext)) & (align - 1);
    }
    std::byte* result = m_pNext + skip;
    m_pNext = result + size;
    m_nLeft -= skip + size;
    return result;
}

void CBlockArena::Reset() {
    m_blocks.clear();
    m_pNext = nullptr;
    m_nLeft = 0;
}

std::size_t CBlockArena::GetCapacity() const {
    std::size_t total = 0;
    for (const Block& block : m_blocks)
        total += block.get_deleter().m_nSize;
    return total;
}
