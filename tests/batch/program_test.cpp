// The program as a user runs it: options, files and standard streams, exit statuses, the
// summary, and the failures only a real process meets (a full disk, a closed pipe).
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/batch/batch_support.h"

namespace quarvell::batch {
namespace {

namespace fs = std::filesystem;

struct Process {
    int status = -1;
    std::string out;
    std::string err;
};

class Program : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("quarvell-batch-test-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string file(const std::string& name, const std::string& text) const {
        const fs::path p = dir_ / name;
        std::ofstream(p, std::ios::binary) << text;
        return p.string();
    }
    static std::string read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    // Runs a shell command line with the program as $B; its output and errors collected.
    Process run(const std::string& args) const {
        const std::string out = (dir_ / "stdout").string();
        const std::string err = (dir_ / "stderr").string();
        const std::string command = "export B='" QUARVELL_BATCH_BINARY "'; cd '" + dir_.string() +
                                    "' && (" + args + ") >'" + out + "' 2>'" + err + "'";
        const int raw = std::system(("bash -c \"" + command + "\"").c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, read(out), read(err)};
    }

    fs::path dir_;
};

const std::string kList =
    std::string(testing::kHeader) + ",quantity\n10.1f,10,10,5,50,M,GB,2\n10.1c,1,50,25,40,P,GB,1\n";

TEST_F(Program, HelpListsTheOptionsAndEveryColumn) {
    const Process p = run("\\$B --help");
    EXPECT_EQ(p.status, 0);
    std::vector<std::string> words = testing::Words(
        "--input-format --format --notice --summary -o 4u7 test:PIECES/HOURS/FAILURES[@BIAS] "
        "A(IC)");
    for (const auto& columns : {testing::kInputColumns, testing::kOutputs, testing::kNoticeColumns,
                                testing::kLifeTestColumns}) {
        words.insert(words.end(), columns.begin(), columns.end());
    }
    for (const std::string& word : words) {
        EXPECT_NE(p.out.find(word), std::string::npos) << word;
    }
}

TEST_F(Program, ReadsAFileOrStandardInputAndWritesAFileOrStandardOutput) {
    const std::string list = file("board.csv", kList);
    const Process fromFile = run("\\$B board.csv");
    EXPECT_EQ(fromFile.status, 0);
    EXPECT_EQ(fromFile.err, "");
    EXPECT_EQ(fromFile.out, testing::RunOn(kList).out);
    EXPECT_EQ(run("\\$B < board.csv").out, fromFile.out);
    EXPECT_EQ(run("cat board.csv | \\$B -").out, fromFile.out);
    const Process toFile = run("\\$B board.csv -o result.csv");
    EXPECT_EQ(toFile.out, "");
    EXPECT_EQ(read((dir_ / "result.csv").string()), fromFile.out);
    // JSON Lines by the extension, or by the option.
    const std::string json = run("\\$B board.csv --format jsonl").out;
    file("board.jsonl", json);
    EXPECT_EQ(run("\\$B board.jsonl").out, fromFile.out);
    EXPECT_EQ(run("\\$B --input-format jsonl < board.jsonl").out, fromFile.out);
}

TEST_F(Program, TheSummaryGivesTheRowsTheTotalAndTheSystemMtbf) {
    file("board.csv", kList + "10.1c,1,50,25,40,Q,GB,1\n");
    const Process p = run("\\$B --summary --notice both board.csv");
    EXPECT_EQ(p.status, 1);
    const testing::Table t = testing::ReadTable(p.out);
    const double total = 2.0 * *t.number(0, "fit") + *t.number(1, "fit");
    char expected[64];
    std::snprintf(expected, sizeof expected, "total FIT %.4f, system MTBF %.6g hours", total,
                  1e9 / total);
    EXPECT_NE(p.err.find("quarvell-batch: 3 rows read, 1 refused, 2 evaluated\n"),
              std::string::npos)
        << p.err;
    EXPECT_NE(p.err.find(expected), std::string::npos) << p.err;
    EXPECT_NE(p.err.find("Notice 1: total FIT "), std::string::npos) << p.err;
    EXPECT_NE(p.err.find("time "), std::string::npos) << p.err;
}

TEST_F(Program, UnusableInputsAndFailedWritesExitWithTwo) {
    file("board.csv", kList);
    std::string big = kList;
    for (int i = 0; i < 5000; ++i) {
        big += "10.1f,10,10,5,50,M,GB,1\n";
    }
    file("big.csv", big);
    const struct {
        const char* command;
        const char* message;
    } cases[] = {
        {"\\$B missing.csv",
         "quarvell-batch: cannot read 'missing.csv': No such file or directory"},
        {"\\$B .", "quarvell-batch: cannot read the input: Is a directory"},
        {"\\$B --format xml board.csv", "quarvell-batch: --format: xml not in {csv,jsonl}"},
        {"\\$B --notice all board.csv", "quarvell-batch: --notice"},
        {"\\$B --frobnicate board.csv", "quarvell-batch: The following argument was not expected"},
        {"\\$B board.csv -o /dev/full",
         "quarvell-batch: cannot write the output: No space left on device"},
        {"\\$B board.csv -o no/such/dir/out.csv",
         "quarvell-batch: cannot write 'no/such/dir/out.csv'"},
        {"\\$B board.csv -o board.csv", "quarvell-batch: the output 'board.csv' is the input"},
        {"\\$B --input-format jsonl board.csv", "quarvell-batch: the first line is not JSON"},
        {"printf 'x\\n' | \\$B", "quarvell-batch: the header lacks the required columns"},
        // The reader went away: a failed write, not a success and not a death by signal.
        {"\\$B big.csv | head -c 100 >/dev/null; exit \\${PIPESTATUS[0]}",
         "quarvell-batch: cannot write the output: Broken pipe"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        const Process p = run(c.command);
        EXPECT_EQ(p.status, 2);
        EXPECT_EQ(p.err.substr(0, std::string(c.message).size()), c.message) << p.err;
    }
    EXPECT_EQ(read((dir_ / "board.csv").string()), kList);
}

// On a terminal the run reports its progress now and then (shown after a second, so a quick
// run shows nothing), and clears the line before the summary.
TEST_F(Program, ARunOnATerminalReportsItsProgressAndEndsCleanly) {
    if (std::system("command -v script >/dev/null") != 0) {
        GTEST_SKIP() << "no script(1) to give the program a terminal";
    }
    std::string list = std::string(testing::kHeader) + "\n";
    for (int i = 0; i < 140000; ++i) {
        list += "10.1f,10,10,5,50,M,GB\n";
    }
    file("long.csv", list);
    const Process p = run("script -qfec '\\$B long.csv -o out.csv --summary' /dev/null");
    EXPECT_EQ(p.status, 0) << p.out;
    EXPECT_NE(p.out.find("140000 rows read, 0 refused, 140000 evaluated"), std::string::npos)
        << p.out;
    if (p.out.find(" rows ...") != std::string::npos) {
        EXPECT_NE(p.out.find(" rows ...\r\033[K"), std::string::npos) << p.out;
    }
}

// The README shows the example board's results: they must be what the program gives.
TEST_F(Program, TheExampleBoardGivesTheResultsTheReadmeShows) {
    const std::string source = QUARVELL_SOURCE_DIR;
    const Process p = run("\\$B '" + source + "/examples/board.csv'");
    EXPECT_EQ(p.status, 0);
    const std::string results = read(source + "/examples/board.results.csv");
    EXPECT_EQ(p.out, results);
    EXPECT_NE(read(source + "/README.md").find("```\n" + results + "```\n"), std::string::npos);
    const testing::Table t = testing::ReadTable(results);
    EXPECT_EQ(t.rows.size(), 20U);
}

}  // namespace
}  // namespace quarvell::batch
