#include "tests/support/test_application.h"

#include "platform/scripted_dialogs.h"

CTestApplication::CTestApplication(std::deque<std::string> answers,
                                   std::optional<std::string> openPath,
                                   std::optional<std::string> savePath,
                                   std::unique_ptr<CUserDialogs> fallback)
    : CTestApplication(std::make_unique<CScriptedDialogs>(
          std::move(answers), std::move(openPath), std::move(savePath), std::move(fallback))) {}

CTestApplication::CTestApplication(std::unique_ptr<CUserDialogs> dialogs)
    : CTestApplication(std::make_unique<CMemoryProfile>(), std::move(dialogs)) {}

// The application owns the profile; the reference is taken before it moves
// there (members are made in declaration order).
CTestApplication::CTestApplication(std::unique_ptr<CMemoryProfile> profile,
                                   std::unique_ptr<CUserDialogs> dialogs)
    : m_profile(*profile), m_app(std::move(profile), std::move(dialogs), &m_transcript) {}
