// The credits file's lines into the credits window's three columns.
#include "game/frontend/CreditsText.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace {

std::string_view Trimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

// A part of a line with its brackets turned into the heading colour's font tag.
std::string Converted(std::string_view part, const std::string& openTag) {
  std::string out;
  for (char c : Trimmed(part)) {
    if (c == '[') {
      out += openTag;
    } else if (c == ']') {
      out += "</font>";
    } else {
      out += c;
    }
  }
  return out;
}

void AddLine(std::string_view line, const std::string& openTag, std::string* left,
             std::string* right, std::string* headings) {
  // Text ends at a NUL, which the columns' texts could not hold.
  line = line.substr(0, line.find('\0'));
  const size_t bar = line.find('|');
  if (bar != std::string_view::npos) {
    *left += Converted(line.substr(0, bar), openTag) + "\n";
    *right += Converted(line.substr(bar + 1), openTag) + "\n";
    *headings += "\n";
  } else {
    *left += "\n";
    *right += "\n";
    *headings += Converted(line, openTag) + "\n";
  }
}

TString ToTString(const std::string& text) {
  return TString(text.data(), static_cast<int>(text.size()));
}

}  // namespace

TCreditsColumns ParseCredits(const char* data, size_t size, const TString& headingColour) {
  const std::string openTag = std::string("<font color='") + headingColour.c_str() + "'>";
  std::string left, right, headings;
  std::string_view rest(data, data ? size : 0);
  while (!rest.empty()) {
    const size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    // A long line in pieces, as a reader of kMaxCreditsLine characters at a time takes it.
    do {
      AddLine(line.substr(0, kMaxCreditsLine), openTag, &left, &right, &headings);
      line.remove_prefix(std::min(line.size(), kMaxCreditsLine));
    } while (!line.empty());
  }
  return {ToTString(left), ToTString(right), ToTString(headings)};
}

TString CreditsColourText(const float colour[4]) {
  int parts[4];
  for (int i = 0; i < 4; ++i) {
    const float scaled = colour[i] * 255.0f;
    parts[i] = scaled >= 255.0f ? 255 : scaled > 0.0f ? static_cast<int>(scaled) : 0;
  }
  return TString::Format("%02x%02x%02x%02x", parts[0], parts[1], parts[2], parts[3]);
}
