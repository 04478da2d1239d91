// The replay script: what it accepts, and that every malformed line is refused
// with its own line number before anything runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "replay/script.h"
#include "tests/support/scripts.h"

namespace drumhold::replay {
namespace {

using testing::parseScript;
using testing::totalFrames;

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
    struct OwnedCase {
        std::string line;
        const char* why;
    };
    const OwnedCase cases[] = {
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
        {"up", "unknown instruction 'up'"},
        {"jump 3", "unknown instruction 'jump'"},
        {"5 up fire", "unexpected 'fire'"},
        {"5 - -", "unexpected '-'"},
        {"up 5", "unknown instruction 'up'"},
        // A terminal never sees the bytes of a bad line raw.
        {"5 \x1b[2J\x07", "unknown key '\\x1b[2J\\x07'"},
        {"5 \xc3\xa9", "unknown key '\\xc3\\xa9'"},
        {std::string(5000, '1').c_str(), "longer than 4096 bytes"},
    };
    for (const OwnedCase& c : cases) {
        // Put the bad line third, after a comment and a good line.
        const ScriptError error = parseBad(std::string("# ok\n1 -\n") + c.line + "\n4 up\n");
        EXPECT_EQ(error.line, 3) << c.line;
        EXPECT_NE(error.message.find(c.why), std::string::npos) << c.line << " -> " << error.message;
    }
}

TEST(TraceScript, RecordingLinesReinitAndCheck) {
    const char* hash = "0123456789abcdef";
    const auto steps = parseOk(std::string("check 0 ") + hash + "\n3 up\nreinit # switched\nreinit\n2 -\ncheck 5 " + hash +
                               "\ncheck 5 " + hash + "\n");
    ASSERT_EQ(steps.size(), 7u);
    EXPECT_EQ(steps[0].kind, ScriptStep::Check);
    EXPECT_EQ(steps[0].frame, 0u);
    EXPECT_EQ(steps[0].hash, 0x0123456789abcdefull);
    EXPECT_EQ(steps[2].kind, ScriptStep::Reinit);
    EXPECT_EQ(steps[5].frame, 5u);
    EXPECT_EQ(formatScript(steps), std::string("check 0 ") + hash + "\n3 up\nreinit\nreinit\n2 -\ncheck 5 " + hash +
                                       "\ncheck 5 " + hash + "\n");

    const std::pair<std::string, const char*> bad[] = {
        {"reinit now", "unexpected 'now' after reinit"},
        {"check 3", "expected 'check N HASH'"},
        {std::string("check 2 ") + hash, "the last frame before it is 3"},
        {std::string("check x ") + hash, "frame number 'x'"},
        {std::string("check 99999999999999999999 ") + hash, "frame number"},
        {"check 3 0123456789ABCDEF", "not 16 lower-case hex digits"},
        {"check 3 0123456789abcde", "not 16 lower-case hex digits"},
        {"check 3 0123456789abcdef0", "not 16 lower-case hex digits"},
        {std::string("reinit\ncheck 3 ") + hash, "right after reinit"},
    };
    for (const auto& [lines, why] : bad) {
        const ScriptError error = parseBad("3 up\n" + lines + "\n");
        EXPECT_EQ(error.line, lines.find('\n') == std::string::npos ? 2u : 3u) << lines;
        EXPECT_NE(error.message.find(why), std::string::npos) << lines << " -> " << error.message;
    }
}

TEST(TraceScript, FilesAsEditorsAndCrashesLeaveThem) {
    // A byte-order mark and CRLF line ends, as some editors save.
    EXPECT_EQ(parseOk("\xef\xbb\xbf# made on Windows\r\n2 up\r\n").size(), 1u);
    EXPECT_EQ(parseOk("\xef\xbb\xbf" "2 up\r\n").size(), 1u);
    // A record whose writing stopped inside its last line: the lines before it
    // stand, and the cut line is named, not refused.
    const char* hash = "0123456789abcdef";
    const std::string record = std::string("# drumhold 9.9 replay, recorded then\n3 up\ncheck 3 ") + hash + "\ncheck 3 f8f5";
    ScriptReader reader{std::string_view(record)};
    ScriptStep step;
    int steps = 0;
    while (reader.next(step)) ++steps;
    EXPECT_EQ(steps, 2);
    EXPECT_FALSE(reader.failed());
    EXPECT_EQ(reader.cutLine().line, 4u);
    EXPECT_EQ(reader.recordedBy(), "9.9");
    // A last line without its newline that reads well is an instruction; one
    // that does not, in the middle, is an error as always.
    EXPECT_EQ(parseOk("3 up\n2 fire").size(), 2u);
    EXPECT_EQ(parseBad("3 up\ncheck 3 f8f5\n1 -\n").line, 2u);

    // The zeros a crash leaves at the end of a file are a cut line however
    // many there are; ended by a newline they are a line too long.
    for (const std::size_t zeros : {kMaxLineBytes, kMaxLineBytes + 1, std::size_t{200000}}) {
        const std::string tail = record.substr(0, record.rfind('\n') + 1) + std::string(zeros, '\0');
        ScriptReader zeroed{std::string_view(tail)};
        steps = 0;
        while (zeroed.next(step)) ++steps;
        EXPECT_EQ(steps, 2) << zeros;
        EXPECT_FALSE(zeroed.failed()) << zeros << ": " << zeroed.error().message;
        EXPECT_EQ(zeroed.cutLine().line, 4u) << zeros;
        EXPECT_EQ(parseBad(tail + "\n1 -\n").line, 4u) << zeros;
    }
}

TEST(TraceScript, ReadInPiecesItIsTheSameScript) {
    // Reads of 7 bytes, a pause after each: the reader goes on where it
    // paused, inside a line too, and in a cut tail too long to keep.
    const std::string text = "# drumhold 9.9 replay\n3 up\n" + std::string(4000, '#') + "\ncheck 3 0123456789abcdef\n" +
                             "reinit\n2 fire,left\n" + std::string(6000, 'x');
    std::string_view rest = text;
    ScriptReader reader([&rest](char* buffer, std::size_t size, bool&) {
        const std::size_t n = std::min({size, rest.size(), std::size_t{7}});
        std::copy_n(rest.data(), n, buffer);
        rest.remove_prefix(n);
        return n;
    });
    std::vector<ScriptStep> steps;
    ScriptStep step;
    int pauses = 0;
    for (;;) {
        reader.pauseAfter(1);
        if (reader.next(step)) {
            steps.push_back(step);
        } else if (reader.paused()) {
            ++pauses;
        } else {
            break;
        }
    }
    EXPECT_GT(pauses, 1000);
    EXPECT_FALSE(reader.failed()) << reader.error().message;
    EXPECT_EQ(reader.cutLine().line, 7u);
    EXPECT_EQ(reader.recordedBy(), "9.9");
    EXPECT_EQ(formatScript(steps), "3 up\ncheck 3 0123456789abcdef\nreinit\n2 left,fire\n");
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
    // The other way: only the six keys count, whatever else is held.
    keys.fill(0);
    keys[27] = keys[65] = 1;
    keys[38] = keys[16] = 5;
    EXPECT_EQ(heldKeys(keys), KEY_UP | KEY_FIRE);
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
}  // namespace drumhold::replay
