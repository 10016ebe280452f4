#include "settings/plugin_settings.h"

#include "tests/support/test_application.h"

#include <gtest/gtest.h>

namespace {

using Reads = std::vector<std::pair<std::string, std::string>>;

TEST(PluginSettings, ImportDefaultsAndReadingOrder) {
    CTestApplication t;
    const CImportSettings s = ReadImportSettings(t.App());
    EXPECT_EQ(s.m_strDefLwo, "");
    EXPECT_EQ(s.m_nUseDefLwo, 0);
    EXPECT_EQ(s.m_nVzdyUpdate, 0);
    EXPECT_EQ(s.m_nViewInfo, 1);
    EXPECT_EQ(s.m_nFlipPoly, 1); // the plug-in flips unless told otherwise
    EXPECT_TRUE(s.FlipPolygons());
    EXPECT_TRUE(s.ShowInfo());
    EXPECT_FALSE(s.UseDefaultFile());
    EXPECT_EQ(s.GetUpdateMode(), UpdateMode::Ask);
    EXPECT_EQ(t.Profile().GetReads(), (Reads{{"Karvel", "def_lwo"},
                                             {"Karvel", "use_def_lwo"},
                                             {"Karvel", "vzdy_update"},
                                             {"Karvel", "view_info"},
                                             {"Karvel", "flip_poly"}}));
}

TEST(PluginSettings, ImportOnRules) {
    CTestApplication t;
    t.App().WriteProfileString("Karvel", "def_lwo", "/data/crate.lwo");
    t.App().WriteProfileInt("Karvel", "use_def_lwo", 2);
    t.App().WriteProfileInt("Karvel", "vzdy_update", 1);
    t.App().WriteProfileInt("Karvel", "view_info", -1);
    t.App().WriteProfileInt("Karvel", "flip_poly", 2);
    CImportSettings s = ReadImportSettings(t.App());
    EXPECT_EQ(s.m_strDefLwo, "/data/crate.lwo");
    EXPECT_TRUE(s.UseDefaultFile());
    EXPECT_EQ(s.GetUpdateMode(), UpdateMode::Update);
    EXPECT_TRUE(s.ShowInfo());
    EXPECT_EQ(s.m_nFlipPoly, 2);
    EXPECT_FALSE(s.FlipPolygons()); // only exactly 1
    s.m_nVzdyUpdate = 3;
    EXPECT_EQ(s.GetUpdateMode(), UpdateMode::Add);
    s.m_nViewInfo = 0;
    EXPECT_FALSE(s.ShowInfo());
}

TEST(PluginSettings, ExportDefaultsSkipTheDefaultFile) {
    CTestApplication t;
    t.App().WriteProfileString("Karvel", "export_def_dxf", "/out/site.dxf");
    const CExportSettings s = ReadExportSettings(t.App());
    EXPECT_TRUE(s.RenameParts());
    EXPECT_FALSE(s.FlipPolygons());
    EXPECT_FALSE(s.UseDefaultFile());
    EXPECT_TRUE(s.ShowInfo());
    EXPECT_EQ(s.m_strExportDefDxf, "");
    EXPECT_EQ(t.Profile().GetReads(), (Reads{{"Karvel", "export_rename"},
                                             {"Karvel", "export_flip_poly"},
                                             {"Karvel", "export_use_def_dxf"},
                                             {"Karvel", "export_view_info"}}));
}

TEST(PluginSettings, ExportFlagsAreOnOnlyAtExactlyOne) {
    for (int use : {1, 2}) {
        CTestApplication t;
        t.App().WriteProfileString("Karvel", "export_def_dxf", "/out/site.dxf");
        t.App().WriteProfileInt("Karvel", "export_use_def_dxf", use);
        t.App().WriteProfileInt("Karvel", "export_rename", 2);
        t.App().WriteProfileInt("Karvel", "export_flip_poly", 1);
        t.App().WriteProfileInt("Karvel", "export_view_info", 0);
        const CExportSettings s = ReadExportSettings(t.App());
        EXPECT_EQ(s.UseDefaultFile(), use == 1);
        EXPECT_EQ(s.m_strExportDefDxf, use == 1 ? "/out/site.dxf" : "");
        EXPECT_EQ(t.Profile().GetReads().size(), use == 1 ? 5u : 4u);
        EXPECT_FALSE(s.RenameParts());
        EXPECT_TRUE(s.FlipPolygons());
        EXPECT_FALSE(s.ShowInfo());
    }
}

} // namespace
