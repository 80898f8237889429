// Mounts asset packages: reads each package's directory into the file index as package
// handles and keeps the package mapped in the process-wide package table.
//
// A package handle is the text "@<slot>:<offset>,<size>"; the slot is the package's place
// in the table. Mounting a path again reuses its slot. Packages stay mapped until the
// process ends (or their slot is mounted again and the last open entry closes).
#pragma once

#include <map>
#include <memory>

#include "tvlib/core/TFileMap.h"
#include "tvlib/core/TString.h"

using TFileIndexMap = std::map<TString, TString>;

// Mounts every file directly in `assetsFolder` whose name contains ".tvp", in sorted order,
// so a later package's entry replaces an earlier one of the same name.
void MountPackages(TFileIndexMap& index, const TString& assetsFolder);

// Mounts one package given as "::" + disk path.
void MountPackage(TFileIndexMap& index, const TString& path);

// The mapping of the package in `slot`, or null when there is none.
std::shared_ptr<const TFileMapData> GetPackageData(int slot);
