// CRegistryProfile: the profile where the host's framework keeps it, in the
// registry under HKEY_CURRENT_USER\Software\<registry key>\<profile name>\<section>
// ("Software\Orvane\Quarrion\Karvel" for the plug-in settings).
//
// Values are read afresh on every call, as the framework's profile functions
// read them, so a value another program saved is seen at once:
// - ReadInt queries at most four bytes. A value whose data fits (a DWORD, or
//   a string of up to three characters with its terminating NUL) gives those
//   bytes as a little-endian number, bytes beyond the data being 0 (the
//   framework leaves them unset); a longer value reads as missing. So a
//   setting stored as the string "1" reads as 0x31 = 49, which the plug-ins
//   treat as any other non-zero flag, and "10" reads as 0x3031.
// - Read (a text) takes the value's bytes up to the first NUL, whatever its
//   type, as the framework does.
// Integers are written as DWORD values, texts as string values (REG_SZ).
// Texts are bytes in the ANSI code page (the ...A functions).
#pragma once

#include "platform/application.h"

#include <string>

class CRegistryProfile : public CProfileStore {
  public:
    // The framework's registry key and profile name: "Orvane", "Quarrion".
    CRegistryProfile(std::string registryKey, std::string profileName);
    bool Read(const std::string& section, const std::string& key, std::string& value) override;
    bool Write(const std::string& section, const std::string& key,
               const std::string& value) override;
    bool ReadInt(const std::string& section, const std::string& key, int& value) override;
    bool WriteInt(const std::string& section, const std::string& key, int value) override;

    // "Software\Orvane\Quarrion\<section>", relative to HKEY_CURRENT_USER.
    std::string GetSectionKeyPath(const std::string& section) const;

  private:
    std::string m_strRegistryKey;
    std::string m_strProfileName;
};
