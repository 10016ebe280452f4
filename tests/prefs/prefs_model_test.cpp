// The preferences model over real profile stores: defaults on first use, the
// order and set of values written, flags kept as stored, and Cancel leaving
// the profile file untouched.
#include "prefs/prefs_model.h"

#include "tests/support/file_contents.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/test_application.h"

#include "platform/application.h"
#include "platform/ini_profile.h"
#include "platform/scripted_dialogs.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

// An application over a profile file.
std::unique_ptr<CApplication> MakeApp(std::unique_ptr<CProfileStore> profile) {
    return std::make_unique<CApplication>(
        std::move(profile),
        std::make_unique<CScriptedDialogs>(std::deque<std::string>{}, std::nullopt, std::nullopt),
        nullptr);
}

using Values = std::map<std::pair<std::string, std::string>, std::string>;

const std::vector<std::string> kSettingOrder{
    "def_lwo",         "use_def_lwo",      "vzdy_update",
    "view_info",       "flip_poly",        "export_def_dxf",
    "export_rename",   "export_flip_poly", "export_use_def_dxf",
    "export_view_info"};

} // namespace

TEST(PrefsModel, FirstUseShowsTheProgramsDefaults) {
    CTestApplication app;
    CPrefsModel model(app.App());
    model.Load();
    EXPECT_EQ(model.GetDefLwo(), "");
    EXPECT_EQ(model.GetExportDefDxf(), "");
    EXPECT_FALSE(model.IsChecked(SettingId::UseDefLwo));
    EXPECT_FALSE(model.IsChecked(SettingId::VzdyUpdate));
    EXPECT_TRUE(model.IsChecked(SettingId::ViewInfo));
    EXPECT_FALSE(model.IsChecked(SettingId::FlipPoly));
    EXPECT_TRUE(model.IsChecked(SettingId::ExportRename));
    EXPECT_FALSE(model.IsChecked(SettingId::ExportFlipPoly));
    EXPECT_FALSE(model.IsChecked(SettingId::ExportUseDefDxf));
    EXPECT_TRUE(model.IsChecked(SettingId::ExportViewInfo));
}

TEST(PrefsModel, LoadReadsHostFolderThenTheTenSettingsInOrder) {
    CTestApplication app;
    CPrefsModel model(app.App());
    model.Load();
    const auto& reads = app.Profile().GetReads();
    ASSERT_EQ(reads.size(), 11u);
    EXPECT_EQ(reads[0], std::make_pair(std::string("Paths"), std::string("ApplicationPath")));
    for (std::size_t i = 0; i < kSettingOrder.size(); ++i) {
        EXPECT_EQ(reads[i + 1], std::make_pair(std::string("Karvel"), kSettingOrder[i])) << i;
    }
}

TEST(PrefsModel, FirstSaveStoresAllTenWithFlipPolyZero) {
    CTestApplication app;
    CPrefsModel model(app.App());
    model.Load();
    model.Save();
    const Values expected{
        {{"Karvel", "def_lwo"}, ""},
        {{"Karvel", "use_def_lwo"}, "0"},
        {{"Karvel", "vzdy_update"}, "0"},
        {{"Karvel", "view_info"}, "1"},
        {{"Karvel", "flip_poly"}, "0"},
        {{"Karvel", "export_def_dxf"}, ""},
        {{"Karvel", "export_rename"}, "1"},
        {{"Karvel", "export_flip_poly"}, "0"},
        {{"Karvel", "export_use_def_dxf"}, "0"},
        {{"Karvel", "export_view_info"}, "1"},
    };
    EXPECT_EQ(app.Profile().GetValues(), expected);
}

