// Streaming writers for `qrhost dump`: the dump walks the scene once and the
// writer renders it as indented text for people or as JSON for scripts.
//
// Values form objects (named members) and arrays (unnamed items); key is
// nullptr for an array's item. A compact object or array is written on one
// line (points, materials, index lists), everything nested in it too.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

class CDumpWriter {
  public:
    virtual ~CDumpWriter() = default;
    virtual void BeginObject(const char* key, bool compact = false) = 0;
    virtual void EndObject() = 0;
    virtual void BeginArray(const char* key, bool compact = false) = 0;
    virtual void EndArray() = 0;
    virtual void Integer(const char* key, std::int64_t value) = 0;
    virtual void Real(const char* key, double value) = 0;
    virtual void Text(const char* key, const std::string& value) = 0;
    // Ends the output (a final newline).
    virtual void Finish() = 0;
};

// JSON: one object, two-space indentation. Numbers are written in their
// shortest form that reads back to the same double; the values JSON has no
// number for are the strings "NaN", "Infinity" and "-Infinity". Texts are
// bytes: valid UTF-8 is written as it is (control characters escaped), each
// byte of an invalid sequence becomes U+FFFD.
class CJsonDumpWriter : public CDumpWriter {
  public:
    explicit CJsonDumpWriter(std::ostream& out) : m_out(out) {}
    void BeginObject(const char* key, bool compact) override;
    void EndObject() override;
    void BeginArray(const char* key, bool compact) override;
    void EndArray() override;
    void Integer(const char* key, std::int64_t value) override;
    void Real(const char* key, double value) override;
    void Text(const char* key, const std::string& value) override;
    void Finish() override;

  private:
    struct Level {
        bool compact;
        bool empty;
    };
    void Prefix(const char* key);
    void Close(char bracket);
    std::ostream& m_out;
    std::vector<Level> m_levels;
};

// Text: "key: value" lines indented by nesting; array items numbered "[i]";
// compact values on one line as "key: a=1 b=2" and "(...)" / "[...]".
// Texts are quoted, with \" \\ \n \r \t and \xHH escapes for other control bytes.
class CTextDumpWriter : public CDumpWriter {
  public:
    explicit CTextDumpWriter(std::ostream& out) : m_out(out) {}
    void BeginObject(const char* key, bool compact) override;
    void EndObject() override;
    void BeginArray(const char* key, bool compact) override;
    void EndArray() override;
    void Integer(const char* key, std::int64_t value) override;
    void Real(const char* key, double value) override;
    void Text(const char* key, const std::string& value) override;
    void Finish() override;

  private:
    struct Level {
        bool array;
        bool compact;       // written on the current line
        std::int64_t count; // items or members so far
    };
    // Starts a value: a new indented line, or a separator on a compact line.
    void Start(const char* key);
    void Scalar(const char* key, const std::string& text);
    std::ostream& m_out;
    std::vector<Level> m_levels;
    bool m_bWritten = false; // a line has been started
};

// The shortest decimal text that reads back as value ("nan", "inf", "-inf").
std::string NumberText(double value);
