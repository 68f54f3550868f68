// The replay tool's contract: its script errors, its report, and the command line.
#include "tools/replay/replay.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "tests/replay/json_value.h"
#include "tools/replay/json_writer.h"

namespace quarvell::replay {
namespace {

using quarvell::testing::Json;
using quarvell::testing::ParseJson;

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

Outcome Replay(const std::string& script, bool comma = false) {
    std::istringstream in(script);
    std::ostringstream out;
    std::ostringstream err;
    ReplayOptions options;
    options.comma = comma;
    const int status = RunReplay(in, out, err, options);
    return {status, out.str(), err.str()};
}

std::vector<Json> Reports(const std::string& out) {
    std::vector<Json> reports;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
        auto j = ParseJson(line);
        EXPECT_TRUE(j) << line.substr(0, 200);
        if (j) {
            reports.push_back(std::move(*j));
        }
    }
    return reports;
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

TEST(Script, CommentsBlankLinesAndLineEndingsAreTolerated) {
    const Outcome o = Replay("# a comment\r\n\r\n   \r\n  # indented comment\nselect cmbEnv 3\r\n");
    EXPECT_EQ(o.status, 0) << o.err;
    const auto reports = Reports(o.out);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].at("controls")->at("cmbEnv")->at("index")->number, 3);
}

TEST(Script, TypedTextIsTheWholeRestOfTheLine) {
    const Outcome o = Replay("type txtCap  4 7 \ntype txtVolt\ndump\ntype txtVolt \n");
    ASSERT_EQ(o.status, 0) << o.err;
    const auto reports = Reports(o.out);
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[1].at("controls")->at("txtCap")->at("text")->string, " 4 7 ");
    EXPECT_EQ(reports[1].at("controls")->at("txtVolt")->at("text")->string, "");
    EXPECT_EQ(reports[1].at("focus")->string, "txtVolt");
}

TEST(Report, HoldsEveryStateFieldAndTheNamedControls) {
    const Outcome o = Replay("");
    ASSERT_EQ(o.status, 0);
    const auto reports = Reports(o.out);
    ASSERT_EQ(reports.size(), 1u) << "the state after the last action, even of an empty script";
    const Json& r = reports[0];
    std::vector<std::string> keys;
    for (const auto& [k, v] : r.object) {
        keys.push_back(k);
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"controls", "state", "focus", "events", "ended"}));

    std::vector<std::string> fields;
    for (const auto& [k, v] : r.at("state")->object) {
        fields.push_back(k);
    }
    EXPECT_EQ(fields, (std::vector<std::string>{"Notice",
                                                "TypeCode",
                                                "TempRating",
                                                "RatedVoltage",
                                                "Capacitance",
                                                "AppVoltage",
                                                "AppTemp",
                                                "FrLevel",
                                                "EnteredRate",
                                                "TestPieces",
                                                "TestHours",
                                                "TestFailures",
                                                "LifeBias",
                                                "EnvIndex",
                                                "ResListVisible",
                                                "ResIndex",
                                                "PiVDenominatorText",
                                                "PendingNote",
                                                "VoltSteps",
                                                "DecimalIsPoint",
                                                "Base",
                                                "PiT",
                                                "PiV",
                                                "PiCV",
                                                "PiSR",
                                                "PiConst",
                                                "PiQ",
                                                "PiE",
                                                "FailureRate",
                                                "Fit",
                                                "DeratedVoltage",
                                                "TempLimit",
                                                "NoteText",
                                                "SuspendRecalc",
                                                "NoteSeparator",
                                                "InputPrompt"}));
    EXPECT_EQ(r.at("state")->at("PiSR")->number, 0.0659999996);

    const Json& controls = *r.at("controls");
    for (const char* name : {"frmFIT", "optNotice1", "optNotice2", "mnuPrintFF", "line1", "frmMsg",
                             "txtMsg", "frmAbout", "lblTitle", "frmAbout.lblVersion",
                             "lblDescription", "cmdOK", "cmdSysInfo", "Label4", "fmeBias"}) {
        EXPECT_NE(controls.at(name), nullptr) << name;
    }
    EXPECT_EQ(controls.at("optNotice2")->at("value")->boolean, true);
    EXPECT_EQ(controls.at("hscTemp")->at("min")->number, -55);
    EXPECT_EQ(controls.at("lblType")->at("backColor")->string, "#FF0000");
    EXPECT_EQ(controls.at("cmbPiV")->at("index")->number, -1);
    EXPECT_EQ(controls.at("frmAbout")->at("visible")->boolean, false);
    EXPECT_EQ(controls.at("lblVersion")->at("caption")->string.rfind("Version ", 0), 0u);
    EXPECT_EQ(r.at("focus")->string, "txtCap");
    EXPECT_EQ(r.at("ended")->boolean, false);
}

