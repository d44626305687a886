#include "look/lzh.h"

#include <algorithm>
#include <limits>
#include <new>
#include <stdexcept>

#include "sprites/bytes.h"

namespace pimblo {
namespace {

constexpr unsigned kRingSize = 4096;
constexpr unsigned kRingMask = kRingSize - 1;
constexpr unsigned kMaxMatch = 60;
constexpr unsigned kMinMatch = 3;
// Symbol of a match of length n: n + kLengthBias (3 → 256, 60 → 313).
constexpr int kLengthBias = 253;
// The ring starts as spaces up to here, and writing starts here. The 60 bytes after it start as
// zeros; only a damaged stream reads them before they are written.
constexpr unsigned kRingStart = kRingSize - kMaxMatch;

// The fixed code of a match position's upper 6 bits: the code, left-aligned in a byte, and its length.
constexpr std::array<std::uint8_t, 64> kPosCode = {
    0x00, 0x20, 0x30, 0x40, 0x50, 0x58, 0x60, 0x68, 0x70, 0x78, 0x80, 0x88, 0x90, 0x94, 0x98, 0x9C,
    0xA0, 0xA4, 0xA8, 0xAC, 0xB0, 0xB4, 0xB8, 0xBC, 0xC0, 0xC2, 0xC4, 0xC6, 0xC8, 0xCA, 0xCC, 0xCE,
    0xD0, 0xD2, 0xD4, 0xD6, 0xD8, 0xDA, 0xDC, 0xDE, 0xE0, 0xE2, 0xE4, 0xE6, 0xE8, 0xEA, 0xEC, 0xEE,
    0xF0, 0xF1, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF7, 0xF8, 0xF9, 0xFA, 0xFB, 0xFC, 0xFD, 0xFE, 0xFF};
constexpr std::array<std::uint8_t, 64> kPosLen = {
    3, 4, 4, 4, 5, 5, 5, 5, 5, 5, 5, 5, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 7, 7, 7, 7, 7, 7, 7, 7,
    7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8};

// The same code seen from the decoder, which reads 8 bits at once: for each byte value, the upper
// 6 bits it starts with and the length of that code.
struct PosDecodeTable {
  std::array<std::uint8_t, 256> high{};
  std::array<std::uint8_t, 256> len{};
};
constexpr PosDecodeTable MakePosDecodeTable() {
  PosDecodeTable t;
  for (unsigned i = 0; i < 64; ++i)
    for (unsigned b = 0; b < (1u << (8 - kPosLen[i])); ++b) {
      t.high[kPosCode[i] + b] = static_cast<std::uint8_t>(i);
      t.len[kPosCode[i] + b] = kPosLen[i];
    }
  return t;
}
constexpr PosDecodeTable kPosDecode = MakePosDecodeTable();
// Every byte starts exactly one code: the code is complete and prefix-free.
static_assert(std::ranges::all_of(kPosDecode.len, [](std::uint8_t n) { return n >= 3; }));

// Most significant bit first; past the end every bit is 0.
class BitReader {
 public:
  explicit BitReader(std::span<const std::uint8_t> in) : in_(in) {}

  PIMBLO_NO_COVERAGE unsigned Bit() {
    if (count_ == 0) {
      byte_ = pos_ < in_.size() ? in_[pos_++] : 0;
      count_ = 8;
    }
    --count_;
    return (byte_ >> count_) & 1u;
  }
  PIMBLO_NO_COVERAGE unsigned Bits(int n) {
    unsigned v = 0;
    while (n-- > 0) v = (v << 1) | Bit();
    return v;
  }

