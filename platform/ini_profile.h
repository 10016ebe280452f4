// CIniProfile: the profile kept in an INI file, the framework's own fallback
// store. Sections "[Karvel]", "[Paths]", ...; "key=value" lines; integers in
// decimal. Every Read opens the file afresh (no caching: a value another
// process saved is seen at once). Write rewrites the file atomically
// (temporary file in the same folder, then rename) and keeps every other
// section, key, comment and blank line as it was. Malformed lines are skipped
// on reading and kept on writing, never fatal. A missing file reads as empty;
// Write creates it (and its folder).
//
// Section and key names compare without regard to the case of ASCII letters,
// as the registry's names do; blanks around names and values are not part of
// them. The first matching key wins. Write refuses (returns false) what could
// not be read back as written: empty names, line breaks, "]" in a section
// name, "=" in a key. No locking: the last writer wins, as with the registry.
#pragma once

#include "application.h"

#include <string>

class CIniProfile : public CProfileStore {
  public:
    explicit CIniProfile(std::string path);
    bool Read(const std::string& section, const std::string& key, std::string& value) override;
    bool Write(const std::string& section, const std::string& key,
               const std::string& value) override;
    const std::string& GetPath() const { return m_strPath; }

  private:
    std::string m_strPath;
};
