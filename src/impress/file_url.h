// File URLs for the office: absolute paths with every byte outside the unreserved set
// percent-encoded, so names with blanks, '#', '%' or UTF-8 reach it unchanged.
#pragma once

#include <string>

namespace rirerazo::impress {

// "file://" followed by `path` made absolute (against the current folder) and encoded.
std::string FileUrl(const std::string& path);

}  // namespace rirerazo::impress