 private:
  std::span<const std::uint8_t> in_;
  std::size_t pos_ = 0;
  unsigned byte_ = 0;
  int count_ = 0;
};

// Most significant bit first; the last byte is filled up with 0 bits.
class BitWriter {
 public:
  // The low `n` bits of `value`, n ≤ 24.
  PIMBLO_NO_COVERAGE void Put(std::uint32_t value, int n) {
    acc_ = (acc_ << n) | (value & ((1u << n) - 1));
    count_ += n;
    while (count_ >= 8) {
      count_ -= 8;
      out_.push_back(static_cast<std::uint8_t>(acc_ >> count_));
    }
    acc_ &= (1u << count_) - 1;
  }
  std::vector<std::uint8_t> Finish() {
    if (count_ > 0) out_.push_back(static_cast<std::uint8_t>(acc_ << (8 - count_)));
    count_ = 0;
    acc_ = 0;
    return std::move(out_);
  }

 private:
  std::uint32_t acc_ = 0;
  int count_ = 0;
  std::vector<std::uint8_t> out_;
};

PIMBLO_NO_COVERAGE int DecodeSymbol(const TLzhTree& tree, BitReader& in) {
  int c = tree.Child(TLzhTree::kRoot);
  while (c < TLzhTree::kNodes) c = tree.Child(c + static_cast<int>(in.Bit()));
  return c - TLzhTree::kNodes;
}

unsigned DecodePosition(BitReader& in) {
  unsigned i = in.Bits(8);
  const unsigned high = kPosDecode.high[i];
  // The first byte held the code and 8 - len of the plain bits; the rest of the 6 follow.
  for (int j = kPosDecode.len[i] - 2; j > 0; --j) i = (i << 1) | in.Bit();
  return (high << 6) | (i & 0x3Fu);
}

// LZSS parsing with hash chains over the last 4096 positions and one step of lazy matching: a
// match is put off by one byte when the next position starts a longer one.
class Encoder {
 public:
  explicit Encoder(std::span<const std::uint8_t> data) : head_(kHashSize, kNone) {
    // The decoder's ring starts as spaces, so the data may refer back into them.
    text_.reserve(kRingStart + data.size());
    text_.assign(kRingStart, ' ');
    text_.insert(text_.end(), data.begin(), data.end());
  }

  std::vector<std::uint8_t> Run() {
    const std::size_t end = text_.size();
    std::size_t p = kRingStart;
    InsertUpTo(p);
    Match m = Find(p);
    while (p < end) {
      if (m.length >= kMinMatch) {
        if (m.length < kMaxMatch) {
          InsertUpTo(p + 1);
          const Match next = Find(p + 1);
          if (next.length > m.length) {
            PutSymbol(text_[p]);
            ++p;
            m = next;
            continue;
          }
        }
        PutSymbol(static_cast<int>(m.length) + kLengthBias);
        PutPosition(m.distance - 1);
        p += m.length;
      } else {
        PutSymbol(text_[p]);
        ++p;
      }
      InsertUpTo(p);
      m = Find(p);
    }
    return out_.Finish();
  }

 private:
  static constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();
  static constexpr unsigned kHashBits = 15;
  static constexpr std::size_t kHashSize = std::size_t{1} << kHashBits;
  // How many earlier positions with the same hash are tried; runs of one byte stop at once
  // with a full-length match, so this only bounds the work on unlucky data.
  static constexpr int kMaxChain = 256;

  struct Match {
    unsigned length = 0;
    unsigned distance = 0;  // 1..4096
  };

  PIMBLO_NO_COVERAGE std::size_t Hash(std::size_t p) const {
    const std::uint32_t v = text_[p] | (std::uint32_t{text_[p + 1]} << 8) | (std::uint32_t{text_[p + 2]} << 16);
    return (v * 2654435761u) >> (32 - kHashBits);
  }

  // Adds every position before `p` that can start a match.
  PIMBLO_NO_COVERAGE void InsertUpTo(std::size_t p) {
    for (; inserted_ < p; ++inserted_) {
      if (inserted_ + kMinMatch > text_.size()) continue;
      const std::size_t h = Hash(inserted_);
      prev_[inserted_ & kRingMask] = head_[h];
      head_[h] = inserted_;
    }
  }

