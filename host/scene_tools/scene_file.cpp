#include "host/scene_tools/scene_file.h"

#include "platform/file_descriptor.h"
#include "scene/archive.h"
#include "scene/exchange_file.h"
#include "scene/scene_document.h"

#include <cerrno>
#include <cstring>
#include <exception>

CStatus ReadSceneFile(const std::string& path, CSceneDocument& doc, std::uint64_t* trailingBytes) {
    const CFileDescriptor file = OpenForReading(path);
    if (file.Get() < 0) {
        const int error = errno;
        return CStatus::Failure("cannot open \"" + path + "\": " + std::strerror(error), error);
    }
    try {
        CArchive ar(file.Get(), CArchive::load, path);
        if (ReadExchangeArchive(doc, ar) == ExchangeStatus::WrongMagic)
            return CStatus::Failure("\"" + path +
                                    "\" is not a QRCAD exchange file (Invalid File Format!)");
        if (trailingBytes != nullptr)
            *trailingBytes = ar.GetRemaining();
    } catch (const std::exception& failure) {
        return CStatus::Failure("\"" + path + "\" is damaged: " + failure.what());
    }
    return {};
}
