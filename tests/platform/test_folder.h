// A fresh empty folder per test, removed afterwards.
#pragma once

#include <filesystem>
#include <string>
#include <unistd.h>

class CTestFolder {
  public:
    CTestFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "qrplatform-test-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("cannot create a test folder");
        m_path = pattern;
    }
    ~CTestFolder() {
        std::error_code error;
        std::filesystem::remove_all(m_path, error);
    }
    CTestFolder(const CTestFolder&) = delete;
    CTestFolder& operator=(const CTestFolder&) = delete;
    const std::filesystem::path& Path() const { return m_path; }
    std::string operator/(const std::string& name) const { return (m_path / name).string(); }

  private:
    std::filesystem::path m_path;
};
