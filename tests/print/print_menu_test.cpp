#include "print/print_menu.h"

#include <gtest/gtest.h>

#include <limits>
#include <ostream>
#include <string>
#include <vector>

namespace quarvell::print {
namespace {

class RecordingPrinter : public platform::Printer {
  public:
    void setUnitInches() override { calls.push_back("unit inches"); }
    void setPrintPosition(double left, double top) override {
        calls.push_back("position " + std::to_string(left) + " " + std::to_string(top));
    }
    void printWindow() override { calls.push_back("print window"); }
    void endDocument() override { calls.push_back("end document"); }
    void showPrintSetup() override { calls.push_back("print setup"); }

    std::vector<std::string> calls;
};

model::CalcState StateWith(float capacitance, float ratedVoltage, float fit) {
    model::CalcState s;
    s.in.Capacitance = capacitance;
    s.in.RatedVoltage = ratedVoltage;
    s.out.Fit = fit;
    return s;
}

struct ResultCase {
    const char* what;
    float capacitance;
    float ratedVoltage;
    float fit;
    bool usable;
};

void PrintTo(const ResultCase& c, std::ostream* os) {
    *os << c.what;
}

class ResultCheck : public testing::TestWithParam<ResultCase> {};

TEST_P(ResultCheck, PrintsOnlyAUsableResultAndSaysNothingOtherwise) {
    const ResultCase& c = GetParam();
    const model::CalcState state = StateWith(c.capacitance, c.ratedVoltage, c.fit);
    EXPECT_EQ(HasUsableResult(state), c.usable);

    RecordingPrinter printer;
    mnuPrintResults_Click(state, printer);
    if (c.usable) {
        EXPECT_EQ(printer.calls, (std::vector<std::string>{
                                     "unit inches", "position 0.250000 0.250000", "print window"}));
    } else {
        EXPECT_TRUE(printer.calls.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ResultCheck,
    testing::Values(ResultCase{"FreshState", 0, 0, 0, false},
                    ResultCase{"WorkedExample", 10, 50, 0.1234f, true},
                    ResultCase{"ZeroFit", 10, 50, 0, false},
                    ResultCase{"ZeroCapacitance", 0, 50, 3.5f, false},
                    ResultCase{"ZeroRatedVoltage", 10, 0, 3.5f, false},
                    ResultCase{"NegativeZeroCapacitance", -0.0f, 50, 3.5f, false},
                    ResultCase{"NegativeProduct", -10, 50, 3.5f, true},
                    ResultCase{"NegativeFit", 10, 50, -3.5f, true},
                    // 1e-50 is not zero in double but vanishes in single precision.
                    ResultCase{"ProductUnderflowsAFloat", 1e-30f, 1e-20f, 3.5f, false},
                    ResultCase{"TinyProduct", 1e-20f, 1e-10f, 3.5f, true},
                    ResultCase{"ProductOverflowsAFloat", 3e38f, 10, 3.5f, true},
                    ResultCase{"SmallestFit", 10, 50, std::numeric_limits<float>::denorm_min(),
                               true}),
    [](const testing::TestParamInfo<ResultCase>& p) { return std::string(p.param.what); });

// Needs no result: the printer can be chosen straight after start.
TEST(PrintSetup, SendsTheDocumentInProgressThenOpensTheDialog) {
    RecordingPrinter printer;
    mnuPrintSetup_Click(printer);
    mnuPrintSetup_Click(printer);
    EXPECT_EQ(printer.calls, (std::vector<std::string>{"end document", "print setup",
                                                       "end document", "print setup"}));
}

}  // namespace
}  // namespace quarvell::print
