// The preferences model over real profile stores: defaults on first use, the
// order and set of values written, flags kept as stored, and Cancel leaving
// the profile file untouched.
#include "prefs_model.h"

#include "application.h"
#include "ini_profile.h"
#include "memory_profile.h"
#include "scripted_dialogs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::unique_ptr<CApplication> MakeApp(std::unique_ptr<CProfileStore> profile) {
    return std::make_unique<CApplication>(
        std::move(profile),
        std::make_unique<CScriptedDialogs>(std::deque<std::string>{}, std::nullopt, std::nullopt),
        nullptr);
}

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class TempDir {
  public:
    TempDir() {
        m_path = fs::path(QR_BINARY_DIR) / "prefs-test-tmp" /
                 (::testing::UnitTest::GetInstance()->current_test_info()->name() +
                  std::to_string(::getpid()));
        fs::remove_all(m_path);
        fs::create_directories(m_path);
    }
    ~TempDir() { fs::remove_all(m_path); }
    const fs::path& Path() const { return m_path; }

  private:
    fs::path m_path;
};

using Values = std::map<std::pair<std::string, std::string>, std::string>;

const std::vector<std::string> kSettingOrder{
    "def_lwo",         "use_def_lwo",      "vzdy_update",
    "view_info",       "flip_poly",        "export_def_dxf",
    "export_rename",   "export_flip_poly", "export_use_def_dxf",
    "export_view_info"};

} // namespace

TEST(PrefsModel, FirstUseShowsTheProgramsDefaults) {
    auto app = MakeApp(std::make_unique<CMemoryProfile>());
    CPrefsModel model(*app);
    model.Load();
    EXPECT_EQ(model.GetDefLwo(), "");
    EXPECT_EQ(model.GetExportDefDxf(), "");
    EXPECT_FALSE(model.IsChecked(PrefsFlag::UseDefLwo));
    EXPECT_FALSE(model.IsChecked(PrefsFlag::VzdyUpdate));
    EXPECT_TRUE(model.IsChecked(PrefsFlag::ViewInfo));
    EXPECT_FALSE(model.IsChecked(PrefsFlag::FlipPoly));
    EXPECT_TRUE(model.IsChecked(PrefsFlag::ExportRename));
    EXPECT_FALSE(model.IsChecked(PrefsFlag::ExportFlipPoly));
    EXPECT_FALSE(model.IsChecked(PrefsFlag::ExportUseDefDxf));
    EXPECT_TRUE(model.IsChecked(PrefsFlag::ExportViewInfo));
}

TEST(PrefsModel, LoadReadsHostFolderThenTheTenSettingsInOrder) {
    auto app = MakeApp(std::make_unique<CMemoryProfile>());
    CPrefsModel model(*app);
    model.Load();
    const auto& reads = static_cast<CMemoryProfile&>(app->Profile()).GetReads();
    ASSERT_EQ(reads.size(), 11u);
    EXPECT_EQ(reads[0], std::make_pair(std::string("Paths"), std::string("ApplicationPath")));
    for (std::size_t i = 0; i < kSettingOrder.size(); ++i) {
        EXPECT_EQ(reads[i + 1], std::make_pair(std::string("Karvel"), kSettingOrder[i])) << i;
    }
}

TEST(PrefsModel, FirstSaveStoresAllTenWithFlipPolyZero) {
    auto app = MakeApp(std::make_unique<CMemoryProfile>());
    CPrefsModel model(*app);
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
    EXPECT_EQ(static_cast<CMemoryProfile&>(app->Profile()).GetValues(), expected);
}

