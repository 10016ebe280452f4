// libFuzzer target: arbitrary bytes read as an exchange file from memory; what
// reads without error is written back and must read again to the same bytes,
// and its DXF export, written straight from the document, must equal the one
// written from the export object's copy of it.
#include "fuzz/scratch_dir.h"

#include "export/export_object.h"
#include "scene/archive.h"
#include "scene/exchange_file.h"
#include "scene/scene_document.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <span>
#include <string>

namespace {

std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Both documents hold the same scene; the flip and rename switches come from the input.
void CheckExportsAgree(CSceneDocument& copied, CSceneDocument& direct, std::uint8_t switches) {
    const std::string copyPath = FuzzScratchDir() + "/copy.dxf";
    const std::string directPath = FuzzScratchDir() + "/direct.dxf";
    CExportObject viaCopy;
    CExportObject streamed;
    for (CExportObject* object : {&viaCopy, &streamed}) {
        object->SetFlipPolygons(switches & 1);
        object->SetRename((switches >> 1) & 1);
    }
    viaCopy.ConvertScene(copied);
    if (!viaCopy.WriteDxf(copyPath) || !streamed.WriteDxf(direct, directPath))
        std::abort();
    if (ReadWhole(copyPath) != ReadWhole(directPath) || viaCopy.m_strInfo != streamed.m_strInfo)
        std::abort();
}

} // namespace

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
    CheckExportsAgree(doc, again, data[size - 1]);
    return 0;
}
