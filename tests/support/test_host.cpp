#include "tests/support/test_host.h"

#include "tests/support/test_application.h"

#include "scene/exchange_file.h"
#include "scene/scene_document.h"

#include <gtest/gtest.h>

CTestHost::CTestHost() : m_folder(m_scratch / "host") {
    std::filesystem::create_directories(PluginFolder());
}

void CTestHost::NameIn(CApplication& app) const {
    app.WriteProfileString("Paths", "ApplicationPath", m_folder.string());
}

void CTestHost::WriteScene(CSceneDocument& doc) const {
    CTestApplication app;
    NameIn(app.App());
    WriteExchangeFile(doc, kExchangeFileName, app.App());
    EXPECT_EQ(app.Transcript(), "") << "writing the scene showed a message";
}

std::unique_ptr<CSceneDocument> CTestHost::ReadScene() const {
    auto doc = std::make_unique<CSceneDocument>();
    CTestApplication app;
    NameIn(app.App());
    EXPECT_EQ(ReadExchangeFile(*doc, kExchangeFileName, app.App()), ExchangeStatus::Read);
    return doc;
}
