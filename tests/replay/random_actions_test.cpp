// Thousands of random user actions from the replay vocabulary, seeded so that a failure can be
// reproduced: after each, nothing has crashed and no visible text shows "nan" or "inf", nor does
// any calculation sheet written along the way; sheets and curves are written (only under a
// temporary folder) exactly when there is a result to write.
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <random>
#include <regex>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "tools/replay/replay.h"

namespace quarvell::replay {
namespace {

using platform::Control;
using platform::ControlKind;

// Texts a user might type or answer. None spells "nan" or "inf" itself, so any such word on
// screen comes from the program.
const std::vector<std::string> kTexts = {
    "",       "0",      "-1",    "10",      "25",      "6.3",   "47",   "1e38", "-1e38", "1e-45",
    "3.4e39", "1e400",  "abc",   "1,000.5", "0,5",     "0.45",  "1.1",  " 50 ", "130",   "-60",
    ".",      "-",      "1E3",   "0.5",     "32767",   "65536", "12.5", "2",    "x1",    "1e-9",
    "-273",   "-272.6", "32494", "32495",   "16383.5", "0.25",  "150",  "1000", "100",   "1"};
const std::string kKeys = "0123456789.,-+eECRTVHPFx ";

// "nan" or "inf" in any case, between characters that are not letters.
bool HoldsNonNumberWord(std::string_view text) {
    const auto lower = [](char c) { return static_cast<char>(c | 0x20); };
    const auto letter = [&](std::size_t i) {
        return i < text.size() && lower(text[i]) >= 'a' && lower(text[i]) <= 'z';
    };
    const auto is = [&](std::size_t i, const char* word) {
        return lower(text[i]) == word[0] && lower(text[i + 1]) == word[1] &&
               lower(text[i + 2]) == word[2];
    };
    for (std::size_t i = 0; i + 3 <= text.size(); ++i) {
        if ((is(i, "nan") || is(i, "inf")) && (i == 0 || !letter(i - 1)) && !letter(i + 3)) {
            return true;
        }
    }
    return false;
}

// The first visible text that shows a non-number, or "".
std::string NonNumberOnScreen(const window::FrmFit& w) {
    std::vector<const Control*> controls(w.controls().begin(), w.controls().end());
    controls.push_back(&w.frmMsg.form);
    controls.push_back(&w.frmMsg.txtMsg);
    for (const Control* c : controls) {
        if (!c->isShown() && c != &w.frmMsg.txtMsg) {
            continue;
        }
        std::vector<std::string> texts;
        if (const auto* l = dynamic_cast<const platform::Label*>(c)) {
            texts = {l->caption()};
        } else if (const auto* t = dynamic_cast<const platform::TextBox*>(c)) {
            texts = {t->text()};
        } else if (const auto* b = dynamic_cast<const platform::ComboBox*>(c)) {
            texts = b->items();
            texts.push_back(b->text());
        } else if (const auto* f = dynamic_cast<const platform::Frame*>(c)) {
            texts = {f->caption()};
        } else if (const auto* form = dynamic_cast<const platform::Form*>(c)) {
            texts = {form->caption()};
        }
        for (const std::string& t : texts) {
            if (HoldsNonNumberWord(t)) {
                return window::ControlKey(*c) + ": " + t;
            }
        }
    }
    return "";
}

class RandomScript {
  public:
    RandomScript(unsigned seed, std::filesystem::path sheets)
        : rng_(seed), sheets_(std::move(sheets)) {}