  // The longest match for position `p` among the 4096 before it, the nearest of equal ones.
  // A slot of prev_ is reused only 4096 positions later, so every link walked here is current.
  PIMBLO_NO_COVERAGE Match Find(std::size_t p) const {
    Match best;
    const std::size_t limit = std::min<std::size_t>(kMaxMatch, text_.size() - p);
    if (limit < kMinMatch) return best;
    const std::uint8_t* const a = text_.data() + p;
    std::size_t cand = head_[Hash(p)];
    for (int chain = kMaxChain; cand != kNone && p - cand <= kRingSize && chain > 0; --chain) {
      const std::uint8_t* const b = text_.data() + cand;
      const std::size_t probe = best.length < kMinMatch ? 0 : best.length;
      if (b[probe] == a[probe]) {
        std::size_t len = 0;
        while (len < limit && a[len] == b[len]) ++len;
        if (len >= kMinMatch && len > best.length) {
          best = {static_cast<unsigned>(len), static_cast<unsigned>(p - cand)};
          if (len == limit) break;
        }
      }
      cand = prev_[cand & kRingMask];
    }
    return best;
  }

  PIMBLO_NO_COVERAGE void PutSymbol(int symbol) {
    const int n = tree_.Code(symbol, bits_);
    for (int i = 0; i < n; ++i) out_.Put(bits_[static_cast<std::size_t>(i)], 1);
    tree_.Update(symbol);
  }

  void PutPosition(unsigned pos) {
    const unsigned high = pos >> 6;
    out_.Put(kPosCode[high] >> (8 - kPosLen[high]), kPosLen[high]);
    out_.Put(pos & 0x3Fu, 6);
  }

