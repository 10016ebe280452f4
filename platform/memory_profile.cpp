#include "platform/memory_profile.h"

bool CMemoryProfile::Read(const std::string& section, const std::string& key, std::string& value) {
    m_reads.emplace_back(section, key);
    const auto it = m_values.find({section, key});
    if (it == m_values.end())
        return false;
    value = it->second;
    return true;
}

bool CMemoryProfile::Write(const std::string& section, const std::string& key,
                           const std::string& value) {
    m_values[{section, key}] = value;
    return true;
}
