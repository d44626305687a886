// A read-only IStream over bytes the caller keeps alive, for ImageList_Read on
// the program's own resources. Made on the stack and used for one call: it does
// not own the bytes, and its reference count never frees it (a reader that
// keeps a reference past the call would be a fault of that reader).
#pragma once

#include <windows.h>
#include <objidl.h>

#include <cstdint>
#include <span>

namespace pimblo::ui {

// COM interfaces have no virtual destructor by design: nothing is deleted
// through them here.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class MemoryStream final : public IStream {
 public:
  explicit MemoryStream(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  MemoryStream(const MemoryStream&) = delete;
  MemoryStream& operator=(const MemoryStream&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override { return references_ > 1 ? --references_ : 1; }

  HRESULT STDMETHODCALLTYPE Read(void* into, ULONG count, ULONG* read) override;
  HRESULT STDMETHODCALLTYPE Write(const void*, ULONG, ULONG*) override { return STG_E_ACCESSDENIED; }
  HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) override;
  HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER) override { return STG_E_ACCESSDENIED; }
  HRESULT STDMETHODCALLTYPE CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Revert() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return STG_E_INVALIDFUNCTION; }
  HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return STG_E_INVALIDFUNCTION; }
  HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD flags) override;
  HRESULT STDMETHODCALLTYPE Clone(IStream**) override { return E_NOTIMPL; }

  std::uint64_t Position() const { return position_; }

 private:
  std::span<const std::uint8_t> bytes_;
  std::uint64_t position_ = 0;
  ULONG references_ = 1;
};
#pragma GCC diagnostic pop

}  // namespace pimblo::ui