TEST(PrefsModel, SaveWritesTheTenInOrderIntoTheIniFile) {
    CScratchFolder dir;
    const fs::path ini = dir.Path() / "Quarrion.ini";
    auto app = MakeApp(std::make_unique<CIniProfile>(ini.string()));
    CPrefsModel model(*app);
    model.Load();
    model.SetDefLwo("C:\\Objects\\a b.lwo");
    model.SetChecked(SettingId::FlipPoly, true);
    model.SetChecked(SettingId::ExportViewInfo, false);
    model.SetExportDefDxf("/tmp/out.dxf");
    model.Save();

    // Read back through a second application object, as a plug-in would.
    auto reader = MakeApp(std::make_unique<CIniProfile>(ini.string()));
    EXPECT_EQ(reader->GetProfileString("Karvel", "def_lwo", "?"), "C:\\Objects\\a b.lwo");
    EXPECT_EQ(reader->GetProfileInt("Karvel", "flip_poly", -5), 1);
    EXPECT_EQ(reader->GetProfileInt("Karvel", "export_view_info", -5), 0);
    EXPECT_EQ(reader->GetProfileString("Karvel", "export_def_dxf", "?"), "/tmp/out.dxf");

    // The keys appear in the file in the order they were first written.
    const std::string text = ReadFile(ini);
    std::size_t last = 0;
    for (const std::string& key : kSettingOrder) {
        const std::size_t at = text.find("\n" + key + "=");
        ASSERT_NE(at, std::string::npos) << key << " in\n" << text;
        EXPECT_GT(at, last) << key;
        last = at;
    }
}

TEST(PrefsModel, OddFlagValuesPassThroughUnlessTheUserChangesThem) {
    CTestApplication app;
    app.App().WriteProfileInt("Karvel", "use_def_lwo", 2);
    app.App().WriteProfileInt("Karvel", "vzdy_update", -1);
    app.App().WriteProfileInt("Karvel", "export_flip_poly", 7);
    app.App().WriteProfileInt("Karvel", "export_rename", 2);

    CPrefsModel model(app.App());
    model.Load();
    EXPECT_EQ(model.GetFlag(SettingId::UseDefLwo), 2);
    EXPECT_EQ(model.GetFlag(SettingId::VzdyUpdate), -1);
    EXPECT_TRUE(model.IsChecked(SettingId::UseDefLwo));
    EXPECT_TRUE(model.IsChecked(SettingId::VzdyUpdate));

    // The user clears one odd flag and sets another; the rest stay as stored.
    model.SetChecked(SettingId::ExportFlipPoly, false);
    model.SetChecked(SettingId::ExportRename, true);
    model.Save();
    EXPECT_EQ(app.App().GetProfileInt("Karvel", "use_def_lwo", 99), 2);
    EXPECT_EQ(app.App().GetProfileInt("Karvel", "vzdy_update", 99), -1);
    EXPECT_EQ(app.App().GetProfileInt("Karvel", "export_flip_poly", 99), 0);
    EXPECT_EQ(app.App().GetProfileInt("Karvel", "export_rename", 99), 1);
}

TEST(PrefsModel, CancelLeavesTheProfileBytesUnchanged) {
    CScratchFolder dir;
    const fs::path ini = dir.Path() / "Quarrion.ini";
    const std::string original =
        "; kept by hand\n[Paths]\nApplicationPath=/opt/quarrion\n\n[Karvel]\nflip_poly=2\n"
        "def_lwo=C:\\x.lwo\n";
    WriteFile(ini, original);

    auto app = MakeApp(std::make_unique<CIniProfile>(ini.string()));
    CPrefsModel model(*app);
    model.Load();
    // The user edits, then cancels: the dialog drops the model unsaved.
    model.SetDefLwo("/elsewhere.lwo");
    model.SetChecked(SettingId::FlipPoly, false);
    EXPECT_EQ(ReadFile(ini), original);
}

TEST(PrefsModel, PluginDirIsTheFolderThePluginsUse) {
    CScratchFolder dir;
    fs::create_directories(dir.Path() / "Plugins");
    CTestApplication app;
    app.App().WriteProfileString("Paths", "ApplicationPath", dir.Path().string());
    CPrefsModel model(app.App());
    model.Load();
    // An existing folder spelled differently is the one the plug-ins use too.
    EXPECT_EQ(model.GetPluginDir(), (dir.Path() / "Plugins").string() + "/");
}

TEST(PrefsModel, MissingHostFolderGivesTheRelativePluginFolder) {
    CTestApplication app;
    CPrefsModel model(app.App());
    model.Load();
    EXPECT_EQ(model.GetPluginDir(), "PlugIns/");
}
