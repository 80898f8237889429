// Writes asset packages from folders of loose files.
#include "tools/tvpack/TPackageWriter.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "tvlib/core/TPackageFormat.h"

namespace fs = std::filesystem;

namespace {

void AppendU32(std::string* out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out->push_back(static_cast<char>(value >> shift));
}

}  // namespace

std::string CheckPackageLimits(const std::vector<std::string>& names,
                               const std::vector<uint64_t>& sizes) {
  uint64_t total = kPackageHeaderSize;
  for (size_t i = 0; i < names.size(); ++i) {
    const std::string& name = names[i];
    if (name.empty() || name.size() > kPackageMaxNameLength)
      return "the name \"" + name + "\" has " + std::to_string(name.size()) +
             " bytes; a package name has 1 to " + std::to_string(kPackageMaxNameLength);
    if (name.find('\0') != std::string::npos) return "a name holds a NUL byte";
    total += kPackageEntryFixedSize + name.size() + sizes[i];
    if (total > kPackageMaxSize)
      return "the package would exceed " + std::to_string(kPackageMaxSize) +
             " bytes, the largest the format can address";
  }
  return {};
}

bool BuildPackage(std::vector<TPackMember> members, std::string* package, std::string* error) {
  std::sort(members.begin(), members.end(),
            [](const TPackMember& a, const TPackMember& b) { return a.name < b.name; });
  std::vector<std::string> names;
  std::vector<uint64_t> sizes;
  for (size_t i = 0; i < members.size(); ++i) {
    if (i > 0 && members[i].name == members[i - 1].name) {
      *error = "the name \"" + members[i].name + "\" occurs twice";
      return false;
    }
    names.push_back(members[i].name);
    sizes.push_back(members[i].data.size());
  }
  *error = CheckPackageLimits(names, sizes);
  if (!error->empty()) return false;

  std::string out(kPackageMagic, 4);
  AppendU32(&out, static_cast<uint32_t>(members.size()));
  uint64_t offset = kPackageHeaderSize;
  for (const TPackMember& member : members) offset += kPackageEntryFixedSize + member.name.size();
  for (const TPackMember& member : members) {
    out.push_back(static_cast<char>(member.name.size()));
    out += member.name;
    AppendU32(&out, static_cast<uint32_t>(offset));
    AppendU32(&out, static_cast<uint32_t>(member.data.size()));
    offset += member.data.size();
  }
  for (const TPackMember& member : members) out += member.data;
  *package = std::move(out);
  return true;
}

bool CollectFolder(const std::string& folder, std::vector<TPackMember>* members,
                   std::string* error) {
  std::error_code failure;
  fs::recursive_directory_iterator walk(folder, fs::directory_options::follow_directory_symlink,
                                        failure);
  for (; !failure && walk != fs::recursive_directory_iterator(); walk.increment(failure)) {
    if (!walk->is_regular_file()) continue;
    std::ifstream in(walk->path(), std::ios::binary);
    if (!in) {
      *error = "cannot read " + walk->path().string();
      return false;
    }
    members->push_back({fs::relative(walk->path(), folder).generic_string(),
                        {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()}});
  }
  if (failure) {
    *error = "cannot list " + folder + ": " + failure.message();
    return false;
  }
  return true;
}

bool CollectFolders(const std::vector<std::string>& folders, std::vector<TPackMember>* members,
                    std::string* error) {
  std::map<std::string, std::string> byName;
  for (const std::string& folder : folders) {
    std::vector<TPackMember> found;
    if (!CollectFolder(folder, &found, error)) return false;
    for (TPackMember& member : found) byName[member.name] = std::move(member.data);
  }
  for (auto& [name, data] : byName) members->push_back({name, std::move(data)});
  return true;
}
