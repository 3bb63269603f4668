// Reading only a character file's animation names: the same names the full reader finds,
// from a file whose image and sound data is not even there, and the same errors.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/runtime_error.h"
#include "runtime/acs/acs_file.h"

namespace rirerazo::acs {
namespace {

namespace fs = std::filesystem;

const std::string kShared = std::string(RIRERAZO_SHARED_DIR) + "/characters/";

std::vector<char> Bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::string WriteTemp(const std::string& name, const std::vector<char>& bytes) {
  const fs::path path = fs::temp_directory_path() / name;
  std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
  return path.string();
}

long ErrorNumber(const std::string& path) {
  try {
    ReadAnimationNames(path);
  } catch (const RuntimeError& error) {
    return error.Number();
  }
  return 0;
}

TEST(AnimationNames, MatchTheFullReader) {
  for (const char* file : {"Merlin.acs", "HappyFace.acs"}) {
    const std::string path = kShared + file;
    if (!fs::exists(path)) GTEST_SKIP() << path << " is not there";
    std::vector<std::string> expected;
    for (const Animation& animation : ReadCharacterFile(path).animations) {
      expected.push_back(animation.name);
    }
    EXPECT_EQ(ReadAnimationNames(path), expected) << file;
  }
}

TEST(AnimationNames, ReadNothingButTheHeaderAndTheDirectory) {
  const std::string path = kShared + "HappyFace.acs";
  if (!fs::exists(path)) GTEST_SKIP() << path << " is not there";
  // Every byte outside the header and the animation directory zeroed: the full reader
  // fails on such a file, the names are still there.
  std::vector<char> bytes = Bytes(path);
  auto u32 = [&](std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | std::uint8_t(bytes[at + i]);
    return value;
  };
  const std::uint32_t offset = u32(12), size = u32(16);
  std::vector<char> sparse(bytes.size(), 0);
  std::copy_n(bytes.begin(), 36, sparse.begin());
  std::copy_n(bytes.begin() + offset, size, sparse.begin() + offset);
  const std::string copy = WriteTemp("rirerazo-sparse.acs", sparse);
  EXPECT_EQ(ReadAnimationNames(copy), ReadAnimationNames(path));
  EXPECT_THROW(ReadCharacterFile(copy), RuntimeError);
  fs::remove(copy);
}

TEST(AnimationNames, ErrorsOfBadFiles) {
  EXPECT_EQ(ErrorNumber("/nonexistent/x.acs"), err::kFileNotFound);
  const std::string empty = WriteTemp("rirerazo-empty.acs", {});
  EXPECT_EQ(ErrorNumber(empty), kInvalidCharacterFile);
  const std::string text = WriteTemp("rirerazo-text.acs", {'h', 'e', 'l', 'l', 'o'});
  EXPECT_EQ(ErrorNumber(text), kInvalidCharacterFile);
  // A directory that lies beyond the end of the file.
  std::vector<char> header(36, 0);
  const std::uint32_t signature = 0xABCDABC3;
  for (int i = 0; i < 4; ++i) header[i] = char(signature >> (8 * i));
  header[12] = char(0xF0);  // animation directory at 0xF0, past the 36 bytes
  header[16] = 8;
  const std::string beyond = WriteTemp("rirerazo-beyond.acs", header);
  EXPECT_EQ(ErrorNumber(beyond), kInvalidCharacterFile);
  for (const std::string& path : {empty, text, beyond}) fs::remove(path);
}

}  // namespace
}  // namespace rirerazo::acs
