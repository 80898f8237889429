// Mounting asset packages into the file index.
#include "tvlib/core/TPackageReader.h"

#include <vector>

#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TDirectoryIterator.h"
#include "tvlib/core/TPackageFormat.h"

namespace {

// The package table, in mount order; used from the UI thread only.
std::vector<TFileMapHandler>& PackageTable() {
  static std::vector<TFileMapHandler> table;
  return table;
}

}  // namespace

void MountPackages(TFileIndexMap& index, const TString& assetsFolder) {
  TDirectoryIterator files(assetsFolder);
  TString name;
  while (files.Next(&name))
    if (name.Find(".tvp") >= 0) MountPackage(index, TString("::") + assetsFolder + "/" + name);
}

void MountPackage(TFileIndexMap& index, const TString& path) {
  std::vector<TFileMapHandler>& table = PackageTable();
  size_t slot = table.size();
  for (size_t i = 0; i < table.size(); ++i)
    if (table[i].GetPath() == path) slot = i;

  // The directory is read from the mapping itself, so every bound is the mapped size.
  TFileMapHandler handler;
  if (!handler.Open(path)) {
    DebugLog("Failed to open flat file %s", path.c_str());
    return;
  }
  if (handler.GetData()->GetSize() == 0) return;  // an empty package holds nothing
  std::vector<TPackageEntry> entries;
  if (!ReadPackageDirectory(handler.GetBase(), handler.GetData()->GetSize(), path.c_str(),
                            &entries))
    return;
  for (const TPackageEntry& entry : entries) {
    TString key(entry.name.data(), static_cast<int>(entry.name.size()));
    key.ToLower();
    index[key] = TString::Format("@%d:%ld,%ld", static_cast<int>(slot),
                                 static_cast<long>(entry.offset), static_cast<long>(entry.size));
  }
  // The old handler's mapping lives on in the entries still open from it.
  if (slot == table.size())
    table.push_back(std::move(handler));
  else
    table[slot] = std::move(handler);
}

std::shared_ptr<const TFileMapData> GetPackageData(int slot) {
  const std::vector<TFileMapHandler>& table = PackageTable();
  if (slot < 0 || static_cast<size_t>(slot) >= table.size()) return nullptr;
  return table[static_cast<size_t>(slot)].GetData();
}
