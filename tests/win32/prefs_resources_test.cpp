// The resources of the built Karvel_Prefs.exe as the system finds them: the
// settings dialog's template control by control, the About box, the system
// menu's string, the icon, the logo and the version texts.
#include "platform/win32/windows_api.h"
#include "prefs/block_shape.h"
#include "prefs/resource_ids.h"
#include "prefs/version_info.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string BesideMe(const char* name) {
    char self[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path(self, length);
    return path.substr(0, path.find_last_of("\\/") + 1) + name;
}

HMODULE Program() {
    static HMODULE module =
        LoadLibraryExA(BesideMe(QR_KARVEL_PREFS_EXE).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    return module;
}

std::vector<unsigned char> Resource(int id, LPCSTR type) {
    HRSRC found = FindResourceA(Program(), MAKEINTRESOURCEA(id), type);
    if (found == nullptr)
        return {};
    const auto* data =
        static_cast<const unsigned char*>(LockResource(LoadResource(Program(), found)));
    return std::vector<unsigned char>(data, data + SizeofResource(Program(), found));
}

// Reads an extended dialog template (DLGTEMPLATEEX and its items), every
// read checked against the resource's end.
class CTemplateReader {
  public:
    explicit CTemplateReader(std::vector<unsigned char> bytes) : m_bytes(std::move(bytes)) {}

    bool Failed() const { return m_bFailed; }
    std::uint32_t Read(std::size_t size) {
        std::uint32_t value = 0;
        if (size > m_bytes.size() - m_nPos) {
            m_bFailed = true;
            return 0;
        }
        for (std::size_t i = 0; i < size; ++i)
            value |= std::uint32_t(m_bytes[m_nPos + i]) << (8 * i);
        m_nPos += size;
        return value;
    }
    int Short() { return static_cast<std::int16_t>(Read(2)); }
    // A name or ordinal: "" for none, "#N" for an ordinal, else the text
    // (ASCII here).
    std::string NameOrOrdinal() {
        const std::uint32_t first = Read(2);
        if (first == 0)
            return "";
        if (first == 0xFFFF)
            return "#" + std::to_string(Read(2));
        std::string text(1, static_cast<char>(first));
        while (!m_bFailed)
            if (const std::uint32_t c = Read(2); c != 0)
                text.push_back(static_cast<char>(c));
            else
                break;
        return text;
    }
    void AlignToDword() { m_nPos = std::min(m_bytes.size(), (m_nPos + 3) & ~std::size_t(3)); }

  private:
    std::vector<unsigned char> m_bytes;
    std::size_t m_nPos = 0;
    bool m_bFailed = false;
};

struct CDialog {
    DWORD dwStyle = 0, dwExStyle = 0;
    int cx = 0, cy = 0, nPoints = 0;
    std::string strCaption, strFont;
    struct CItem {
        DWORD dwStyle;
        int x, y, cx, cy, nId;
        std::string strClass, strText;
    };
    std::vector<CItem> items;
};

std::string ClassName(std::string cls);

CDialog ReadDialog(int id) {
    CTemplateReader reader(Resource(id, MAKEINTRESOURCEA(5))); // RT_DIALOG
    CDialog dialog;
    EXPECT_EQ(reader.Read(2), 1u) << "an extended template";
    EXPECT_EQ(reader.Read(2), 0xFFFFu);
    reader.Read(4); // help id
    dialog.dwExStyle = reader.Read(4);
    dialog.dwStyle = reader.Read(4);
    const std::uint32_t count = reader.Read(2);
    reader.Read(4); // x, y
    dialog.cx = reader.Short();
    dialog.cy = reader.Short();
    EXPECT_EQ(reader.NameOrOrdinal(), "") << "no menu";
    EXPECT_EQ(reader.NameOrOrdinal(), "") << "the dialog class";
    dialog.strCaption = reader.NameOrOrdinal();
    dialog.nPoints = static_cast<int>(reader.Read(2));
    reader.Read(4); // weight, italic, character set
    dialog.strFont = reader.NameOrOrdinal();
    for (std::uint32_t i = 0; i < count && !reader.Failed(); ++i) {
        reader.AlignToDword();
        CDialog::CItem item{};
        reader.Read(8); // help id, extended style
        item.dwStyle = reader.Read(4);
        item.x = reader.Short();
        item.y = reader.Short();
        item.cx = reader.Short();
        item.cy = reader.Short();
        item.nId = static_cast<std::int32_t>(reader.Read(4));
        item.strClass = ClassName(reader.NameOrOrdinal());
        item.strText = reader.NameOrOrdinal();
        reader.Read(reader.Read(2)); // creation data
        dialog.items.push_back(item);
    }
    EXPECT_FALSE(reader.Failed()) << "dialog " << id << " ends early";
    return dialog;
}

// A control class named by its atom or by its name (which compares without
// regard to case), as the name.
std::string ClassName(std::string cls) {
    if (cls == "#128")
        return "BUTTON";
    if (cls == "#129")
        return "EDIT";
    if (cls == "#130")
        return "STATIC";
    for (char& c : cls)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return cls;
}
const std::string kButton = "BUTTON", kEdit = "EDIT", kStatic = "STATIC";

TEST(PrefsResources, TheSettingsDialogIsTheTemplate) {
    ASSERT_NE(Program(), nullptr) << QR_KARVEL_PREFS_EXE;
    const CDialog dialog = ReadDialog(IDD_KARVEL_PREFS_DIALOG);
    EXPECT_EQ(dialog.strCaption, "Brask Plugins Prefs");
    EXPECT_EQ(dialog.cx, 258);
    EXPECT_EQ(dialog.cy, 258);
    EXPECT_EQ(dialog.strFont, "MS Sans Serif");
    EXPECT_EQ(dialog.nPoints, 8);
    const DWORD style = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    EXPECT_EQ(dialog.dwStyle & style, style);
    EXPECT_EQ(dialog.dwExStyle & WS_EX_APPWINDOW, DWORD(WS_EX_APPWINDOW));

    // Template order, which is the tab order.
    const DWORD check = BS_AUTOCHECKBOX | WS_TABSTOP,
                edit = WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP;
    const DWORD button = BS_PUSHBUTTON | WS_TABSTOP;
    const std::vector<CDialog::CItem> expected{
        {BS_DEFPUSHBUTTON | WS_TABSTOP, 7, 231, 100, 14, 1, kButton, "Save"},
        {button, 113, 231, 50, 14, 2, kButton, "Cancel"},
        {SS_LEFT, 12, 22, 63, 8, -1, kStatic, "Path to LWO/DXF object"},
        {edit, 79, 19, 163, 13, IDC_DEF_LWO, kEdit, ""},
        {check, 14, 37, 224, 17, IDC_USE_DEF_LWO, kButton,
         "Don't show file dialog (use LWO/DXF object mentioned above)"},
        {check, 14, 52, 200, 15, IDC_VZDY_UPDATE, kButton,
         "Do always part update (Don't ask update/add)"},
        {check, 14, 70, 104, 10, IDC_VIEW_INFO, kButton, "Show info after import"},
        {button, 113, 213, 50, 14, IDC_ABOUT, kButton, "About"},
        {button, 7, 212, 100, 14, IDC_CREATE_LSCRIPT, kButton, "Create LScript"},
        {check, 14, 85, 104, 10, IDC_FLIP_POLY, kButton, "Flip polygons"},
        {BS_GROUPBOX, 7, 7, 244, 96, -1, kButton, "Import to Quarrion"},
        {BS_GROUPBOX, 7, 108, 244, 95, -1, kButton, "Export from Quarrion"},
        {check, 14, 154, 226, 14, IDC_EXPORT_RENAME, kButton,
         "Change part names (usually necessary)"},
        {check, 14, 186, 149, 10, IDC_EXPORT_FLIP_POLY, kButton, "Flip polygons"},
        {SS_BITMAP, 169, 207, 82, 44, -1, kStatic, "#" + std::to_string(IDB_LOGO)},
        {SS_LEFT, 14, 123, 63, 8, -1, kStatic, "Path to default DXF"},
        {edit, 82, 120, 163, 13, IDC_EXPORT_DEF_DXF, kEdit, ""},
        {check, 14, 137, 224, 17, IDC_EXPORT_USE_DEF_DXF, kButton,
         "Don't show file dialog (use DXF object mentioned above)"},
        {check, 14, 171, 104, 10, IDC_EXPORT_VIEW_INFO, kButton, "Show info after export"},
    };
    ASSERT_EQ(dialog.items.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const CDialog::CItem& want = expected[i];
        const CDialog::CItem& got = dialog.items[i];
        SCOPED_TRACE("control " + std::to_string(i) + " \"" + want.strText + "\"");
        EXPECT_EQ(got.strClass, want.strClass);
        EXPECT_EQ(got.strText, want.strText);
        EXPECT_EQ(got.nId, want.nId);
        EXPECT_EQ((std::vector<int>{got.x, got.y, got.cx, got.cy}),
                  (std::vector<int>{want.x, want.y, want.cx, want.cy}));
        // The kind (low four bits of a button's style) exactly; the rest as bits.
        if (got.strClass == kButton) {
            EXPECT_EQ(got.dwStyle & BS_TYPEMASK, want.dwStyle & BS_TYPEMASK);
        }
        EXPECT_EQ(got.dwStyle & want.dwStyle, want.dwStyle);
        EXPECT_EQ((got.dwStyle & WS_TABSTOP) != 0, (want.dwStyle & WS_TABSTOP) != 0);
        EXPECT_EQ(got.dwStyle & WS_DISABLED, 0u) << "no control is ever disabled";
    }
}

TEST(PrefsResources, TheAboutBox) {
    const CDialog dialog = ReadDialog(IDD_ABOUTBOX);
    EXPECT_EQ(dialog.strCaption, "About Brask Import");
    EXPECT_EQ(dialog.cx, 278);
    EXPECT_EQ(dialog.cy, 66);
    EXPECT_EQ(dialog.strFont, "MS Sans Serif");
    EXPECT_EQ(dialog.nPoints, 8);
    const DWORD style = WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    EXPECT_EQ(dialog.dwStyle & style, style);
    std::vector<std::string> texts;
    for (const CDialog::CItem& item : dialog.items)
        texts.push_back(item.strText);
    EXPECT_EQ(texts, (std::vector<std::string>{
                         "#" + std::to_string(IDB_LOGO), kProductName,
                         std::string("Version ") + kFileVersion, kFileDescription,
                         std::string(kInternalName) + " (" + kOriginalFileName + ")", "OK"}));
}

TEST(PrefsResources, TheSystemMenuEntry) {
    char text[64] = {};
    EXPECT_GT(LoadStringA(Program(), 101, text, sizeof text), 0);
    EXPECT_STREQ(text, "&About Karvel_Prefs...");
}

TEST(PrefsResources, TheIconHas32And16PixelImagesOf16Colours) {
    // The icon group: a 6-byte header, then 14 bytes per image.
    const std::vector<unsigned char> group = Resource(IDR_MAINFRAME, MAKEINTRESOURCEA(14));
    ASSERT_GE(group.size(), 6u);
    const int count = group[4] | group[5] << 8;
    ASSERT_EQ(group.size(), 6u + 14u * count);
    std::vector<std::string> images;
    for (int i = 0; i < count; ++i) {
        const unsigned char* entry = &group[6 + 14 * i];
        images.push_back(std::to_string(entry[0]) + "x" + std::to_string(entry[1]) + "x" +
                         std::to_string(entry[6]) + "bit");
    }
    EXPECT_EQ(images, (std::vector<std::string>{"32x32x4bit", "16x16x4bit"}));
}

TEST(PrefsResources, TheLogoIsTheArtworkOf16Colours) {
    HBITMAP logo = LoadBitmapA(Program(), MAKEINTRESOURCEA(IDB_LOGO));
    ASSERT_NE(logo, nullptr);
    BITMAP info{};
    ASSERT_NE(GetObjectA(logo, sizeof info, &info), 0);
    EXPECT_EQ(info.bmWidth, kLogoWidth);
    EXPECT_EQ(info.bmHeight, kLogoHeight);
    // The colours where the shared shapes put them: the background in a
    // corner, each face of the block at its centre.
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, logo);
    auto rgb = [&](int x, int y) {
        const COLORREF c = GetPixel(dc, x, y);
        return std::uint32_t(GetRValue(c)) << 16 | std::uint32_t(GetGValue(c)) << 8 | GetBValue(c);
    };
    EXPECT_EQ(rgb(0, 0), kLogoBackground);
    for (const CBlockFace& face : LogoBlockFaces()) {
        int x = 0, y = 0;
        for (const auto& corner : face.m_corners) {
            x += corner[0];
            y += corner[1];
        }
        EXPECT_EQ(rgb(x / 4, y / 4), face.m_nRgb) << "at " << x / 4 << "," << y / 4;
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(logo);
}

TEST(PrefsResources, TheVersionTextsAreTheProgramsOwn) {
    const std::string file = BesideMe(QR_KARVEL_PREFS_EXE);
    DWORD handle = 0;
    std::vector<char> data(GetFileVersionInfoSizeA(file.c_str(), &handle));
    ASSERT_FALSE(data.empty());
    ASSERT_TRUE(GetFileVersionInfoA(file.c_str(), 0, static_cast<DWORD>(data.size()), data.data()));
    auto text = [&](const char* name) {
        void* value = nullptr;
        UINT length = 0;
        const std::string path = std::string("\\StringFileInfo\\040904B0\\") + name;
        return VerQueryValueA(data.data(), path.c_str(), &value, &length) && length > 0
                   ? std::string(static_cast<const char*>(value))
                   : std::string("<missing>");
    };
    EXPECT_EQ(text("FileVersion"), kFileVersion);
    EXPECT_EQ(text("FileDescription"), kFileDescription);
    EXPECT_EQ(text("ProductName"), kProductName);
    EXPECT_EQ(text("InternalName"), kInternalName);
    EXPECT_EQ(text("OriginalFilename"), kOriginalFileName);
}

} // namespace
