// A fresh empty folder under the system's temporary folder, removed with
// everything in it when the object goes. Tests that lock files or folders
// need not unlock them: the removal gives the owner its rights back first.
#pragma once

#include <filesystem>
#include <string>

class CScratchFolder {
  public:
    CScratchFolder();
    ~CScratchFolder();
    CScratchFolder(CScratchFolder&& other) noexcept;
    CScratchFolder& operator=(CScratchFolder&& other) noexcept;
    CScratchFolder(const CScratchFolder&) = delete;
    CScratchFolder& operator=(const CScratchFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

  private:
    void Remove() noexcept;

    std::filesystem::path m_path;
};
