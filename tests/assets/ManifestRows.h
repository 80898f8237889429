// Reads a content manifest: comma-separated rows, blank lines and "#" comments skipped. A row
// with another number of fields than expected fails the calling test and is left out, so a
// damaged manifest can never pass by having fewer rows to check.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

inline std::vector<std::vector<std::string>> ReadManifestRows(const char* path, size_t fields) {
  std::ifstream in(path);
  EXPECT_TRUE(in.good()) << path;
  std::vector<std::vector<std::string>> rows;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> row;
    std::stringstream text(line);
    for (std::string field; std::getline(text, field, ',');) row.push_back(field);
    if (row.size() != fields) {
      ADD_FAILURE() << path << ": expected " << fields << " fields in: " << line;
      continue;
    }
    rows.push_back(std::move(row));
  }
  EXPECT_FALSE(rows.empty()) << path;
  return rows;
}
