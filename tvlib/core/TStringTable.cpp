// The string table: loading the workbook and filling in arguments.
#include "tvlib/core/TStringTable.h"

#include <string>
#include <string_view>

#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TFile.h"
#include "tvlib/core/TXmlEntities.h"
#include "tvlib/core/TZxml.h"

namespace {

constexpr char kMissing[] = "#####";
constexpr int kMaxWorkbook = 64 << 20;

// The character data of the first "<Data" cell at or after `from` and before `rowEnd`;
// `next` receives where the following cell is searched (npos when there was no cell). Every
// search stays inside the row, so a workbook of many rows without cells loads in linear time.
std::string Cell(std::string_view text, size_t from, size_t rowEnd, size_t* next) {
  *next = std::string_view::npos;
  const std::string_view row = text.substr(0, rowEnd);
  size_t data = row.find("<Data", from);
  if (data == std::string_view::npos) return {};
  size_t open = row.find('>', data);
  if (open == std::string_view::npos) return {};
  size_t close = row.find('<', open + 1);
  size_t end = close == std::string_view::npos ? row.size() : close;
  *next = end + 1;
  return DecodeXmlEntities(text.substr(open + 1, end - open - 1));
}

bool IsDigits(const std::string& s) {
  if (s.empty()) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

}  // namespace

bool TStringTable::Load(const TString& name) {
  mStrings.clear();
  std::string bytes;
  if (!FileReadAll(name.c_str(), kFileReadBinary, kMaxWorkbook, &bytes)) return false;
  LoadBuffer(bytes.data(), bytes.size());
  return true;
}

void TStringTable::LoadBuffer(const char* bytes, size_t size) {
  mStrings.clear();
  std::string plain;
  std::string_view text(bytes, size);
  if (IsZxml(bytes, size)) {
    if (!InflateZxml(bytes, size, "strings", &plain)) return;
    text = plain;
  }
  size_t row = text.find("<Row");
  while (row != std::string_view::npos) {
    size_t nextRow = text.find("<Row", row + 4);
    size_t rowEnd = nextRow == std::string_view::npos ? text.size() : nextRow;
    size_t after = 0;
    std::string label = Cell(text, row, rowEnd, &after);
    std::string value;
    if (after != std::string_view::npos && after < text.size())
      value = Cell(text, after + 1, rowEnd, &after);
    mStrings[TString(label.c_str())] = value.c_str();
    row = nextRow;
  }
}

TString TStringTable::GetString(const TString& label, const TString& a1, const TString& a2,
                                const TString& a3, const TString& a4, const TString& a5) const {
  const TString* arguments[] = {&a1, &a2, &a3, &a4, &a5};
  auto lookup = [&](const std::string& key, std::string* out) {
    auto found = mStrings.find(TString(key.c_str()));
    if (found == mStrings.end()) return false;
    *out += found->second.c_str();
    return true;
  };
  auto found = mStrings.find(label);
  bool ok = found != mStrings.end();
  std::string result;
  std::string_view text = ok ? found->second.c_str() : "";
  for (size_t i = 0; ok && i < text.size();) {
    if (text[i] != '%') {
      result.push_back(text[i++]);
      continue;
    }
    size_t close = text.find('%', i + 1);
    size_t end = close == std::string_view::npos ? text.size() : close;
    std::string name(text.substr(i + 1, end - i - 1));
    if (name.empty()) {
      result.push_back('%');
    } else if (IsDigits(name)) {
      // Leading zeros count for nothing: "%01%" is "%1%".
      const size_t first = name.find_first_not_of('0');
      int n = first == std::string::npos || name.size() - first > 1 ? 0 : name[first] - '0';
      if (n < 1 || n > 5) {
        ok = false;
        break;
      }
      std::string argument = arguments[n - 1]->c_str();
      if (argument == "%%")
        result.push_back('%');
      else if (argument.size() > 2 && argument.front() == '%' && argument.back() == '%')
        ok = lookup(argument.substr(1, argument.size() - 2), &result);
      else if (!argument.empty() && argument[0] == '%')
        ok = false;
      else
        result += argument;
    } else {
      ok = lookup(name, &result);
    }
    // An unclosed "%" goes on with the character after it as ordinary text.
    i = close == std::string_view::npos ? i + 1 : close + 1;
  }
  if (ok) return result.c_str();
  DebugLog(" ##### : Missing string for label '%s'", label.c_str());
  return kMissing;
}
