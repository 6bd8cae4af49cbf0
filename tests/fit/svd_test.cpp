#include "fit/svd.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <random>
#include <vector>

#include "fit/models.h"

namespace qf {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr std::string_view kNoConvergenceLine = "no convergence in 30 svdcmp iterations\r\n";

// A design matrix given row by row: the abscissa handed to the basis is the
// 1-based row number, so a test controls every element of the matrix.
const std::vector<std::vector<double>>* gDesign = nullptr;

void tableBasis(double u, double* phi, int m) {
    const std::vector<double>& row = (*gDesign)[static_cast<std::size_t>(u) - 1];
    for (int k = 1; k <= m; ++k) phi[k] = row[static_cast<std::size_t>(k) - 1];
}

void constantTwiceThenLinear(double u, double* phi, int) {
    phi[1] = 1.0;
    phi[2] = 1.0;
    phi[3] = u;
}

class SvdTest : public ::testing::Test {
protected:
    // Large (two 129 x 129 matrices), so kept off the stack.
    std::unique_ptr<SvdFitWork> owner = std::make_unique<SvdFitWork>();
    SvdFitWork& work = *owner;

    void setPoints(const std::vector<double>& x, const std::vector<double>& y) {
        for (std::size_t i = 0; i < x.size(); ++i) {
            work.xData[i + 1] = x[i];
            work.yData[i + 1] = y[i];
            work.sigma[i + 1] = 1.0;
        }
    }

    void fitTable(const std::vector<std::vector<double>>& design, const std::vector<double>& y) {
        gDesign = &design;
        std::vector<double> rows;
        for (std::size_t i = 1; i <= design.size(); ++i) rows.push_back(static_cast<double>(i));
        setPoints(rows, y);
        svdFit(work, static_cast<int>(design.size()), static_cast<int>(design[0].size()),
               tableBasis);
    }

    // Stale values from an earlier, larger problem must never leak into a fit.
    void poisonWork() {
        work.uMatrix.fill(kNaN);
        work.vMatrix.fill(kNaN);
        work.wValues.fill(kNaN);
        work.rv1.fill(kNaN);
        work.tmp.fill(kNaN);
        work.rhs.fill(kNaN);
        work.coef.fill(kNaN);
    }

    int zeroSingularValues(int m) const {
        int zeros = 0;
        for (int k = 1; k <= m; ++k) zeros += work.wValues[k] == 0.0;
        return zeros;
    }
};

TEST(Hypot2, MatchesTheEuclideanNormWithoutOverflowOrUnderflow) {
    struct Case {
        double a, b, expected;
    };
    const Case cases[] = {
        {3.0, 4.0, 5.0},
        {-4.0, 3.0, 5.0},
        {4.0, -3.0, 5.0},
        {0.0, 0.0, 0.0},
        {-0.0, 0.0, 0.0},
        {0.0, -2.5, 2.5},
        {7.0, 0.0, 7.0},
        {1e200, 1e200, 1e200 * std::sqrt(2.0)},     // squares would overflow
        {1e-200, 1e-200, 1e-200 * std::sqrt(2.0)},  // squares would underflow
        {1.0, kInf, kInf},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "hypot2(" << c.a << ", " << c.b << ")");
        EXPECT_DOUBLE_EQ(hypot2(c.a, c.b), c.expected);
        EXPECT_DOUBLE_EQ(hypot2(c.b, c.a), c.expected);
    }
    // Only a = b = 0 gives 0: a NaN must not be swallowed.
    EXPECT_TRUE(std::isnan(hypot2(kNaN, 0.0)));
    EXPECT_TRUE(std::isnan(hypot2(0.0, kNaN)));
}

TEST_F(SvdTest, AddSolverErrorAppendsOneCrLfLinePerCall) {
    addSolverError(work, "first");
    addSolverError(work, "second");
    EXPECT_EQ(work.errorText, "first\r\nsecond\r\n");
    EXPECT_EQ(work.errorCount, 2);
}

TEST_F(SvdTest, ExactlyDeterminedParabolaIsReproduced) {
    // y = 2 - 3x + 0.5x^2 through three points, N = M = 3.
    setPoints({-1.0, 0.5, 2.0}, {5.5, 0.625, -2.0});
    svdFit(work, 3, 3, polynomialBasis);
    EXPECT_EQ(work.errorCount, 0);
    EXPECT_NEAR(work.coef[1], 2.0, 1e-14);
    EXPECT_NEAR(work.coef[2], -3.0, 1e-14);
    EXPECT_NEAR(work.coef[3], 0.5, 1e-14);
}

