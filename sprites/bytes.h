// Little-endian byte reading and writing for the stored formats.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace pimblo {

// Reads fields from a block of bytes; every read is checked against the end.
// A read past the end fails and leaves the reader failed for good.
class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  bool Ok() const { return ok_; }
  std::size_t Offset() const { return offset_; }
  std::size_t Remaining() const { return ok_ ? bytes_.size() - offset_ : 0; }

  std::uint8_t U8() { return static_cast<std::uint8_t>(Take(1)); }
  std::uint16_t U16() { return static_cast<std::uint16_t>(Take(2)); }
  std::uint32_t U32() { return static_cast<std::uint32_t>(Take(4)); }
  std::int16_t I16() { return static_cast<std::int16_t>(U16()); }
  std::int32_t I32() { return static_cast<std::int32_t>(U32()); }

  // The next `n` bytes, or an empty span (and failure) when fewer remain.
  std::span<const std::uint8_t> Bytes(std::size_t n) {
    if (!ok_ || n > bytes_.size() - offset_) {
      ok_ = false;
      return {};
    }
    auto s = bytes_.subspan(offset_, n);
    offset_ += n;
    return s;
  }
  void Skip(std::size_t n) { Bytes(n); }

 private:
  std::uint64_t Take(std::size_t n) {
    auto s = Bytes(n);
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < s.size(); ++i) v |= std::uint64_t{s[i]} << (8 * i);
    return v;
  }

  std::span<const std::uint8_t> bytes_;
  std::size_t offset_ = 0;
  bool ok_ = true;
};

class ByteWriter {
 public:
  void U8(std::uint8_t v) { bytes_.push_back(v); }
  void U16(std::uint16_t v) { Put(v, 2); }
  void U32(std::uint32_t v) { Put(v, 4); }
  void I16(std::int16_t v) { U16(static_cast<std::uint16_t>(v)); }
  void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
  void Bytes(std::span<const std::uint8_t> s) { bytes_.insert(bytes_.end(), s.begin(), s.end()); }
  void Zeros(std::size_t n) { bytes_.insert(bytes_.end(), n, 0); }

  const std::vector<std::uint8_t>& Data() const { return bytes_; }
  std::vector<std::uint8_t> Take() { return std::move(bytes_); }

 private:
  void Put(std::uint64_t v, int n) {
    for (int i = 0; i < n; ++i) bytes_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  std::vector<std::uint8_t> bytes_;
};

}  // namespace pimblo
