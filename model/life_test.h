#pragma once
// What a life test says about the failure rate beyond its point estimate: one-sided upper
// bounds from the chi-square distribution, rate <= chi2(confidence; 2r + 2) / (2 T) with T the
// piece-hours at the rated voltage (pieces x hours x bias^3). A test without failures, which
// gives no point estimate, still bounds the rate.

#include <optional>

#include "model/engine.h"

namespace quarvell::model {

struct RateBound {
    double confidence = 0;  // 0.6 or 0.9
    float rate = 0;         // %/kPcHr
};

struct LifeTestBounds {
    RateBound upper60;
    RateBound upper90;
};

// Nothing for a test without positive pieces and hours, negative or fractional failures
// included, or with bounds that are not finite singles.
std::optional<LifeTestBounds> UpperBounds(const LifeTest& test);

// The part evaluated as if its quality were the bound's rate: the PI(Q) and FIT the bound gives.
Evaluation EvaluateAtRate(const Part& part, float rate);

}  // namespace quarvell::model
