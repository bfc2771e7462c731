#include <gtest/gtest.h>

#include <fstream>

#include "e2e/RealCorvano.h"

using namespace corvano::test;

// Under a window manager the frame and the client area differ: a window
// closed and reopened again and again must keep its place and size.
TEST(EndToEnd, WindowKeepsItsPlaceUnderAWindowManagerOverManyRestarts) {
    RealCorvano corvano;
    const std::string script = corvano.folder.file("/cycles.sh");
    std::ofstream(script) << kFindWindowSh << R"(
cd "$1"
openbox >/dev/null 2>&1 &
for i in 1 2 3 4 5 6 7 8 9 10; do
  ./corvano >/dev/null 2>&1 &
  pid=$!
  find_window '^Browser  N\.  1' 30 >/dev/null
  main=$(find_window '^Corvano$' 30)
  sleep 1.5  # the window manager frames the window after it is mapped
  xdotool windowfocus --sync "$main" key Escape
  timeout 30 tail --pid=$pid -f /dev/null
  head -4 Data/Corvano1.Ini | tr -d '\r' | tr '\n' ' '
  echo
done
)";
    const std::string out =
        shell("xvfb-run -a -s '-screen 0 1600x900x24' bash " + script + " " + corvano.folder.path() + " 2>/dev/null");
    std::vector<std::string> lines;
    for (size_t pos = 0; pos < out.size();) {
        size_t nl = out.find('\n', pos);
        if (nl == std::string::npos) nl = out.size();
        lines.push_back(out.substr(pos, nl - pos));
        pos = nl + 1;
    }
    ASSERT_EQ(lines.size(), 10u) << out;
    // The first close may round the tiled default to whole pixels; from then on nothing moves.
    for (size_t i = 2; i < lines.size(); ++i) EXPECT_EQ(lines[i], lines[1]) << "restart " << i + 1;
}
