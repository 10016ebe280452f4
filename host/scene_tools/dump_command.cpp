// qrhost dump [--json] FILE.qrc: every value of a scene file. The file is read
// with the scene library's reader, so the polygons' derived values are those
// it recomputes on loading (the values a write stores).
#include "host/command_line/command_line.h"
#include "host/scene_tools/dump_writer.h"
#include "host/scene_tools/scene_file.h"
#include "host/scene_tools/scene_tools.h"

#include "platform/application.h"
#include "scene/exchange_file.h"
#include "scene/scene_document.h"

#include <cstdio>
#include <iostream>
#include <sstream>

namespace {

void DumpPoint(CDumpWriter& w, const char* key, const CScenePoint& point) {
    w.BeginObject(key, true);
    w.Integer("tag", point.m_nTag);
    w.Real("x", point.m_x);
    w.Real("y", point.m_y);
    w.Real("z", point.m_z);
    w.EndObject();
}

void DumpMaterial(CDumpWriter& w, const char* key, const CSceneMaterial& material) {
    w.BeginObject(key, true);
    w.Integer("mode", material.m_wMode);
    w.Text("text", material.m_strText);
    w.BeginArray("rect", true);
    for (const std::int32_t value : material.m_nRect)
        w.Integer(nullptr, value);
    w.EndArray();
    w.BeginArray("size", true);
    for (const std::int32_t value : material.m_nSize)
        w.Integer(nullptr, value);
    w.EndArray();
    w.Integer("attr1", material.m_nMatAttr1);
    w.Integer("attr2", material.m_wMatAttr2);
    w.Integer("attr3", material.m_nMatAttr3);
    w.Integer("attr4", material.m_nMatAttr4);
    w.Integer("attr5", material.m_wMatAttr5);
    w.Integer("attr6", material.m_wMatAttr6);
    w.Integer("attr7", material.m_wMatAttr7);
    w.Integer("attr8", material.m_wMatAttr8);
    w.EndObject();
}

void DumpPolygon(CDumpWriter& w, const CScenePolygon& polygon) {
    w.BeginObject(nullptr);
    w.BeginArray("indices", true);
    for (const std::int32_t index : polygon.m_indices)
        w.Integer(nullptr, index);
    w.EndArray();
    DumpPoint(w, "center", polygon.m_center);
    w.Real("center_distance", polygon.m_dCenterDistance);
    w.BeginObject("normal", true);
    w.Real("length", polygon.m_normal.m_dLength);
    w.BeginArray("unit", true);
    w.Real(nullptr, polygon.m_normal.m_dUnitX);
    w.Real(nullptr, polygon.m_normal.m_dUnitY);
    w.Real(nullptr, polygon.m_normal.m_dUnitZ);
    w.EndArray();
    w.BeginArray("raw", true);
    w.Real(nullptr, polygon.m_normal.m_dX);
    w.Real(nullptr, polygon.m_normal.m_dY);
    w.Real(nullptr, polygon.m_normal.m_dZ);
    w.EndArray();
    w.EndObject();
    w.BeginObject("values", true);
    w.Integer("selected", polygon.m_bSelected);
    w.Integer("color_index", polygon.m_wColorIndex);
    w.Integer("color", polygon.m_crColor);
    w.Integer("attr1", polygon.m_nPolyAttr1);
    w.Integer("attr2", polygon.m_nPolyAttr2);
    w.Integer("attr3", polygon.m_nPolyAttr3);
    w.Integer("attr4", polygon.m_nPolyAttr4);
    w.Integer("attr5", polygon.m_nPolyAttr5);
    w.Integer("attr6", polygon.m_nPolyAttr6);
    w.EndObject();
    DumpMaterial(w, "material", polygon.m_material);
    // Pairs are raw 8-byte host records: shown as 16 hex digits in file order.
    w.BeginArray("pairs", true);
    for (const CScenePolygon::Pair& pair : polygon.m_pairs) {
        std::string hex;
        for (const std::uint8_t byte : pair) {
            static const char kDigits[] = "0123456789abcdef";
            hex += kDigits[byte >> 4];
            hex += kDigits[byte & 0x0F];
        }
        w.Text(nullptr, hex);
    }
    w.EndArray();
    w.EndObject();
}

void DumpPart(CDumpWriter& w, int index, CScenePart& part) {
    w.BeginObject(nullptr);
    w.Integer("index", index);
    w.Text("name", part.m_strName);
    w.Integer("id", part.m_nId);
    w.Text("link", part.m_strLink);
    w.Integer("link_id", part.m_nLinkId);
    w.Text("condition", part.m_strCondition);
    w.Integer("color", part.m_crColor);
    w.Integer("current_point", part.m_nCurPoint);
    w.Integer("current_polygon", part.m_nCurPolygon);
    w.BeginObject("transform", true);
    w.BeginObject("position", true);
    w.Real("x", part.m_transform.m_position.m_x);
    w.Real("y", part.m_transform.m_position.m_y);
    w.Real("z", part.m_transform.m_position.m_z);
    w.EndObject();
    w.Real("value1", part.m_transform.m_dValue1);
    w.Real("value2", part.m_transform.m_dValue2);
    w.Real("value3", part.m_transform.m_dValue3);
    w.EndObject();
    w.BeginObject("attributes", true);
    w.Integer("attr1", part.m_wPartAttr1);
    w.Integer("attr2", part.m_nPartAttr2);
    w.Integer("attr3", part.m_nPartAttr3);
    w.Real("attr4", part.m_dPartAttr4);
    w.Real("attr5", part.m_dPartAttr5);
    w.Real("attr6", part.m_dPartAttr6);
    w.Real("attr7", part.m_dPartAttr7);
    w.Integer("attr8", part.m_wPartAttr8);
    w.Real("attr9", part.m_dPartAttr9);
    w.Integer("attr10", part.m_wPartAttr10);
    w.Real("attr11", part.m_dPartAttr11);
    w.Integer("attr12", part.m_wPartAttr12);
    w.Integer("attr13", part.m_nPartAttr13);
    w.Integer("attr14", part.m_nPartAttr14);
    w.Integer("attr15", part.m_nPartAttr15);
    w.Integer("attr16", part.m_wPartAttr16);
    w.Integer("attr17", part.m_nPartAttr17);
    w.Integer("attr18", part.m_nPartAttr18);
    w.Integer("attr19", part.m_wPartAttr19);
    w.Integer("attr20", part.m_wPartAttr20);
    w.Integer("attr21", part.m_nPartAttr21);
    w.Integer("attr22", part.m_nPartAttr22);
    w.Integer("attr23", part.m_nPartAttr23);
    w.Integer("attr24", part.m_nPartAttr24);
    w.Integer("attr25", part.m_nPartAttr25);
    w.Integer("attr26", part.m_nPartAttr26);
    w.Integer("attr27", part.m_nPartAttr27);
    w.Integer("attr28", part.m_nPartAttr28);
    w.Integer("attr29", part.m_nPartAttr29);
    w.Integer("attr30", part.m_nPartAttr30);
    w.Integer("attr31", part.m_nPartAttr31);
    w.Integer("attr32", part.m_nPartAttr32);
    w.Real("attr33", part.m_dPartAttr33);
    w.EndObject();
    w.BeginArray("materials");
    for (const CSceneMaterial& material : part.m_materials)
        DumpMaterial(w, nullptr, material);
    w.EndArray();
    w.BeginArray("points");
    for (int i = 0; i < part.m_points.GetSize(); ++i) {
        // An empty entry is stored as a new point's record.
        const CScenePoint* point = part.m_points[i];
        DumpPoint(w, nullptr, point != nullptr ? *point : CScenePoint());
    }
    w.EndArray();
    w.BeginArray("polygons");
    for (int i = 0; i < part.m_polygons.GetSize(); ++i)
        DumpPolygon(w, *part.m_polygons[i]);
    w.EndArray();
    w.EndObject();
}

void DumpScene(CDumpWriter& w, const std::string& fileName, CSceneDocument& doc,
               std::uint64_t trailingBytes) {
    const CExchangeState& state = ExchangeState();
    w.BeginObject(nullptr);
    w.Text("file", fileName);
    w.BeginObject("format", true);
    w.Integer("major", state.m_nFormatMajor);
    w.Integer("minor", state.m_nFormatMinor);
    w.EndObject();
    w.BeginObject("header");
    w.Text("host_text1", state.m_strHostText1);
    w.Text("host_text2", state.m_strHostText2);
    w.Text("host_text3", state.m_strHostText3);
    w.Text("host_text4", state.m_strHostText4);
    w.Real("host_value", state.m_dHostValue);
    w.Integer("host_flag", state.m_nHostFlag);
    w.Text("host_text5", state.m_strHostText5);
    w.EndObject();
    w.BeginObject("document");
    w.Text("lat_north", doc.m_strLatNorth);
    w.Text("lat_south", doc.m_strLatSouth);
    w.Text("lon_west", doc.m_strLonWest);
    w.Text("lon_east", doc.m_strLonEast);
    w.Text("ref_latitude", doc.m_strRefLatitude);
    w.Text("ref_longitude", doc.m_strRefLongitude);
    w.Real("ref_altitude", doc.m_dRefAltitude);
    w.Integer("setting1", doc.m_nSetting1);
    w.Integer("setting2", doc.m_wSetting2);
    w.Integer("setting3", doc.m_wSetting3);
    w.Integer("setting4", doc.m_nSetting4);
    w.Integer("setting5", doc.m_nSetting5);
    w.Integer("next_part_id", doc.m_nNextPartId);
    w.Integer("part_count", doc.GetPartCount());
    w.EndObject();
    w.BeginArray("parts");
    for (int i = 0; i < doc.GetPartCount(); ++i)
        DumpPart(w, i, *doc.m_parts[i]);
    w.EndArray();
    w.BeginArray("slots");
    for (const ExchangeSlot& slot : state.m_slots) {
        w.BeginObject(nullptr, true);
        w.Integer("value", slot.m_nValue);
        DumpPoint(w, "point", slot.m_point);
        w.Text("text", slot.m_strText);
        w.Real("factor", slot.m_dFactor);
        w.EndObject();
    }
    w.EndArray();
    w.Integer("trailing_bytes", static_cast<std::int64_t>(trailingBytes));
    w.EndObject();
    w.Finish();
}

} // namespace

int RunDumpCommand(int argc, char** argv) {
    const CCommandRules rules{.m_name = "dump", .m_options = {{"--json"}}};
    CCommandLine line;
    if (!line.Read(rules, argc, argv))
        return kExitUsage;
    const bool json = line.Has("--json");
    const std::string& fileName = line.Positional(0);

    CSceneDocument doc;
    std::uint64_t trailingBytes = 0;
    if (const CStatus read = ReadSceneFile(fileName, doc, &trailingBytes); !read) {
        std::fprintf(stderr, "qrhost dump: %s\n", read.GetReason().c_str());
        return kExitFailed;
    }

    // Built in memory first: a failure half-way must not leave half a dump.
    std::ostringstream out;
    if (json) {
        CJsonDumpWriter writer(out);
        DumpScene(writer, fileName, doc, trailingBytes);
    } else {
        CTextDumpWriter writer(out);
        DumpScene(writer, fileName, doc, trailingBytes);
    }
    std::cout << out.str();
    std::cout.flush();
    if (!std::cout) {
        std::fputs("qrhost dump: cannot write the output\n", stderr);
        return kExitFailed;
    }
    return kExitOk;
}
