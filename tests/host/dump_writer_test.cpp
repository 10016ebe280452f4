#include "host/scene_tools/dump_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <sstream>

namespace {

// One small tree through any writer: every kind of value and nesting.
void WriteSample(CDumpWriter& w) {
    w.BeginObject(nullptr);
    w.Text("name", "Box \"A\"\n");
    w.Integer("count", -3);
    w.BeginObject("point", true);
    w.Integer("tag", 0);
    w.Real("x", 0.6000000000000001);
    w.BeginArray("unit", true);
    w.Real(nullptr, 1.0);
    w.Real(nullptr, -0.5);
    w.EndArray();
    w.EndObject();
    w.BeginArray("items");
    w.BeginObject(nullptr, true);
    w.Integer("a", 1);
    w.EndObject();
    w.Text(nullptr, "t");
    w.EndArray();
    w.BeginArray("none");
    w.EndArray();
    w.EndObject();
    w.Finish();
}

} // namespace

TEST(DumpWriter, JsonLayout) {
    std::ostringstream out;
    CJsonDumpWriter writer(out);
    WriteSample(writer);
    EXPECT_EQ(out.str(), "{\n"
                         "  \"name\": \"Box \\\"A\\\"\\n\",\n"
                         "  \"count\": -3,\n"
                         "  \"point\": {\"tag\": 0, \"x\": 0.6000000000000001, "
                         "\"unit\": [1, -0.5]},\n"
                         "  \"items\": [\n"
                         "    {\"a\": 1},\n"
                         "    \"t\"\n"
                         "  ],\n"
                         "  \"none\": []\n"
                         "}\n");
}

TEST(DumpWriter, TextLayout) {
    std::ostringstream out;
    CTextDumpWriter writer(out);
    WriteSample(writer);
    EXPECT_EQ(out.str(), "name: \"Box \\\"A\\\"\\n\"\n"
                         "count: -3\n"
                         "point: tag=0 x=0.6000000000000001 unit=[1 -0.5]\n"
                         "items:\n"
                         "  [0]: a=1\n"
                         "  [1]: \"t\"\n"
                         "none: (none)\n");
}

TEST(DumpWriter, JsonTextsAreValidUtf8AndNumbersAreJson) {
    std::ostringstream out;
    CJsonDumpWriter w(out);
    w.BeginArray(nullptr, true);
    w.Text(nullptr, "caf\xc3\xa9");          // valid: kept
    w.Text(nullptr, "bad\xff\xc3(");         // invalid lead, cut sequence
    w.Text(nullptr, "\xed\xa0\x80\xc0\xaf"); // surrogate, overlong
    w.Text(nullptr, std::string("nul\0\x1f\x7f", 6));
    w.Real(nullptr, std::numeric_limits<double>::quiet_NaN());
    w.Real(nullptr, -std::numeric_limits<double>::infinity());
    w.Real(nullptr, 1e300);
    w.EndArray();
    EXPECT_EQ(out.str(), "[\"caf\xc3\xa9\", \"bad\\ufffd\\ufffd(\", "
                         "\"\\ufffd\\ufffd\\ufffd\\ufffd\\ufffd\", \"nul\\u0000\\u001f\\u007f\", "
                         "\"NaN\", \"-Infinity\", 1e+300]");
}

TEST(DumpWriter, NumbersReadBackExactly) {
    for (const double value : {0.1, 1.0 / 3.0, 181.66, -87.5, 5e-324, 1.7976931348623157e308}) {
        const std::string text = NumberText(value);
        EXPECT_EQ(std::strtod(text.c_str(), nullptr), value) << text;
    }
    EXPECT_EQ(NumberText(std::nan("")), "nan");
    EXPECT_EQ(NumberText(-0.0), "-0");
}
