#include "platform/win32/registry_profile.h"

#include "platform/win32/registry_key.h"

#include <cstdint>
#include <cstring>
#include <vector>

CRegistryProfile::CRegistryProfile(std::string registryKey, std::string profileName)
    : m_strRegistryKey(std::move(registryKey)), m_strProfileName(std::move(profileName)) {}

std::string CRegistryProfile::GetSectionKeyPath(const std::string& section) const {
    return "Software\\" + m_strRegistryKey + "\\" + m_strProfileName + "\\" + section;
}

bool CRegistryProfile::Read(const std::string& section, const std::string& key,
                            std::string& value) {
    CRegistryKey hkey;
    if (!hkey.Open(HKEY_CURRENT_USER, GetSectionKeyPath(section), KEY_READ))
        return false;
    // Ask for the size first; a value that grows in between is asked again.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD size = 0;
        if (RegQueryValueExA(hkey.Get(), key.c_str(), nullptr, nullptr, nullptr, &size) !=
            ERROR_SUCCESS)
            return false;
        std::vector<char> data(size + 1, '\0');
        const LONG result = RegQueryValueExA(hkey.Get(), key.c_str(), nullptr, nullptr,
                                             reinterpret_cast<BYTE*>(data.data()), &size);
        if (result == ERROR_MORE_DATA)
            continue;
        if (result != ERROR_SUCCESS)
            return false;
        // The framework hands the buffer to a string that ends at the first NUL.
        value.assign(data.data(), strnlen(data.data(), size));
        return true;
    }
    return false;
}

bool CRegistryProfile::ReadInt(const std::string& section, const std::string& key, int& value) {
    CRegistryKey hkey;
    if (!hkey.Open(HKEY_CURRENT_USER, GetSectionKeyPath(section), KEY_READ))
        return false;
    std::uint8_t bytes[4] = {0, 0, 0, 0};
    DWORD size = sizeof bytes;
    if (RegQueryValueExA(hkey.Get(), key.c_str(), nullptr, nullptr, bytes, &size) != ERROR_SUCCESS)
        return false;
    const std::uint32_t number =
        static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
        static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
    value = static_cast<int>(number);
    return true;
}

bool CRegistryProfile::Write(const std::string& section, const std::string& key,
                             const std::string& value) {
    if (value.find('\0') != std::string::npos)
        return false; // could not be read back as written
    CRegistryKey hkey;
    if (!hkey.Create(HKEY_CURRENT_USER, GetSectionKeyPath(section)))
        return false;
    return RegSetValueExA(hkey.Get(), key.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

bool CRegistryProfile::WriteInt(const std::string& section, const std::string& key, int value) {
    CRegistryKey hkey;
    if (!hkey.Create(HKEY_CURRENT_USER, GetSectionKeyPath(section)))
        return false;
    const DWORD number = static_cast<DWORD>(value);
    return RegSetValueExA(hkey.Get(), key.c_str(), 0, REG_DWORD,
                          reinterpret_cast<const BYTE*>(&number), sizeof number) == ERROR_SUCCESS;
}
