// The host folder as the plug-ins find it: the registry value APPLICATIONPATH
// of HKEY_CURRENT_USER\SOFTWARE\ORVANE\QUARRION\PATHS, which is the host's
// profile value "ApplicationPath" of section "Paths".
#include "platform/host_folder.h"
#include "platform/memory_profile.h"
#include "platform/win32/registry_profile.h"
#include "platform/win32/windows_api.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr const char* kPathsKey = "SOFTWARE\\ORVANE\\QUARRION\\PATHS";

void SetHostFolderRaw(const std::string& folder) {
    HKEY hkey = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kPathsKey, 0, nullptr, 0, KEY_WRITE, nullptr,
                              &hkey, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(hkey, "APPLICATIONPATH", 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(folder.c_str()),
                             static_cast<DWORD>(folder.size() + 1)),
              ERROR_SUCCESS);
    RegCloseKey(hkey);
}

class HostFolder : public ::testing::Test {
  protected:
    void SetUp() override { RegDeleteKeyValueA(HKEY_CURRENT_USER, kPathsKey, "APPLICATIONPATH"); }
    void TearDown() override {
        RegDeleteKeyValueA(HKEY_CURRENT_USER, kPathsKey, "APPLICATIONPATH");
    }
    CApplication m_app{std::make_unique<CRegistryProfile>("Orvane", "Quarrion"), nullptr, nullptr};
};

TEST_F(HostFolder, ReadFromTheHostsRegistryValue) {
    SetHostFolderRaw("C:\\Host");
    EXPECT_EQ(GetApplicationPath(m_app), "C:\\Host");
    EXPECT_EQ(GetHostPluginFolder(m_app), "C:\\Host\\PlugIns\\");
}

TEST_F(HostFolder, WrittenThroughTheProfileIsTheSameValue) {
    m_app.WriteProfileString("Paths", "ApplicationPath", "D:\\Quarrion");
    EXPECT_EQ(GetApplicationPath(m_app), "D:\\Quarrion");
}

TEST_F(HostFolder, MissingGivesTheRelativePlugInFolder) {
    EXPECT_EQ(GetApplicationPath(m_app), "");
    EXPECT_EQ(GetHostPluginFolder(m_app), "PlugIns\\");
}

TEST_F(HostFolder, TrailingBackslashIsDropped) {
    SetHostFolderRaw("C:\\Host\\");
    EXPECT_EQ(GetHostPluginFolder(m_app), "C:\\Host\\PlugIns\\");
}

// 131 characters and the NUL fill the host's 132-byte buffer; one more does not fit.
TEST_F(HostFolder, LongestFolderIs131Characters) {
    const std::string fits = "C:\\" + std::string(128, 'a');
    SetHostFolderRaw(fits);
    EXPECT_EQ(GetApplicationPath(m_app), fits);
    SetHostFolderRaw(fits + "b");
    EXPECT_EQ(GetApplicationPath(m_app), "");
}

TEST_F(HostFolder, OtherProfilesAnswerFromTheProfile) {
    SetHostFolderRaw("C:\\Registry");
    CApplication app(std::make_unique<CMemoryProfile>(), nullptr, nullptr);
    app.WriteProfileString("Paths", "ApplicationPath", "E:\\Memory");
    EXPECT_EQ(GetApplicationPath(app), "E:\\Memory");
}

} // namespace
