// Decoding and encoding the XML character references.
#include "tvlib/core/TXmlEntities.h"

namespace {

struct TNamedEntity {
  std::string_view name;  // between "&" and ";" included
  char value;
};
constexpr TNamedEntity kNamedEntities[] = {
    {"amp;", '&'}, {"lt;", '<'}, {"gt;", '>'}, {"quot;", '"'}, {"apos;", '\''}};

// Decodes the reference at text[i] ("&..."); gives its length, or 0 when there is none.
size_t DecodeOne(std::string_view text, size_t i, char* value) {
  std::string_view rest = text.substr(i + 1);
  for (const TNamedEntity& entity : kNamedEntities) {
    if (rest.substr(0, entity.name.size()) == entity.name) {
      *value = entity.value;
      return 1 + entity.name.size();
    }
  }
  if (rest.empty() || rest[0] != '#') return 0;
  size_t k = 1;
  unsigned code = 0;
  while (k < rest.size() && rest[k] >= '0' && rest[k] <= '9')
    code =
        (code * 10 + static_cast<unsigned>(rest[k++] - '0')) & 0xffff;  // only the low byte is kept
  if (k == 1 || k >= rest.size() || rest[k] != ';') return 0;
  *value = static_cast<char>(code & 0xff);
  return 1 + k + 1;
}

}  // namespace

std::string DecodeXmlEntities(std::string_view text, bool* firstFromEntity) {
  std::string out;
  out.reserve(text.size());
  if (firstFromEntity) *firstFromEntity = false;
  for (size_t i = 0; i < text.size();) {
    char value;
    size_t length = text[i] == '&' ? DecodeOne(text, i, &value) : 0;
    if (length) {
      if (out.empty() && firstFromEntity) *firstFromEntity = true;
      out.push_back(value);
      i += length;
    } else {
      out.push_back(text[i++]);
    }
  }
  return out;
}

void AppendEscapedXml(std::string* out, std::string_view text) {
  for (char c : text) {
    auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '&':
        *out += "&amp;";
        break;
      case '<':
        *out += "&lt;";
        break;
      case '>':
        *out += "&gt;";
        break;
      case '"':
        *out += "&quot;";
        break;
      case '\'':
        *out += "&apos;";
        break;
      default:
        if (byte < 32 || byte >= 128)
          *out += "&#" + std::to_string(byte) + ";";
        else
          out->push_back(c);
    }
  }
}
