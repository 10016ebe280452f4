// CRegistryKey: owns an open registry key and closes it however the scope ends.
#pragma once

#include "platform/win32/windows_api.h"

#include <string>

class CRegistryKey {
  public:
    CRegistryKey() = default;
    CRegistryKey(const CRegistryKey&) = delete;
    CRegistryKey& operator=(const CRegistryKey&) = delete;
    ~CRegistryKey() { Close(); }

    // Opens an existing key; false when it is missing or not accessible.
    bool Open(HKEY parent, const std::string& path, REGSAM access) {
        Close();
        return RegOpenKeyExA(parent, path.c_str(), 0, access, &m_hKey) == ERROR_SUCCESS;
    }
    // Opens the key for writing, creating it and the keys above it as needed.
    bool Create(HKEY parent, const std::string& path) {
        Close();
        return RegCreateKeyExA(parent, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                               KEY_READ | KEY_WRITE, nullptr, &m_hKey, nullptr) == ERROR_SUCCESS;
    }
    HKEY Get() const { return m_hKey; }

  private:
    void Close() {
        if (m_hKey != nullptr)
            RegCloseKey(m_hKey);
        m_hKey = nullptr;
    }
    HKEY m_hKey = nullptr;
};
