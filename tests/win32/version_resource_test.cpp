// The version resource each plug-in DLL carries, as the system reads it.
#include "platform/win32/windows_api.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string BesideMe(const char* name) {
    char self[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path(self, length);
    return path.substr(0, path.find_last_of("\\/") + 1) + name;
}

class VersionResource {
  public:
    explicit VersionResource(const std::string& file) {
        DWORD handle = 0;
        const DWORD size = GetFileVersionInfoSizeA(file.c_str(), &handle);
        m_data.resize(size);
        m_bLoaded = size != 0 && GetFileVersionInfoA(file.c_str(), 0, size, m_data.data());
    }
    bool IsLoaded() const { return m_bLoaded; }
    std::string Text(const std::string& block, const std::string& name) {
        void* value = nullptr;
        UINT length = 0;
        const std::string path = "\\StringFileInfo\\" + block + "\\" + name;
        if (!VerQueryValueA(m_data.data(), path.c_str(), &value, &length) || length == 0)
            return "<missing>";
        return std::string(static_cast<const char*>(value));
    }
    std::vector<WORD> Translation() {
        void* value = nullptr;
        UINT length = 0;
        if (!VerQueryValueA(m_data.data(), "\\VarFileInfo\\Translation", &value, &length))
            return {};
        const WORD* words = static_cast<const WORD*>(value);
        return std::vector<WORD>(words, words + length / sizeof(WORD));
    }

  private:
    std::vector<char> m_data;
    bool m_bLoaded = false;
};

void ExpectVersion(const char* dll, const char* version, const char* description) {
    VersionResource resource(BesideMe(dll));
    ASSERT_TRUE(resource.IsLoaded()) << dll;
    EXPECT_EQ(resource.Translation(), (std::vector<WORD>{0x0409, 0x04B0}));
    EXPECT_EQ(resource.Text("040904B0", "CompanyName"), "Brask Design");
    EXPECT_EQ(resource.Text("040904B0", "FileVersion"), version);
    EXPECT_EQ(resource.Text("040904B0", "ProductVersion"), version);
    EXPECT_EQ(resource.Text("040904B0", "FileDescription"), description);
}

TEST(VersionResource, KarvelIsTheImportPlugin20) {
    ExpectVersion(QR_KARVEL_DLL, "2.0", "Object import plugin for Quarrion");
}

TEST(VersionResource, BraskExportIsTheExportPlugin10) {
    ExpectVersion(QR_BRASK_EXPORT_DLL, "1.0", "Object export plugin for Quarrion");
}

} // namespace
