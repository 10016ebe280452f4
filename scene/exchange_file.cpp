#include "exchange_file.h"

#include "application.h"
#include "archive.h"
#include "host_folder.h"
#include "scene_document.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

void TransferSlot(CArchive& ar, ExchangeSlot& slot) {
    ar.Transfer(slot.m_nValue, "slot value");
    slot.m_point.Serialize(ar);
    ar.Transfer(slot.m_strText, "slot text");
    ar.Transfer(slot.m_dFactor, "slot factor");
}

// Closes fd and removes the temporary file unless Release()d.
class CTempFile {
  public:
    CTempFile(int fd, std::string path) : m_fd(fd), m_strPath(std::move(path)) {}
    CTempFile(const CTempFile&) = delete;
    CTempFile& operator=(const CTempFile&) = delete;
    ~CTempFile() {
        if (m_fd >= 0)
            ::close(m_fd);
        if (!m_strPath.empty())
            ::unlink(m_strPath.c_str());
    }
    int Fd() const { return m_fd; }
    const std::string& Path() const { return m_strPath; }
    // Closes the descriptor; returns errno, or 0.
    int Close() {
        const int rc = ::close(m_fd);
        m_fd = -1;
        return rc == 0 ? 0 : errno;
    }
    void Release() { m_strPath.clear(); }

  private:
    int m_fd;
    std::string m_strPath;
};

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
    return GetPluginFolder(GetApplicationPath(app)) + fileName;
}

ExchangeStatus ReadExchangeArchive(CSceneDocument& doc, CArchive& ar, CApplication& app) {
    CExchangeState& state = ExchangeState();
    state.ResetSlots();
    if (ar.LoadString("magic") != "QRCAD") {
        app.MessageBox("Invalid File Format!", MB_OK);
        return ExchangeStatus::WrongMagic;
    }
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
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return ExchangeStatus::Missing;
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    CArchive ar(fd, CArchive::load, path);
    return ReadExchangeArchive(doc, ar, app);
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
    std::string pattern = path + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0)
        throw CFileException(path, "create a temporary file for", errno);
    CTempFile temp(fd, name.data());

    // The new file keeps the old one's permissions; a new one gets the usual
    // 0666 less the umask instead of mkstemp's 0600.
    struct stat st {};
    mode_t mode = 0;
    if (::stat(path.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::fchmod(temp.Fd(), mode) != 0)
        throw CFileException(path, "set the permissions of the new", errno);

    CArchive ar(temp.Fd(), CArchive::store, path);
    WriteExchangeArchive(doc, ar);
    ar.Flush();
    if (::fsync(temp.Fd()) != 0)
        throw CFileException(path, "flush", errno);
    if (const int err = temp.Close(); err != 0)
        throw CFileException(path, "flush", err);
    if (::rename(temp.Path().c_str(), path.c_str()) != 0)
        throw CFileException(path, "replace", errno);
    temp.Release();
}
