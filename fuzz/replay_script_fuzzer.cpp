// Replay scripts: whatever the script, the calculator never ends up holding a value that is not
// finite, and never shows "nan" or "inf" in a control, the message window, the About box or a
// message, prompt or input box. A script is run as the replay tool runs it: checked whole, then
// action by action, with its dumps written.
//
// Input: a settings byte (bit 0: decimal comma), then the script.
//
// The scripted platform prints, starts programs and answers boxes without touching any file;
// should an action ever write one, it lands in the private temporary folder the harness works
// in, never in the tree it was started from.

#include <unistd.h>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "tools/replay/replay.h"

namespace {

using quarvell::fuzz::Require;
using quarvell::fuzz::ShowsNonFinite;
namespace platform = quarvell::platform;
namespace replay = quarvell::replay;

void RequireFinite(const quarvell::model::CalcState& s) {
    const auto& in = s.in;
    const auto& out = s.out;
    const struct {
        const char* name;
        float value;
    } values[] = {
        {"RatedVoltage", in.RatedVoltage},
        {"Capacitance", in.Capacitance},
        {"AppVoltage", in.AppVoltage},
        {"AppTemp", in.AppTemp},
        {"EnteredRate", in.EnteredRate},
        {"TestPieces", in.TestPieces},
        {"TestHours", in.TestHours},
        {"TestFailures", in.TestFailures},
        {"LifeBias", in.LifeBias},
        {"Base", out.Base},
        {"PiT", out.PiT},
        {"PiV", out.PiV},
        {"PiCV", out.PiCV},
        {"PiSR", out.PiSR},
        {"PiConst", out.PiConst},
        {"PiQ", out.PiQ},
        {"PiE", out.PiE},
        {"FailureRate", out.FailureRate},
        {"Fit", out.Fit},
        {"DeratedVoltage", out.DeratedVoltage},
    };
    for (const auto& v : values) {
        Require(std::isfinite(v.value), "every value of the calculator state is finite", v.name);
    }
}

void AddTexts(std::vector<std::string_view>& texts, const platform::Control& c) {
    texts.push_back(c.tooltip());
    switch (c.kind()) {
        case platform::ControlKind::Label:
            texts.push_back(static_cast<const platform::Label&>(c).caption());
            break;
        case platform::ControlKind::TextBox:
            texts.push_back(static_cast<const platform::TextBox&>(c).text());
            break;
        case platform::ControlKind::ComboBox: {
            const auto& list = static_cast<const platform::ComboBox&>(c);
            texts.push_back(list.text());
            texts.insert(texts.end(), list.items().begin(), list.items().end());
            break;
        }
        case platform::ControlKind::OptionButton:
            texts.push_back(static_cast<const platform::OptionButton&>(c).caption());
            break;
        case platform::ControlKind::Frame:
            texts.push_back(static_cast<const platform::Frame&>(c).caption());
            break;
        case platform::ControlKind::Button:
            texts.push_back(static_cast<const platform::Button&>(c).caption());
            break;
        case platform::ControlKind::MenuItem:
            texts.push_back(static_cast<const platform::MenuItem&>(c).caption());
            break;
        case platform::ControlKind::Form:
            texts.push_back(static_cast<const platform::Form&>(c).caption());
            break;
        case platform::ControlKind::ScrollBar:
            break;
    }
}

// Everything the user can read: the controls of every window and every box shown so far.
void RequireNothingNonFiniteShown(replay::Session& session) {
    std::vector<std::string_view> texts;
    auto& w = session.window;
    for (const platform::Control* c : w.controls()) {
        AddTexts(texts, *c);
    }
    const platform::Control* others[] = {
        &w.frmMsg.form,         &w.frmMsg.txtMsg,           &w.frmAbout.lblTitle,
        &w.frmAbout.lblVersion, &w.frmAbout.lblDescription, &w.frmAbout.cmdOK,
        &w.frmAbout.cmdSysInfo};
    for (const platform::Control* c : others) {
        AddTexts(texts, *c);
    }
    texts.push_back(w.frmAbout.caption());
    for (const platform::ServiceEvent& e : session.services.events()) {
        texts.push_back(e.title);
        texts.push_back(e.text);
        texts.push_back(e.defaultAnswer);
    }
    for (const std::string_view text : texts) {
        Require(!ShowsNonFinite(text), "nothing on screen shows nan or inf", text);
    }
}

// The harness works in a temporary folder of its own. libFuzzer's paths (the corpus, the
// dictionary, where a crashing input goes) are made absolute first, so that they still name
// what they named from where it was started.
std::vector<std::string> AbsolutePaths(int argc, char** argv) {
    const std::string start = std::filesystem::current_path().string() + "/";
    const auto absolute = [&](std::string path) {
        return !path.empty() && path[0] != '/' ? start + path : path;
    };
    const std::string_view pathFlags[] = {
        "-artifact_prefix=",    "-exact_artifact_path=", "-dict=",
        "-merge_control_file=", "-features_dir=",        "-mutation_graph_file=",
    };
    std::vector<std::string> args{argv[0]};
    bool artifactPrefix = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg.empty() || arg[0] != '-') {
            arg = absolute(arg);
        }
        for (const std::string_view flag : pathFlags) {
            if (arg.starts_with(flag)) {
                arg = std::string(flag) + absolute(arg.substr(flag.size()));
                artifactPrefix = artifactPrefix || flag == "-artifact_prefix=";
            }
        }
        args.push_back(std::move(arg));
    }
    if (!artifactPrefix) {
        args.push_back("-artifact_prefix=" + start);
    }
    return args;
}

