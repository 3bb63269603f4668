// The character folder of the authoring tool: a manifest (character.json) describing the
// character, its images as PNG files and its sounds as WAV files. `extract` writes such a
// folder from a character file; `build` turns one back into a character file. The manifest
// format is documented in docs/characters.md.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "runtime/acs/acs_file.h"

namespace rirerazo::chartool {

inline constexpr const char* kManifestName = "character.json";
inline constexpr const char* kManifestFormat = "rirerazo-character";
inline constexpr int kManifestVersion = 1;

struct ExtractOptions {
  bool composed_frames = false;  // also write every frame composed, as RGBA PNGs
  bool pcm_sounds = false;       // write sounds decoded to 16-bit PCM instead of as stored
  bool overwrite = false;        // replace a character folder already in the way
};

// The manifest for `character`, naming images/NNNN.png, sounds/NNNN.wav and the tray icon
// files as ExtractCharacter writes them.
nlohmann::ordered_json ManifestFromCharacter(const acs::Character& character);

// Writes the manifest, the images, the sounds and the tray icon into `folder` (created when
// missing). Refuses a folder that already holds a manifest unless options.overwrite.
void ExtractCharacter(const acs::Character& character, const std::filesystem::path& folder,
                      const ExtractOptions& options);

// Builds the model described by `manifest`; file names in it are relative to `base`. Throws
// RuntimeError 321 naming the manifest field for anything malformed, 53 for a missing file.
acs::Character CharacterFromManifest(const nlohmann::json& manifest,
                                     const std::filesystem::path& base);

// Reads `folder`/character.json (or the manifest file itself when given one) and builds it.
acs::Character LoadCharacterFolder(const std::filesystem::path& folder_or_manifest);

// Things a character file may hold but that are probably mistakes: states naming missing
// animations, return animations that do not exist.
std::vector<std::string> AuthoringWarnings(const acs::Character& character);

// Shared by both directions.
std::string ColorText(const acs::Color& color);  // "#RRGGBB"
const char* MouthShapeName(acs::MouthShape shape);
const char* TransitionName(acs::TransitionType type);

}  // namespace rirerazo::chartool
