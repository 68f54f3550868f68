// The replay tool's contract: its script errors, its report, and the command line.
#include "tools/replay/replay.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
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
        {"sheet", "needs a file name"},
        {"sheet out.txt", "not \"out.txt\""},
        {"sheet out", ".json, .html or .pdf"},
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

// A file of this test run in the temporary folder.
std::string TempFile(const std::string& name) {
    return ::testing::TempDir() + std::to_string(getpid()) + "_" + name;
}

constexpr const char* kWorkedExample =
    "select cmbType 4\ntype txtCap 10\nenter\ntype txtVolt 10\nenter\ntype txtApp 5\nenter\n"
    "type txtTemp 50\nenter\nselect cmbFR 8\nselect cmbEnv 0\nselect cmbRes 5\n";

std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool Exists(const std::string& path) {
    return std::ifstream(path).good();
}

// Runs a command line and gives its exit status and what it wrote.
int RunCommand(const std::string& command, std::string& out) {
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    out.clear();
    char buf[4096];
    for (std::size_t n; (n = fread(buf, 1, sizeof buf, pipe)) > 0;) {
        out.append(buf, n);
    }
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(SheetAction, WritesTheSheetOfTheResultOnScreenByTheExtension) {
    const std::string dir = ::testing::TempDir();
    const std::string json = dir + "quarvell_replay_sheet.json";
    const std::string html = dir + "quarvell_replay_sheet.HTML";
    std::remove(json.c_str());
    std::remove(html.c_str());
    const Outcome o =
        Replay(std::string(kWorkedExample) + "sheet " + json + "\nsheet " + html + "\n");
    ASSERT_EQ(o.status, 0) << o.err;
    const std::string data = ReadWhole(json);
    EXPECT_NE(data.find("\"fit\": 0.4602408,"), std::string::npos) << data;
    EXPECT_NE(data.find("\"date\": \"2026-01-05\""), std::string::npos) << data;
    EXPECT_EQ(ReadWhole(html).rfind("<!DOCTYPE html>", 0), 0U);
    // The same script writes the same sheet: the date and time are the scripted platform's.
    ASSERT_EQ(Replay(std::string(kWorkedExample) + "wait 60\nsheet " + json + "\n").status, 0);
    EXPECT_NE(ReadWhole(json).find("\"time\": \"10:01\""), std::string::npos);
    std::remove(json.c_str());
    std::remove(html.c_str());
}

TEST(SheetAction, WithoutAResultWritesNothingAndStopsTheRun) {
    const std::string file = ::testing::TempDir() + "quarvell_replay_no_sheet.json";
    std::remove(file.c_str());
    const struct {
        std::string script;
        const char* reason;
    } cases[] = {
        {"type txtCap 10\nenter\n", "no result"},
        // A life test still to be completed is no result either.
        {"type txtCap 10\ntype txtVolt 10\nenter\nselect cmbFR 0\ntype txtHrs 1000\nenter\n",
         "no result"},
        {std::string(kWorkedExample) + "click cmdQuit\nreply Yes\n", "the program has ended"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        const Outcome o = Replay(c.script + "sheet " + file + "\ndump\n");
        EXPECT_EQ(o.status, 2);
        EXPECT_NE(o.err.find("line "), std::string::npos) << o.err;
        EXPECT_NE(o.err.find(c.reason), std::string::npos) << o.err;
        EXPECT_NE(o.err.find("sheet " + file), std::string::npos) << o.err;
        EXPECT_EQ(o.out, "") << "the run stops at the sheet";
        EXPECT_FALSE(Exists(file));
    }
    const std::string unwritable = ::testing::TempDir() + "no/such/folder/sheet.json";
    const Outcome o = Replay(std::string(kWorkedExample) + "sheet " + unwritable + "\n");
    EXPECT_EQ(o.status, 2);
    EXPECT_NE(o.err.find("cannot write"), std::string::npos) << o.err;
}

// The program's PDF, read back as text by poppler's pdftotext: one page whose text holds every
// line of the worked example as the window shows it.
TEST(SheetAction, PdfIsOnePageOfSearchableText) {
    std::string out;
    ASSERT_EQ(RunCommand("pdftotext -v", out), 0) << "pdftotext (poppler-utils) is needed: " << out;
    const std::string dir = ::testing::TempDir();
    const std::string script = dir + "quarvell_replay_pdf.replay";
    const std::string pdf = dir + "quarvell_replay_sheet.pdf";
    std::remove(pdf.c_str());
    std::ofstream(script) << kWorkedExample << "sheet " << pdf << "\n";
    ASSERT_EQ(RunCommand(std::string(QUARVELL_REPLAY_BINARY) + " " + script, out), 0) << out;
    ASSERT_EQ(RunCommand("pdfinfo " + pdf, out), 0) << out;
    EXPECT_NE(out.find("Pages:           1\n"), std::string::npos) << out;
    EXPECT_TRUE(out.find("(A4)") != std::string::npos || out.find("(letter)") != std::string::npos)
        << out;
    ASSERT_EQ(RunCommand("pdftotext -layout " + pdf + " -", out), 0) << out;
    for (const char* text : {
             "Calculation sheet: 10.1f Tantalum(Solid-Chip)",
             "MIL-HDBK-217F Notice 2",
             "Quarvell 1.0.0, 2026-01-05 10:00",
             "10 \u00B5F",
             "1.000%/kPcHr Exponent 'M'",
             "(<0.1 Ohms/V)",
             "exp[-Ea/k \u00D7 (1/T - 1/298)]",
             "exp[-0.15/8.617E-5 \u00D7 (1/323 - 1/298)]",
             "1.572",
             "(0.5/0.6)^17 + 1",
             "1.045",
             "10^0.23",
             "1.698",
             "0.4602 per 10^9 h",
             "0.460 Parts/BPc-Hr",
             "2.2 Billion-Hrs",
             "2.173E+09 h",
             "10.12 Tantalum(Solid-Leaded)",
             "29.32",
         }) {
        EXPECT_NE(out.find(text), std::string::npos) << text << "\nin\n" << out;
    }
    std::remove(pdf.c_str());
    std::remove(script.c_str());
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
    const std::string csv = ReadWhole(path);
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
        EXPECT_EQ(ReadWhole(path), "kept");
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
