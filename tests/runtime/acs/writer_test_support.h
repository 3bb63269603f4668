// Shared by the writer tests: a small model that uses every feature of the format, and
// comparisons of two models down to pixels and sound bytes.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "runtime/acs/acs_file.h"

namespace rirerazo::acs::test_support {

// Two 6x3 / 5x4 images (widths not multiples of 4), a mouth image, two sounds, three
// animations with branches, exit frames, overlays (one with a region block), voice with its
// extra part, balloon, tray icon, states and two languages with non-ASCII text.
Character SampleCharacter();

// Compares everything a reader exposes: character info, animations, image pixels and
// regions, sound bytes.
void ExpectSameCharacter(const Character& expected, const Character& actual);
void ExpectSameInfo(const CharacterInfo& expected, const CharacterInfo& actual);

// The real character files folder, or empty when it is absent (tests then skip).
std::filesystem::path SharedCharacter(const std::string& file_name);

}  // namespace rirerazo::acs::test_support
