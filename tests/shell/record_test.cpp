// Recorded and replayed games on the fake platform, each record fed back
// through the replay tool's run: display switches anywhere, a game that never
// begins, a disk that fills, a reader that goes away or stalls, floods of
// reinit or check lines, a wrong hash.
// not on Windows: pipes, file size limits and signals of POSIX
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "data/keys.h"
#include "fake_platform.h"
#include "shell/loop.h"
#include "shell/recorder.h"
#include "shell/replayer.h"
#include "tools/trace_run.h"

namespace drumhold::testing {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr char kHeader[] = "# drumhold 0.9.9 replay, made by a test\n";

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The record run through the replay tool: its outcome, and its check lines.
tools::TraceOutcome::Result traceOf(const std::string& record, int* checks = nullptr) {
    replay::ScriptReader reader{std::string_view(record)};
    const auto outcome = tools::runTrace(reader, {}, [](std::string_view) { return true; });
    EXPECT_FALSE(reader.failed()) << "line " << reader.error().line << ": " << reader.error().message;
    if (checks) {
        *checks = 0;
        for (std::size_t at = record.find("check "); at != std::string::npos; at = record.find("\ncheck ", at + 1))
            ++*checks;
    }
    return outcome.result;
}

class RecordTest : public ::testing::Test {
protected:
    FakePlatform platform;
    FakePresentation presentation{platform};
    Sound silent;
    fs::path dir = fs::temp_directory_path() / ("drumhold-record-" + std::to_string(::getpid()));

    void SetUp() override { fs::create_directories(dir); }
    void TearDown() override { fs::remove_all(dir); }

    std::unique_ptr<RecordWriter> writerTo(const fs::path& path) {
        std::string why;
        auto writer = RecordWriter::open(path.string(), kHeader, why);
        EXPECT_TRUE(writer) << why;
        return writer;
    }
    // Plays `frames` frames (space, then fire and turning keys changing often),
    // with `extra` done after each frame, recorded by `writer`.
    void playRecorded(std::unique_ptr<RecordWriter> writer, int frames, std::function<void(int)> extra = {}) {
        Recorder recorder(std::move(writer));
        playing(frames, std::move(extra));
        runGame(platform, presentation, silent, {true, &recorder, {}});
    }
    void playing(int frames, std::function<void(int)> extra) {
        platform.schedule(1000, keyDown(vk::space));
        presentation.afterFrame = [this, frames, extra](int frame) {
            if (frame == 2) platform.post(keyUp(vk::space));
            if (frame % 7 == 0) platform.post(keyDown(frame % 14 ? vk::left : vk::shift));
            if (frame % 7 == 3) platform.post(keyUp(frame % 14 > 7 ? vk::left : vk::shift));
            if (extra) extra(frame);
            if (frame == frames) platform.post(message(MessageType::Close));
        };
    }
    struct Replay {
        std::string said;  // standard error
        int titles = 0;
        std::size_t frames = 0;
        std::uint64_t endedAt = 0;  // ms
    };
    // Replays `path` in a fresh window run, closed after `closeAfter` frames
    // (0: when the replay ends), `request` arriving at `at` ms if given, or
    // else at the loop's look for messages number `atLook`.
    Replay replayInWindow(const fs::path& path, int closeAfter = 0, std::uint64_t at = 0,
                          ShellMessage request = message(MessageType::Close), int atLook = 0) {
        FakePlatform other;
        FakePresentation shown{other};
        std::FILE* file = std::fopen(path.c_str(), "rb");
        replay::ScriptError error;
        EXPECT_TRUE(file && replay::checkScriptFile(file, error)) << error.message;
        Replayer replayer(file, path.string(), "0.0.0");
        const int last = closeAfter ? closeAfter : 100000;
        shown.frameLimit = last + 1;
        shown.afterFrame = [&](int frame) {
            if (frame == last || (!closeAfter && !replayer.replaying())) other.post(message(MessageType::Close));
        };
        if (at) other.schedule(at, request);
        other.onLook = [&](int look) {
            if (look == atLook) other.post(request);
        };
        ::testing::internal::CaptureStderr();
        runGame(other, shown, silent, {true, &replayer, {}});
        return {::testing::internal::GetCapturedStderr(), shown.titles, shown.frames.size(), other.now};
    }
};

TEST_F(RecordTest, DisplaySwitchesAnywhereReplayInSyncInTheToolAndTheWindow) {
    // A switch before the first frame, two in a row, and Esc right after one.
    const fs::path record = dir / "switches.replay";
    platform.schedule(1000, message(MessageType::SwitchDisplay));
    playRecorded(writerTo(record), 400, [this](int frame) {
        if (frame == 1) platform.post(keyDown(vk::space));  // the new window forgot the first
        if (frame == 150) {
            platform.post(message(MessageType::SwitchDisplay));
            platform.post(message(MessageType::SwitchDisplay));
        }
        if (frame == 300) platform.post(message(MessageType::SwitchDisplay));
        if (frame == 301) platform.post(keyDown(vk::escape));
    });
    EXPECT_EQ(presentation.titles, 5);
    const std::string text = readAll(record);
    EXPECT_NE(text.find("reinit\nreinit\n"), std::string::npos) << text;
    int checks = 0;
    EXPECT_EQ(traceOf(text, &checks), tools::TraceOutcome::Done) << text;
    EXPECT_GE(checks, 4);

    const std::string said = replayInWindow(record).said;
    EXPECT_NE(said.find("replay ended at frame 302, in sync"), std::string::npos) << said;
}

TEST_F(RecordTest, AReplayRecordedAsItPlaysKeepsItsReinitsAndThePlayAfterIt) {
    // A record with switches, replayed while recording: the new record is the
    // replayed game (its reinit lines where they initialised the world) and
    // what the keyboard played after it, in sync as one.
    const fs::path first = dir / "first.replay";
    playRecorded(writerTo(first), 200, [this](int frame) {
        if (frame == 60 || frame == 61) platform.post(message(MessageType::SwitchDisplay));
        if (frame == 62) platform.post(keyDown(vk::space));
    });
    const fs::path second = dir / "second.replay";
    FakePlatform other;
    FakePresentation shown{other};
    std::FILE* file = std::fopen(first.c_str(), "rb");
    replay::ScriptError error;
    ASSERT_TRUE(file && replay::checkScriptFile(file, error)) << error.message;
    auto replayer = std::make_unique<Replayer>(file, first.string(), "0.0.0");
    const Replayer& replaying = *replayer;
    RecordedReplay journal(std::move(replayer), std::make_unique<Recorder>(writerTo(second)));
    int after = 0;
    shown.afterFrame = [&](int) {
        if (replaying.replaying()) return;
        if (++after == 1) other.post(keyDown(vk::up));
        if (after == 40) other.post(message(MessageType::Close));
    };
    ::testing::internal::CaptureStderr();
    runGame(other, shown, silent, {true, &journal, {}});
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("in sync"), std::string::npos) << said;