  std::vector<std::uint8_t> text_;
  std::vector<std::size_t> head_;
  std::array<std::size_t, kRingSize> prev_{};
  std::size_t inserted_ = 0;
  TLzhTree tree_;
  std::array<std::uint8_t, TLzhTree::kNodes> bits_{};
  BitWriter out_;
};

}  // namespace

TLzhTree::TLzhTree() {
  for (int i = 0; i < kSymbols; ++i) {
    freq_[i] = 1;
    child_[i] = i + kNodes;
    parent_[i + kNodes] = i;
  }
  for (int i = 0, j = kSymbols; j < kNodes; i += 2, ++j) {
    freq_[j] = freq_[i] + freq_[i + 1];
    child_[j] = i;
    parent_[i] = parent_[i + 1] = j;
  }
  freq_[kNodes] = 0xFFFF;
  parent_[kRoot] = 0;
}

PIMBLO_NO_COVERAGE void TLzhTree::Update(int symbol) {
  if (freq_[kRoot] == kMaxFreq) Rebuild();
  int c = parent_[symbol + kNodes];
  do {
    const std::uint32_t k = ++freq_[c];
    // When the node now outweighs the ones after it, it trades places with the last of them.
    int l = c + 1;
    if (k > freq_[l]) {
      while (k > freq_[++l]) {
      }
      --l;
      freq_[c] = freq_[l];
      freq_[l] = k;

      const int i = child_[c];
      parent_[i] = l;
      if (i < kNodes) parent_[i + 1] = l;
      const int j = child_[l];
      child_[l] = i;
      parent_[j] = c;
      if (j < kNodes) parent_[j + 1] = c;
      child_[c] = j;
      c = l;
    }
    c = parent_[c];
  } while (c != 0);
}

void TLzhTree::Rebuild() {
  // The leaves move to the front, in their order, with their counts halved and rounded up.
  int n = 0;
  for (int i = 0; i < kNodes; ++i) {
    if (child_[i] >= kNodes) {
      freq_[n] = (freq_[i] + 1) / 2;
      child_[n] = child_[i];
      ++n;
    }
  }
  // Then the two lightest nodes not yet joined make the next inner node, which goes where its count
  // keeps the order.
  for (int i = 0, j = kSymbols; j < kNodes; i += 2, ++j) {
    const std::uint32_t f = freq_[i] + freq_[i + 1];
    int k = j - 1;
    while (f < freq_[k]) --k;
    ++k;
    std::copy_backward(freq_.begin() + k, freq_.begin() + j, freq_.begin() + j + 1);
    freq_[k] = f;
    std::copy_backward(child_.begin() + k, child_.begin() + j, child_.begin() + j + 1);
    child_[k] = i;
  }
  for (int i = 0; i < kNodes; ++i) {
    const int k = child_[i];
    if (k >= kNodes) {
      parent_[k] = i;
    } else {
      parent_[k] = parent_[k + 1] = i;
    }
  }
}

PIMBLO_NO_COVERAGE int TLzhTree::Code(int symbol, std::array<std::uint8_t, kNodes>& bits) const {
  int length = 0;
  for (int k = LeafOf(symbol); k != kRoot; k = parent_[k]) ++length;
  // Walking up gives the bits leaf first; an odd node is the second child, bit 1.
  int at = length;
  for (int k = LeafOf(symbol); k != kRoot; k = parent_[k]) bits[--at] = static_cast<std::uint8_t>(k & 1);
  return length;
}

PIMBLO_NO_COVERAGE std::vector<std::uint8_t> TLZH::Decode(std::span<const std::uint8_t> stream, std::size_t size) {
  std::vector<std::uint8_t> out;
  if (size == 0) return out;
  // Sized at once and written by index: a push_back per byte was a good part of the time.
  out.resize(size);
  std::size_t n = 0;

  std::array<std::uint8_t, kRingSize> ring{};
  std::fill_n(ring.begin(), kRingStart, std::uint8_t{' '});
  unsigned r = kRingStart;
  TLzhTree tree;
  BitReader in(stream);
  while (n < size) {
    const int c = DecodeSymbol(tree, in);
    tree.Update(c);
    if (c < 256) {
      const auto byte = static_cast<std::uint8_t>(c);
      ring[r] = byte;
      r = (r + 1) & kRingMask;
      out[n++] = byte;
    } else {
      unsigned from = (r - DecodePosition(in) - 1) & kRingMask;
      for (int k = c - kLengthBias; k > 0; --k) {
        const std::uint8_t byte = ring[from];
        from = (from + 1) & kRingMask;
        ring[r] = byte;
        r = (r + 1) & kRingMask;
        if (n < size) out[n++] = byte;
      }
    }
  }
  return out;
}

std::vector<std::uint8_t> TLZH::Encode(std::span<const std::uint8_t> data) {
  if (data.empty()) return {};
  return Encoder(data).Run();
}

LzhUnpackResult TLZH::UnpackFile(std::span<const std::uint8_t> file, std::uint32_t maxSize) {
  if (file.size() < 4) return {std::nullopt, "skin file too short for its size field"};
  const std::uint32_t size = ByteReader(file).U32();
  if (size > maxSize) {
    return {std::nullopt,
            "unpacked size " + std::to_string(size) + " is beyond the limit of " + std::to_string(maxSize)};
  }
  try {
    return {Decode(file.subspan(4), size), {}};
  } catch (const std::bad_alloc&) {
    return {std::nullopt, "no memory for " + std::to_string(size) + " unpacked bytes"};
  }
}

std::vector<std::uint8_t> TLZH::PackFile(std::span<const std::uint8_t> data) {
  const std::uint64_t size = data.size();
  if (size > 0xFFFFFFFFu) throw std::length_error("skin file data of 4 GiB or more");
  // Encoded before the size is written: the other way round, MinGW's GCC 12 warns of an overflow in
  // std::vector's own insert that cannot happen.
  const std::vector<std::uint8_t> stream = Encode(data);
  ByteWriter file;
  file.U32(static_cast<std::uint32_t>(size));
  file.Bytes(stream);
  return file.Take();
}

}  // namespace pimblo
