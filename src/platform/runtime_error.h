// The run-time error that the player's procedures raise and handle: a number and a
// description. Numbers follow the classic run-time numbering where the user can see them
// (5 invalid procedure call, 6 overflow, 13 type mismatch, 53 file not found, 76 path not
// found). Services behind the platform interfaces raise the same type, so the player's
// handlers treat a failing service like any other run-time error.
#pragma once

#include <stdexcept>
#include <string>

namespace rirerazo {

class RuntimeError : public std::runtime_error {
 public:
  RuntimeError(long number, const std::string& description)
      : std::runtime_error(description), number_(number) {}

  long Number() const noexcept { return number_; }
  std::string Description() const { return what(); }

 private:
  long number_;
};

// Error numbers the player and its services raise by name.
namespace err {
inline constexpr long kInvalidProcedureCall = 5;
inline constexpr long kOverflow = 6;
inline constexpr long kOutOfMemory = 7;
inline constexpr long kSubscriptOutOfRange = 9;
inline constexpr long kTypeMismatch = 13;
inline constexpr long kFileNotFound = 53;
inline constexpr long kFileAlreadyOpen = 55;
inline constexpr long kBadFileMode = 54;
inline constexpr long kPermissionDenied = 70;
inline constexpr long kPathFileAccessError = 75;
inline constexpr long kPathNotFound = 76;
inline constexpr long kObjectRequired = 424;
}  // namespace err

}  // namespace rirerazo
