// An even first byte: the rest is a zip archive, every entry read. An odd one: the rest is
// XML whose start tags and attributes are scanned.
#include <cstddef>
#include <cstdint>
#include <string>

#include "host/presentation/xml_tags.h"
#include "host/presentation/zip_reader.h"
#include "platform/runtime_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string rest(reinterpret_cast<const char*>(data + 1), size - 1);
  if (data[0] & 1) {
    std::size_t tags = 0;
    rirerazo::host::ForEachStartTag(rest, [&](const rirerazo::host::XmlTag&) { ++tags; });
    return 0;
  }
  try {
    const rirerazo::host::ZipArchive archive(rest);
    for (const std::string& name : archive.Names()) archive.Read(name);
  } catch (const rirerazo::RuntimeError&) {
  }
  return 0;
}
