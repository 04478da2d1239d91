// The drumhold-trace binary itself: exit statuses, messages that name the bad
// line or option, standard input, and that nothing is printed for a bad script.
// not on Windows: it drives the tool through a POSIX shell; tests/windows compares the Windows tool with Linux's
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

// Single-quoted for the shell (the paths used here hold no quote).
std::string quote(const fs::path& path) {
    std::string out(1, '\'');
    out += path.string();
    out += '\'';
    return out;
}

struct Result {
    int status = -1;
    std::string out;
    std::string err;
};

class TraceCli : public ::testing::Test {
protected:
    fs::path dir;

    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("drumhold-trace-cli-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
               std::to_string(reinterpret_cast<std::uintptr_t>(this)));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    fs::path write(const std::string& name, const std::string& text) {
        fs::path path = dir / name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    static std::string slurp(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    // Runs the tool with `args` (already shell-quoted), standard input from
    // `input`, after the shell commands `before`.
    Result run(const std::string& args, const std::string& input = "", const std::string& before = "") {
        const fs::path in = write("stdin", input);
        std::string command = before + quote(DRUMHOLD_TRACE_BIN);
        command += ' ';
        command += args;
        command += " < " + quote(in);
        command += " > " + quote(dir / "out");
        command += " 2> " + quote(dir / "err");
        const int raw = std::system(command.c_str());
        Result r;
        r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        r.out = slurp(dir / "out");
        r.err = slurp(dir / "err");
        return r;
    }
};

TEST_F(TraceCli, BadScriptsExitTwoNamingTheLineBeforeAnyFrame) {
    const std::pair<const char*, const char*> cases[] = {
        {"# fine\n2 -\n3 jump\n", "line 3"},
        {"1 up,,fire\n", "line 1"},
        {"\n\n\n\n0 up\n", "line 5"},
        {"1 -\n2 up down\n", "line 2"},
        {"5\n", "line 1"},
    };
    for (auto [script, where] : cases) {
        const Result r = run(quote(write("bad.script", script)));
        EXPECT_EQ(r.status, 2) << script;
        EXPECT_TRUE(r.out.empty()) << script;
        EXPECT_NE(r.err.find(where), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("bad.script"), std::string::npos) << r.err;
    }
    // The same from standard input.
    const Result r = run("", "1 -\nfire 1\n");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("<stdin>: line 2"), std::string::npos) << r.err;
}

TEST_F(TraceCli, BadCommandLinesAndTooLittleMemoryExitWithTheirStatusAndAMessage) {
    const std::pair<std::string, const char*> cases[] = {
        {"--fast", "unknown option '--fast'"},
        {"--frames", "needs a range"},
        {"--frames 5", "bad frame range '5'"},
        {"--frames 5:2", "bad frame range '5:2'"},
        {"--frames -1:2", "bad frame range"},
        {"--frames 1:x", "bad frame range"},
        {"--frames=1:99999999999999999999999", "bad frame range"},
        {quote(dir / "missing.script"), "cannot open"},
        {quote(dir), "cannot read the script: Is a directory"},
        {"a.script b.script", "only one script"},
    };
    for (const auto& [args, message] : cases) {
        const Result r = run(args, "1 -\n");
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_NE(r.err.find(message), std::string::npos) << args << ": " << r.err;
        EXPECT_TRUE(r.out.empty()) << args;
    }
    // Too little memory to run: said, with a status of its own. (The
    // sanitizers' shadow memory needs far more than any limit here.)
#if !defined(__SANITIZE_ADDRESS__)
    const Result starved = run("-", "1 -\n", "ulimit -v 6000; ");
    EXPECT_EQ(starved.status, 4) << starved.err;
    EXPECT_FALSE(starved.err.empty());
#endif
    const Result help = run("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("usage: drumhold-trace"), std::string::npos);
    // The version is the project's, as the game prints it.
    const Result version = run("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "drumhold-trace " DRUMHOLD_VERSION "\n");
}

TEST_F(TraceCli, APipeIsReadAsItComesAndACutRecordEndsBeforeItsCutLine) {
    const std::string script = "2 -\n1 space\n5 fire\n";
    const fs::path file = write("ok.script", script);
    const Result fromFile = run(quote(file));
    ASSERT_EQ(fromFile.status, 0) << fromFile.err;

    // A named pipe (as `<(...)` makes) cannot be read twice: it streams, with
    // standard input there or closed.
    const fs::path fifo = dir / "fifo";
    ASSERT_EQ(std::system(("mkfifo " + quote(fifo)).c_str()), 0);
    for (const char* in : {"", " <&-"}) {
        const std::string command = "cat " + quote(file) + " > " + quote(fifo) + " & " + quote(DRUMHOLD_TRACE_BIN) +
                                    " " + quote(fifo) + in + " > " + quote(dir / "out") + " 2> " + quote(dir / "err") +
                                    "; wait";
        const int raw = std::system(command.c_str());
        EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0) << in << ": " << slurp(dir / "err");
        EXPECT_EQ(slurp(dir / "out"), fromFile.out) << in;
    }

    // The record of a game whose disk filled inside a line: all before it
    // replays, one notice names the line, and the exit is 0.
    const std::string frame8 = fromFile.out.substr(fromFile.out.find("FRAME 8 ") + 8, 16);
    const Result cut = run(quote(write("cut.replay", script + "check 8 " + frame8 + "\n1 -\ncheck 9 f8f5")));
    EXPECT_EQ(cut.status, 0) << cut.err;
    EXPECT_NE(cut.err.find("line 6 is cut short"), std::string::npos) << cut.err;
    EXPECT_NE(cut.out.find("FRAME 9 "), std::string::npos);
}

TEST_F(TraceCli, ScriptFileStdinAndOptionsAgree) {
    const std::string script = "2 -\n1 space\n5 fire\n";
    const Result fromFile = run(quote(write("ok.script", script)));
    ASSERT_EQ(fromFile.status, 0) << fromFile.err;
    EXPECT_TRUE(fromFile.err.empty());
    EXPECT_EQ(std::count(fromFile.out.begin(), fromFile.out.end(), '\n'), 9);
    EXPECT_EQ(fromFile.out.rfind("FRAME 0 ", 0), 0u);
    EXPECT_NE(fromFile.out.find("\nFRAME 8 "), std::string::npos);

    EXPECT_EQ(run("", script).out, fromFile.out);
    EXPECT_EQ(run("-", script).out, fromFile.out);

    // --frames both ways; the selected lines are those of the whole run.
    const Result some = run("--frames 3:4", script);
    const Result same = run("--frames=3:4 -", script);
    EXPECT_EQ(some.out, same.out);
    const std::size_t from = fromFile.out.find("FRAME 3 ");
    const std::size_t to = fromFile.out.find("FRAME 5 ");
    EXPECT_EQ(some.out, fromFile.out.substr(from, to - from));

    // A recorded game checks itself: a wrong hash stops the run after its frame.
    const std::string frame3 = fromFile.out.substr(fromFile.out.find("FRAME 3 ") + 8, 16);
    const std::string checked = "2 -\n1 space\ncheck 3 " + frame3 + "\nreinit\n1 -\ncheck 4 0000000000000000\n5 fire\n";
    for (const std::string& args : {std::string("--frames 0:1"), std::string("-")}) {
        const Result sync = run(args, checked);
        EXPECT_EQ(sync.status, 3) << args;
        EXPECT_NE(sync.err.find("out of sync at frame 4 (script 0000000000000000, game "), std::string::npos) << sync.err;
        EXPECT_EQ(sync.out.find("FRAME 5 "), std::string::npos) << sync.out;
    }

    const Result full = run("--full --frames 8:8", script);
    EXPECT_EQ(full.status, 0);
    EXPECT_EQ(full.out.rfind("frame 8 playing 1 ticks 5 ", 0), 0u) << full.out;
    EXPECT_NE(full.out.find("\ncues "), std::string::npos);
}

}  // namespace
