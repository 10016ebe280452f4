#include "platform/host_folder.h"

#include "tests/support/file_contents.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/test_application.h"

#include <gtest/gtest.h>

#include <cstdlib>
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
    CScratchFolder folder;
    const std::string host = folder.Path().string();
    EXPECT_EQ(GetPluginFolder(host), host + "/PlugIns/");
    EXPECT_EQ(GetPluginFolder(host + "/"), host + "/PlugIns/");
}

TEST(PluginFolder, ExistingFolderOfAnotherCaseIsUsed) {
    CScratchFolder folder;
    const std::string host = folder.Path().string();
    std::filesystem::create_directory(folder / "Plugins");
    EXPECT_EQ(GetPluginFolder(host), host + "/Plugins/");
    std::filesystem::create_directory(folder / "PLUGINS");
    EXPECT_EQ(GetPluginFolder(host), host + "/PLUGINS/") << "first spelling in byte order";
    std::filesystem::create_directory(folder / "PlugIns");
    EXPECT_EQ(GetPluginFolder(host), host + "/PlugIns/") << "the host's own spelling wins";
}

TEST(PluginFolder, FilesAndOtherNamesAreNotFolders) {
    CScratchFolder folder;
    const std::string host = folder.Path().string();
    WriteFile(folder / "plugins", "a file");
    std::filesystem::create_directory(folder / "plugins2");
    std::filesystem::create_directory(folder / "plugin");
    EXPECT_EQ(GetPluginFolder(host), host + "/PlugIns/");
}

TEST(PluginFolder, EmptyHostFolderIsRelative) {
    CScratchFolder folder;
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
    CTestApplication test;
    CMemoryProfile& store = test.Profile();
    CApplication& app = test.App();
    EXPECT_EQ(GetApplicationPath(app), "");
    store.Write("Paths", "ApplicationPath", "/opt/quarrion//");
    EXPECT_EQ(GetApplicationPath(app), "/opt/quarrion");
    store.Write("Paths", "ApplicationPath", "/");
    EXPECT_EQ(GetApplicationPath(app), "/");
    store.Write("Paths", "ApplicationPath", "relative/host");
    EXPECT_EQ(GetApplicationPath(app), "relative/host");
}

TEST(DefaultProfile, EnvironmentDecidesThePath) {
    struct Case {
        const char* profile; // null: not set
        const char* xdg;
        const char* path;
    };
    const Case cases[] = {
        {"/tmp/p.ini", "/xdg", "/tmp/p.ini"},
        {nullptr, "/xdg", "/xdg/Orvane/Quarrion.ini"},
        {"", "", "/home/user/.config/Orvane/Quarrion.ini"},
        {nullptr, "relative", "/home/user/.config/Orvane/Quarrion.ini"},
    };
    CScopedEnv home("HOME", "/home/user");
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("QUARRION_PROFILE=") + (c.profile ? c.profile : "(unset)") +
                     " XDG_CONFIG_HOME=" + c.xdg);
        CScopedEnv profile("QUARRION_PROFILE", c.profile);
        CScopedEnv xdg("XDG_CONFIG_HOME", c.xdg);
        EXPECT_EQ(DefaultProfilePath(), c.path);
    }
}
