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
// as the registry's names do; blanks around names are not part of them. The
// first matching key wins.
//
// Values read back byte for byte as written. Blanks (space, tab) around a
// value in the file are not part of it, so a value that has blanks at either
// end, or that begins with a double quote, is written between double quotes
// (key=" C:\obj.lwo "); on reading, one pair of double quotes around the
// trimmed text is removed (as the host system's own profile functions do),
// nothing inside is unescaped. Every other value is written as it is, and
// files without quotes read as they always did. Write refuses (returns false) what could
// not be read back as written: empty names, line breaks, "]" in a section
// name, "=" in a key. No locking: the last writer wins, as with the registry.
#pragma once

#include "platform/application.h"

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
