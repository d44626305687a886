// LZHUF: streams worked out by hand, round trips, damaged input and the adaptive tree's shape.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "look/lzh.h"

namespace pimblo::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Of(const std::string& s) { return Bytes(s.begin(), s.end()); }

Bytes Random(std::size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  Bytes b(n);
  for (auto& v : b) v = static_cast<std::uint8_t>(rng());
  return b;
}

Bytes Text(std::size_t n) {
  static const std::string words[] = {"[Buttons]\r\n", "Bitmap=buttons.bmp\r\n", "LeftWidth=", "4\r\n", "; a\r\n"};
  std::string s;
  for (std::size_t i = 0; s.size() < n; ++i) s += words[(i * 7 + i / 3) % std::size(words)];
  return Of(s.substr(0, n));
}

// Pixels of a 24-bit strip of frames side by side, like a skin's buttons: borders, a gradient
// shifting from frame to frame, a sprinkle of noise.
Bytes BmpLike(int width, int height, int frameWidth, unsigned seed) {
  Bytes b(54, 0);
  b[0] = 'B';
  b[1] = 'M';
  std::mt19937 rng(seed);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const bool border = x % frameWidth == 0 || y == 0 || y == height - 1;
      const int frame = x / frameWidth, r = border ? 64 : 213 - y * 2 + frame * 6 + (rng() % 24 == 0);
      for (int c : {border ? 80 : 242 - frame, border ? 64 : 222 - y, r}) b.push_back(static_cast<std::uint8_t>(c));
    }
  return b;
}

TEST(Lzh, StreamsWorkedOutByHand) {
  // The first tree pairs nodes 2k, 2k+1 under 314 + k: "A" is 111001101, a match of 60 11000101,
  // a match of 3 10001100. The first "A" swaps its leaf with that of 60, no other code changes.
  // Position 0 is 000 000000, 60 is 000 111100, 4035 is 11111111 000011.
  const std::string spaces(60, ' ');
  const struct {
    Bytes stream;
    std::string data;
    bool alsoEncoded;
  } cases[] = {{{0xE6, 0x80}, "A", true},
               {{0xE6, 0xE2, 0x80}, "AA", true},
               {{0xE6, 0xC6, 0x00, 0x00}, "AAAA", true},
               {{0xC5, 0x00, 0x00}, spaces, true},
               {{0xE6, 0xF3, 0x47, 0x80}, "A" + spaces, true},
               {{0x8C, 0xFF, 0x0C}, "   ", false},                  // position 4035: the ring's first spaces
               {{0x8C, 0xFF, 0xFC}, std::string(3, '\0'), false},  // 4095: the ring's unwritten end, zeros
               {{0xC5, 0x00, 0x00}, std::string(10, ' '), false},   // a final match cut at the size asked
               {{}, "t", false},                                    // no input: zero bits, first symbol 't'
               {{0xE6, 0x80}, "", false}};
  for (const auto& c : cases) {
    EXPECT_EQ(TLZH::Decode(c.stream, c.data.size()), Of(c.data)) << c.data;
    if (c.alsoEncoded) {
      EXPECT_EQ(TLZH::Encode(Of(c.data)), c.stream) << c.data;
    }
  }
}

TEST(Lzh, RoundTripsVariedData) {
  Bytes mixed = Text(120000);  // with the rest well past 0x8000 symbols: several rebuilds
  for (unsigned i = 0; i < 6; ++i)
    for (const Bytes& b : {BmpLike(250, 24, 50, i), Random(9000, i)}) mixed.insert(mixed.end(), b.begin(), b.end());
  std::vector<Bytes> cases = {{}, {0x42}, Bytes(100000, 0xAB), Random(20000, 1), Text(30000), BmpLike(368, 16, 16, 3),
                              mixed};
  for (std::size_t n : {59, 60, 61, 4035, 4036, 4037, 4095, 4096, 4097}) {
    cases.push_back(Text(n));
    cases.push_back(Random(n, static_cast<unsigned>(n)));
  }
  for (const Bytes& data : cases) {
    const Bytes stream = TLZH::Encode(data);
    EXPECT_EQ(TLZH::Decode(stream, data.size()), data) << data.size();
    EXPECT_LE(stream.size(), data.size() * 9 / 8 + 4) << data.size();  // incompressible data costs little more
  }
  // A run costs a full match every 60 bytes: a 1-bit code and 9 bits of position.
  EXPECT_LT(TLZH::Encode(Bytes(100000, 0xAB)).size(), 2150u);
}

