// CMemoryProfile: a profile held in memory, for tests.
#pragma once

#include "platform/application.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

class CMemoryProfile : public CProfileStore {
  public:
    bool Read(const std::string& section, const std::string& key, std::string& value) override;
    bool Write(const std::string& section, const std::string& key,
               const std::string& value) override;
    // Every (section, key) in the order of the reads, so tests can check the calling order.
    const std::vector<std::pair<std::string, std::string>>& GetReads() const { return m_reads; }
    const std::map<std::pair<std::string, std::string>, std::string>& GetValues() const {
        return m_values;
    }

  private:
    std::map<std::pair<std::string, std::string>, std::string> m_values;
    std::vector<std::pair<std::string, std::string>> m_reads;
};
