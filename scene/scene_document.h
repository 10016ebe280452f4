// CSceneDocument: the scene as the exchange file carries it: location texts,
// host settings, the part id counter and the ordered parts, which it owns.
//
// Record: setting2 (word), north, south, west, east (the west bound before the
// east one), setting4, reference latitude, reference longitude, reference
// altitude (double), setting3 (word), setting5, next part id, setting1, the
// part count and the part records.
#pragma once

#include "scene/owning_array.h"
#include "scene/scene_part.h"

#include <cstdint>
#include <string>

class CArchive;

class CSceneDocument {
  public:
    CSceneDocument() = default;
    CSceneDocument(const CSceneDocument&) = delete;
    CSceneDocument& operator=(const CSceneDocument&) = delete;
    // Deletes every part, front to back.
    virtual ~CSceneDocument();

    int GetPartCount() const { return m_parts.GetSize(); }
    // Storing: FixupLinks(), the fields, then UpdateGeometry() and the record of
    // every part. Loading appends the parts (each loaded, appended, its geometry
    // updated and given an id if it has none), then FixupLinks(). What was
    // loaded before an early end stays in the document.
    void Serialize(CArchive& ar);
    // Gives the part the next id when it has none; returns its id.
    int AssignPartId(CScenePart* part);
    // The id of the part that "name.index" names (case and surrounding blanks
    // ignored, ASCII upper-casing), or 0: for "", "NONE", an index outside
    // m_parts, or a part of another name at that index.
    int FindPartIdByLink(std::string text);
    // Ids for parts without one; each link id resolved from its text when 0,
    // and each link text rewritten as "name.index" of the part it names; a link
    // id naming no part becomes 0 (its text is kept).
    void FixupLinks();

    // A document not read from a file starts counting ids at 1 (0 means "no id").
    std::int32_t m_nNextPartId = 1;
    std::int32_t m_nSetting1 = 1;
    std::uint16_t m_wSetting2 = 7;
    std::uint16_t m_wSetting3 = 32;
    std::int32_t m_nSetting4 = 0;
    COwningArray<CScenePart> m_parts;
    std::int32_t m_nSetting5 = 0;
    std::string m_strLatNorth = "42:30:00.0000";
    std::string m_strLatSouth = "41:30:00.0000";
    std::string m_strLonEast = "-86:30:00.0000";
    std::string m_strLonWest = "-88:30:00.0000";
    std::string m_strRefLatitude = "41:51:25.8498";
    std::string m_strRefLongitude = "-87:36:30.3435";
    double m_dRefAltitude = 181.66;
};
