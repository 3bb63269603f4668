#include "os/picture_file.h"

#include <stb_image.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/runtime_error.h"

namespace rirerazo::os {

namespace {

constexpr long kInvalidPicture = 481;

std::vector<unsigned char> ReadAll(const std::string& path) {
  std::error_code ignored;
  if (std::filesystem::is_directory(path, ignored)) {
    throw RuntimeError(err::kPathFileAccessError, "Path/File access error");
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) throw RuntimeError(err::kFileNotFound, "File not found");
  std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                   std::istreambuf_iterator<char>());
  if (in.bad()) throw RuntimeError(err::kFileNotFound, "File not found");
  return bytes;
}

}  // namespace

std::shared_ptr<const platform::Picture> FilePictureDecoder::Decode(const std::string& path) {
  const std::vector<unsigned char> bytes = ReadAll(path);
  const int size = static_cast<int>(bytes.size());
  int width = 0, height = 0, channels = 0;
  if (bytes.size() > 0x7fffffffU ||
      !stbi_info_from_memory(bytes.data(), size, &width, &height, &channels) || width <= 0 ||
      height <= 0 || static_cast<long long>(width) * height > kMaxPixels) {
    throw RuntimeError(kInvalidPicture, "Invalid picture");
  }
  unsigned char* pixels = stbi_load_from_memory(bytes.data(), size, &width, &height, &channels, 4);
  if (pixels == nullptr) throw RuntimeError(kInvalidPicture, "Invalid picture");
  auto picture = std::make_shared<platform::Picture>();
  picture->width_px = width;
  picture->height_px = height;
  picture->rgba.assign(pixels, pixels + static_cast<std::size_t>(width) * height * 4);
  stbi_image_free(pixels);
  return picture;
}

}  // namespace rirerazo::os
