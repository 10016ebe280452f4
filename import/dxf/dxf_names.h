// CDxfNameDecoder: a DXF layer name as the scene's part name.
//
// Before R2007 ($ACADVER below AC1021) a DXF file holds its text in the code page its
// header names in $DWGCODEPAGE ("ANSI_1251"; any other name, a DOS or Unix code page
// among them, reads as ANSI_1252, the fallback of DXF readers). From R2007 on the text is UTF-8. In
// every version "\U+XXXX" (four hex digits) stands for the character XXXX, which is how a
// program writes a character the code page lacks. A file without $DWGCODEPAGE says nothing
// about its bytes: they are kept as they are, as they always were, and only the escapes are
// decoded.
//
// An escape that is not one (fewer than four hex digits, U+0000, a lone surrogate half)
// is kept as its text: the name is what the file shows, not an error.
#pragma once

#include <string>
#include <string_view>

class CDxfNameDecoder {
  public:
    CDxfNameDecoder() = default; // no header: bytes kept, escapes decoded
    // The values of $ACADVER ("AC1015") and $DWGCODEPAGE ("ANSI_1251"); empty when absent.
    CDxfNameDecoder(std::string_view acadver, std::string_view dwgCodePage);

    // true when Decode(raw) would return raw itself, so the reader can keep its bytes without
    // a copy. Cheap: one pass over the name. It may say false for a name that would come
    // back unchanged (a name with bytes above ASCII under a code page, which the Windows
    // build could map back to the same bytes), never true for one that would not.
    bool KeepsBytes(std::string_view raw) const;
    std::string Decode(std::string_view raw) const;

    // The code page names are decoded from; 0 when the bytes are kept or are UTF-8.
    unsigned GetCodePage() const { return m_nCodePage; }

  private:
    enum class ETextForm { Bytes, CodePage, Utf8 };

    ETextForm m_form = ETextForm::Bytes;
    unsigned m_nCodePage = 0;
};

// The values of $ACADVER and $DWGCODEPAGE in the HEADER section of a text DXF, which comes
// first in a file. Only the header is read (the first entity, when it is SECTION/HEADER), so
// the cost is the header's size; a file that does not begin with one leaves both empty. The
// views point into text.
void FindDxfHeaderNames(std::string_view text, std::string_view& acadver,
                        std::string_view& codePage);
