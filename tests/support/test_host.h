// A host's folder for running the plug-ins' commands: a scratch folder
// holding host/ and its plug-in folder host/PlugIns/, where the exchange
// file lives. Beside host/ there is room for objects, exports and outputs.
#pragma once

#include "tests/support/scratch_folder.h"

#include <filesystem>
#include <memory>

class CApplication;
class CSceneDocument;

class CTestHost {
  public:
    CTestHost();

    // The scratch folder that holds host/.
    const std::filesystem::path& Scratch() const { return m_scratch.Path(); }
    const std::filesystem::path& Folder() const { return m_folder; }
    std::filesystem::path PluginFolder() const { return m_folder / "PlugIns"; }
    std::filesystem::path ExchangePath() const { return PluginFolder() / "qrplugin.qrc"; }

    // Stores the folder as ApplicationPath of [Paths], as the host does
    // before it runs a plug-in.
    void NameIn(CApplication& app) const;
    // The host's scene, written and read with the scene library; a scene
    // that cannot be read fails the test.
    void WriteScene(CSceneDocument& doc) const;
    std::unique_ptr<CSceneDocument> ReadScene() const;

  private:
    CScratchFolder m_scratch;
    std::filesystem::path m_folder;
};