TEST_F(SvdTest, MoreCoefficientsThanPointsGivesTheMinimumNormSolution) {
    // N = 2, degree 5: A is 2 x 6 of full row rank, so the minimum-norm
    // solution is A^T (A A^T)^-1 y.
    const double x[] = {0.3, -0.7};
    const double y[] = {1.25, -0.5};
    poisonWork();
    setPoints({x[0], x[1]}, {y[0], y[1]});
    svdFit(work, 2, 6, polynomialBasis);
    ASSERT_EQ(work.errorCount, 0) << work.errorText;
    EXPECT_EQ(zeroSingularValues(6), 4);

    double a[2][6];
    for (int i = 0; i < 2; ++i)
        for (int k = 0; k < 6; ++k) a[i][k] = std::pow(x[i], k);
    double g[2][2] = {};
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 2; ++j)
            for (int k = 0; k < 6; ++k) g[i][j] += a[i][k] * a[j][k];
    const double det = g[0][0] * g[1][1] - g[0][1] * g[1][0];
    const double z0 = (g[1][1] * y[0] - g[0][1] * y[1]) / det;
    const double z1 = (g[0][0] * y[1] - g[1][0] * y[0]) / det;
    for (int k = 0; k < 6; ++k) {
        SCOPED_TRACE(k);
        EXPECT_NEAR(work.coef[k + 1], a[0][k] * z0 + a[1][k] * z1, 1e-13);
    }
}

TEST_F(SvdTest, DuplicatedBasisFunctionSharesItsCoefficientEqually) {
    // phi = (1, 1, u) on y = 3 + 2u: the constant is split half and half.
    setPoints({-1.0, -0.25, 0.5, 1.0}, {1.0, 2.5, 4.0, 5.0});
    svdFit(work, 4, 3, constantTwiceThenLinear);
    ASSERT_EQ(work.errorCount, 0) << work.errorText;
    EXPECT_EQ(zeroSingularValues(3), 1);
    EXPECT_NEAR(work.coef[1], 1.5, 1e-13);
    EXPECT_NEAR(work.coef[2], 1.5, 1e-13);
    EXPECT_NEAR(work.coef[3], 2.0, 1e-13);
}

TEST_F(SvdTest, SingularValueAtTheCutoffIsKeptAndOneJustBelowIsZeroed) {
    // Orthogonal columns along the unit axes: the singular values are the
    // column scales exactly. The largest (4, a power of two, so the cut-off
    // 1e-6 * 4 is exact) sits in the middle to check the search for it.
    const double atCutoff = 1e-6 * 4.0;
    const double belowCutoff = std::nextafter(atCutoff, 0.0);
    const std::vector<std::vector<double>> design = {
        {0.0, 4.0, 0.0}, {atCutoff, 0.0, 0.0}, {0.0, 0.0, belowCutoff},
        {0.0, 0.0, 0.0}, {0.0, 0.0, 0.0},
    };
    fitTable(design, {2.0, 3.0, 5.0, 7.0, 11.0});
    ASSERT_EQ(work.errorCount, 0) << work.errorText;
    EXPECT_EQ(work.wValues[1], atCutoff);
    EXPECT_EQ(work.wValues[2], 4.0);
    EXPECT_EQ(work.wValues[3], 0.0);
    EXPECT_NEAR(work.coef[1], 3.0 / atCutoff, 1e-9 * (3.0 / atCutoff));
    EXPECT_NEAR(work.coef[2], 0.5, 1e-15);
    EXPECT_EQ(work.coef[3], 0.0);  // would be about 1.25e6 if kept
}

// Splits errorText into its CR LF terminated lines.
std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        out.push_back(text.substr(start, end + 2 - start));
    EXPECT_EQ(start, text.size()) << "text does not end in CR LF";
    return out;
}

TEST_F(SvdTest, NonFiniteDesignReportsNonConvergenceOncePerSingularValue) {
    // A NaN in the design never converges. The decomposition carries on to
    // the end, one message per failing singular value.
    setPoints({0.1, kNaN, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8}, {1, 2, 3, 4, 5, 6, 7, 8});
    svdFit(work, 8, 6, polynomialBasis);
    const std::vector<std::string> got = lines(work.errorText);
    ASSERT_GE(work.errorCount, 1);
    ASSERT_EQ(static_cast<int>(got.size()), work.errorCount);
    // Every singular value but the last one of the sweep fails.
    int noConvergence = 0;
    for (const std::string& line : got) noConvergence += line == kNoConvergenceLine;
    EXPECT_EQ(noConvergence, 5);
}

