#include "scene/block_arena.h"

#include "platform/large_blocks.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr std::size_t kFirstBlock = 64 * 1024;
// Blocks grow with the list, up to this size, so a small part stays small and a large one
// needs few blocks.
constexpr std::size_t kLargestBlock = 64 * 1024 * 1024;

std::size_t RoundUp(std::size_t value, std::size_t step) {
    return (value + step - 1) / step * step;
}

} // namespace

void CBlockArena::CBlockFree::operator()(std::byte* block) const {
    FreeLargeBlock(block, m_nSize);
}

void* CBlockArena::Allocate(std::size_t size, std::size_t align) {
    std::size_t skip =
        static_cast<std::size_t>(-reinterpret_cast<std::uintptr_t>(m_pNext)) & (align - 1);
    if (m_pNext == nullptr || skip + size > m_nLeft) {
        // Each block twice the last: 64 KiB, 128 KiB, ... up to kLargestBlock.
        const std::size_t doublings = std::min<std::size_t>(m_blocks.size(), 10);
        std::size_t blockSize = std::min(kFirstBlock << doublings, kLargestBlock);
        blockSize = RoundUp(std::max(blockSize, size + align), kFirstBlock);
        if (blockSize >= kHugePageBytes)
            blockSize = RoundUp(blockSize, kHugePageBytes);
        auto* block = static_cast<std::byte*>(AllocateLargeBlock(blockSize));
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
