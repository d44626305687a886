// The skin package: a small archive of bitmaps and one description text, kept compressed in a
// skin file (see look/lzh.h). Unpacked, it is
//
//   0       version, 32-bit little-endian, 20000
//   4       L, the length of the directory text
//   8       two 32-bit values we skip (we write 0)
//   16      directory text: one entry name a line, every line ended by CR LF
//   16 + L  the entry sizes, 32-bit little-endian, one per name
//   then    the entries' bytes, one after another in directory order
//
// Names are compared in lower case; the reader keeps them lower-cased.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pimblo {

constexpr std::int32_t kSkinPackageVersion = 20000;
// The most entries a package may have. A longer directory is refused as a whole.
constexpr std::size_t kSkinMaxEntries = 1001;
// Shown when a package has another version.
inline constexpr std::string_view kOlderSkinMessage = "This is Older Skin File\rPlease update to new version !";

struct SkinEntry {
  std::string name;
  std::vector<std::uint8_t> data;
};

// The unpacked package holding `entries` in their order, names as given. Throws std::length_error
// when the package could not be described (more than 4 GiB).
std::vector<std::uint8_t> BuildSkinPackage(std::span<const SkinEntry> entries);

class TSkinReader {
 public:
  // How a message for the user is shown; the reader only tells, the caller shows.
  using ShowMessage = std::function<void(std::string_view)>;

  explicit TSkinReader(ShowMessage showMessage = {});

  // Unpacks a skin file and indexes its package. False, with Error() telling why, when the file
  // or the package is damaged or beyond our limits (U above 16 MiB, more than 1001 entries, sizes
  // running past the data); a package of another version also shows kOlderSkinMessage.
  // On failure the reader is left empty.
  bool Open(std::span<const std::uint8_t> skinFile);
  // The same for a package that is already unpacked.
  bool OpenPackage(std::vector<std::uint8_t> package);

  // The bytes of the entry whose name equals `name` in lower case. `out` is emptied first and stays
  // empty when there is no such entry.
  bool GetFile(std::string_view name, std::vector<std::uint8_t>& out) const;
  // The first entry whose (lower-case) name contains `fragment`, compared as it is. An empty
  // fragment finds nothing. `out` and `name` are emptied first.
  bool FindFile(std::string_view fragment, std::vector<std::uint8_t>& out, std::string& name) const;

  std::size_t Count() const { return entries_.size(); }
  const std::string& Name(std::size_t i) const { return entries_.at(i).name; }
  std::span<const std::uint8_t> Data(std::size_t i) const;
  const std::string& Error() const { return error_; }

 private:
  struct Entry {
    std::string name;
    std::size_t offset;
    std::size_t size;
  };

  bool Fail(std::string why);
  const Entry* Lookup(std::string_view lowerName) const;

  ShowMessage showMessage_;
  std::vector<std::uint8_t> package_;
  std::vector<Entry> entries_;
  std::string error_;
};

}  // namespace pimblo
