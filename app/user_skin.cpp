#include "app/user_skin.h"

#include <algorithm>

namespace pimblo {
namespace {

std::wstring FolderOf(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

bool HasFrame(const TSkinData& skin) {
  return std::any_of(skin.Borders.begin(), skin.Borders.end(),
                     [](const TDataSkinBorder& border) { return border.Image.width > 0 && border.Image.height > 0; });
}

// FNV-1a, 64 bits: enough to tell one version of a file from the next.
std::uint64_t Digest(std::span<const std::uint8_t> bytes) {
  std::uint64_t hash = 0xCBF29CE484222325u;
  for (const std::uint8_t b : bytes) hash = (hash ^ b) * 0x100000001B3u;
  return hash;
}

}  // namespace

std::vector<std::wstring> UserSkinPlaces(const std::wstring& exePath, const std::optional<std::wstring>& appData) {
  std::vector<std::wstring> places{FolderOf(exePath) + kUserSkinName};
  if (appData && !appData->empty()) places.push_back(*appData + L"\\Pimblo\\" + kUserSkinName);
  return places;
}

UserSkinFault TakeUserSkin(TSkinData& skin, const std::optional<std::vector<std::uint8_t>>& file,
                           std::span<const std::uint8_t> carriedStream) {
  UserSkinFault fault = UserSkinFault::Unreadable;
  if (file) {
    skin.ReadSkinStream(SkinStreamOf(*file));
    fault = skin.Empty() ? UserSkinFault::NotASkin : HasFrame(skin) ? UserSkinFault::Nothing : UserSkinFault::NoFrame;
  }
  if (fault != UserSkinFault::Nothing) skin.ReadSkinStream(carriedStream);
  return fault;
}

std::optional<UserSkinChange> UserSkinFollower::Follow(TSkinData& skin, FileSystem& files,
                                                       const std::vector<std::wstring>& places,
                                                       std::span<const std::uint8_t> carriedStream) {
  Sighting now;
  std::optional<std::vector<std::uint8_t>> file;
  const auto found = std::find_if(places.begin(), places.end(), [&](const std::wstring& p) { return files.Exists(p); });
  if (found != places.end()) {
    now.place = *found;
    file = files.Read(*found, kUserSkinLimit);
    if (file) now.digest = Digest(*file);
  }
  if (last_ == now) return std::nullopt;
  last_ = now;
  if (!now.place) {
    skin.ReadSkinStream(carriedStream);
    return UserSkinChange{};
  }
  return UserSkinChange{now.place, TakeUserSkin(skin, file, carriedStream)};
}

std::wstring UserSkinMessage(const std::wstring& path, UserSkinFault fault) {
  const wchar_t* why = L"";
  switch (fault) {
    case UserSkinFault::Nothing: return {};
    case UserSkinFault::Unreadable: why = L"无法读取该文件。\rThe file cannot be read."; break;
    case UserSkinFault::NotASkin:
      why = L"它不是本程序能读取的皮肤文件。\rIt is not a skin file this program can read."; break;
    case UserSkinFault::NoFrame: why = L"其中没有窗口边框的图片。\rIt holds no pictures of the window's border."; break;
  }
  return L"皮肤文件未能加载，仍使用自带的皮肤：\rThe skin file was not loaded; the program's own skin is used:\r\r" +
         path + L"\r\r" + why;
}

}  // namespace pimblo
