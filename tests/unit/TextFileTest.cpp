#include "app/TextFile.h"

#include <gtest/gtest.h>

namespace tf = corvano::textfile;

TEST(TextFile, SplitsEveryKindOfLineEnd) {
    EXPECT_EQ(tf::splitLines("a\r\nb\rc\nd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(tf::splitLines("a\r\n\r\n"), (std::vector<std::string>{"a", ""}));
    EXPECT_TRUE(tf::splitLines("").empty());
}
