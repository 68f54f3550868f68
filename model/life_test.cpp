#include "model/life_test.h"

#include <boost/math/distributions/chi_squared.hpp>
#include <cmath>
#include <limits>

namespace quarvell::model {

namespace {

// Failures per piece-hour turned into percent per 1000 piece-hours.
constexpr double kPercentPerThousandHours = 1e5;

std::optional<float> Bound(double confidence, double failures, double pieceHours) {
    const boost::math::chi_squared_distribution<double> chi2(2 * failures + 2);
    const double rate =
        boost::math::quantile(chi2, confidence) / (2 * pieceHours) * kPercentPerThousandHours;
    if (!(std::fabs(rate) <= std::numeric_limits<float>::max())) {
        return std::nullopt;
    }
    return static_cast<float>(rate);
}

}  // namespace

std::optional<LifeTestBounds> UpperBounds(const LifeTest& test) {
    const double bias = test.bias;
    const double pieceHours = static_cast<double>(test.pieces) * test.hours * bias * bias * bias;
    const double failures = test.failures;
    if (!(test.pieces > 0) || !(test.hours > 0) || !(bias > 0) || !(pieceHours > 0) ||
        !std::isfinite(pieceHours) || !(failures >= 0) || failures != std::floor(failures) ||
        failures > 1e9) {
        return std::nullopt;
    }
    const std::optional<float> at60 = Bound(0.6, failures, pieceHours);
    const std::optional<float> at90 = Bound(0.9, failures, pieceHours);
    if (!at60 || !at90) {
        return std::nullopt;
    }
    return LifeTestBounds{{0.6, *at60}, {0.9, *at90}};
}

Evaluation EvaluateAtRate(const Part& part, float rate) {
    Part atRate = part;
    atRate.quality.kind = Quality::Kind::Rate;
    atRate.quality.rate = rate;
    return Evaluate(atRate);
}

}  // namespace quarvell::model