    const std::string text = readAll(second);
    const auto reinits = [](const std::string& record) {
        std::size_t count = 0;
        for (std::size_t at = record.find("reinit\n"); at != std::string::npos; at = record.find("reinit\n", at + 1))
            ++count;
        return count;
    };
    EXPECT_EQ(reinits(text), reinits(readAll(first))) << text;
    EXPECT_NE(text.find(" up\n"), std::string::npos) << text;
    EXPECT_EQ(traceOf(text), tools::TraceOutcome::Done) << text;
}

TEST_F(RecordTest, AGameThatNeverBeginsLeavesTheFileAsItWasAndOneThatDoesReplacesIt) {
    // A player's record, private, reached through a link.
    const fs::path best = dir / "best.replay";
    const std::string old = std::string(kHeader) + "check 0 0123456789abcdef\n";
    std::ofstream(best, std::ios::binary) << old;
    fs::permissions(best, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const fs::path link = dir / "link.replay";
    fs::create_symlink("best.replay", link);
    const auto kept = [&] {
        EXPECT_EQ(readAll(best), old);
        EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator{}), 2) << "nothing left behind";
    };
    const auto run = [&](const std::function<void(FakePlatform&)>& setUp) {
        FakePlatform other;
        FakePresentation shown{other};
        setUp(other);
        Recorder recorder(writerTo(link));
        return runGame(other, shown, silent, {true, &recorder, {}});
    };

    // No video, no window, a close request during the title: no frame is played.
    EXPECT_EQ(run([](FakePlatform& p) { p.videoWorks = false; }), -1);
    kept();
    EXPECT_EQ(run([](FakePlatform& p) { p.failOpeningNumber = 1; }), 1);
    kept();
    EXPECT_EQ(run([](FakePlatform& p) { p.schedule(1000, message(MessageType::Close)); }), 0);
    kept();

    // The first frame played: the record takes the file's place, behind the
    // same link and as private as the file was.
    playRecorded(writerTo(link), 50);
    EXPECT_TRUE(fs::is_symlink(link));
    const std::string text = readAll(best);
    EXPECT_NE(text, old);
    EXPECT_EQ(traceOf(text), tools::TraceOutcome::Done) << text;
    EXPECT_EQ(fs::status(best).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator{}), 2);
}

