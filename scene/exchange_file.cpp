#include "scene/exchange_file.h"

#include "platform/application.h"
#include "platform/file_descriptor.h"
#include "platform/host_folder.h"
#include "platform/replacing_file.h"
#include "scene/archive.h"
#include "scene/scene_document.h"

#include <cerrno>
#include <filesystem>
#include <stdexcept>
#include <unistd.h>

namespace {

void TransferSlot(CArchive& ar, ExchangeSlot& slot) {
    ar.Transfer(slot.m_nValue, "slot value");
    slot.m_point.Serialize(ar);
    ar.Transfer(slot.m_strText, "slot text");
    ar.Transfer(slot.m_dFactor, "slot factor");
}

} // namespace

void CExchangeState::ResetSlots() {
    for (ExchangeSlot& slot : m_slots)
        slot = ExchangeSlot();
}

CExchangeState& ExchangeState() {
    static CExchangeState state;
    return state;
}

std::string GetHostFolder(CApplication& app) {
    const std::string folder = GetApplicationPath(app);
    return folder.empty() ? std::string() : folder + "/";
}

std::string GetExchangeFilePath(CApplication& app, const std::string& fileName) {
    return GetHostPluginFolder(app) + fileName;
}

ExchangeStatus ReadExchangeArchive(CSceneDocument& doc, CArchive& ar) {
    CExchangeState& state = ExchangeState();
    state.ResetSlots();
    // The magic's length byte is 5 (0xFF starts the wide form). Any other first
    // byte is some other kind of file, whatever length it seems to announce.
    const int first = ar.PeekByte();
    const bool maybeMagic = first == 5 || first == 0xFF || first < 0;
    if (!maybeMagic || ar.LoadString("magic") != "QRCAD")
        return ExchangeStatus::WrongMagic;
    state.m_nFormatMajor = ar.LoadInt32("format major");
    state.m_nFormatMinor = ar.LoadInt32("format minor");
    const std::int32_t major = state.m_nFormatMajor;
    const std::int32_t minor = state.m_nFormatMinor;
    // Each header field appeared in a later version of the format; fields a
    // file lacks keep what the state held.
    if (major > 0 || minor > 87) {
        state.m_strHostText1 = ar.LoadString("host text 1");
        state.m_strHostText2 = ar.LoadString("host text 2");
    }
    if (major > 0 || minor > 93) {
        state.m_strHostText3 = ar.LoadString("host text 3");
        state.m_strHostText4 = ar.LoadString("host text 4");
    }
    if (major > 0 || minor > 80)
        state.m_dHostValue = ar.LoadDouble("host value");
    if (major > 0 && minor > 0)
        state.m_nHostFlag = ar.LoadInt32("host flag");
    if (major > 0 || minor > 990)
        state.m_strHostText5 = ar.LoadString("host text 5");
    doc.Serialize(ar);
    if (major > 1 || (major == 1 && minor >= 3))
        for (ExchangeSlot& slot : state.m_slots)
            TransferSlot(ar, slot);
    return ExchangeStatus::Read;
}

ExchangeStatus ReadExchangeFile(CSceneDocument& doc, const std::string& fileName,
                                CApplication& app) {
    ExchangeState().ResetSlots();
    const std::string path = GetExchangeFilePath(app, fileName);
    // A device or pipe in the scene's place holds no scene, and opening a FIFO would wait
    // for a writer that may never come.
    std::error_code kind;
    if (const auto status = std::filesystem::status(path, kind);
        !kind && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status) &&
        !std::filesystem::is_directory(status))
        throw CFileException(path, "open", EINVAL);
    const CFileDescriptor file = OpenForReading(path);
    // Only a file that is not there is missing. One that is there but cannot
    // be opened (permissions, a link loop) holds a scene we cannot see, and
    // going on without it would replace the host's scene with an empty one.
    if (file.Get() < 0) {
        if (errno == ENOENT)
            return ExchangeStatus::Missing;
        throw CFileException(path, "open", errno);
    }
    CArchive ar(file.Get(), CArchive::load, path);
    return ReadExchangeArchive(doc, ar);
}

HostScene ReadHostScene(CSceneDocument& doc, CApplication& app, const std::string& consequence) {
    try {
        switch (ReadExchangeFile(doc, kExchangeFileName, app)) {
        case ExchangeStatus::Read:
            return HostScene::Read;
        case ExchangeStatus::Missing:
            return HostScene::Missing;
        case ExchangeStatus::WrongMagic:
            app.MessageBox("Invalid File Format!", MB_OK);
            return HostScene::WrongMagic;
        }
    } catch (const std::runtime_error& failure) { // CArchiveException, CFileException
        app.MessageBox("The host's scene could not be read from the exchange file \"" +
                           GetExchangeFilePath(app, kExchangeFileName) + "\":\n" + failure.what() +
                           "\n" + consequence,
                       MB_OK | MB_ICONSTOP);
    }
    return HostScene::Failed;
}

void WriteExchangeArchive(CSceneDocument& doc, CArchive& ar) {
    CExchangeState& state = ExchangeState();
    ar.StoreString("QRCAD");
    // Always written as version 1.42, with every header field.
    ar.StoreInt32(1);
    ar.StoreInt32(42);
    ar.StoreString(state.m_strHostText1);
    ar.StoreString(state.m_strHostText2);
    ar.StoreString(state.m_strHostText3);
    ar.StoreString(state.m_strHostText4);
    ar.StoreDouble(state.m_dHostValue);
    ar.StoreInt32(state.m_nHostFlag);
    ar.StoreString(state.m_strHostText5);
    doc.Serialize(ar);
    for (ExchangeSlot& slot : state.m_slots)
        TransferSlot(ar, slot);
}

void WriteExchangeFile(CSceneDocument& doc, const std::string& fileName, CApplication& app) {
    const std::string path = GetExchangeFilePath(app, fileName);
    CReplacingFile file;
    // The host reads the scene back from this file: nothing else may stand in for it.
    if (const CStatus opened = file.Open(path, NonRegularTarget::Refuse); !opened)
        throw CFileException(path, "create", opened.GetErrorNumber());
    CArchive ar(file.GetDescriptor(), CArchive::store, path);
    WriteExchangeArchive(doc, ar);
    ar.Flush();
    if (const CStatus committed = file.Commit(); !committed)
        throw CFileException(path, "replace", committed.GetErrorNumber());
}
