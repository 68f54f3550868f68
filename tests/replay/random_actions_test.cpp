// Thousands of random user actions from the replay vocabulary, seeded so that a failure can be
// reproduced: after each, nothing has crashed and no visible text shows "nan" or "inf".
#include <gtest/gtest.h>

#include <cctype>
#include <deque>
#include <random>
#include <string>
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

bool HoldsNonNumberWord(const std::string& text) {
    for (std::size_t i = 0; i + 3 <= text.size(); ++i) {
        const auto lower = [&](std::size_t k) {
            return static_cast<char>(std::tolower(static_cast<unsigned char>(text[k])));
        };
        const std::string word = {lower(i), lower(i + 1), lower(i + 2)};
        if (word != "nan" && word != "inf") {
            continue;
        }
        const bool letterBefore = i > 0 && std::isalpha(static_cast<unsigned char>(text[i - 1]));
        const bool letterAfter =
            i + 3 < text.size() && std::isalpha(static_cast<unsigned char>(text[i + 3]));
        if (!letterBefore && !letterAfter) {
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
        switch (c->kind()) {
            case ControlKind::Label:
                texts.push_back(static_cast<const platform::Label*>(c)->caption());
                break;
            case ControlKind::TextBox:
                texts.push_back(static_cast<const platform::TextBox*>(c)->text());
                break;
            case ControlKind::ComboBox: {
                const auto* l = static_cast<const platform::ComboBox*>(c);
                texts = l->items();
                texts.push_back(l->text());
                break;
            }
            case ControlKind::Frame:
                texts.push_back(static_cast<const platform::Frame*>(c)->caption());
                break;
            case ControlKind::Form:
                texts.push_back(static_cast<const platform::Form*>(c)->caption());
                break;
            default:
                break;
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
    explicit RandomScript(unsigned seed) : rng_(seed) {}

    std::string next(const Session& session) {
        const window::FrmFit& w = session.window;
        std::vector<const Control*> lists, fields, focusable, bars, clickable;
        for (const Control* c : w.controls()) {
            switch (c->kind()) {
                case ControlKind::ComboBox:
                    lists.push_back(c);
                    if (static_cast<const platform::ComboBox*>(c)->editable()) {
                        fields.push_back(c);
                    }
                    break;
                case ControlKind::TextBox:
                    fields.push_back(c);
                    break;
                case ControlKind::ScrollBar:
                    bars.push_back(c);
                    break;
                case ControlKind::Button:
                case ControlKind::MenuItem:
                case ControlKind::OptionButton:
                    clickable.push_back(c);
                    break;
                case ControlKind::Label:
                    if (c == &w.lblBase) {
                        clickable.push_back(c);
                    }
                    break;
                default:
                    break;
            }
        }
        for (const Control* c : w.focus().controls()) {
            focusable.push_back(c);
        }
        const auto pick = [&](const auto& v) { return v[below(v.size())]; };
        const auto key = [&](const Control* c) { return window::ControlKey(*c); };

        switch (below(17)) {
            case 0:
            case 1:
            case 2: {
                const auto* l = static_cast<const platform::ComboBox*>(pick(lists));
                return "select " + key(l) + " " + std::to_string(below(l->items().size() + 1));
            }
            case 3:
                return "select optNotice " + std::to_string(1 + below(2));
            case 4:
            case 5:
                return "type " + key(pick(fields)) + " " + pick(kTexts);
            case 6:
                return "focus " + key(pick(focusable));
            case 7: {
                const int v = static_cast<int>(below(400)) - 100;
                return "scroll " + key(pick(bars)) + " " + std::to_string(v);
            }
            case 8: {
                static const std::vector<std::string> about = {"cmdOK", "cmdSysInfo"};
                return "click " + (below(4) == 0 ? pick(about) : key(pick(clickable)));
            }
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
            case 14: {
                static const std::vector<std::string> replies = {"Yes", "No", "OK"};
                // Mostly No: a quit ends the run early.
                return "reply " + (below(5) == 0 ? pick(replies) : std::string("No"));
            }
            case 15:
                return "wait " + std::to_string(below(9));
            default:
                return "dump";
        }
    }

  private:
    std::size_t below(std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng_);
    }

    std::mt19937 rng_;
};

TEST(RandomActions, NothingCrashesAndNoNonNumberShows) {
    constexpr unsigned kSeed = 20240607;
    constexpr int kActions = 4000;
    RandomScript script(kSeed);
    auto session = std::make_unique<Session>();
    std::deque<std::string> recent;
    int sessions = 1;
    for (int i = 0; i < kActions; ++i) {
        if (session->ended()) {
            session = std::make_unique<Session>(sessions % 2 == 0 ? platform::kPeriodLocale
                                                                  : platform::kCommaLocale);
            ++sessions;
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
    EXPECT_GE(sessions, 1);
}

TEST(RandomActions, NonNumberWordsAreFoundOnlyAsWords) {
    EXPECT_TRUE(HoldsNonNumberWord("nan"));
    EXPECT_TRUE(HoldsNonNumberWord("PI(T) = -inf"));
    EXPECT_TRUE(HoldsNonNumberWord("1.#INF Parts"));
    EXPECT_TRUE(HoldsNonNumberWord("NaN Hrs"));
    EXPECT_FALSE(HoldsNonNumberWord("&System Info..."));
    EXPECT_FALSE(HoldsNonNumberWord("Maintenance"));
    EXPECT_FALSE(HoldsNonNumberWord("Out of range"));
}

}  // namespace
}  // namespace quarvell::replay
