// The QRCAD exchange file (qrplugin.qrc in the host's plug-in folder) and the
// exchange state that carries its host values from a read to the next write.
//
// Layout (archive primitives, see archive.h):
//   "QRCAD", major, minor (int32 each);
//   host texts 1, 2         when major > 0 or minor > 87
//   host texts 3, 4         when major > 0 or minor > 93
//   host value (double)     when major > 0 or minor > 80
//   host flag (int32)       when major > 0 and minor > 0
//   host text 5             when major > 0 or minor > 990
//   the document record (one layout, whatever the version says)
//   four slot records       when major > 1, or major = 1 and minor >= 3
// A written file is always version 1.42 and carries every field. Header fields
// a file lacks are not reset by a read: they keep what the state held.
#pragma once

#include "scene/scene_point.h"

#include <array>
#include <cstdint>
#include <string>

class CApplication;
class CArchive;
class CSceneDocument;

// One host slot record: value (int32), point record, text, factor (double).
struct ExchangeSlot {
    std::int32_t m_nValue = 0;
    CScenePoint m_point;
    std::string m_strText;
    double m_dFactor = 1.0;
};

// The module-wide exchange state: the header values and slots of the file last
// read. Members are the g_ values of the format without the g_ prefix.
// The library is linked statically and with hidden symbols into each plug-in
// module, so each module has its own state.
class CExchangeState {
  public:
    // Every slot back to value 0, a zero point with tag 0, no text, factor 1.0.
    void ResetSlots();

    std::int32_t m_nFormatMajor = 0;
    std::int32_t m_nFormatMinor = 0;
    std::string m_strHostText1;
    std::string m_strHostText2;
    std::string m_strHostText3;
    std::string m_strHostText4;
    double m_dHostValue = 0.0;
    std::int32_t m_nHostFlag = 1;
    std::string m_strHostText5;
    std::array<ExchangeSlot, 4> m_slots;
};

// The one exchange state of this module.
CExchangeState& ExchangeState();

enum class ExchangeStatus {
    Read,      // header, document and (when present) slots were read
    Missing,   // no such file: nothing read, document untouched
    WrongMagic // not an exchange file: nothing after the magic read, nothing shown
};

// The exchange file's name.
inline constexpr const char* kExchangeFileName = "qrplugin.qrc";

// The host's folder with "/" appended, or "" when the profile holds none.
std::string GetHostFolder(CApplication& app);
// Where fileName lies: GetHostPluginFolder(app) + fileName.
std::string GetExchangeFilePath(CApplication& app, const std::string& fileName);

// Resets the slots, then reads the file at GetExchangeFilePath into the
// exchange state and doc (parts are appended). Missing only when the file
// does not exist. Throws CArchiveException when the file ends early or a
// record is damaged (what was read stays in doc and the state), and
// CFileException, naming the file and the system's reason, when it exists but
// cannot be opened or read (permissions, a folder in its place, an I/O error).
[[nodiscard]] ExchangeStatus ReadExchangeFile(CSceneDocument& doc, const std::string& fileName,
                                              CApplication& app);
// The same over an archive that loads (memory or file): resets the slots,
// checks the magic, reads the rest.
[[nodiscard]] ExchangeStatus ReadExchangeArchive(CSceneDocument& doc, CArchive& ar);

// Writes the exchange state and doc (storing first fixes the links and
// refreshes every polygon's derived values) as version 1.42 to a temporary file
// beside the exchange file, then renames it over the old one. Throws
// CFileException naming the file and the reason when it cannot create, write,
// flush or rename; the old file is then whole and the temporary one is gone.
void WriteExchangeFile(CSceneDocument& doc, const std::string& fileName, CApplication& app);
// The same stream into an archive that stores (no flush).
void WriteExchangeArchive(CSceneDocument& doc, CArchive& ar);

// How a plug-in command's reading of the host's scene ended, and what the user was shown.
enum class HostScene {
    Read,       // doc holds the host's scene
    Missing,    // there is no exchange file: doc is empty, as for a new scene
    WrongMagic, // not an exchange file: "Invalid File Format!" was shown
    Failed      // damaged or unreadable: a stop box named the file and the reason
};
// The one way a command reads the host's scene (ReadExchangeFile of kExchangeFileName),
// showing what went wrong. A failure's box ends with consequence, which says what the
// command does not do. The command decides whether WrongMagic stops it.
[[nodiscard]] HostScene ReadHostScene(CSceneDocument& doc, CApplication& app,
                                      const std::string& consequence);
