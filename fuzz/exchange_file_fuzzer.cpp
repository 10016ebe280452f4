// libFuzzer target: arbitrary bytes read as an exchange file from memory; what
// reads without error is written back and must read again to the same bytes.
#include "scene/archive.h"
#include "scene/exchange_file.h"
#include "scene/scene_document.h"

#include <cstdint>
#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ExchangeState() = CExchangeState();

    CSceneDocument doc;
    try {
        CArchive ar(std::span<const std::uint8_t>(data, size));
        if (ReadExchangeArchive(doc, ar) != ExchangeStatus::Read)
            return 0;
    } catch (const CArchiveException&) {
        return 0;
    }
    CArchive out;
    WriteExchangeArchive(doc, out);
    const std::vector<std::uint8_t> first = out.TakeStoredBytes();

    // A written file is version 1.42 with the system's own derived values:
    // reading it and writing it again must give the same bytes.
    CSceneDocument again;
    CArchive in(first);
    if (ReadExchangeArchive(again, in) != ExchangeStatus::Read || in.GetRemaining() != 0)
        std::abort();
    CArchive out2;
    WriteExchangeArchive(again, out2);
    if (out2.TakeStoredBytes() != first)
        std::abort();
    return 0;
}