std::string& TemporaryFolder() {
    static std::string folder;
    return folder;
}

void WorkInTemporaryFolder() {
    std::string& folder = TemporaryFolder();
    folder = std::filesystem::temp_directory_path() / "quarvell-replay-XXXXXX";
    if (mkdtemp(folder.data()) == nullptr || chdir(folder.c_str()) != 0 ||
        setenv("TMPDIR", folder.c_str(), 1) != 0) {
        std::perror("replay_script_fuzzer: temporary folder");
        std::abort();
    }
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(TemporaryFolder(), ignored);
    });
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static std::vector<std::string> args = AbsolutePaths(*argc, *argv);
    static std::vector<char*> pointers;
    for (std::string& arg : args) {
        pointers.push_back(arg.data());
    }
    pointers.push_back(nullptr);
    *argc = static_cast<int>(args.size());
    *argv = pointers.data();
    WorkInTemporaryFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    quarvell::fuzz::Input input(data, size);
    const bool comma = (input.take() & 1) != 0;
    replay::Session session(comma ? quarvell::model::kCommaLocale : quarvell::model::kPeriodLocale);

    // Checked whole first, as the tool does: a bad line runs nothing.
    std::vector<replay::Action> actions;
    std::istringstream script{std::string(input.rest())};
    std::string line;
    // What the user typed or answered shows as typed; only the program's own texts count.
    bool typedNonFinite = false;
    for (int number = 1; std::getline(script, line); ++number) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        replay::ParsedLine parsed = replay::ParseLine(line, number, session);
        if (parsed.error) {
            return 0;
        }
        if (parsed.action) {
            typedNonFinite = typedNonFinite || ShowsNonFinite(parsed.action->text);
            actions.push_back(std::move(*parsed.action));
        }
    }
    for (const replay::Action& a : actions) {
        if (a.kind == replay::Action::Kind::Dump) {
            replay::StateJson(session);
        } else {
            session.act([&] { replay::Perform(session, a); });
        }
        RequireFinite(session.window.state());
    }
    replay::StateJson(session);
    if (!typedNonFinite) {
        RequireNothingNonFiniteShown(session);
    }
    return 0;
}