TEST_F(RecordTest, AFullDiskCutsTheRecordAtItsLastWholeLineAndTheGamePlaysOn) {
    // A file that cannot start is refused before the game.
    std::string why;
    EXPECT_FALSE(RecordWriter::open("/dev/full", kHeader, why));
    EXPECT_NE(why.find("No space left"), std::string::npos) << why;

    // The disk fills a few hundred bytes in: writes past the limit fail.
    const fs::path record = dir / "full\x1b[2J.replay";
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = sizeof kHeader + 700;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    ::testing::internal::CaptureStderr();
    playRecorded(writerTo(record), 3000);
    const std::string said = ::testing::internal::GetCapturedStderr();
    setrlimit(RLIMIT_FSIZE, &saved);

    EXPECT_EQ(presentation.frames.size(), 3000u) << "the game plays on";
    const std::string text = readAll(record);
    ASSERT_FALSE(text.empty());
    EXPECT_LE(text.size(), sizeof kHeader + 700);
    EXPECT_EQ(text.back(), '\n') << "the record ends at a whole line";
    EXPECT_EQ(traceOf(text), tools::TraceOutcome::Done) << text;
    EXPECT_NE(said.find("recording stops"), std::string::npos) << said;
    EXPECT_EQ(said.find("recording stops"), said.rfind("recording stops")) << "said once: " << said;
    EXPECT_EQ(said.find('\x1b'), std::string::npos) << "no raw control byte reaches the terminal";
    EXPECT_NE(said.find("full\\x1b[2J.replay"), std::string::npos) << said;

    // A descriptor handed over with lines in it already: those stay whole.
    const fs::path after = dir / "after.replay";
    const int fd = ::open(after.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    const std::string before = "# lines of someone else's\n# before the record\n";
    ASSERT_EQ(::write(fd, before.data(), before.size()), static_cast<ssize_t>(before.size()));
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    ::testing::internal::CaptureStderr();
    auto writer = RecordWriter::adopt(fd, "after", kHeader, why);
    ASSERT_TRUE(writer) << why;
    for (int i = 0; i < 100000 && writer->write("1 up\n2 -\n"); ++i) {
    }
    writer->finish();
    ::testing::internal::GetCapturedStderr();
    setrlimit(RLIMIT_FSIZE, &saved);
    const std::string both = readAll(after);
    EXPECT_EQ(both.rfind(before, 0), 0u) << both;
    EXPECT_EQ(both.back(), '\n') << "the record ends at a whole line";
    EXPECT_EQ(traceOf(both.substr(before.size())), tools::TraceOutcome::Done) << both;
}

TEST_F(RecordTest, AReaderThatGoesAwayStopsTheRecordNotTheGame) {
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ::close(ends[0]);  // the reader is gone before anything is written after the header
    std::string why;
    // The header fits the pipe... unless its reader is gone: then it is refused.
    EXPECT_FALSE(RecordWriter::adopt(ends[1], "pipe", kHeader, why));
    EXPECT_NE(why.find("Broken pipe"), std::string::npos) << why;

    ASSERT_EQ(::pipe(ends), 0);
    auto writer = RecordWriter::adopt(ends[1], "pipe", kHeader, why);
    ASSERT_TRUE(writer) << why;
    ::close(ends[0]);
    ::testing::internal::CaptureStderr();
    playRecorded(std::move(writer), 1200);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(presentation.frames.size(), 1200u) << "the game plays on";
    EXPECT_NE(said.find("Broken pipe; recording stops"), std::string::npos) << said;

    // Once stopped, nothing more is taken: a long game keeps no lines.
    ASSERT_EQ(::pipe(ends), 0);
    writer = RecordWriter::adopt(ends[1], "pipe", kHeader, why);
    ASSERT_TRUE(writer) << why;
    ::close(ends[0]);
    ::testing::internal::CaptureStderr();
    writer->write("1 up\n");
    for (int i = 0; i < 1000 && !writer->stopped(); ++i) ::usleep(1000);
    ::testing::internal::GetCapturedStderr();
    EXPECT_TRUE(writer->stopped());
    EXPECT_FALSE(writer->write("1 down\n"));
}

TEST_F(RecordTest, AStalledReaderNeverHoldsUpTheGame) {
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ::fcntl(ends[1], F_SETPIPE_SZ, 4096);  // fills after a few seconds of play
    std::string why;
    auto writer = RecordWriter::adopt(ends[1], "pipe", kHeader, why);
    ASSERT_TRUE(writer) << why;
    const auto start = Clock::now();
    ::testing::internal::CaptureStderr();
    playRecorded(std::move(writer), 4000);
    const std::string said = ::testing::internal::GetCapturedStderr();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    ::close(ends[0]);  // only now: the writer was blocked all along
    EXPECT_EQ(presentation.frames.size(), 4000u);
    EXPECT_LT(seconds, 0.25 + 2.0) << "the end waits a quarter of a second for the record, no more";
    EXPECT_NE(said.find("not reading"), std::string::npos) << said;
}

TEST_F(RecordTest, FloodsOfReinitOrCheckLinesCostOneTitleAndEscOrCloseEndThemAtOnce) {
    const fs::path record = dir / "flood.replay";
    std::string flood = "3 -\n";
    for (int i = 0; i < 100000; ++i) flood += "reinit\n";
    flood += "5 -\n";
    std::ofstream(record, std::ios::binary) << flood;
    EXPECT_EQ(traceOf(flood), tools::TraceOutcome::Done);

    // Played out: one title for the start, one for the flood.
    Replay run = replayInWindow(record, 8);
    EXPECT_EQ(run.titles, 2);
    EXPECT_NE(run.said.find("replay ended at frame 8, in sync"), std::string::npos) << run.said;

    // A close request, and Esc, during the flood's title end the run at once.
    for (const ShellMessage& request : {message(MessageType::Close), keyDown(vk::escape)}) {
        run = replayInWindow(record, 8, 6000, request);
        EXPECT_EQ(run.titles, 2);
        EXPECT_LT(run.endedAt, 6000u + 1000) << run.said;
        EXPECT_LE(run.frames, 4u);
    }

    // Megabytes of checks of frame 0, the last one wrong: the window looks at
    // its messages while it reads them, and a close request or Esc ends the
    // run there, before the wrong one is reached.
    const fs::path played = dir / "played.replay";
    playRecorded(writerTo(played), 5);
    const std::string text = readAll(played);
    const std::string check0 = text.substr(text.find("check 0 "), 25);
    std::string checks = kHeader;
    for (int i = 0; i < 200000; ++i) checks += check0;
    checks += "check 0 0000000000000000\n5 -\n";
    std::ofstream(record, std::ios::binary) << checks;
    for (const ShellMessage& request : {message(MessageType::Close), keyDown(vk::escape)}) {
        run = replayInWindow(record, 8, 0, request, 3);
        EXPECT_EQ(run.said.find("out of sync"), std::string::npos) << run.said;
        EXPECT_EQ(run.frames, 0u);
    }
}

TEST_F(RecordTest, AWrongHashIsOutOfSyncAndACutLastLineIsNoError) {
    const fs::path record = dir / "game\x1b.replay";
    playRecorded(writerTo(record), 600);
    std::string text = readAll(record);
    ASSERT_EQ(traceOf(text), tools::TraceOutcome::Done);

    // The last line cut by a crash: the lines before it replay, with a notice.
    const std::size_t lastCheck = text.rfind("check ");
    std::ofstream(record, std::ios::binary) << text.substr(0, lastCheck + 12);
    std::string said = replayInWindow(record).said;
    EXPECT_NE(said.find("is cut short"), std::string::npos) << said;
    EXPECT_NE(said.find("in sync"), std::string::npos) << said;
    EXPECT_EQ(said.find('\x1b'), std::string::npos) << said;

    // One hex digit changed in a check: out of sync, and the record names
    // another version than the replaying program's.
    const std::size_t check = text.find("check ", text.find("check ") + 1);
    const std::size_t digit = text.find('\n', check) - 1;
    text[digit] = text[digit] == '0' ? '1' : '0';
    std::ofstream(record, std::ios::binary) << text;
    EXPECT_EQ(traceOf(text), tools::TraceOutcome::OutOfSync);
    said = replayInWindow(record, 600).said;
    EXPECT_NE(said.find("replay out of sync at frame"), std::string::npos) << said;
    EXPECT_NE(said.find("made by drumhold 0.9.9, this is 0.0.0"), std::string::npos) << said;
}

}  // namespace
}  // namespace drumhold::testing