TEST_F(SvdTest, NonFiniteDataIsNeverReportedAsAFit) {
    // A single coefficient never iterates, and y never enters the
    // decomposition, so these would otherwise "succeed" with NaN results.
    struct Case {
        const char* name;
        double x, y, sigma;
        int m;
    };
    const Case cases[] = {
        {"NaN ordinate", 0.5, kNaN, 1.0, 3},
        {"infinite ordinate", 0.5, kInf, 1.0, 1},
        {"NaN abscissa", kNaN, 1.0, 1.0, 2},
        {"zero sigma", 0.5, 1.0, 0.0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        work.errorText.clear();
        work.errorCount = 0;
        setPoints({-0.5, 0.0, c.x, 1.0}, {1.0, 2.0, c.y, 4.0});
        work.sigma[3] = c.sigma;
        svdFit(work, 4, c.m, polynomialBasis);
        EXPECT_GE(work.errorCount, 1);
        EXPECT_EQ(static_cast<int>(lines(work.errorText).size()), work.errorCount);
    }
}

TEST_F(SvdTest, ProblemsBeyondTheWorkArraysAreRefused) {
    // One point or coefficient too many would write past the arrays.
    const int sizes[][2] = {{kSvdMaxPoints + 1, 3}, {10, kSvdMaxCoefs + 1}};
    for (const auto& [n, m] : sizes) {
        SCOPED_TRACE(testing::Message() << n << " points, " << m << " coefficients");
        work.errorText.clear();
        work.errorCount = 0;
        svdFit(work, n, m, polynomialBasis);
        EXPECT_EQ(work.errorCount, 1);
        EXPECT_EQ(lines(work.errorText).size(), 1u);
    }
}

struct Shape {
    int m, n;
    bool rankDeficient;
};

class SvdReconstructionTest : public SvdTest, public ::testing::WithParamInterface<Shape> {};

TEST_P(SvdReconstructionTest, FactorsReproduceTheMatrixAndAreOrthogonal) {
    const auto [m, n, rankDeficient] = GetParam();
    std::mt19937_64 rng(12345u + static_cast<unsigned>(m * 37 + n));
    std::uniform_real_distribution<double> dist(-1.0, 1.0);
    std::vector<std::vector<double>> a(m + 1, std::vector<double>(n + 1));
    for (int i = 1; i <= m; ++i)
        for (int j = 1; j <= n; ++j) a[i][j] = dist(rng);
    if (rankDeficient)
        for (int i = 1; i <= m; ++i) a[i][n] = a[i][1] - 2.0 * a[i][2];

    poisonWork();
    for (int i = 1; i <= m; ++i)
        for (int j = 1; j <= n; ++j) work.u(i, j) = a[i][j];
    svdDecompose(work, m, n);
    ASSERT_EQ(work.errorCount, 0) << work.errorText;

    const double tol = 1e-13 * std::max(m, n);
    for (int j = 1; j <= n; ++j) EXPECT_GE(work.wValues[j], 0.0) << j;
    for (int i = 1; i <= m; ++i) {
        for (int j = 1; j <= n; ++j) {
            double s = 0.0;
            for (int k = 1; k <= n; ++k) s += work.u(i, k) * work.wValues[k] * work.v(j, k);
            ASSERT_NEAR(s, a[i][j], tol) << "A[" << i << "][" << j << "]";
        }
    }
    for (int p = 1; p <= n; ++p) {
        for (int q = 1; q <= n; ++q) {
            double s = 0.0;
            for (int k = 1; k <= n; ++k) s += work.v(k, p) * work.v(k, q);
            ASSERT_NEAR(s, p == q ? 1.0 : 0.0, tol) << "V^T V [" << p << "][" << q << "]";
        }
    }
    // U has orthonormal columns when m >= n, orthonormal rows when m < n.
    const int r = std::min(m, n);
    for (int p = 1; p <= r; ++p) {
        for (int q = 1; q <= r; ++q) {
            double s = 0.0;
            if (m >= n)
                for (int k = 1; k <= m; ++k) s += work.u(k, p) * work.u(k, q);
            else
                for (int k = 1; k <= n; ++k) s += work.u(p, k) * work.u(q, k);
            ASSERT_NEAR(s, p == q ? 1.0 : 0.0, tol) << "orthogonality [" << p << "][" << q << "]";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Shapes, SvdReconstructionTest,
                         ::testing::Values(Shape{1, 1, false}, Shape{6, 1, false},
                                           Shape{1, 5, false}, Shape{2, 6, false},
                                           Shape{5, 8, false}, Shape{8, 5, false},
                                           Shape{12, 12, false}, Shape{40, 21, true},
                                           Shape{7, 12, true}, Shape{128, 32, false}),
                         [](const ::testing::TestParamInfo<Shape>& info) {
                             return std::to_string(info.param.m) + "x" +
                                    std::to_string(info.param.n) +
                                    (info.param.rankDeficient ? "_rank_deficient" : "");
                         });

}  // namespace
}  // namespace qf
