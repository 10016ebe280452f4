#include "scene/scene_document.h"

#include "platform/ascii_text.h"
#include "scene/archive.h"

#include <cstdint>
#include <memory>

namespace {

// atoi's reading: leading blanks, an optional sign, then digits; 0 without
// digits. Saturates instead of overflowing (any such index names no part).
std::int64_t ReadIndex(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && IsCSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min<std::int64_t>(value * 10 + (text[i] - '0'), INT64_C(1) << 40);
    return negative ? -value : value;
}

} // namespace

CSceneDocument::~CSceneDocument() {
    m_parts.RemoveAll();
}

int CSceneDocument::AssignPartId(CScenePart* part) {
    // The counter comes from the file and may stand at the top of the int32
    // range: it wraps there, as the host's 32-bit counter does, instead of overflowing.
    if (part->m_nId == 0) {
        part->m_nId = m_nNextPartId;
        m_nNextPartId = static_cast<std::int32_t>(static_cast<std::uint32_t>(m_nNextPartId) + 1u);
    }
    return part->m_nId;
}

int CSceneDocument::FindPartIdByLink(std::string text) {
    text = ToUpperAscii(std::string(TrimCSpace(text)));
    if (text.empty() || text == "NONE")
        return 0;
    const std::size_t dot = text.rfind('.');
    const std::int64_t index = dot == std::string::npos ? 0 : ReadIndex(text.substr(dot + 1));
    // An index outside the list names no part.
    if (index < 0 || index >= GetPartCount())
        return 0;
    const CScenePart* part = m_parts[static_cast<int>(index)];
    const std::string name = dot == std::string::npos ? std::string() : text.substr(0, dot);
    return name == ToUpperAscii(part->m_strName) ? part->m_nId : 0;
}

void CSceneDocument::FixupLinks() {
    for (int i = 0; i < GetPartCount(); ++i) {
        CScenePart* part = m_parts[i];
        if (part->m_nId == 0)
            AssignPartId(part);
        if (part->m_nLinkId == 0)
            part->m_nLinkId = FindPartIdByLink(part->m_strLink);
        if (part->m_nLinkId == 0)
            continue;
        int target = -1;
        for (int j = 0; j < GetPartCount() && target < 0; ++j)
            if (m_parts[j]->m_nId == part->m_nLinkId)
                target = j;
        if (target >= 0)
            part->m_strLink = m_parts[target]->m_strName + "." + std::to_string(target);
        else
            part->m_nLinkId = 0;
    }
}

void CSceneDocument::Serialize(CArchive& ar) {
    if (ar.IsStoring())
        FixupLinks();
    ar.Transfer(m_wSetting2, "document setting2");
    ar.Transfer(m_strLatNorth, "document northern latitude");
    ar.Transfer(m_strLatSouth, "document southern latitude");
    // The western bound comes before the eastern one in the record.
    ar.Transfer(m_strLonWest, "document western longitude");
    ar.Transfer(m_strLonEast, "document eastern longitude");
    ar.Transfer(m_nSetting4, "document setting4");
    ar.Transfer(m_strRefLatitude, "document reference latitude");
    ar.Transfer(m_strRefLongitude, "document reference longitude");
    ar.Transfer(m_dRefAltitude, "document reference altitude");
    ar.Transfer(m_wSetting3, "document setting3");
    ar.Transfer(m_nSetting5, "document setting5");
    ar.Transfer(m_nNextPartId, "document next part id");
    ar.Transfer(m_nSetting1, "document setting1");
    if (ar.IsStoring()) {
        ar.StoreCount(GetPartCount());
        for (const auto& part : m_parts) {
            part->UpdateGeometry();
            part->Serialize(ar);
        }
        return;
    }
    const std::int32_t n = ar.LoadCount("document part count", CScenePart::kMinRecordSize);
    m_parts.Reserve(static_cast<std::size_t>(GetPartCount()) + ar.ReservableCount(n));
    for (std::int32_t i = 0; i < n; ++i) {
        auto part = std::make_unique<CScenePart>();
        // Loading a part runs AddPolygon for each polygon after all of the part's points,
        // which computes the same centres and normals UpdateGeometry would: its geometry is
        // up to date without a second pass over it.
        part->Serialize(ar);
        AssignPartId(part.get());
        m_parts.Add(std::move(part));
    }
    FixupLinks();
}
