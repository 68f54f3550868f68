#include "print/print_menu.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "platform/scripted_services.h"

namespace quarvell::print {
namespace {

TEST(PrintResults, PrintsOnlyAUsableResultAndSaysNothingOtherwise) {
    const struct {
        const char* what;
        float capacitance;
        float ratedVoltage;
        float fit;
        bool usable;
    } cases[] = {
        {"fresh state", 0, 0, 0, false},
        {"a result", 10, 50, 0.1234F, true},
        {"zero FIT", 10, 50, 0, false},
        {"zero capacitance", 0, 50, 3.5F, false},
        {"zero rated voltage", 10, 0, 3.5F, false},
        {"negative zero capacitance", -0.0F, 50, 3.5F, false},
        {"negative product", -10, 50, 3.5F, true},
        {"negative FIT", 10, 50, -3.5F, false},
        {"infinite FIT", 10, 50, std::numeric_limits<float>::infinity(), false},
        // 1e-50 is not zero in double precision but vanishes in single precision.
        {"product below single precision", 1e-30F, 1e-20F, 3.5F, false},
        {"tiny product", 1e-20F, 1e-10F, 3.5F, true},
        {"product beyond single precision", 3e38F, 10, 3.5F, true},
        {"smallest FIT", 10, 50, std::numeric_limits<float>::denorm_min(), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        model::CalcState state;
        state.in.Capacitance = c.capacitance;
        state.in.RatedVoltage = c.ratedVoltage;
        state.out.Fit = c.fit;
        state.out.Usable = true;  // as the recalculation that left this FIT would say
        EXPECT_EQ(HasUsableResult(state), c.usable);
        state.out.Usable = false;  // a recalculation that did not run to its end
        EXPECT_FALSE(HasUsableResult(state));
        state.out.Usable = true;

        platform::ScriptedPrinter printer([](const platform::ServiceEvent&) {});
        mnuPrintResults_Click(state, printer);
        const std::vector<std::string> printed = {"unit inches", "position 0.250000 0.250000",
                                                  "print window"};
        EXPECT_EQ(printer.calls(), c.usable ? printed : std::vector<std::string>{});
    }
}

// Needs no result: the printer can be chosen straight after start.
TEST(PrintSetup, SendsTheDocumentInProgressThenOpensTheDialog) {
    platform::ScriptedPrinter printer([](const platform::ServiceEvent&) {});
    mnuPrintSetup_Click(printer);
    mnuPrintSetup_Click(printer);
    EXPECT_EQ(printer.calls(), (std::vector<std::string>{"end document", "print setup",
                                                         "end document", "print setup"}));
}

}  // namespace
}  // namespace quarvell::print