    std::string next(const Session& session) {
        const window::FrmFit& w = session.window;
        std::map<ControlKind, std::vector<std::string>> byKind;
        std::vector<std::string> fields, focusable;
        for (const Control* c : w.controls()) {
            byKind[c->kind()].push_back(window::ControlKey(*c));
            const auto* list = dynamic_cast<const platform::ComboBox*>(c);
            if (c->kind() == ControlKind::TextBox || (list != nullptr && list->editable())) {
                fields.push_back(window::ControlKey(*c));
            }
        }
        for (const Control* c : w.focus().controls()) {
            focusable.push_back(window::ControlKey(*c));
        }
        std::vector<std::string> clickable = {"cmdOK", "cmdSysInfo", "lblBase"};
        for (ControlKind k :
             {ControlKind::Button, ControlKind::MenuItem, ControlKind::OptionButton}) {
            clickable.insert(clickable.end(), byKind[k].begin(), byKind[k].end());
        }
        const auto pick = [&](const std::vector<std::string>& v) { return v[below(v.size())]; };

        switch (below(19)) {
            case 0:
            case 1:
            case 2: {
                const std::string list = pick(byKind[ControlKind::ComboBox]);
                const auto* c = dynamic_cast<const platform::ComboBox*>(w.find(list));
                return "select " + list + " " + std::to_string(below(c->items().size() + 1));
            }
            case 3:
                return "select optNotice " + std::to_string(1 + below(2));
            case 4:
            case 5:
                return "type " + pick(fields) + " " + pick(kTexts);
            case 6:
                return "focus " + pick(focusable);
            case 7:
                return "scroll " + pick(byKind[ControlKind::ScrollBar]) + " " +
                       std::to_string(static_cast<int>(below(400)) - 100);
            case 8:
                return "click " + pick(clickable);
            case 9:
                return std::string("key ") + kKeys[below(kKeys.size())];
            case 10:
                return "enter";
            case 11:
                return "tab";
            case 12:
                return "f1";
            case 13:
                return below(3) == 0 ? "cancel" : "answer " + pick(kTexts);
            case 14:
                // Mostly No: a quit ends the run early.
                return "reply " + (below(5) == 0 ? pick({"Yes", "No", "OK"}) : "No");
            case 15:
                return "wait " + std::to_string(below(9));
            case 16:
                return "sheet " +
                       (sheets_ / (below(2) == 0 ? "sheet.json" : "sheet.html")).string();
            case 17:
                return "curves " + (sheets_ / "curves.csv").string();
            default:
                return "dump";
        }
    }

  private:
    std::size_t below(std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng_);
    }

    std::mt19937 rng_;
    std::filesystem::path sheets_;
};

std::string ReadWhole(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(RandomActions, NothingCrashesAndNoNonNumberShows) {
    constexpr unsigned kSeed = 20240607;
    constexpr int kActions = 4000;
    const std::filesystem::path sheets =
        std::filesystem::path(::testing::TempDir()) / "quarvell_random_sheets";
    std::filesystem::remove_all(sheets);
    std::filesystem::create_directories(sheets);
    RandomScript script(kSeed, sheets);
    int sheetsWritten = 0;
    auto session = std::make_unique<Session>();
    std::deque<std::string> recent;
    int sessions = 1;
    for (int i = 0; i < kActions; ++i) {
        if (session->ended()) {
            session = std::make_unique<Session>(sessions++ % 2 == 0 ? model::kPeriodLocale
                                                                    : model::kCommaLocale);
            recent.clear();
        }
        const std::string line = script.next(*session);
        recent.push_back(line);
        if (recent.size() > 25) {
            recent.pop_front();
        }
        const ParsedLine parsed = ParseLine(line, i + 1, *session);
        ASSERT_FALSE(parsed.error) << line << ": " << parsed.error->message;
        if (parsed.action->kind == Action::Kind::Dump) {
            StateJson(*session);
        } else if (parsed.action->kind == Action::Kind::Sheet) {
            const std::filesystem::path file = parsed.action->text;
            std::filesystem::remove(file);
            const bool hasSheet = session->window.hasSheet();
            std::optional<std::string> error;
            session->act([&] { error = Perform(*session, *parsed.action); });
            ASSERT_EQ(!error, hasSheet) << line << ": " << error.value_or("written");
            ASSERT_EQ(std::filesystem::exists(file), hasSheet) << line;
            if (hasSheet) {
                ++sheetsWritten;
                const std::string text = ReadWhole(file);
                ASSERT_FALSE(HoldsNonNumberWord(text)) << "action " << i + 1 << ": " << text;
            }
        } else if (parsed.action->kind == Action::Kind::Curves) {
            const std::string error = WriteCurves(*session, parsed.action->text);
            ASSERT_EQ(error.empty(), model::Usable(session->window.evaluation())) << error;
        } else {
            session->act([&] { Perform(*session, *parsed.action); });
        }
        const std::string bad = NonNumberOnScreen(session->window);
        if (!bad.empty()) {
            std::string history;
            for (const std::string& r : recent) {
                history += "  " + r + "\n";
            }
            FAIL() << "action " << i + 1 << " (seed " << kSeed << ") shows " << bad
                   << "\nlast actions of this session:\n"
                   << history;
        }
    }
    EXPECT_GT(sheetsWritten, 0) << "no sheet was written: the run tests none";
    std::filesystem::remove_all(sheets);
}

TEST(RandomActions, NonNumberWordsAreFoundOnlyAsWords) {
    for (const char* text : {"nan", "PI(T) = -inf", "1.#INF Parts", "NaN Hrs"}) {
        EXPECT_TRUE(HoldsNonNumberWord(text)) << text;
    }
    for (const char* text : {"&System Info...", "Maintenance", "Out of range"}) {
        EXPECT_FALSE(HoldsNonNumberWord(text)) << text;
    }
}

}  // namespace
}  // namespace quarvell::replay
