// CStatus: how an operation that can fail for a reason the user is shown came out. The one
// result type of the system's own operations; CONTRIBUTING.md's rule on errors says where it is
// used.
//
//   CStatus status = file.Open(path);
//   if (!status)
//       Report(status.GetReason());
//
// A default CStatus is success. A failure carries a reason for a message (the system's text
// for a failing call, or the reader's own) and, when a system call failed, its errno.
#pragma once

#include <string>
#include <utility>

class [[nodiscard]] CStatus {
  public:
    CStatus() = default;
    static CStatus Failure(std::string reason, int errorNumber = 0) {
        CStatus status;
        status.m_bOk = false;
        status.m_strReason = std::move(reason);
        status.m_nErrorNumber = errorNumber;
        return status;
    }

    bool IsOk() const { return m_bOk; }
    explicit operator bool() const { return m_bOk; }
    const std::string& GetReason() const { return m_strReason; }
    int GetErrorNumber() const { return m_nErrorNumber; }

  private:
    bool m_bOk = true;
    std::string m_strReason;
    int m_nErrorNumber = 0;
};
