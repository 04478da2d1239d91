// The replay script: what it accepts, and that every malformed line is refused
// with its own line number before anything runs.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "tools/trace_script.h"

namespace drumhold::trace {
namespace {

std::vector<ScriptStep> parseOk(const std::string& text) {
    std::vector<ScriptStep> steps;
    ScriptError error;
    EXPECT_TRUE(parseScript(text, steps, error)) << "line " << error.line << ": " << error.message;
    return steps;
}

// The line number and message of a refused script.
ScriptError parseBad(const std::string& text) {
    std::vector<ScriptStep> steps;
    ScriptError error;
    EXPECT_FALSE(parseScript(text, steps, error)) << text;
    return error;
}

TEST(TraceScript, AcceptsCommentsBlanksAndEveryKey) {
    const auto steps = parseOk(
        "# attract for a while\n"
        "\n"
        "   \t\n"
        "10 -\n"
        "1 space   # start\n"
        "\t25\tup,left,fire\r\n"  // tabs and a CRLF ending
        "3 down,right,space,up,up\n"
        "007 fire");              // leading zeros; no final newline
    ASSERT_EQ(steps.size(), 5u);
    EXPECT_EQ(steps[0].count, 10u);
    EXPECT_EQ(steps[0].keys, 0u);
    EXPECT_EQ(steps[1].keys, KEY_SPACE);
    EXPECT_EQ(steps[2].count, 25u);
    EXPECT_EQ(steps[2].keys, KEY_UP | KEY_LEFT | KEY_FIRE);
    EXPECT_EQ(steps[3].keys, KEY_DOWN | KEY_RIGHT | KEY_SPACE | KEY_UP);
    EXPECT_EQ(steps[4].count, 7u);
    EXPECT_EQ(totalFrames(steps), 10u + 1 + 25 + 3 + 7);

    EXPECT_TRUE(parseOk("").empty());
    EXPECT_TRUE(parseOk("# nothing but a comment\n\n").empty());
    EXPECT_EQ(parseOk("2147483647 -\n2147483647 -\n").size(), 2u);
    EXPECT_EQ(totalFrames(parseOk("2147483647 -\n2147483647 -\n")), 4294967294u);
}

TEST(TraceScript, RefusesMalformedLinesNamingTheLine) {
    struct Case {
        const char* line;
        const char* why;  // a part of the message
    };
    const Case cases[] = {
        {"5 jump", "unknown key 'jump'"},
        {"5 Up", "unknown key 'Up'"},
        {"5 up,,fire", "empty key name"},
        {"5 up,", "empty key name"},
        {"5 ,up", "empty key name"},
        {"0 up", "at least 1"},
        {"-5 up", "not a positive decimal"},
        {"+5 up", "not a positive decimal"},
        {"5x up", "not a positive decimal"},
        {"1.5 up", "not a positive decimal"},
        {"2147483648 up", "too large"},
        {"99999999999999999999999 up", "too large"},
        {"5", "found only '5'"},
        {"up", "found only 'up'"},
        {"5 up fire", "unexpected 'fire'"},
        {"5 - -", "unexpected '-'"},
        {"up 5", "not a positive decimal"},
    };
    for (const Case& c : cases) {
        // Put the bad line third, after a comment and a good line.
        const ScriptError error = parseBad(std::string("# ok\n1 -\n") + c.line + "\n4 up\n");
        EXPECT_EQ(error.line, 3) << c.line;
        EXPECT_NE(error.message.find(c.why), std::string::npos) << c.line << " -> " << error.message;
    }
}

TEST(TraceScript, KeyTableHoldsExactlyTheNamedKeys) {
    KeyTable keys;
    keys.fill(7);  // stale values from a previous frame must go
    setKeyTable(keys, KEY_UP | KEY_FIRE | KEY_SPACE);
    for (int code = 0; code < 256; ++code) {
        const int expected = (code == 38 || code == 16 || code == 32) ? 1 : 0;
        EXPECT_EQ(keys[code], expected) << "key " << code;
    }
    setKeyTable(keys, KEY_DOWN | KEY_LEFT | KEY_RIGHT);
    EXPECT_EQ(keys[40] + keys[37] + keys[39], 3);
    EXPECT_EQ(keys[38] + keys[16] + keys[32], 0);
    setKeyTable(keys, 0);
    for (int v : keys) EXPECT_EQ(v, 0);
}

TEST(TraceScript, FormattedStepsReadBackAsThemselves) {
    const std::vector<ScriptStep> steps = {
        {1, KEY_SPACE}, {40, 0}, {7, KEY_UP | KEY_LEFT | KEY_FIRE},
        {2147483647u, KEY_UP | KEY_DOWN | KEY_LEFT | KEY_RIGHT | KEY_FIRE | KEY_SPACE},
    };
    const std::string text = formatScript(steps);
    EXPECT_EQ(text, "1 space\n40 -\n7 up,left,fire\n2147483647 up,down,left,right,fire,space\n");
    const auto back = parseOk(text);
    ASSERT_EQ(back.size(), steps.size());
    for (std::size_t i = 0; i < steps.size(); ++i) {
        EXPECT_EQ(back[i].count, steps[i].count) << i;
        EXPECT_EQ(back[i].keys, steps[i].keys) << i;
    }
    EXPECT_EQ(formatScript({}), "");
}

}  // namespace
}  // namespace drumhold::trace
