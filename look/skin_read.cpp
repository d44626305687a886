#include "look/skin_read.h"

#include <stdexcept>
#include <utility>

#include "look/lzh.h"
#include "look/text.h"
#include "sprites/bytes.h"

namespace pimblo {
namespace {

constexpr std::size_t kHeaderSize = 16;

// Lines end at CR LF, and also at a lone CR or LF; a last line without an end still counts, an
// empty text has no lines.
std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.emplace_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

}  // namespace

std::vector<std::uint8_t> BuildSkinPackage(std::span<const SkinEntry> entries) {
  std::string directory;
  std::uint64_t dirLength = 0;
  std::uint64_t total = 0;
  for (const SkinEntry& e : entries) {
    directory += e.name;
    directory += "\r\n";
    dirLength += e.name.size() + 2;
    total += e.data.size();
  }
  if (dirLength > 0xFFFFFFFFu || total > 0xFFFFFFFFu) {
    throw std::length_error("skin package beyond 4 GiB");
  }

  ByteWriter out;
  out.I32(kSkinPackageVersion);
  out.U32(static_cast<std::uint32_t>(directory.size()));
  out.U32(0);
  out.U32(0);
  out.Bytes({reinterpret_cast<const std::uint8_t*>(directory.data()), directory.size()});
  for (const SkinEntry& e : entries) out.U32(static_cast<std::uint32_t>(e.data.size()));
  for (const SkinEntry& e : entries) out.Bytes(e.data);
  return out.Take();
}

TSkinReader::TSkinReader(ShowMessage showMessage) : showMessage_(std::move(showMessage)) {}

bool TSkinReader::Fail(std::string why) {
  package_.clear();
  entries_.clear();
  error_ = std::move(why);
  return false;
}

bool TSkinReader::Open(std::span<const std::uint8_t> skinFile) {
  LzhUnpackResult unpacked = TLZH::UnpackFile(skinFile);
  if (!unpacked.data) return Fail(std::move(unpacked.error));
  return OpenPackage(std::move(*unpacked.data));
}

bool TSkinReader::OpenPackage(std::vector<std::uint8_t> package) {
  entries_.clear();
  error_.clear();
  package_ = std::move(package);
  const std::span<const std::uint8_t> bytes(package_);

  if (bytes.size() < kHeaderSize) return Fail("package shorter than its header");
  ByteReader header(bytes);
  if (header.I32() != kSkinPackageVersion) {
    if (showMessage_) showMessage_(kOlderSkinMessage);
    return Fail(std::string(kOlderSkinMessage));
  }
  const std::size_t dirLength = header.U32();
  if (dirLength > bytes.size() - kHeaderSize) return Fail("directory runs past the end of the package");
  const auto* text = reinterpret_cast<const char*>(bytes.data() + kHeaderSize);
  std::vector<std::string> names = SplitLines(ToLower(std::string_view(text, dirLength)));
  if (names.size() > kSkinMaxEntries) {
    return Fail("directory of " + std::to_string(names.size()) + " entries; at most " +
                std::to_string(kSkinMaxEntries) + " are read");
  }

  const std::size_t sizesAt = kHeaderSize + dirLength;
  if (names.size() * 4 > bytes.size() - sizesAt) return Fail("entry sizes run past the end of the package");
  // Everything after the sizes is the entries' block; each entry starts where the one before ends.
  ByteReader sizes(bytes.subspan(sizesAt, names.size() * 4));
  std::size_t offset = sizesAt + names.size() * 4;
  entries_.reserve(names.size());
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::size_t size = sizes.U32();
    if (size > bytes.size() - offset) return Fail("entry \"" + names[i] + "\" runs past the end of the package");
    entries_.push_back({std::move(names[i]), offset, size});
    offset += size;
  }
  return true;
}

const TSkinReader::Entry* TSkinReader::Lookup(std::string_view lowerName) const {
  for (const Entry& e : entries_)
    if (e.name == lowerName) return &e;
  return nullptr;
}

std::span<const std::uint8_t> TSkinReader::Data(std::size_t i) const {
  const Entry& e = entries_.at(i);
  return std::span<const std::uint8_t>(package_).subspan(e.offset, e.size);
}

bool TSkinReader::GetFile(std::string_view name, std::vector<std::uint8_t>& out) const {
  out.clear();
  const Entry* e = Lookup(ToLower(name));
  if (!e) return false;
  out.assign(package_.begin() + static_cast<std::ptrdiff_t>(e->offset),
             package_.begin() + static_cast<std::ptrdiff_t>(e->offset + e->size));
  return true;
}

bool TSkinReader::FindFile(std::string_view fragment, std::vector<std::uint8_t>& out, std::string& name) const {
  out.clear();
  name.clear();
  if (fragment.empty()) return false;
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i].name.find(fragment) == std::string::npos) continue;
    const auto bytes = Data(i);
    out.assign(bytes.begin(), bytes.end());
    name = entries_[i].name;
    return true;
  }
  return false;
}

}  // namespace pimblo
