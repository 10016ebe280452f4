// The built module as the host sees it: loaded with dlopen, ExecutePlugin and
// PluginVersionInfo exported, nothing else of ours visible.
#include "tests/support/test_application.h"
#include "tests/support/test_host.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <filesystem>

namespace {

struct Module {
    void* handle = dlopen(QR_BRASK_EXPORT_MODULE, RTLD_NOW | RTLD_LOCAL);
    ~Module() {
        if (handle != nullptr)
            dlclose(handle);
    }
};

} // namespace

TEST(BraskExportModule, ExportsEntryPointAndVersionText) {
    Module module;
    ASSERT_NE(module.handle, nullptr) << dlerror();
    auto version = reinterpret_cast<const char* (*)()>(dlsym(module.handle, "PluginVersionInfo"));
    ASSERT_NE(version, nullptr);
    EXPECT_STREQ(version(), "CompanyName=Brask Design\nFileVersion=1.0\nProductVersion=1.0\n"
                            "FileDescription=Object export plugin for Quarrion\n");
    EXPECT_NE(dlsym(module.handle, "ExecutePlugin"), nullptr);
    // The command and the writer stay inside the module.
    EXPECT_EQ(dlsym(module.handle, "_Z16RunExportCommandR12CApplication"), nullptr);
}

TEST(BraskExportModule, ExecutePluginAnswersTwoAndWritesTheFile) {
    Module module;
    ASSERT_NE(module.handle, nullptr) << dlerror();
    auto execute = reinterpret_cast<int (*)()>(dlsym(module.handle, "ExecutePlugin"));
    ASSERT_NE(execute, nullptr);

    CTestHost host;
    const std::filesystem::path& dir = host.Scratch();
    CTestApplication app({}, std::nullopt, (dir / "scene").string());
    host.NameIn(app.App());
    AfxSetApp(&app.App());
    const int result = execute();
    AfxSetApp(nullptr);
    EXPECT_EQ(result, 2);
    // No exchange file: an empty scene, written where the dialog said, with
    // the dialog's default extension.
    EXPECT_TRUE(std::filesystem::exists(dir / "scene.dxf"));
    EXPECT_NE(app.Transcript().find("OK - Export was successful"), std::string::npos);
}
