// The registry profile as the framework reads and writes it. Each test works
// under a registry key of its own (Software\QrTest<name>\Quarrion), removed
// before and after.
#include "platform/win32/registry_profile.h"
#include "platform/win32/windows_api.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

class RegistryProfile : public ::testing::Test {
  protected:
    void SetUp() override {
        m_strVendor =
            std::string("QrTest") + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\" + m_strVendor).c_str());
    }
    void TearDown() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\" + m_strVendor).c_str());
    }
    std::string SectionKey(const std::string& section) const {
        return "Software\\" + m_strVendor + "\\Quarrion\\" + section;
    }
    // A value stored by other means than the profile (as `reg add` would).
    void SetRaw(const std::string& section, const std::string& key, DWORD type, const void* data,
                DWORD size) {
        HKEY hkey = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, SectionKey(section).c_str(), 0, nullptr, 0,
                                  KEY_WRITE, nullptr, &hkey, nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueExA(hkey, key.c_str(), 0, type, static_cast<const BYTE*>(data), size),
                  ERROR_SUCCESS);
        RegCloseKey(hkey);
    }
    DWORD RawType(const std::string& section, const std::string& key) {
        DWORD type = 0;
        DWORD size = 0;
        EXPECT_EQ(RegGetValueA(HKEY_CURRENT_USER, SectionKey(section).c_str(), key.c_str(),
                               RRF_RT_ANY, &type, nullptr, &size),
                  ERROR_SUCCESS);
        return type;
    }
    CApplication MakeApp() {
        return CApplication(std::make_unique<CRegistryProfile>(m_strVendor, "Quarrion"), nullptr,
                            nullptr);
    }
    std::string m_strVendor;
};

TEST_F(RegistryProfile, SectionKeyIsSoftwareVendorProfileSection) {
    EXPECT_EQ(CRegistryProfile("Orvane", "Quarrion").GetSectionKeyPath("Karvel"),
              "Software\\Orvane\\Quarrion\\Karvel");
}

TEST_F(RegistryProfile, IntegersAreDwordValuesAndTextsStringValues) {
    CApplication app = MakeApp();
    EXPECT_TRUE(app.WriteProfileInt("Karvel", "flip_poly", 1));
    EXPECT_TRUE(app.WriteProfileString("Karvel", "def_lwo", "C:\\Objects\\crate.lwo"));
    EXPECT_EQ(RawType("Karvel", "flip_poly"), static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(RawType("Karvel", "def_lwo"), static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(app.GetProfileInt("Karvel", "flip_poly", 7), 1);
    EXPECT_EQ(app.GetProfileString("Karvel", "def_lwo", "x"), "C:\\Objects\\crate.lwo");
}

TEST_F(RegistryProfile, MissingValuesAndSectionsGiveTheDefault) {
    CApplication app = MakeApp();
    EXPECT_EQ(app.GetProfileInt("Karvel", "view_info", 1), 1);
    EXPECT_EQ(app.GetProfileString("Karvel", "def_lwo", "none"), "none");
    app.WriteProfileInt("Karvel", "other", 0);
    EXPECT_EQ(app.GetProfileInt("Karvel", "view_info", 5), 5);
}

TEST_F(RegistryProfile, NamesCompareWithoutRegardToCase) {
    CApplication app = MakeApp();
    app.WriteProfileString("Paths", "ApplicationPath", "C:\\Host");
    EXPECT_EQ(app.GetProfileString("PATHS", "APPLICATIONPATH"), "C:\\Host");
}

TEST_F(RegistryProfile, DwordKeepsAll32Bits) {
    CApplication app = MakeApp();
    app.WriteProfileInt("Karvel", "vzdy_update", -1);
    const std::uint32_t stored = 0xFFFFFFFFu;
    DWORD value = 0;
    DWORD size = sizeof value;
    ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, SectionKey("Karvel").c_str(), "vzdy_update",
                           RRF_RT_REG_DWORD, nullptr, &value, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(value, stored);
    EXPECT_EQ(app.GetProfileInt("Karvel", "vzdy_update", 0), -1);
}

// The framework queries four bytes into a DWORD: a string that fits with its
// NUL gives its bytes as the number; a longer one does not fit and reads as
// missing.
TEST_F(RegistryProfile, IntStoredAsStringReadsItsBytesAsTheFrameworkDoes) {
    SetRaw("Karvel", "one", REG_SZ, "1", 2);
    SetRaw("Karvel", "zero", REG_SZ, "0", 2);
    SetRaw("Karvel", "three", REG_SZ, "123", 4);
    SetRaw("Karvel", "four", REG_SZ, "1234", 5);
    SetRaw("Karvel", "empty", REG_SZ, "", 1);
    CApplication app = MakeApp();
    EXPECT_EQ(app.GetProfileInt("Karvel", "one", -5), 0x31);
    EXPECT_EQ(app.GetProfileInt("Karvel", "zero", -5), 0x30);
    EXPECT_EQ(app.GetProfileInt("Karvel", "three", -5), 0x00333231);
    EXPECT_EQ(app.GetProfileInt("Karvel", "four", -5), -5);
    EXPECT_EQ(app.GetProfileInt("Karvel", "empty", -5), 0);
}

TEST_F(RegistryProfile, DwordReadAsTextEndsAtItsFirstNul) {
    const DWORD value = 0x00004241; // "AB"
    SetRaw("Karvel", "def_lwo", REG_DWORD, &value, sizeof value);
    CApplication app = MakeApp();
    EXPECT_EQ(app.GetProfileString("Karvel", "def_lwo", "x"), "AB");
}

TEST_F(RegistryProfile, TextsAreAnsiBytesAndKeepBlanksAndQuotes) {
    CApplication app = MakeApp();
    const std::string text = " \"C:\\Obj\xE9kty\\a b.lwo\" ";
    app.WriteProfileString("Karvel", "def_lwo", text);
    EXPECT_EQ(app.GetProfileString("Karvel", "def_lwo"), text);
    const std::string longText(5000, 'x');
    app.WriteProfileString("Karvel", "export_def_dxf", longText);
    EXPECT_EQ(app.GetProfileString("Karvel", "export_def_dxf"), longText);
}

TEST_F(RegistryProfile, TextWithNulIsRefused) {
    CApplication app = MakeApp();
    EXPECT_FALSE(app.WriteProfileString("Karvel", "def_lwo", std::string("a\0b", 3)));
}

} // namespace
