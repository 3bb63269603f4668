// Temporary copies of scripts (a script carried inside the executable, a downloaded one):
// files named "VORN", a sequence number of at least four digits and ".TMP" in the
// temporary folder, taking the first free number. A file is created exclusively, so two
// players running at once never share one.
#pragma once

#include <string>

namespace rirerazo {

// The name with sequence number `number` in `temp_dir` (which ends in a separator):
// TempScriptFileName("/tmp/", 1) is "/tmp/VORN0001.TMP".
std::string TempScriptFileName(const std::string& temp_dir, int number);

// Creates the empty file with the first free number and returns its name. Raises
// RuntimeError 75 when no file can be created in `temp_dir`.
std::string CreateTempScriptFile(const std::string& temp_dir);

}  // namespace rirerazo
