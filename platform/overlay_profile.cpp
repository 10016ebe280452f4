#include "platform/overlay_profile.h"

bool COverlayProfile::Read(const std::string& section, const std::string& key, std::string& value) {
    const auto found = m_values.find({section, key});
    if (found != m_values.end()) {
        value = found->second;
        return true;
    }
    return m_base != nullptr && m_base->Read(section, key, value);
}

bool COverlayProfile::Write(const std::string& section, const std::string& key,
                            const std::string& value) {
    m_values[{section, key}] = value;
    return true;
}
