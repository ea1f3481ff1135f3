#include "sim/sim_options.h"

#include <gtest/gtest.h>

namespace {

TEST(ParseSimBus, AcceptsEntriesAndPadsNames) {
  const auto parsed = ParseSimBus(kDefaultSimBus);
  ASSERT_EQ(parsed.error, "");
  ASSERT_EQ(parsed.value.size(), 3u);
  const SimRecorderSlot& last = parsed.value[2];
  EXPECT_EQ(last.adapter, 1);
  EXPECT_EQ(last.target, 2);
  EXPECT_EQ(last.vendor, "PLEXTOR ");
  EXPECT_EQ(last.product, "CD-R   PX-W1610A");
  EXPECT_EQ(parsed.value[0].vendor, "YAMAHA  ");
  EXPECT_EQ(parsed.value[0].product, "CRW2100E        ");

  const auto exact = ParseSimBus("7:7=ABCDEFGH/0123456789ABCDEF");
  ASSERT_EQ(exact.error, "");
  EXPECT_EQ(exact.value[0].adapter, 7);
  EXPECT_EQ(exact.value[0].vendor, "ABCDEFGH");

  const auto none = ParseSimBus("");
  EXPECT_EQ(none.error, "");
  EXPECT_TRUE(none.value.empty());
}

TEST(ParseSimBus, RejectsBadTextSayingWhatIsWrong) {
  struct Case {
    const char* text;
    const char* complaint;
  };
  const Case cases[] = {
      {"0:3=YAMAHA/CDR100;", "empty entry"},
      {";0:3=YAMAHA/CDR100", "empty entry"},
      {"0:3=YAMAHA/CDR100;;1:1=A/B", "empty entry"},
      {"0:8=YAMAHA/CDR100", "from 0 to 7"},
      {"8:0=YAMAHA/CDR100", "from 0 to 7"},
      {"-1:0=YAMAHA/CDR100", "from 0 to 7"},
      {":0=YAMAHA/CDR100", "from 0 to 7"},
      {"0:=YAMAHA/CDR100", "from 0 to 7"},
      {"0=YAMAHA/CDR100", "does not start with A:T="},
      {"0:3", "does not start with A:T="},
      {"0:3=YAMAHA", "no \"/\""},
      {"0:3=/CDR100", "vendor is empty"},
      {"0:3=YAMAHA/", "product is empty"},
      {"0:3=YAMAHACORP/CDR100", "longer than 8"},
      {"0:3=YAMAHA/CDR100 SUPER WRITER", "longer than 16"},
      {"0:3=YA\tMAHA/CDR100", "not printable"},
      {"0:3=YAMAHA/CDR100;0:3=TEAC/CD-W540E", "0:3 is given twice"},
  };
  for (const Case& c : cases) {
    const auto parsed = ParseSimBus(c.text);
    EXPECT_NE(parsed.error.find(c.complaint), std::string::npos)
        << c.text << " -> " << parsed.error;
    EXPECT_NE(parsed.error.find("expected A:T=VENDOR/PRODUCT"), std::string::npos)
        << c.text;
    EXPECT_TRUE(parsed.value.empty()) << c.text;
  }
}

TEST(ParseSimFailure, ReadsOpcodeCountAndStatus) {
  struct Case {
    const char* text;
    std::uint8_t opcode;
    std::uint32_t occurrence;
    std::uint8_t status;
  };
  const Case cases[] = {
      {"2A", 0x2A, 1, 4},       {"0x2a", 0x2A, 1, 4},
      {"0X5B@2", 0x5B, 2, 4},   {"35:0", 0x35, 1, 0},
      {"e9@3:2", 0xE9, 3, 2},   {"0@1:255", 0x00, 1, 255},
  };
  for (const Case& c : cases) {
    const auto parsed = ParseSimFailure(c.text);
    EXPECT_EQ(parsed.error, "") << c.text;
    EXPECT_EQ(parsed.value.opcode, c.opcode) << c.text;
    EXPECT_EQ(parsed.value.occurrence, c.occurrence) << c.text;
    EXPECT_EQ(parsed.value.status, c.status) << c.text;
  }
}

TEST(ParseSimFailure, RejectsBadText) {
  struct Case {
    const char* text;
    const char* complaint;
  };
  const Case cases[] = {
      {"", "opcode"},         {"0x", "opcode"},       {"zz", "opcode"},
      {"12A", "opcode"},      {"-1", "opcode"},       {"2A@", "count"},
      {"2A@0", "count"},      {"2A@x", "count"},      {"2A@-2", "count"},
      {"2A:", "status"},      {"2A:1", "status"},     {"2A:256", "status"},
      {"2A@2:", "status"},    {"2A:4x", "status"},
  };
  for (const Case& c : cases) {
    const auto parsed = ParseSimFailure(c.text);
    EXPECT_NE(parsed.error.find(c.complaint), std::string::npos)
        << c.text << " -> " << parsed.error;
    EXPECT_NE(parsed.error.find("expected OP[@K][:STATUS]"), std::string::npos)
        << c.text;
  }
}

TEST(ParseSimNumbers, CorruptLbaAndNoDiscCount) {
  EXPECT_EQ(ParseSimCorrupt("0").value, 0u);
  EXPECT_EQ(ParseSimCorrupt("359999").value, 359999u);
  EXPECT_EQ(ParseSimNoDisc("0").value, 0u);
  EXPECT_EQ(ParseSimNoDisc("12").value, 12u);
  for (const char* bad : {"", "x", "-1", "+3", "3 ", "0x10", "360000",
                          "99999999999"}) {
    EXPECT_NE(ParseSimCorrupt(bad).error.find("from 0 to 359999"),
              std::string::npos)
        << bad;
  }
  for (const char* bad : {"", "two", "-1", "1.5", "99999999999"}) {
    EXPECT_NE(ParseSimNoDisc(bad).error.find("readiness tests"),
              std::string::npos)
        << bad;
  }
}

}  // namespace