// The bytes plain LZSS with the same window and lengths needs: a flag bit an item, 8 bits a
// literal, 12 + 6 bits a match, longest match first.
std::size_t PlainLzssSize(const Bytes& data) {
  Bytes s(4036, ' ');
  s.insert(s.end(), data.begin(), data.end());
  std::size_t bits = 0;
  for (std::size_t p = 4036; p < s.size();) {
    const std::size_t limit = std::min<std::size_t>(60, s.size() - p);
    std::size_t best = 0;
    for (std::size_t d = 1; d <= 4096 && d <= p && best < limit; ++d) {
      std::size_t n = 0;
      while (n < limit && s[p - d + n] == s[p + n]) ++n;
      best = std::max(best, n);
    }
    bits += best >= 3 ? 19 : 9;
    p += best >= 3 ? best : 1;
  }
  return (bits + 7) / 8;
}

TEST(Lzh, BitmapsCompressBetterThanPlainLzss) {
  Bytes skin = BmpLike(250, 24, 50, 7);
  const Bytes arrows = BmpLike(368, 16, 16, 8);
  skin.insert(skin.end(), arrows.begin(), arrows.end());
  const std::size_t ours = TLZH::Encode(skin).size();
  EXPECT_LT(ours, PlainLzssSize(skin));
  EXPECT_LT(ours, skin.size() / 4);
}

TEST(Lzh, DamagedStreamsStillGiveTheSizeAsked) {
  const Bytes data = Text(20000);
  const Bytes stream = TLZH::Encode(data);
  const Bytes half = TLZH::Decode(std::span(stream).first(stream.size() / 2), data.size());
  ASSERT_EQ(half.size(), data.size());
  EXPECT_TRUE(std::equal(data.begin(), data.begin() + 500, half.begin()));
  for (unsigned seed = 0; seed < 8; ++seed) EXPECT_EQ(TLZH::Decode(Random(300, seed), 70000).size(), 70000u);
}

// Counts never decrease from node to node, an inner node counts what its two children count,
// every link goes both ways and every symbol has one leaf.
void ExpectWellFormed(const TLzhTree& t) {
  constexpr int kNodes = TLzhTree::kNodes;
  std::vector<int> leaves(TLzhTree::kSymbols, 0);
  for (int n = 0; n < kNodes; ++n) {
    ASSERT_LE(t.Freq(n > 0 ? n - 1 : 0), t.Freq(n)) << n;
    const int c = t.Child(n);
    if (c >= kNodes) {
      ASSERT_LT(c - kNodes, TLzhTree::kSymbols);
      ASSERT_EQ(t.LeafOf(c - kNodes), n);
      ++leaves[static_cast<std::size_t>(c - kNodes)];
    } else {
      ASSERT_EQ(t.Freq(n), t.Freq(c) + t.Freq(c + 1)) << n;
      ASSERT_TRUE(t.Parent(c) == n && t.Parent(c + 1) == n) << n;
    }
  }
  EXPECT_TRUE(std::ranges::all_of(leaves, [](int k) { return k == 1; }));
}

TEST(Lzh, TreeStaysWellFormedThroughRebuilds) {
  TLzhTree tree;
  std::mt19937 rng(11);
  std::geometric_distribution<int> skewed(0.05);
  int rebuilds = 0;
  for (int i = 0; i < 150000 && !HasFatalFailure(); ++i) {
    const std::uint32_t before = tree.Freq(TLzhTree::kRoot);
    std::vector<std::uint32_t> counts;
    for (int k = 0; k < TLzhTree::kSymbols && before == TLzhTree::kMaxFreq; ++k)
      counts.push_back(tree.Freq(tree.LeafOf(k)));
    const int symbol = skewed(rng) * 5 % TLzhTree::kSymbols;
    tree.Update(symbol);
    // A rebuild comes at 0x8000 and halves the counts, rounding up, before counting the symbol.
    if (tree.Freq(TLzhTree::kRoot) < before) {
      ++rebuilds;
      ASSERT_EQ(before, TLzhTree::kMaxFreq);
      for (int k = 0; k < TLzhTree::kSymbols; ++k)
        ASSERT_EQ(tree.Freq(tree.LeafOf(k)), (counts[std::size_t(k)] + 1) / 2 + (k == symbol)) << k;
    }
    if (tree.Freq(TLzhTree::kRoot) < before || i % 4999 == 0) ExpectWellFormed(tree);
  }
  EXPECT_GE(rebuilds, 3);
}

}  // namespace
}  // namespace pimblo::test
