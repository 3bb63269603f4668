// Checked access to manifest fields: each accessor validates type and range and names the
// field's path ("animations[3].frames[0].duration_ms") when it throws RuntimeError 321.
#pragma once

#include <cstdint>
#include <string>

#include <nlohmann/json.hpp>

namespace rirerazo::chartool {

class Node {
 public:
  Node(const nlohmann::json& value, std::string path) : value_(value), path_(std::move(path)) {}

  bool Has(const char* key) const { return value_.is_object() && value_.contains(key); }
  Node At(const char* key) const;  // a required member
  Node At(std::size_t index) const { return Node(value_.at(index), Path(index)); }
  // The members of an array field; an absent field is an empty array.
  std::size_t Count(const char* key) const;
  Node Item(const char* key, std::size_t index) const;

  std::int64_t Int(std::int64_t low, std::int64_t high) const;
  std::int64_t Int(const char* key, std::int64_t low, std::int64_t high) const {
    return At(key).Int(low, high);
  }
  std::int64_t Int(const char* key, std::int64_t low, std::int64_t high,
                   std::int64_t fallback) const {
    return Has(key) ? At(key).Int(low, high) : fallback;
  }
  std::string Text() const;
  std::string Text(const char* key) const { return At(key).Text(); }
  std::string Text(const char* key, const std::string& fallback) const {
    return Has(key) ? At(key).Text() : fallback;
  }
  bool Flag(const char* key, bool fallback) const;
  bool IsText() const { return value_.is_string(); }

  [[noreturn]] void Fail(const std::string& what) const;
  const std::string& Path() const { return path_; }

 private:
  std::string Path(const char* key) const { return path_.empty() ? key : path_ + "." + key; }
  std::string Path(std::size_t index) const { return path_ + "[" + std::to_string(index) + "]"; }

  const nlohmann::json& value_;
  std::string path_;
};

}  // namespace rirerazo::chartool
