// Writes the seed corpus of legacy_acs_fuzz into a folder: the tiny test character as a whole
// file and in the structured form, with UTF-16 and with single-byte text.
#include <fstream>
#include <iostream>
#include <string>

#include "legacy_input.h"

namespace {

void Write(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_legacy_seeds FOLDER\n";
    return 2;
  }
  const std::string folder = argv[1];
  for (const bool single_byte : {false, true}) {
    const auto parts = rirerazo::acs::testing::TinyLegacyCharacter(single_byte);
    const std::string suffix = single_byte ? "-single-byte" : "";
    std::vector<std::uint8_t> whole{0};
    const auto file = rirerazo::acs::testing::WrapLegacyCharacter(parts);
    whole.insert(whole.end(), file.begin(), file.end());
    Write(folder + "/tiny" + suffix + ".file", whole);
    Write(folder + "/tiny" + suffix + ".parts", rirerazo::acs::fuzzing::InputFromParts(parts));
  }
  return 0;
}
