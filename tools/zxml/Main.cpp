// zxml: converts between plain XML and ZXML documents.
//   zxml pack <plain.xml> <out.zxml>
//   zxml unpack <in.zxml> <plain.xml>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "tools/zxml/TZxmlWriter.h"
#include "tvlib/core/TZxml.h"

namespace {

bool ReadFile(const char* path, std::string* bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

bool WriteFile(const char* path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out.flush());
}

}  // namespace

int main(int argc, char** argv) {
  std::string mode = argc == 4 ? argv[1] : "";
  if (mode != "pack" && mode != "unpack") {
    std::fprintf(stderr, "usage: zxml pack|unpack <input> <output>\n");
    return 2;
  }
  std::string input, output;
  if (!ReadFile(argv[2], &input)) {
    std::fprintf(stderr, "zxml: cannot read %s\n", argv[2]);
    return 1;
  }
  if (mode == "pack") {
    output = MakeZxml(input);
    if (output.empty()) {
      std::fprintf(stderr, "zxml: %s is too large\n", argv[2]);
      return 1;
    }
  } else if (!InflateZxml(input.data(), input.size(), argv[2], &output)) {
    std::fprintf(stderr, "zxml: %s is not a sound ZXML document\n", argv[2]);
    return 1;
  }
  if (!WriteFile(argv[3], output)) {
    std::fprintf(stderr, "zxml: cannot write %s\n", argv[3]);
    return 1;
  }
  return 0;
}
