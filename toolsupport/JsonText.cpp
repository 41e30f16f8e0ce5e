#include "toolsupport/JsonText.h"

#include <cstdio>

#include "toolsupport/AnsiChar.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsControl(unsigned char byte) {
  return byte < 0x20 || byte == 0x7F;
}

std::string Escaped(unsigned char byte, const char* format) {
  char escaped[8];
  std::snprintf(escaped, sizeof escaped, format, byte);
  return escaped;
}

void AppendCodePoint(std::string& quoted, char32_t c) {
  switch (c) {
    case '"':
      quoted += "\\\"";
      return;
    case '\\':
      quoted += "\\\\";
      return;
    case '\n':
      quoted += "\\n";
      return;
    case '\r':
      quoted += "\\r";
      return;
    case '\t':
      quoted += "\\t";
      return;
  }
  if (c < 0x80) {
    quoted += IsControl(static_cast<unsigned char>(c)) ? Escaped(static_cast<unsigned char>(c), "\\u%04x")
                                                       : std::string(1, static_cast<char>(c));
    return;
  }
  // UTF-8: the lead byte carries the length, each continuation byte six bits.
  const int continuations = c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
  static const unsigned char kLeads[] = {0, 0xC0, 0xE0, 0xF0};
  quoted += static_cast<char>(kLeads[continuations] | (c >> (6 * continuations)));
  for (int i = continuations - 1; i >= 0; --i) quoted += static_cast<char>(0x80 | ((c >> (6 * i)) & 0x3F));
}

// `exact` becomes false when a byte makes no character of the code page.
std::string Quoted(std::string_view text, bool& exact) {
  std::string quoted = "\"";
  exact = true;
  for (size_t i = 0; i < text.size();) {
    char32_t c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      ++i;
    } else if (i + 1 < text.size() && DecodeAnsiChar(text.data() + i, 2, c)) {
      i += 2;
    } else if (DecodeAnsiChar(text.data() + i, 1, c)) {
      ++i;
    } else {
      // A byte that begins no character, or a lead byte without its trail byte: the
      // next byte is read on its own.
      c = kReplacement;
      exact = false;
      ++i;
    }
    AppendCodePoint(quoted, c);
  }
  return quoted + "\"";
}

std::string HexBytes(std::string_view text) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string hex = "\"";
  for (const char c : text) {
    hex += kDigits[static_cast<unsigned char>(c) >> 4];
    hex += kDigits[static_cast<unsigned char>(c) & 0x0F];
  }
  return hex + "\"";
}

}  // namespace

std::string JsonString(std::string_view text) {
  bool exact;
  return Quoted(text, exact);
}

std::string JsonField(const std::string& name, std::string_view text) {
  bool exact;
  std::string field = "\"" + name + "\": " + Quoted(text, exact);
  if (!exact) field += ", \"" + name + "_bytes\": " + HexBytes(text);
  return field;
}

std::string JsonFieldList(const std::string& name, const std::vector<std::string>& texts) {
  std::string list, bytes;
  bool allExact = true;
  for (size_t i = 0; i < texts.size(); ++i) {
    bool exact;
    list += (i ? ", " : "") + Quoted(texts[i], exact);
    bytes += (i ? ", " : "") + (exact ? std::string("null") : HexBytes(texts[i]));
    allExact = allExact && exact;
  }
  std::string field = "\"" + name + "\": [" + list + "]";
  if (!allExact) field += ", \"" + name + "_bytes\": [" + bytes + "]";
  return field;
}

JsonObject& JsonObject::Field(const std::string& field) {
  if (text_.size() > 1) text_ += newLine_ ? ",\n " : ", ";
  newLine_ = false;
  text_ += field;
  return *this;
}

JsonObject& JsonObject::Raw(const std::string& name, const std::string& value) {
  return Field("\"" + name + "\": " + value);
}

JsonObject& JsonObject::Text(const std::string& name, std::string_view text) {
  return Field(JsonField(name, text));
}

JsonObject& JsonObject::TextOrNull(const std::string& name, std::string_view text) {
  return text.empty() ? Raw(name, "null") : Text(name, text);
}

JsonObject& JsonObject::TextIfAny(const std::string& name, std::string_view text) {
  return text.empty() ? *this : Text(name, text);
}

JsonObject& JsonObject::Texts(const std::string& name, const std::vector<std::string>& texts) {
  return Field(JsonFieldList(name, texts));
}

JsonObject& JsonObject::Number(const std::string& name, std::size_t value) {
  return Raw(name, std::to_string(value));
}

JsonObject& JsonObject::NumberOrNull(const std::string& name, bool present, std::size_t value) {
  return present ? Number(name, value) : Raw(name, "null");
}

JsonObject& JsonObject::Flag(const std::string& name, bool value) {
  return Raw(name, value ? "true" : "false");
}

JsonObject& JsonObject::ObjectList(const std::string& name, const std::vector<std::string>& objects) {
  std::string list = "[";
  for (size_t i = 0; i < objects.size(); ++i) list += (i ? ",\n  " : "\n  ") + objects[i];
  return Raw(name, list + "]");
}

JsonObject& JsonObject::NewLine() {
  newLine_ = true;
  return *this;
}

std::string JsonObject::Close() const {
  return text_ + "}";
}

std::string ShownText(std::string_view text) {
  std::string shown = "\"";
  for (const char c : text)
    shown += IsControl(static_cast<unsigned char>(c)) ? Escaped(static_cast<unsigned char>(c), "\\x%02X")
                                                      : std::string(1, c);
  return shown + "\"";
}
