// The preferences model over real profile stores: what the boxes show (what
// the plug-ins will do), the order and set of values written, flags kept as
// stored, and Save without a change and Cancel leaving the profile file
// untouched.
#include "prefs/prefs_model.h"

#include "tests/support/file_contents.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/test_application.h"

#include "platform/application.h"
#include "platform/ini_profile.h"
#include "platform/scripted_dialogs.h"
#include "settings/plugin_settings.h"

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

// Each box shows what the plug-in reading the same profile will do, the
// plug-ins' own settings code being the judge: on first use (flip_poly
// ticked), for a vzdy_update of 2 (add, so not "Do always part update") and
// for other odd numbers.
TEST(PrefsModel, BoxesShowWhatThePluginsDo) {
    struct Case {
        const char* name;
        Values stored;
    };
    const Case cases[] = {
        {"first use", {}},
        {"always add as new", {{{"Karvel", "vzdy_update"}, "2"}}},
        {"always update", {{{"Karvel", "vzdy_update"}, "1"}}},
        {"odd numbers",
         {{{"Karvel", "use_def_lwo"}, "2"},
          {{"Karvel", "view_info"}, "0"},
          {{"Karvel", "flip_poly"}, "2"},
          {{"Karvel", "export_rename"}, "-1"},
          {{"Karvel", "export_flip_poly"}, "1"},
          {{"Karvel", "export_use_def_dxf"}, "7"},
          {{"Karvel", "export_view_info"}, "0"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CTestApplication app;
        for (const auto& [where, value] : c.stored)
            app.Profile().Write(where.first, where.second, value);
        CPrefsModel model(app.App());
        model.Load();
        const CImportSettings import = ReadImportSettings(app.App());
        const CExportSettings exporting = ReadExportSettings(app.App());
        const std::vector<bool> plugins{
            import.UseDefaultFile(),    import.GetUpdateMode() == UpdateMode::Update,
            import.ShowInfo(),          import.FlipPolygons(),
            exporting.RenameParts(),    exporting.FlipPolygons(),
            exporting.UseDefaultFile(), exporting.ShowInfo()};
        std::vector<bool> boxes;
        for (const CSetting& setting : kSettings)
            if (setting.m_rule != OnRule::Text)
                boxes.push_back(model.IsChecked(setting.m_id));
        EXPECT_EQ(boxes, plugins);
    }
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

// Save writes what the user changed and nothing else: without a change the
// profile file keeps every byte, whatever it holds; a box clicked twice is no
// change.
TEST(PrefsModel, SaveWithoutAChangeLeavesTheProfileByteForByte) {
    struct Case {
        const char* name;
        std::string ini;
        std::vector<SettingId> clickedTwice;
    };
    const Case cases[] = {
        {"no profile yet", "", {}},
        {"absent keys", "[Paths]\nApplicationPath=/opt/q\n[Karvel]\ndef_lwo=/a.lwo\n", {}},
        {"a stored 2",
         "[Karvel]\nvzdy_update=2\nflip_poly=2\nuse_def_lwo=2\n",
         {SettingId::VzdyUpdate, SettingId::FlipPoly}},
        {"written by hand",
         "; mine\n[Karvel]\n view_info = 01\nexport_def_dxf=\t/x.dxf \nflip_poly=1\n",
         {SettingId::ViewInfo}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CScratchFolder dir;
        const fs::path ini = dir.Path() / "Quarrion.ini";
        if (!c.ini.empty())
            WriteFile(ini, c.ini);
        auto app = MakeApp(std::make_unique<CIniProfile>(ini.string()));
        CPrefsModel model(*app);
        model.Load();
        for (SettingId flag : c.clickedTwice) {
            model.SetChecked(flag, !model.IsChecked(flag));
            model.SetChecked(flag, !model.IsChecked(flag));
        }
        model.SetDefLwo(std::string(model.GetDefLwo())); // typed over with the same text
        model.Save();
        if (c.ini.empty())
            EXPECT_FALSE(fs::exists(ini));
        else
            EXPECT_EQ(ReadFile(ini), c.ini);
    }
}

TEST(PrefsModel, SaveWritesTheChangedInOrderIntoTheIniFile) {
    CScratchFolder dir;
    const fs::path ini = dir.Path() / "Quarrion.ini";
    auto app = MakeApp(std::make_unique<CIniProfile>(ini.string()));
    CPrefsModel model(*app);
    model.Load();
    model.SetDefLwo("C:\\Objects\\a b.lwo");
    model.SetChecked(SettingId::FlipPoly, false);
    model.SetChecked(SettingId::ExportViewInfo, false);
    model.SetExportDefDxf("/tmp/out.dxf");
    model.Save();

    // Read back through a second application object, as a plug-in would.
    auto reader = MakeApp(std::make_unique<CIniProfile>(ini.string()));
    EXPECT_EQ(reader->GetProfileString("Karvel", "def_lwo", "?"), "C:\\Objects\\a b.lwo");
    EXPECT_EQ(reader->GetProfileInt("Karvel", "flip_poly", -5), 0);
    EXPECT_EQ(reader->GetProfileInt("Karvel", "export_view_info", -5), 0);
    EXPECT_EQ(reader->GetProfileString("Karvel", "export_def_dxf", "?"), "/tmp/out.dxf");

    // The four changed keys appear in the file in the table's order, the rest not at all.
    const std::string text = ReadFile(ini);
    std::size_t last = 0;
    for (const std::string& key : {"def_lwo", "flip_poly", "export_def_dxf", "export_view_info"}) {
        const std::size_t at = text.find("\n" + key + "=");
        ASSERT_NE(at, std::string::npos) << key << " in\n" << text;
        EXPECT_GT(at, last) << key;
        last = at;
    }
    EXPECT_EQ(text.find("vzdy_update"), std::string::npos) << text;
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
    EXPECT_FALSE(model.IsChecked(SettingId::VzdyUpdate)); // -1 adds, never updates

    // The user clears one odd flag shown ticked and ticks one shown clear; the
    // rest stay as stored.
    model.SetChecked(SettingId::UseDefLwo, false);
    model.SetChecked(SettingId::ExportRename, true);
    model.Save();
    EXPECT_EQ(app.App().GetProfileInt("Karvel", "use_def_lwo", 99), 0);
    EXPECT_EQ(app.App().GetProfileInt("Karvel", "vzdy_update", 99), -1);
    EXPECT_EQ(app.App().GetProfileInt("Karvel", "export_flip_poly", 99), 7);
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
