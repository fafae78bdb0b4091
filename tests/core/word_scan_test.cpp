// The reader's eight-bytes-at-a-time paths against the byte-by-byte meaning
// they stand for: counting a byte, and hashing a selector without regard to
// ASCII case.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>

#include "css/sheet_document.h"
#include "model/text_util.h"

namespace larkspur {
namespace {

// Every length and start within a word, sparse and dense, and bytes that
// differ from the sought one only in the top bit or by one.
TEST(WordScanTest, CountByteCountsAsTheByteLoopDoes) {
    std::mt19937 random(7);
    for (const char sought : {'\n', '{', '\0', '\x7f', '\x80', '\xff'}) {
        for (const int density : {0, 3, 50, 100}) {
            std::string text(300, 'a');
            for (char& c : text) {
                const int roll = static_cast<int>(random() % 100);
                if (roll < density)
                    c = sought;
                else if (roll % 3 == 0)
                    c = static_cast<char>(sought ^ '\x80');
                else if (roll % 3 == 1)
                    c = static_cast<char>(sought + 1);
            }
            for (size_t start = 0; start < 8; ++start)
                for (size_t length = 0; start + length <= 80; ++length) {
                    const std::string_view piece = std::string_view(text).substr(start, length);
                    ASSERT_EQ(CountByte(piece, sought), static_cast<size_t>(std::count(piece.begin(), piece.end(), sought)))
                        << int(sought) << " density " << density << " at " << start << "+" << length;
                }
            EXPECT_EQ(CountByte(text, sought), static_cast<size_t>(std::count(text.begin(), text.end(), sought)));
        }
    }
    // More than a lane holds before it is summed.
    EXPECT_EQ(CountByte(std::string(100000, '{'), '{'), 100000u);
    EXPECT_EQ(CountByte(std::string(100003, '\n') + "x", '\n'), 100003u);
}

// One byte at each place of a word: two texts hash alike exactly when they
// are equal but for ASCII case, so no byte is folded that the matching of
// selectors keeps apart.
TEST(WordScanTest, SelectorHashFoldsAsciiCaseAndNothingElse) {
    for (size_t place = 0; place < 9; ++place) {
        std::string a(place + 1, 'x'), b = a;
        for (int x = 0; x < 256; ++x) {
            a[place] = static_cast<char>(x);
            const uint64_t hash = SelectorHash(a);
            for (int y = 0; y < 256; ++y) {
                b[place] = static_cast<char>(y);
                const bool alike = AsciiUpper(static_cast<char>(x)) == AsciiUpper(static_cast<char>(y));
                ASSERT_EQ(SelectorHash(b) == hash, alike) << "place " << place << ": " << x << " and " << y;
            }
        }
    }
}

TEST(WordScanTest, SelectorHashSpreadsLongSelectors) {
    std::mt19937 random(11);
    const std::string letters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ .#:-_>[]=\"0123456789";
    std::set<uint64_t> hashes, slots;
    for (int i = 0; i < 20000; ++i) {
        std::string selector = ".c" + std::to_string(i);
        const size_t extra = random() % 40;
        for (size_t k = 0; k < extra; ++k) selector += letters[random() % letters.size()];
        std::string flipped = selector;
        for (char& c : flipped)
            if (IsAsciiLetter(c)) c = static_cast<char>(c ^ 0x20);
        ASSERT_EQ(SelectorHash(selector), SelectorHash(flipped)) << selector;
        hashes.insert(SelectorHash(selector));
        slots.insert(SelectorHash(selector) & 0xffff);
    }
    EXPECT_EQ(hashes.size(), 20000u);
    // 20,000 keys in 65,536 slots fill about 17,200 when spread at random.
    EXPECT_GT(slots.size(), 16500u);
}

}  // namespace
}  // namespace larkspur
