#include "win32/memory_stream.h"

#include <cstring>

namespace pimblo::ui {

HRESULT MemoryStream::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_ISequentialStream) || IsEqualIID(iid, IID_IStream)) {
    *out = static_cast<IStream*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

HRESULT MemoryStream::Read(void* into, ULONG count, ULONG* read) {
  if (!into && count) return STG_E_INVALIDPOINTER;
  const std::uint64_t left = position_ < bytes_.size() ? bytes_.size() - position_ : 0;
  const ULONG n = left < count ? static_cast<ULONG>(left) : count;
  if (n) std::memcpy(into, bytes_.data() + position_, n);
  position_ += n;
  if (read) *read = n;
  return n == count ? S_OK : S_FALSE;
}

HRESULT MemoryStream::Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) {
  std::int64_t base = 0;
  switch (origin) {
    case STREAM_SEEK_SET: base = 0; break;
    case STREAM_SEEK_CUR: base = static_cast<std::int64_t>(position_); break;
    case STREAM_SEEK_END: base = static_cast<std::int64_t>(bytes_.size()); break;
    default: return STG_E_INVALIDFUNCTION;
  }
  // Before the start is an error; past the end is allowed, and reads there give nothing.
  if (move.QuadPart < -base) return STG_E_INVALIDFUNCTION;
  position_ = static_cast<std::uint64_t>(base + move.QuadPart);
  if (position) position->QuadPart = position_;
  return S_OK;
}

HRESULT MemoryStream::Stat(STATSTG* stat, DWORD) {
  if (!stat) return STG_E_INVALIDPOINTER;
  std::memset(stat, 0, sizeof *stat);
  stat->type = STGTY_STREAM;
  stat->cbSize.QuadPart = bytes_.size();
  stat->grfMode = STGM_READ;
  return S_OK;
}

}  // namespace pimblo::ui
