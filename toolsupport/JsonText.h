// Texts of the console tools' reports. The JSON reports are UTF-8: each text, read in
// the ANSI code page, is converted there, and a text with bytes that make no character
// of the code page shows U+FFFD in their place and comes with all its bytes beside it.
// The plain reports stay in the code page, with control bytes made visible, so that a
// zero byte or an escape character in an input never reaches the terminal as it is.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The text in UTF-8 in double quotes, with JSON's escapes for the quote, the backslash
// and every control character (below 0x20, and 0x7F).
std::string JsonString(std::string_view text);

// `"name": "text"`, followed by `, "name_bytes": "..."` with the text's bytes in
// hexadecimal when some of them make no character of the code page.
std::string JsonField(const std::string& name, std::string_view text);
// `"name": ["text", ...]`, followed by `, "name_bytes": [...]` when a text has such
// bytes: for each text its bytes in hexadecimal, or null when it converts whole.
std::string JsonFieldList(const std::string& name, const std::vector<std::string>& texts);

// One JSON object of a report, written field by field in the order of the calls:
// `{"a": 1, "b": "x",\n "c": [...]}`. Fields are separated by ", ", or by ",\n " after
// NewLine(); a list of objects puts each of them on a line of its own.
class JsonObject {
 public:
  JsonObject& Text(const std::string& name, std::string_view text);  // with JsonField's bytes
  JsonObject& TextOrNull(const std::string& name, std::string_view text);  // null when empty
  JsonObject& TextIfAny(const std::string& name, std::string_view text);   // left out when empty
  JsonObject& Texts(const std::string& name, const std::vector<std::string>& texts);
  JsonObject& Number(const std::string& name, std::size_t value);
  JsonObject& NumberOrNull(const std::string& name, bool present, std::size_t value);
  JsonObject& Flag(const std::string& name, bool value);
  // `"name": [\n  {...},\n  {...}]`, each object written by `write(JsonObject&, item)`.
  template <typename Item, typename Write>
  JsonObject& Objects(const std::string& name, const std::vector<Item>& items, Write write) {
    std::vector<std::string> objects;
    for (const Item& item : items) {
      JsonObject object;
      write(object, item);
      objects.push_back(object.Close());
    }
    return ObjectList(name, objects);
  }
  JsonObject& NewLine();
  // The object's text with its closing brace.
  std::string Close() const;

 private:
  JsonObject& Raw(const std::string& name, const std::string& value);
  JsonObject& Field(const std::string& field);
  JsonObject& ObjectList(const std::string& name, const std::vector<std::string>& objects);

  std::string text_ = "{";
  bool newLine_ = false;
};

// The text in double quotes with every control byte written as \xNN; nothing else changes.
std::string ShownText(std::string_view text);
