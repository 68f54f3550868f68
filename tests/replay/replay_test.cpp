// The replay tool's contract: its script errors, its report, and the command line.
#include "tools/replay/replay.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>

#include "tests/replay/json_path.h"
#include "tools/replay/json_writer.h"

namespace quarvell::replay {
namespace {

using quarvell::testing::JsonAt;
using quarvell::testing::Members;
using quarvell::testing::Reports;

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

Outcome Replay(const std::string& script) {
    std::istringstream in(script);
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunReplay(in, out, err, ReplayOptions{});
    return {status, out.str(), err.str()};
}

TEST(ScriptErrors, StopBeforeAnythingRunsAndNameTheLine) {
    const struct {
        const char* line;
        const char* reason;
    } cases[] = {
        {"slect cmbType 1", "unknown action \"slect\""},
        {"select cmbFoo 1", "unknown control \"cmbFoo\""},
        {"select", "needs a control name"},
        {"select txtCap 1", "not a list"},
        {"select cmbType x", "entry number"},
        {"select cmbType -1", "entry number"},
        {"select optNotice 3", "1 or 2"},
        {"type lblBase x", "cannot type into \"lblBase\""},
        {"type cmbType x", "cannot type into \"cmbType\""},
        {"focus lblNote", "cannot take the focus"},
        {"focus txtCap now", "only a control name"},
        {"scroll cmbType 3", "cannot scroll"},
        {"scroll hscTemp 1.5", "whole number"},
        {"click cmbEnv", "cannot click"},
        {"click cmdCancel", "unknown control \"cmdCancel\""},
        {"key ab", "one printable character"},
        {"key", "one printable character"},
        {"reply Maybe", "Yes, No or OK"},
        {"wait -1", "seconds"},
        {"wait soon", "seconds"},
        {"enter now", "takes no argument"},
        {"Dump", "unknown action \"Dump\""},
        {"curves", "name of the file"},
        {"curves   ", "name of the file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const Outcome o = Replay(std::string("dump\n# fine so far\n\ntype txtCap 5\n") + c.line +
                                 "\nselect cmbEnv 2\n");
        EXPECT_EQ(o.status, 2);
        EXPECT_EQ(o.out, "") << "nothing is printed, not even the dump before the error";
        EXPECT_NE(o.err.find("line 5"), std::string::npos) << o.err;
        EXPECT_NE(o.err.find(c.reason), std::string::npos) << o.err;
        EXPECT_NE(o.err.find(c.line), std::string::npos) << o.err;
    }
}

TEST(Script, SkipsCommentsAndBlankLinesAndTypesTheWholeRestOfTheLine) {
    const Outcome o = Replay(
        "# a comment\r\n\r\n   \r\n  # indented comment\nselect cmbEnv 3\r\ndump\n"
        "type txtCap  4 7 \ntype txtVolt\n");
    ASSERT_EQ(o.status, 0) << o.err;
    const auto reports = Reports(o.out);
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(JsonAt(reports[0], "controls/cmbEnv/index"), "3");
    EXPECT_EQ(JsonAt(reports[1], "controls/txtCap/text"), "\" 4 7 \"");
    EXPECT_EQ(JsonAt(reports[1], "controls/txtVolt/text"), "\"\"");
    EXPECT_EQ(JsonAt(reports[1], "focus"), "\"txtVolt\"");
}

TEST(Report, HoldsEveryStateFieldAndTheNamedControls) {
    const auto reports = Reports(Replay("").out);
    ASSERT_EQ(reports.size(), 1u) << "the state after the last action, even of an empty script";
    const auto keys = [](std::string_view json) {
        std::string out;
        for (const auto& [key, value] : Members(json)) {
            out += key + " ";
        }
        return out;
    };
    EXPECT_EQ(keys(reports[0]), "controls state focus events ended ");
    EXPECT_EQ(keys(JsonAt(reports[0], "state").value_or("")),
              "Notice TypeCode TempRating RatedVoltage Capacitance AppVoltage AppTemp FrLevel "
              "EnteredRate TestPieces TestHours TestFailures LifeBias EnvIndex ResListVisible "
              "ResIndex PiVDenominatorText PendingNote VoltSteps DecimalIsPoint Base PiT PiV "
              "PiCV PiSR PiConst PiQ PiE FailureRate Fit DeratedVoltage TempLimit NoteText "
              "SuspendRecalc NoteSeparator InputPrompt ");
    for (const char* name : {"frmFIT", "optNotice1", "optNotice2", "mnuPrintFF", "line1", "frmMsg",
                             "txtMsg", "frmAbout", "lblTitle", "frmAbout.lblVersion",
                             "lblDescription", "cmdOK", "cmdSysInfo", "Label4", "fmeBias"}) {
        EXPECT_TRUE(JsonAt(reports[0], std::string("controls/") + name)) << name;
    }
}

TEST(Report, EventsAreThoseSinceThePreviousReport) {
    const auto reports = Reports(Replay("f1\ndump\ndump\nfocus cmbEnv\nf1\n").out);
    ASSERT_EQ(reports.size(), 3u);
    EXPECT_EQ(JsonAt(reports[0], "events"), R"([{"kind":"help","context":520}])");
    EXPECT_EQ(JsonAt(reports[1], "events"), "[]");
    EXPECT_EQ(JsonAt(reports[2], "events"), R"([{"kind":"help","context":650}])");
}

TEST(Json, StringsAreEscapedAndUtf8PassesThrough) {
    const struct {
        std::string text;
        const char* json;
    } cases[] = {
        {"plain", R"("plain")"},
        {"NOTE: a\r\nb", R"("NOTE: a\r\nb")"},
        {"quote \" and \\", R"("quote \" and \\")"},
        {"tab\there", R"("tab\there")"},
        {std::string("nul\0x", 5), R"("nul\u0000x")"},
        {"\x1b", R"("\u001B")"},
        {"+85°C", "\"+85°C\""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(JsonString(c.text), c.json);
    }
}

TEST(Json, RealsHaveNineSignificantDigitsAndNoNonNumbers) {
    const struct {
        double value;
        const char* json;
    } cases[] = {
        {0.066f, "0.0659999996"},
        {50, "50"},
        {1e-05f, "9.99999975e-06"},
        {-2.5, "-2.5"},
        {1.0 / 3.0, "0.333333333"},
        {std::numeric_limits<double>::quiet_NaN(), "null"},
        {std::numeric_limits<double>::infinity(), "null"},
    };
    for (const auto& c : cases) {
        JsonWriter w;
        w.real(c.value);
        EXPECT_EQ(w.str(), c.json);
    }
}

// A file of this test run in the temporary folder.
std::string TempFile(const std::string& name) {
    return ::testing::TempDir() + std::to_string(getpid()) + "_" + name;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(CurvesAction, WritesThePointsOfTheResultOnScreen) {
    const std::string path = TempFile("quarvell_replay_curves.csv");
    std::remove(path.c_str());
    const Outcome o = Replay(
        "type txtCap 10\nenter\ntype txtVolt 10\nenter\nselect cmbFR 8\n"
        "curves " +
        path + "\nscroll hscTemp 60\n");
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(Reports(o.out).size(), 1u);
    const std::string csv = ReadAll(path);
    EXPECT_EQ(csv.rfind("chart,x,fit_notice1,fit_notice2,stress\ntemperature,-55,", 0), 0u);
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 801);
    // The worked example's voltage chart ends at its rated 10 V, S 1 there.
    EXPECT_NE(csv.find("\nvoltage,10,"), std::string::npos);
    EXPECT_EQ(csv.substr(csv.rfind(',')), ",1\n");
    std::remove(path.c_str());
}

TEST(CurvesAction, WithoutAUsableResultIsAnErrorThatWritesNothing) {
    const std::string path = TempFile("quarvell_replay_no_curves.csv");
    const struct {
        const char* name;
        std::string script;
        int line;
        const char* reason;
    } cases[] = {
        {"at start-up", "dump\ncurves " + path + "\nselect cmbEnv 2\n", 2,
         "no curves without a usable result. The capacitance must be a number greater than 0."},
        {"no rate entered",
         "type txtCap 10\nenter\ntype txtVolt 10\nenter\ndump\ncancel\nselect cmbFR 1\n"
         "curves " +
             path + "\n",
         8, "no curves without a usable result. No failure rate entered."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::ofstream(path) << "kept";
        const Outcome o = Replay(c.script);
        EXPECT_EQ(o.status, 2);
        EXPECT_EQ(o.out, "") << "nothing printed, as after a script error";
        EXPECT_NE(o.err.find("line " + std::to_string(c.line) + ": curves " + path + ": "),
                  std::string::npos)
            << o.err;
        EXPECT_NE(o.err.find(c.reason), std::string::npos) << o.err;
        EXPECT_EQ(ReadAll(path), "kept");
    }
    const Outcome o = Replay(
        "type txtCap 10\nenter\ntype txtVolt 10\nenter\n"
        "curves /nonexistent-folder/curves.csv\n");
    EXPECT_EQ(o.status, 2);
    EXPECT_NE(o.err.find("line 5: curves /nonexistent-folder/curves.csv: cannot write the curves"),
              std::string::npos)
        << o.err;
    std::remove(path.c_str());
}

TEST(CommandLine, RunsAScriptFileAndRefusesUnknownOptions) {
    const std::string script = ::testing::TempDir() + "quarvell_replay_cli.replay";
    std::ofstream(script) << "select cmbEnv 1\ndump\n";
    const auto run = [](const std::string& args, std::string& out) {
        const std::string command = std::string(QUARVELL_REPLAY_BINARY) + " " + args + " 2>&1";
        FILE* pipe = popen(command.c_str(), "r");
        out.clear();
        char buf[4096];
        for (std::size_t n; (n = fread(buf, 1, sizeof buf, pipe)) > 0;) {
            out.append(buf, n);
        }
        const int status = pclose(pipe);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    std::string out;
    EXPECT_EQ(run("--comma " + script, out), 0);
    const auto reports = Reports(out);
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(JsonAt(reports[1], "state/DecimalIsPoint"), "false");
    EXPECT_EQ(JsonAt(reports[1], "controls/cmbEnv/index"), "1");

    EXPECT_EQ(run("--colour " + script, out), 2);
    EXPECT_NE(out.find("unknown option"), std::string::npos);
    EXPECT_EQ(run(script + ".missing", out), 2);
    EXPECT_NE(out.find("cannot read"), std::string::npos);
    EXPECT_EQ(run("< /dev/null", out), 0);
    EXPECT_EQ(Reports(out).size(), 1u);
}

}  // namespace
}  // namespace quarvell::replay
