// The block serialisers of the character-file writer, each appending one block of the file
// to a ByteWriter. They assume a model that CheckModel accepted.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "runtime/acs/acs_file.h"
#include "runtime/acs/writer/acs_writer.h"
#include "runtime/acs/writer/private/byte_writer.h"

namespace rirerazo::acs::writer {

// Throws RuntimeError 5 describing the first inconsistency of the model.
void CheckModel(const Character& character);

void WriteAnimationBlock(ByteWriter& out, const Animation& animation);
void WriteImageBlock(ByteWriter& out, const Character& character, std::size_t image_index,
                     const WriteOptions& options);
// Appends the character info block; its localised-info locator is computed from the
// block's position in `out`, so `out` must hold everything written before it.
void WriteInfoBlock(ByteWriter& out, const CharacterInfo& info);

// The flags with the voice and balloon bits made to match the optional blocks present.
std::uint32_t ConsistentFlags(const CharacterInfo& info);

}  // namespace rirerazo::acs::writer
