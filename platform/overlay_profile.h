// COverlayProfile: a profile in memory laid over another that is only read.
// `qrhost convert` runs the plug-ins with a person's settings but its own
// files and folder, and must never change the profile it was given.
#pragma once

#include "platform/application.h"

#include <map>
#include <memory>
#include <string>
#include <utility>

class COverlayProfile : public CProfileStore {
  public:
    // base may be null: then every value not set here is missing.
    explicit COverlayProfile(std::unique_ptr<CProfileStore> base) : m_base(std::move(base)) {}

    // Values set here (and values the plug-ins write) hide the base's.
    bool Read(const std::string& section, const std::string& key, std::string& value) override;
    bool Write(const std::string& section, const std::string& key,
               const std::string& value) override;

  private:
    std::unique_ptr<CProfileStore> m_base;
    std::map<std::pair<std::string, std::string>, std::string> m_values;
};
