// The replay tool's contract: its script errors, its report, and the command line.
#include "tools/replay/replay.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <limits>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

namespace quarvell::replay {
namespace {

using Json = nlohmann::ordered_json;

std::vector<Json> Reports(const std::string& out) {
    std::vector<Json> reports;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
        reports.push_back(Json::parse(line));
    }
    return reports;
}

std::string Keys(const Json& object) {
    std::string keys;
    for (const auto& [key, value] : object.items()) {
        keys += key + " ";
    }
    return keys;
}

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
    EXPECT_EQ(reports[0]["controls"]["cmbEnv"]["index"], 3);
    EXPECT_EQ(reports[1]["controls"]["txtCap"]["text"], " 4 7 ");
    EXPECT_EQ(reports[1]["controls"]["txtVolt"]["text"], "");
    EXPECT_EQ(reports[1]["focus"], "txtVolt");
}

TEST(Report, HoldsEveryStateFieldAndTheNamedControls) {
    const auto reports = Reports(Replay("").out);
    ASSERT_EQ(reports.size(), 1u) << "the state after the last action, even of an empty script";
    EXPECT_EQ(Keys(reports[0]), "controls state focus events ended ");
    EXPECT_EQ(Keys(reports[0]["state"]),
              "Notice TypeCode TempRating RatedVoltage Capacitance AppVoltage AppTemp FrLevel "
              "EnteredRate TestPieces TestHours TestFailures LifeBias EnvIndex ResListVisible "
              "ResIndex PiVDenominatorText PendingNote VoltSteps DecimalIsPoint Base PiT PiV "
              "PiCV PiSR PiConst PiQ PiE FailureRate Fit DeratedVoltage TempLimit NoteText "
              "SuspendRecalc NoteSeparator InputPrompt ");
    for (const char* name : {"frmFIT", "optNotice1", "optNotice2", "mnuPrintFF", "line1", "frmMsg",
                             "txtMsg", "frmAbout", "lblTitle", "frmAbout.lblVersion",
                             "lblDescription", "cmdOK", "cmdSysInfo", "Label4", "fmeBias"}) {
        EXPECT_TRUE(reports[0]["controls"].contains(name)) << name;
    }
}

TEST(Report, EventsAreThoseSinceThePreviousReport) {
    const auto reports = Reports(Replay("f1\ndump\ndump\nfocus cmbEnv\nf1\n").out);
    ASSERT_EQ(reports.size(), 3u);
    EXPECT_EQ(reports[0]["events"], Json::parse(R"([{"kind":"help","context":520}])"));
    EXPECT_EQ(reports[1]["events"], Json::array());
    EXPECT_EQ(reports[2]["events"], Json::parse(R"([{"kind":"help","context":650}])"));
}

// The reports' text is compared byte for byte by other tools: it stays as it has always been.
TEST(Json, CompactWithNineDigitRealsAndControlCharactersEscaped) {
    const std::pair<Json, const char*> cases[] = {
        {"plain", R"("plain")"},
        {"NOTE: a\r\nb", R"("NOTE: a\r\nb")"},
        {"quote \" and \\", R"("quote \" and \\")"},
        {"tab\there", R"("tab\there")"},
        {std::string("nul\0x", 5), R"("nul\u0000x")"},
        {"\x1b\b\f", R"("\u001B\u0008\u000C")"},
        {"+85°C \xB5", "\"+85°C \xB5\""},  // bytes as they are, UTF-8 or not
        {0.066F, "0.0659999996"},
        {50.0, "50"},
        {1e-05F, "9.99999975e-06"},
        {-2.5, "-2.5"},
        {1.0 / 3.0, "0.333333333"},
        {4.5e15, "4.5e+15"},
        {std::numeric_limits<double>::quiet_NaN(), "null"},
        {-std::numeric_limits<double>::infinity(), "null"},
        {-7, "-7"},
        {Json{{"b", {true, nullptr}}, {"a", Json::object()}}, R"({"b":[true,null],"a":{}})"},
    };
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(JsonText(value), text);
    }
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
    EXPECT_EQ(reports[1]["state"]["DecimalIsPoint"], false);
    EXPECT_EQ(reports[1]["controls"]["cmbEnv"]["index"], 1);

    EXPECT_EQ(run("--colour " + script, out), 2);
    EXPECT_NE(out.find("unknown option"), std::string::npos);
    EXPECT_EQ(run(script + ".missing", out), 2);
    EXPECT_NE(out.find("cannot read"), std::string::npos);
    EXPECT_EQ(run("< /dev/null", out), 0);
    EXPECT_EQ(Reports(out).size(), 1u);
}

}  // namespace
}  // namespace quarvell::replay
