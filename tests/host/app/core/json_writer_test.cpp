// The JSON writer behind fighost info --json.
#include "host/app/core/json_writer.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using fighost::jsonQuoted;
using fighost::JsonWriter;

TEST(JsonWriterTest, NestedMembersGetCommasAndIndentation) {
    JsonWriter json;
    json.beginObject();
    json.string("name", "Hips");
    json.beginArray("children");
    json.beginObject();
    json.integer("n", 3);
    json.endObject();
    json.beginArray();
    json.endArray();
    json.endArray();
    json.beginObject("empty");
    json.endObject();
    json.boolean("posed", false);
    json.null("frame");
    json.endObject();
    EXPECT_EQ(json.text(),
              "{\n"
              "  \"name\": \"Hips\",\n"
              "  \"children\": [\n"
              "    {\n"
              "      \"n\": 3\n"
              "    },\n"
              "    []\n"
              "  ],\n"
              "  \"empty\": {},\n"
              "  \"posed\": false,\n"
              "  \"frame\": null\n"
              "}\n");
}

TEST(JsonWriterTest, NumbersAreShortestAndNonFiniteOnesAreNull) {
    JsonWriter json;
    json.beginArray();
    json.floatNumber(nullptr, 5.21f);
    json.number(nullptr, 0.1 + 0.2);
    json.number(nullptr, -0.0);
    json.number(nullptr, NAN);
    json.floatNumber(nullptr, INFINITY);
    json.point(nullptr, 0.4f, -1.5f, NAN);
    json.endArray();
    EXPECT_EQ(
        json.text(),
        "[\n  5.21,\n  0.30000000000000004,\n  0,\n  null,\n  null,\n  [0.4, -1.5, null]\n]\n");
}

TEST(JsonWriterTest, StringsAreEscaped) {
    EXPECT_EQ(jsonQuoted("a\"b\\c\n\t\x01"), "\"a\\\"b\\\\c\\n\\t\\u0001\"");
    // Well-formed UTF-8 passes as it stands.
    EXPECT_EQ(jsonQuoted("K\xc3\xb6rper"), "\"K\xc3\xb6rper\"");
    // Anything else is read as Latin-1, so the document stays valid.
    EXPECT_EQ(jsonQuoted("K\xf6rper"), "\"K\\u00f6rper\"");
    EXPECT_EQ(jsonQuoted("\xc3"), "\"\\u00c3\"");                        // cut short
    EXPECT_EQ(jsonQuoted("\xc0\xaf"), "\"\\u00c0\\u00af\"");             // overlong
    EXPECT_EQ(jsonQuoted("\xed\xa0\x80"), "\"\\u00ed\\u00a0\\u0080\"");  // a surrogate
}

}  // namespace
