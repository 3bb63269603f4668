#include "runtime/acs/writer/acs_writer.h"

#include <cstdio>
#include <fstream>
#include <limits>

#include "platform/runtime_error.h"
#include "runtime/acs/writer/private/blocks.h"

namespace rirerazo::acs {
namespace {

using writer::ByteWriter;

constexpr std::uint32_t kSignature = 0xABCDABC3;
constexpr std::size_t kHeaderSize = 36;

struct Locator {
  std::uint32_t offset = 0;
  std::uint32_t size = 0;
};

std::uint32_t Offset32(std::size_t value) {
  if (value > std::numeric_limits<std::uint32_t>::max()) {
    throw RuntimeError(err::kOverflow, "character file would exceed 4 GB");
  }
  return static_cast<std::uint32_t>(value);
}

Locator Since(const ByteWriter& out, std::size_t start) {
  return {Offset32(start), Offset32(out.Size() - start)};
}

// Writes the blocks of one kind with `write_one`, returning where each one landed.
template <typename WriteOne>
std::vector<Locator> WriteBlocks(ByteWriter& out, std::size_t count, WriteOne write_one) {
  std::vector<Locator> places;
  places.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t start = out.Size();
    write_one(i);
    places.push_back(Since(out, start));
  }
  return places;
}

// Image and audio directories: offset, size and a checksum of unknown algorithm, written 0.
Locator WriteDataDirectory(ByteWriter& out, const std::vector<Locator>& places) {
  const std::size_t start = out.Size();
  out.U32(static_cast<std::uint32_t>(places.size()));
  for (const Locator& place : places) {
    out.U32(place.offset);
    out.U32(place.size);
    out.U32(0);
  }
  return Since(out, start);
}

Locator WriteAnimationDirectory(ByteWriter& out, const Character& character,
                                const std::vector<Locator>& places) {
  const std::size_t start = out.Size();
  out.U32(static_cast<std::uint32_t>(places.size()));
  for (std::size_t i = 0; i < places.size(); ++i) {
    out.String(character.animations[i].name);
    out.U32(places[i].offset);
    out.U32(places[i].size);
  }
  return Since(out, start);
}

}  // namespace

std::vector<std::uint8_t> WriteCharacter(const Character& character, const WriteOptions& options) {
  writer::CheckModel(character);
  ByteWriter out;
  out.Data().resize(kHeaderSize);
  const auto animations = WriteBlocks(out, character.animations.size(), [&](std::size_t i) {
    writer::WriteAnimationBlock(out, character.animations[i]);
  });
  const auto images = WriteBlocks(out, character.images.size(), [&](std::size_t i) {
    writer::WriteImageBlock(out, character, i, options);
  });
  const auto sounds = WriteBlocks(out, character.sounds.size(), [&](std::size_t i) {
    const auto* in_memory = std::get_if<std::vector<std::uint8_t>>(&character.sounds[i].wav);
    out.Bytes(in_memory ? std::span<const std::uint8_t>(*in_memory) : character.SoundBytes(i));
  });
  const Locator animation_directory = WriteAnimationDirectory(out, character, animations);
  const Locator image_directory = WriteDataDirectory(out, images);
  const Locator audio_directory = WriteDataDirectory(out, sounds);
  const std::size_t info_start = out.Size();
  writer::WriteInfoBlock(out, character.info);
  const Locator info = Since(out, info_start);

  out.PatchU32(0, kSignature);
  const Locator locators[] = {info, animation_directory, image_directory, audio_directory};
  for (std::size_t i = 0; i < std::size(locators); ++i) {
    out.PatchU32(4 + 8 * i, locators[i].offset);
    out.PatchU32(8 + 8 * i, locators[i].size);
  }
  return std::move(out.Data());
}

void WriteCharacterFile(const Character& character, const std::string& path,
                        const WriteOptions& options) {
  const std::vector<std::uint8_t> bytes = WriteCharacter(character, options);
  const std::string temporary = path + ".part";
  {
    std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) {
      std::remove(temporary.c_str());
      throw RuntimeError(err::kPathFileAccessError, "cannot write character file: " + path);
    }
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    std::remove(temporary.c_str());
    throw RuntimeError(err::kPathFileAccessError, "cannot write character file: " + path);
  }
}

}  // namespace rirerazo::acs
