#include "launcher/chooser.h"

#include <gtest/gtest.h>

#include <deque>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/menu_text.h"

namespace kv {
namespace {

// A console whose keys are scripted and whose output is a list of lines,
// with "<clear>" marking each clear.
struct ScriptedConsole {
  explicit ScriptedConsole(std::deque<int> script) : keys(std::move(script)) {}

  std::deque<int> keys;
  std::vector<std::string> shown;

  ChooserConsole operations() {
    return {
        [this] { shown.push_back("<clear>"); },
        [this](std::string_view line) { shown.emplace_back(line); },
        [this] {
          int key = keys.front();
          keys.pop_front();
          return key;
        },
    };
  }
};

const std::vector<std::string> menu = [] {
  std::vector<std::string> lines = {"<clear>"};
  lines.insert(lines.end(), std::begin(expected_menu_lines), std::end(expected_menu_lines));
  return lines;
}();

std::vector<std::string> menu_shown(int times) {
  std::vector<std::string> expected;
  for (int i = 0; i < times; ++i) expected.insert(expected.end(), menu.begin(), menu.end());
  expected.push_back("<clear>");
  return expected;
}

TEST(Chooser, EachChoiceKeyGivesItsMode) {
  struct Row {
    int key, depth, full_screen;
  };
  for (Row row : {Row{49, 16, 0}, Row{50, 32, 0}, Row{51, 16, 1}, Row{52, 32, 1}}) {
    ScriptedConsole console({row.key});
    DisplayMode mode = choose_display_mode(console.operations());
    EXPECT_EQ(mode.depth, row.depth) << row.key;
    EXPECT_EQ(mode.full_screen, row.full_screen) << row.key;
    EXPECT_EQ(console.shown, menu_shown(1)) << row.key;
  }
}

TEST(Chooser, TypeAheadIsAnsweredInOrder) {
  ScriptedConsole console({'x', '3'});
  DisplayMode mode = choose_display_mode(console.operations());
  EXPECT_EQ(mode.depth, 16);
  EXPECT_EQ(mode.full_screen, 1);
  EXPECT_EQ(console.shown, menu_shown(2));
}

// 5, 0, a letter, Enter, Escape, Space, Backspace, F1, Up, Alt+1, the end
// request and codes that truncate to a choice all show the menu again.
TEST(Chooser, EveryOtherCodeShowsTheMenuAgain) {
  std::deque<int> others = {'5', '0', 'a', 13, 27, ' ', 8, 0x3BFF, 0x48FF, 0x78FF, 0x6BFF, 256 + 49, 48, 53};
  ScriptedConsole console(others);
  console.keys.push_back('2');
  DisplayMode mode = choose_display_mode(console.operations());
  EXPECT_EQ(mode.depth, 32);
  EXPECT_EQ(mode.full_screen, 0);
  EXPECT_EQ(console.shown, menu_shown(int(others.size()) + 1));
}

}  // namespace
}  // namespace kv