TEST(PrefsModel, SaveWritesTheTenInOrderIntoTheIniFile) {
    TempDir dir;
    const fs::path ini = dir.Path() / "Quarrion.ini";
    auto app = MakeApp(std::make_unique<CIniProfile>(ini.string()));
    CPrefsModel model(*app);
    model.Load();
    model.SetDefLwo("C:\\Objects\\a b.lwo");
    model.SetChecked(PrefsFlag::FlipPoly, true);
    model.SetChecked(PrefsFlag::ExportViewInfo, false);
    model.SetExportDefDxf("/tmp/out.dxf");
    model.Save();

    // Read back through a second application object, as a plug-in would.
    auto reader = MakeApp(std::make_unique<CIniProfile>(ini.string()));
    EXPECT_EQ(reader->GetProfileString("Karvel", "def_lwo", "?"), "C:\\Objects\\a b.lwo");
    EXPECT_EQ(reader->GetProfileInt("Karvel", "flip_poly", -5), 1);
    EXPECT_EQ(reader->GetProfileInt("Karvel", "export_view_info", -5), 0);
    EXPECT_EQ(reader->GetProfileString("Karvel", "export_def_dxf", "?"), "/tmp/out.dxf");

    // The keys appear in the file in the order they were first written.
    const std::string text = ReadBytes(ini);
    std::size_t last = 0;
    for (const std::string& key : kSettingOrder) {
        const std::size_t at = text.find("\n" + key + "=");
        ASSERT_NE(at, std::string::npos) << key << " in\n" << text;
        EXPECT_GT(at, last) << key;
        last = at;
    }
}

TEST(PrefsModel, OddFlagValuesPassThroughUnlessTheUserChangesThem) {
    auto app = MakeApp(std::make_unique<CMemoryProfile>());
    app->WriteProfileInt("Karvel", "use_def_lwo", 2);
    app->WriteProfileInt("Karvel", "vzdy_update", -1);
    app->WriteProfileInt("Karvel", "export_flip_poly", 7);
    app->WriteProfileInt("Karvel", "export_rename", 2);

    CPrefsModel model(*app);
    model.Load();
    EXPECT_EQ(model.GetFlag(PrefsFlag::UseDefLwo), 2);
    EXPECT_EQ(model.GetFlag(PrefsFlag::VzdyUpdate), -1);
    EXPECT_TRUE(model.IsChecked(PrefsFlag::UseDefLwo));
    EXPECT_TRUE(model.IsChecked(PrefsFlag::VzdyUpdate));

    // The user clears one odd flag and sets another; the rest stay as stored.
    model.SetChecked(PrefsFlag::ExportFlipPoly, false);
    model.SetChecked(PrefsFlag::ExportRename, true);
    model.Save();
    EXPECT_EQ(app->GetProfileInt("Karvel", "use_def_lwo", 99), 2);
    EXPECT_EQ(app->GetProfileInt("Karvel", "vzdy_update", 99), -1);
    EXPECT_EQ(app->GetProfileInt("Karvel", "export_flip_poly", 99), 0);
    EXPECT_EQ(app->GetProfileInt("Karvel", "export_rename", 99), 1);
}

TEST(PrefsModel, CancelLeavesTheProfileBytesUnchanged) {
    TempDir dir;
    const fs::path ini = dir.Path() / "Quarrion.ini";
    const std::string original =
        "; kept by hand\n[Paths]\nApplicationPath=/opt/quarrion\n\n[Karvel]\nflip_poly=2\n"
        "def_lwo=C:\\x.lwo\n";
    std::ofstream(ini, std::ios::binary) << original;

    auto app = MakeApp(std::make_unique<CIniProfile>(ini.string()));
    CPrefsModel model(*app);
    model.Load();
    // The user edits, then cancels: the dialog drops the model unsaved.
    model.SetDefLwo("/elsewhere.lwo");
    model.SetChecked(PrefsFlag::FlipPoly, false);
    EXPECT_EQ(ReadBytes(ini), original);
}

TEST(PrefsModel, PluginDirIsTheFolderThePluginsUse) {
    TempDir dir;
    fs::create_directories(dir.Path() / "Plugins");
    auto app = MakeApp(std::make_unique<CMemoryProfile>());
    app->WriteProfileString("Paths", "ApplicationPath", dir.Path().string());
    CPrefsModel model(*app);
    model.Load();
    // An existing folder spelled differently is the one the plug-ins use too.
    EXPECT_EQ(model.GetPluginDir(), (dir.Path() / "Plugins").string() + "/");
}

TEST(PrefsModel, MissingHostFolderGivesTheRelativePluginFolder) {
    auto app = MakeApp(std::make_unique<CMemoryProfile>());
    CPrefsModel model(*app);
    model.Load();
    EXPECT_EQ(model.GetPluginDir(), "PlugIns/");
}
