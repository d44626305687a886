// skinpack: makes and takes apart our skin files.
//
//   skinpack encode IN OUT        compress IN into a skin file (U + LZHUF stream)
//   skinpack decode IN OUT        the reverse
//   skinpack pack DIR LIST OUT    a skin file of the files of DIR named in LIST, one a line, in order
//   skinpack unpack SKIN DIR      write every entry of SKIN into DIR
//   skinpack list SKIN            name and size of every entry, one a line, tab between
//
// Bad input gets one line on standard error and exit status 2.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "look/lzh.h"
#include "look/skin_read.h"
#include "look/text.h"

namespace {

namespace fs = std::filesystem;
using pimblo::SkinEntry;
using pimblo::TLZH;
using pimblo::TSkinReader;

constexpr int kBadInput = 2;

// Thrown for anything wrong with the input; main prints it and exits with kBadInput.
struct BadInput : std::runtime_error {
  using std::runtime_error::runtime_error;
};

std::vector<std::uint8_t> ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw BadInput("cannot read " + path.string());
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw BadInput("cannot read " + path.string());
  return bytes;
}

void WriteFile(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw BadInput("cannot write " + path.string());
}

// An entry name must be a plain file name, so that unpacking stays inside its folder.
void CheckName(std::string_view name) {
  if (name.empty() || name == "." || name == ".." || name.find_first_of("/\\:") != std::string_view::npos) {
    throw BadInput("entry name \"" + std::string(name) + "\" is not a plain file name");
  }
}

TSkinReader OpenSkin(const fs::path& path) {
  // The version message needs no window here: it comes back as the error.
  TSkinReader reader;
  if (!reader.Open(ReadFile(path))) {
    std::string why = reader.Error();
    for (char& c : why)
      if (c == '\r') c = ' ';
    throw BadInput(path.string() + ": " + why);
  }
  return reader;
}

void Encode(const fs::path& in, const fs::path& out) {
  const auto data = ReadFile(in);
  if (data.size() > pimblo::kLzhMaxUnpackedSize) throw BadInput(in.string() + " is larger than a skin may be");
  WriteFile(out, TLZH::PackFile(data));
}

void Decode(const fs::path& in, const fs::path& out) {
  auto unpacked = TLZH::UnpackFile(ReadFile(in));
  if (!unpacked.data) throw BadInput(in.string() + ": " + unpacked.error);
  WriteFile(out, *unpacked.data);
}

void Pack(const fs::path& dir, const fs::path& list, const fs::path& out) {
  const auto listBytes = ReadFile(list);
  const std::string_view text(reinterpret_cast<const char*>(listBytes.data()), listBytes.size());
  std::vector<SkinEntry> entries;
  std::size_t total = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view name = text.substr(start, end - start);
    start = end + 1;
    name = pimblo::Trim(name);
    if (name.empty()) continue;
    CheckName(name);
    entries.push_back({std::string(name), ReadFile(dir / fs::path(std::string(name)))});
    total += entries.back().data.size() + name.size() + 6;
    if (entries.size() > pimblo::kSkinMaxEntries) throw BadInput("more entries than a skin may hold");
    if (total > pimblo::kLzhMaxUnpackedSize) throw BadInput("entries larger than a skin may be");
  }
  if (entries.empty()) throw BadInput(list.string() + " names no entry");
  WriteFile(out, TLZH::PackFile(pimblo::BuildSkinPackage(entries)));
}

void Unpack(const fs::path& skin, const fs::path& dir) {
  const TSkinReader reader = OpenSkin(skin);
  for (std::size_t i = 0; i < reader.Count(); ++i) CheckName(reader.Name(i));
  std::error_code ec;
  fs::create_directories(dir, ec);
  for (std::size_t i = 0; i < reader.Count(); ++i) {
    const auto data = reader.Data(i);
    WriteFile(dir / reader.Name(i), std::vector<std::uint8_t>(data.begin(), data.end()));
  }
}

void List(const fs::path& skin) {
  const TSkinReader reader = OpenSkin(skin);
  for (std::size_t i = 0; i < reader.Count(); ++i) std::cout << reader.Name(i) << '\t' << reader.Data(i).size() << '\n';
}

int Usage() {
  std::cerr << "usage: skinpack encode IN OUT | decode IN OUT | pack DIR LIST OUT | unpack SKIN DIR | list SKIN\n";
  return kBadInput;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return Usage();
  const std::string& command = args[0];
  try {
    if (command == "encode" && args.size() == 3) {
      Encode(args[1], args[2]);
    } else if (command == "decode" && args.size() == 3) {
      Decode(args[1], args[2]);
    } else if (command == "pack" && args.size() == 4) {
      Pack(args[1], args[2], args[3]);
    } else if (command == "unpack" && args.size() == 3) {
      Unpack(args[1], args[2]);
    } else if (command == "list" && args.size() == 2) {
      List(args[1]);
    } else {
      return Usage();
    }
  } catch (const BadInput& e) {
    std::cerr << "skinpack: " << e.what() << '\n';
    return kBadInput;
  } catch (const std::exception& e) {
    std::cerr << "skinpack: " << e.what() << '\n';
    return 1;
  }
  return 0;
}
