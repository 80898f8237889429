// Makes ZXML documents (layout in tvlib/core/TZxml.h) for content and test fixtures.
#pragma once

#include <string>
#include <string_view>

// The ZXML form of `plain`; empty when it is over the reader's plain-length cap.
std::string MakeZxml(std::string_view plain);
