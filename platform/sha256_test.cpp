#include "platform/sha256.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

// The known answers of FIPS 180-2: every host's digest must give them, so that
// a disk's manifest is the same whichever host took it.
TEST(Sha256, GivesTheStandardsKnownAnswersHoweverTheBytesArePieced) {
  EXPECT_EQ(sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  EXPECT_EQ(sha256Hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
            "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
  Sha256 million;
  const std::string piece(999, 'a');  // not a multiple of the 64-byte block
  for (int i = 0; i < 1000; ++i) million.add(piece);
  million.add(std::string(1000, 'a'));
  EXPECT_EQ(million.hex(), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
  million.add("abc");  // a digest taken starts again empty
  EXPECT_EQ(million.hex(), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}

}  // namespace
}  // namespace platform