TEST(Report, EventsAreThoseSinceThePreviousReport) {
    const Outcome o = Replay("f1\ndump\ndump\nfocus cmbEnv\nf1\n");
    const auto reports = Reports(o.out);
    ASSERT_EQ(reports.size(), 3u);
    EXPECT_EQ(reports[0].at("events")->text(), R"([{"kind":"help","context":520}])");
    EXPECT_EQ(reports[1].at("events")->text(), "[]");
    EXPECT_EQ(reports[2].at("events")->text(), R"([{"kind":"help","context":650}])");
}

TEST(Report, InputAndMessageBoxesShowTheirAnswers) {
    // The life-test frame is hidden until its level is chosen, so the bias list is reached
    // here as the window will offer it.
    Session session;
    session.window.fmeOther.setVisible(true);
    session.services.queueCancel();
    session.act([&] { session.window.cmbLife.select(5); });
    session.services.queueAnswer("2");
    session.act([&] { session.window.cmbLife.select(5); });
    const auto report = ParseJson(StateJson(session));
    ASSERT_TRUE(report);
    EXPECT_EQ(report->at("events")->text(),
              R"([{"kind":"inputBox","prompt":"Enter DC Bias as a multiple of Rated:",)"
              R"("title":"Odd Life Bias conditions","default":"","answer":null},)"
              R"({"kind":"msgBox","title":"Quarvell","text":"Entry was  ot numeric. )"
              R"(Ignoring entry.","buttons":"OK","answer":"OK"},)"
              R"({"kind":"inputBox","prompt":"Enter DC Bias as a multiple of Rated:",)"
              R"("title":"Odd Life Bias conditions","default":"","answer":"2"}])");
    EXPECT_EQ(report->at("state")->at("LifeBias")->number, 2);
}

TEST(Report, EndedProgramIgnoresLaterActions) {
    const Outcome o = Replay("click cmdQuit\nselect cmbEnv 5\nreply No\ndump\n");
    const auto reports = Reports(o.out);
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[0].at("ended")->boolean, true);
    EXPECT_EQ(reports[0].at("events")->text(),
              R"([{"kind":"msgBox","title":"Quarvell","text":"Are you sure you want to quit?",)"
              R"("buttons":"YesNo","answer":"Yes"},{"kind":"end"}])");
    EXPECT_EQ(reports[0].at("controls")->at("cmbEnv")->at("index")->number, 0);
    EXPECT_EQ(reports[1].at("ended")->boolean, true);
}

TEST(Report, CommaOptionChangesThePlatformsNumbers) {
    const auto period = Reports(Replay("").out);
    const auto comma = Reports(Replay("", true).out);
    EXPECT_EQ(period[0].at("state")->at("DecimalIsPoint")->boolean, true);
    EXPECT_EQ(comma[0].at("state")->at("DecimalIsPoint")->boolean, false);
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
        const auto back = ParseJson(JsonString(c.text));
        ASSERT_TRUE(back);
        EXPECT_EQ(back->string, c.text);
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

TEST(CommandLine, RunsAScriptFileAndRefusesUnknownOptions) {
    const std::string script = ::testing::TempDir() + "quarvell_replay_cli.replay";
    {
        std::ofstream f(script);
        f << "select cmbEnv 1\ndump\n";
    }
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
    EXPECT_EQ(reports[1].at("state")->at("DecimalIsPoint")->boolean, false);

    EXPECT_EQ(run("--colour " + script, out), 2);
    EXPECT_NE(out.find("unknown option"), std::string::npos);
    EXPECT_EQ(run(script + ".missing", out), 2);
    EXPECT_NE(out.find("cannot read"), std::string::npos);
    EXPECT_EQ(run("< /dev/null", out), 0);
    EXPECT_EQ(Reports(out).size(), 1u);
}

}  // namespace
}  // namespace quarvell::replay
