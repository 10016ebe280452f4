#include "host_folder.h"
#include "memory_profile.h"
#include "test_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>

namespace {

// Sets an environment variable for one scope and puts the old value back.
class CScopedEnv {
  public:
    CScopedEnv(const char* name, const char* value) : m_name(name) {
        if (const char* old = std::getenv(name))
            m_old = old;
        if (value != nullptr)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~CScopedEnv() {
        if (m_old)
            setenv(m_name, m_old->c_str(), 1);
        else
            unsetenv(m_name);
    }

  private:
    const char* m_name;
    std::optional<std::string> m_old;
};

} // namespace

TEST(PluginFolder, PlugInsWhenNoSpellingExists) {
    CTestFolder folder;
    const std::string host = folder.Path().string();
    EXPECT_EQ(GetPluginFolder(host), host + "/PlugIns/");
    EXPECT_EQ(GetPluginFolder(host + "/"), host + "/PlugIns/");
}

TEST(PluginFolder, ExistingFolderOfAnotherCaseIsUsed) {
    CTestFolder folder;
    const std::string host = folder.Path().string();
    std::filesystem::create_directory(folder / "Plugins");
    EXPECT_EQ(GetPluginFolder(host), host + "/Plugins/");
    std::filesystem::create_directory(folder / "PLUGINS");
    EXPECT_EQ(GetPluginFolder(host), host + "/PLUGINS/") << "first spelling in byte order";
    std::filesystem::create_directory(folder / "PlugIns");
    EXPECT_EQ(GetPluginFolder(host), host + "/PlugIns/") << "the host's own spelling wins";
}

TEST(PluginFolder, FilesAndOtherNamesAreNotFolders) {
    CTestFolder folder;
    const std::string host = folder.Path().string();
    std::ofstream(folder / "plugins") << "a file";
    std::filesystem::create_directory(folder / "plugins2");
    std::filesystem::create_directory(folder / "plugin");
    EXPECT_EQ(GetPluginFolder(host), host + "/PlugIns/");
}

TEST(PluginFolder, EmptyHostFolderIsRelative) {
    CTestFolder folder;
    const auto old = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());
    EXPECT_EQ(GetPluginFolder(""), "PlugIns/");
    std::filesystem::create_directory("plugins");
    EXPECT_EQ(GetPluginFolder(""), "plugins/");
    std::filesystem::current_path(old);
}

TEST(PluginFolder, MissingHostFolderGivesPlugIns) {
    EXPECT_EQ(GetPluginFolder("/no/such/host"), "/no/such/host/PlugIns/");
}

TEST(ApplicationPath, ReadFromPathsWithoutTrailingSlash) {
    auto profile = std::make_unique<CMemoryProfile>();
    CMemoryProfile& store = *profile;
    CApplication app(std::move(profile), nullptr, nullptr);
    EXPECT_EQ(GetApplicationPath(app), "");
    store.Write("Paths", "ApplicationPath", "/opt/quarrion//");
    EXPECT_EQ(GetApplicationPath(app), "/opt/quarrion");
    store.Write("Paths", "ApplicationPath", "/");
    EXPECT_EQ(GetApplicationPath(app), "/");
    store.Write("Paths", "ApplicationPath", "relative/host");
    EXPECT_EQ(GetApplicationPath(app), "relative/host");
}

TEST(DefaultProfile, EnvironmentDecidesThePath) {
    CScopedEnv home("HOME", "/home/user");
    {
        CScopedEnv profile("QUARRION_PROFILE", "/tmp/p.ini");
        CScopedEnv xdg("XDG_CONFIG_HOME", "/xdg");
        EXPECT_EQ(DefaultProfilePath(), "/tmp/p.ini");
    }
    {
        CScopedEnv profile("QUARRION_PROFILE", nullptr);
        CScopedEnv xdg("XDG_CONFIG_HOME", "/xdg");
        EXPECT_EQ(DefaultProfilePath(), "/xdg/Orvane/Quarrion.ini");
    }
    {
        CScopedEnv profile("QUARRION_PROFILE", "");
        CScopedEnv xdg("XDG_CONFIG_HOME", "");
        EXPECT_EQ(DefaultProfilePath(), "/home/user/.config/Orvane/Quarrion.ini");
    }
    {
        CScopedEnv profile("QUARRION_PROFILE", nullptr);
        CScopedEnv xdg("XDG_CONFIG_HOME", "relative");
        EXPECT_EQ(DefaultProfilePath(), "/home/user/.config/Orvane/Quarrion.ini");
    }
}
