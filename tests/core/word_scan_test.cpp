// The reader's eight-bytes-at-a-time paths against the byte-by-byte meaning
// they stand for.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>

#include "css/sheet_document.h"
#include "model/text_util.h"

namespace larkspur {
namespace {

// Every start within a word and length up to ten words, in text that holds
// bytes one bit or one step away from the sought one.
TEST(WordScanTest, CountByteCountsAsTheByteLoopDoes) {
    std::mt19937 random(7);
    for (const char sought : {'\n', '{', '\0', '\x80', '\xff'}) {
        std::string text(90, 'a');
        for (char& c : text) c = static_cast<char>(sought + static_cast<int>(random() % 3) * (random() % 2 ? 1 : 0x80));
        for (size_t start = 0; start < 8; ++start)
            for (size_t length = 0; start + length <= text.size(); ++length) {
                const std::string_view piece = std::string_view(text).substr(start, length);
                ASSERT_EQ(CountByte(piece, sought), static_cast<size_t>(std::count(piece.begin(), piece.end(), sought)))
                    << int(sought) << " at " << start << "+" << length;
            }
    }
    EXPECT_EQ(CountByte(std::string(100003, '{') + "x", '{'), 100003u);  // past what a lane holds
}

// One byte at each place of the first two words: texts hash alike exactly
// when they match without regard to ASCII case.
TEST(WordScanTest, SelectorHashFoldsAsciiCaseAndNothingElse) {
    for (size_t place = 0; place < 9; ++place) {
        std::string a(place + 1, 'x'), b = a;
        for (int x = 0; x < 256; ++x) {
            a[place] = static_cast<char>(x);
            for (int y = 0; y < 256; ++y) {
                b[place] = static_cast<char>(y);
                ASSERT_EQ(SelectorHash(a) == SelectorHash(b), EqualsIgnoreCase(a, b)) << place << ": " << x << ", " << y;
            }
        }
    }
    // The rule index takes its slot from the low bits: 20,000 selectors in
    // 65,536 slots fill about 17,200 when spread at random.
    std::set<uint64_t> slots;
    for (int i = 0; i < 20000; ++i) slots.insert(SelectorHash(".c" + std::to_string(i)) & 0xffff);
    EXPECT_GT(slots.size(), 16500u);
}

}  // namespace
}  // namespace larkspur
