#include "manifest_node.h"

#include "manifest.h"
#include "platform/runtime_error.h"
#include "runtime/acs/acs_file.h"

namespace rirerazo::chartool {

void Node::Fail(const std::string& what) const {
  throw RuntimeError(acs::kInvalidCharacterFile, std::string(kManifestName) + ": " +
                                                     (path_.empty() ? "" : path_ + ": ") + what);
}

Node Node::At(const char* key) const {
  if (!value_.is_object()) Fail("expected an object");
  if (!value_.contains(key)) Fail(std::string("missing \"") + key + "\"");
  return Node(value_.at(key), Path(key));
}

std::size_t Node::Count(const char* key) const {
  if (!Has(key)) return 0;
  const Node list = At(key);
  if (!list.value_.is_array()) list.Fail("expected a list");
  return list.value_.size();
}

Node Node::Item(const char* key, std::size_t index) const {
  return At(key).At(index);
}

std::int64_t Node::Int(std::int64_t low, std::int64_t high) const {
  if (!value_.is_number_integer()) {
    Fail("expected a whole number from " + std::to_string(low) + " to " + std::to_string(high));
  }
  const std::int64_t v = value_.is_number_unsigned()
                             ? std::int64_t(std::min<std::uint64_t>(value_.get<std::uint64_t>(),
                                                                    std::uint64_t(INT64_MAX)))
                             : value_.get<std::int64_t>();
  if (v < low || v > high) {
    Fail(std::to_string(v) + " is outside " + std::to_string(low) + " to " + std::to_string(high));
  }
  return v;
}

std::string Node::Text() const {
  if (!value_.is_string()) Fail("expected text");
  return value_.get<std::string>();
}

bool Node::Flag(const char* key, bool fallback) const {
  if (!Has(key)) return fallback;
  const Node field = At(key);
  if (!field.value_.is_boolean()) field.Fail("expected true or false");
  return field.value_.get<bool>();
}

}  // namespace rirerazo::chartool
