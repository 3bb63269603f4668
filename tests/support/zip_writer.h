// Writes small zip archives for tests: presentation files and damaged variants of them.
// Entries are stored or deflated (raw deflate through zlib).
#pragma once

#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

namespace rirerazo::testing {

class ZipWriter {
 public:
  void Add(const std::string& name, const std::string& data, bool deflate = true) {
    std::string payload = deflate ? Deflate(data) : data;
    std::uint32_t crc = static_cast<std::uint32_t>(
        crc32(0L, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
    std::uint16_t method = deflate ? 8 : 0;
    std::uint32_t offset = static_cast<std::uint32_t>(archive_.size());
    Put(archive_, 0x04034b50, 4);
    Put(archive_, 20, 2);
    Put(archive_, 0, 2);
    Put(archive_, method, 2);
    Put(archive_, 0, 4);  // time and date
    Put(archive_, crc, 4);
    Put(archive_, payload.size(), 4);
    Put(archive_, data.size(), 4);
    Put(archive_, name.size(), 2);
    Put(archive_, 0, 2);
    archive_ += name + payload;

    Put(directory_, 0x02014b50, 4);
    Put(directory_, 20, 2);
    Put(directory_, 20, 2);
    Put(directory_, 0, 2);
    Put(directory_, method, 2);
    Put(directory_, 0, 4);
    Put(directory_, crc, 4);
    Put(directory_, payload.size(), 4);
    Put(directory_, data.size(), 4);
    Put(directory_, name.size(), 2);
    Put(directory_, 0, 2);  // extra
    Put(directory_, 0, 2);  // comment
    Put(directory_, 0, 2);  // disk
    Put(directory_, 0, 2);  // internal attributes
    Put(directory_, 0, 4);  // external attributes
    Put(directory_, offset, 4);
    directory_ += name;
    ++count_;
  }

  std::string Finish() const {
    std::string bytes = archive_ + directory_;
    Put(bytes, 0x06054b50, 4);
    Put(bytes, 0, 2);
    Put(bytes, 0, 2);
    Put(bytes, count_, 2);
    Put(bytes, count_, 2);
    Put(bytes, directory_.size(), 4);
    Put(bytes, archive_.size(), 4);
    Put(bytes, 0, 2);
    return bytes;
  }

 private:
  static void Put(std::string& out, std::uint64_t value, int width) {
    for (int i = 0; i < width; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
  }
  static std::string Deflate(const std::string& data) {
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&stream, static_cast<uLong>(data.size())), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
  }

  std::string archive_;
  std::string directory_;
  std::uint64_t count_ = 0;
};

}  // namespace rirerazo::testing
