// The application object: what a plug-in takes from its host. It serves the
// four profile operations, message boxes and the modal Open / Save As dialogs.
//
// libqrplatform.so is a shared library so that the host and every plug-in it
// loads see one and the same current application object (AfxGetApp).
//
// Every message box is also written to the transcript stream (standard output
// by default) in this form, so that runs can be read and checked:
//   [message icon=information buttons=ok]
//   <the text, verbatim>
//   [end]
// A question's header line also carries answer=yes|no.
#pragma once

#include <iosfwd>
#include <memory>
#include <string>

// Message box styles, as the plug-ins pass them (the framework's bit values).
constexpr unsigned MB_OK = 0x00;
constexpr unsigned MB_YESNO = 0x04;
constexpr unsigned MB_ICONSTOP = 0x10;
constexpr unsigned MB_ICONQUESTION = 0x20;
constexpr unsigned MB_ICONWARNING = 0x30;
constexpr unsigned MB_ICONINFORMATION = 0x40;

// Buttons a message box returns.
constexpr int IDOK = 1;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

enum class MessageIcon { None, Information, Question, Warning, Stop };
enum class MessageButtons { Ok, YesNo };

// Where profile values live: section, key, text value. Integers are stored as
// decimal text. Implementations must read afresh on every call: a value saved
// by another process is seen at the next read.
class CProfileStore {
  public:
    virtual ~CProfileStore() = default;
    // false when the section or key is missing.
    virtual bool Read(const std::string& section, const std::string& key, std::string& value) = 0;
    // false when the value could not be stored.
    virtual bool Write(const std::string& section, const std::string& key,
                       const std::string& value) = 0;
    // Integers. By default they are kept as decimal text through Read and
    // Write; a store with typed values (the Windows registry) overrides both.
    // ReadInt is false when the value is missing or holds no number.
    virtual bool ReadInt(const std::string& section, const std::string& key, int& value);
    virtual bool WriteInt(const std::string& section, const std::string& key, int value);
};

// Who answers message boxes and file dialogs: a script, a terminal, or nobody.
class CUserDialogs {
  public:
    virtual ~CUserDialogs() = default;
    // Returns IDOK for an OK box, IDYES or IDNO for a Yes/No box.
    virtual int Ask(const std::string& text, MessageIcon icon, MessageButtons buttons) = 0;
    // Return the chosen full path, or "" when the dialog is cancelled.
    // filter is in the framework's form "Text|*.a;*.b|Text|*.c||".
    virtual std::string ChooseOpenFile(const std::string& filter,
                                       const std::string& defaultExt) = 0;
    virtual std::string ChooseSaveFile(const std::string& filter,
                                       const std::string& defaultExt) = 0;
};

class CApplication {
  public:
    CApplication(std::unique_ptr<CProfileStore> profile, std::unique_ptr<CUserDialogs> dialogs,
                 std::ostream* transcript);
    virtual ~CApplication();

    // The stored number, or nDefault when the value or the section is missing
    // or does not hold a number. Stored numbers are 32-bit; larger ones wrap.
    int GetProfileInt(const std::string& section, const std::string& key, int nDefault);
    // The stored text, or strDefault when missing.
    std::string GetProfileString(const std::string& section, const std::string& key,
                                 const std::string& strDefault = "");
    bool WriteProfileInt(const std::string& section, const std::string& key, int nValue);
    bool WriteProfileString(const std::string& section, const std::string& key,
                            const std::string& value);

    // Shows a message box with the framework's style bits (MB_*); writes it to
    // the transcript and returns the button pressed. A box that asks for no
    // icon gets the framework's default one: warning on an OK box, question on
    // a Yes/No box.
    int MessageBox(const std::string& text, unsigned style = MB_OK);

    // Modal file dialogs; "" when cancelled. The Save As dialog appends
    // defaultExt (".dxf") to a chosen name that has no extension.
    std::string DoOpenFileDialog(const std::string& filter, const std::string& defaultExt = "");
    std::string DoSaveFileDialog(const std::string& filter, const std::string& defaultExt = "");

    CProfileStore& Profile() { return *m_profile; }

  private:
    std::unique_ptr<CProfileStore> m_profile;
    std::unique_ptr<CUserDialogs> m_dialogs;
    std::ostream* m_transcript;
};

// The process's current application object. When none was installed, a
// default one is made on first use: the INI profile at DefaultProfilePath(),
// terminal dialogs when standard input is a terminal, else non-interactive ones.
CApplication* AfxGetApp();
// Installs app as the current one (not owned; nullptr goes back to the default).
void AfxSetApp(CApplication* app);
