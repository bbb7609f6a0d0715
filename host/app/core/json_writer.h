// A small writer of JSON text: objects, arrays, strings and numbers, indented two spaces a level,
// with the commas and escapes JSON needs. Numbers that are not finite are written as null.
#pragma once

#include <string>
#include <vector>

namespace fighost {

class JsonWriter {
  public:
    // Starts an object or array, as a member named key when inside an object.
    void beginObject(const char* key = nullptr);
    void endObject();
    void beginArray(const char* key = nullptr);
    void endArray();
    // One value, as a member named key when inside an object.
    void string(const char* key, const std::string& value);
    void number(const char* key, double value);
    void floatNumber(const char* key, float value);
    void integer(const char* key, long long value);
    void boolean(const char* key, bool value);
    void null(const char* key);
    // Texts as an array on one line.
    void stringList(const char* key, const std::vector<std::string>& values);
    // Three floats as an array.
    void point(const char* key, float x, float y, float z);

    // The document written so far, with a final line end once everything is closed.
    std::string text() const;

  private:
    // Writes the separator, indentation and key that come before a value.
    void prefix(const char* key);
    void raw(const char* key, const std::string& text);

    std::string out_;
    std::vector<bool> hasItems_;  // one per open object or array: whether it holds anything yet
};

// value as a JSON string literal, quotes included.
std::string jsonQuoted(const std::string& value);

}  // namespace fighost
