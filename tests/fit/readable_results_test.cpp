// The readable results: the plain formula reproduces the generated curve for
// every model and scale; the statistics on small hand-computed fixtures; a
// rank-deficient fit says so.

#include "fit/readable_results.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace qf {
namespace {

struct Fitted {
    FitOutcome outcome;
    FitResult result;
    GeneratedGraph graph;
    FitDetails details;
};

Fitted fit(const std::vector<SourcePoint>& points, const AxisSettings& axis,
           const FitSettings& settings) {
    static auto work = std::make_unique<SvdFitWork>();
    FitInput in;
    in.points = points.data();
    in.pointCount = int32_t(points.size());
    in.axis = axis;
    in.settings = settings;
    in.imagePresent = true;
    Fitted f;
    f.outcome = runFit(in, *work, f.result, f.graph);
    if (f.outcome.status == FitOk) f.details = fitDetailsOf(in, f.result, *work);
    return f;
}

// Twenty points along a bent curve on a 1000 x 1000 pixel axis rectangle.
std::vector<SourcePoint> bentCurve() {
    std::vector<SourcePoint> points;
    for (int i = 0; i < 20; ++i) {
        const double t = i / 19.0;
        points.push_back({25 + 50 * i, 1000 - int(std::lround(1000 * (0.1 + 0.5 * t + 0.3 * t * t * t)))});
    }
    return points;
}

AxisSettings axes(bool xLog, bool yLog, bool positiveY) {
    AxisSettings a;
    a.axisRect = {0, 0, 1000, 1000};
    a.xLog = xLog;
    a.yLog = yLog;
    a.xMin = 0.5;
    a.xMax = 20;
    a.yMin = yLog ? 0.01 : positiveY ? 0.1 : -5;
    a.yMax = yLog ? 1e4 : 300;
    return a;
}

TEST(PlainFormula, ReproducesTheGeneratedCurveForEveryModelAndScale) {
    struct Model {
        int32_t kind;
        int32_t degree;
        const char* name;
    };
    const Model models[] = {{Polynomial, 3, "polynomial 3"},
                            {Polynomial, -2, "inverse powers 2"},
                            {Polynomial, 0, "constant"},
                            {ExponentialProduct, 2, "exponential 2"},
                            {ExponentialProduct, -1, "exponential inverse 1"},
                            {FunctionSum, 0, "function sum"}};
    for (const Model& model : models) {
        for (bool xLog : {false, true}) {
            for (bool yLog : {false, true}) {
                if (model.kind == ExponentialProduct && yLog) continue;  // refused by the fit
                SCOPED_TRACE(testing::Message() << model.name << (xLog ? " log x" : " lin x")
                                                << (yLog ? " log y" : " lin y"));
                FitSettings s;
                s.modelKind = model.kind;
                s.degree = model.degree;
                s.basisExpr = {"1", "x", "x * x", "sin(x)", "exp(-x)", "sqrt(x + 3)"};
                s.graphPointCount = 60;
                const Fitted f = fit(bentCurve(), axes(xLog, yLog, model.kind == ExponentialProduct), s);
                ASSERT_EQ(f.outcome.status, FitOk);
                const PlainFormula plain = plainFormulaOf(f.result, f.details.degree);
                int checked = 0;
                for (int l = 0; l < f.graph.generatedCount; ++l) {
                    const double x = f.graph.generatedX[std::size_t(l)];
                    const double y = f.graph.generatedY[std::size_t(l)];
                    // Where the inverse powers meet 0 the curve takes 1e24 instead.
                    const double big = xLog ? std::log10(x) : x;
                    if (model.degree < 0 && std::fabs(big / f.result.fitNx) <= 1e-24) continue;
                    EXPECT_NEAR(evaluatePlainFormula(plain, x), y, 1e-9 * std::fabs(y) + 1e-300)
                        << "x = " << x;
                    ++checked;
                }
                EXPECT_GE(checked, 59);
            }
        }
    }
}

TEST(PlainFormula, TextsReadyToPaste) {
    FitResult r;
    r.fitModelKind = Polynomial;
    r.fitCoefCount = 3;
    r.fitNx = 10;
    r.fitNy = 100;
    r.fitCoefs[0] = 0.02;   // 2
    r.fitCoefs[1] = -0.5;   // -50 / 10 = -5
    r.fitCoefs[2] = 0.25;   // 25 / 100 = 0.25
    PlainFormula f = plainFormulaOf(r, 2);
    EXPECT_EQ(formulaText(f), "y = 2 - 5*x + 0.25*x^2");
    EXPECT_EQ(pythonText(f), "y = 2 - 5*x + 0.25*x**2");
    EXPECT_EQ(spreadsheetText(f), "=2 - 5*A1 + 0.25*A1^2");

    r.fitXLog = 1;
    r.fitYLog = 1;
    f = plainFormulaOf(r, 2);
    EXPECT_EQ(formulaText(f), "log10(y) = 2 - 5*log10(x) + 0.25*log10(x)^2");
    EXPECT_EQ(pythonText(f), "y = 10 ** (2 - 5*math.log10(x) + 0.25*math.log10(x)**2)");
    EXPECT_EQ(spreadsheetText(f), "=10^(2 - 5*LOG10(A1) + 0.25*LOG10(A1)^2)");

    r.fitXLog = 0;
    r.fitYLog = 0;
    r.fitModelKind = ExponentialProduct;
    f = plainFormulaOf(r, -2);  // powers 0, -1, -2: A / Nx^-p
    EXPECT_EQ(formulaText(f), "ln(y) = 2 - 500*x^(-1) + 2500*x^(-2)");
    EXPECT_EQ(pythonText(f), "y = math.exp(2 - 500*x**(-1) + 2500*x**(-2))");
    EXPECT_EQ(spreadsheetText(f), "=EXP(2 - 500*A1^(-1) + 2500*A1^(-2))");

    // Coefficients in full: a double written and read back is the same double.
    r.fitModelKind = Polynomial;
    r.fitCoefCount = 1;
    r.fitNy = 1;
    r.fitCoefs[0] = 0.1 + 0.2;
    f = plainFormulaOf(r, 0);
    EXPECT_EQ(formulaText(f), "y = 0.30000000000000004");
}

// Four points, a straight line: x = 0, 1, 2, 3 and y = 0, 1, 2, 4 give
// y = -0.2 + 1.3 x, residuals 0.2, -0.1, -0.4, 0.3, R^2 = 1 - 0.3 / 8.75.
TEST(FitStatistics, MatchTheHandComputedLine) {
    AxisSettings a;
    a.axisRect = {0, 0, 100, 100};
    a.xMax = 100;
    a.yMax = 100;
    FitSettings s;
    s.degree = 1;
    const Fitted f = fit({{0, 100}, {1, 99}, {2, 98}, {3, 96}}, a, s);
    ASSERT_EQ(f.outcome.status, FitOk);
    const FitDetails& d = f.details;
    ASSERT_EQ(d.residuals.size(), 4u);
    const double want[] = {0.2, -0.1, -0.4, 0.3};
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(d.residuals[std::size_t(i)], want[i], 1e-12) << i;
    EXPECT_NEAR(d.r2, 1 - 0.3 / 8.75, 1e-12);
    EXPECT_NEAR(d.rmse, std::sqrt(0.3 / 4), 1e-12);
    EXPECT_NEAR(d.maxResidual, -0.4, 1e-12);
    EXPECT_EQ(d.maxResidualPoint, 3);
    EXPECT_EQ(d.pointCount, 4);
    EXPECT_EQ(d.coefCount, 2);
    EXPECT_EQ(d.rank, 2);

    const std::string text = readableResultsText(f.result, d);
    EXPECT_NE(text.find("y = -0.2"), std::string::npos) << text;
    EXPECT_NE(text.find("  R² = 0.965714\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("  最大残差 = -0.4 (点 3)\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("  点の数 = 4、係数の数 = 2\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("  3,-0.4\r\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("ランク"), std::string::npos) << text;
}

TEST(FitStatistics, ZeroedSingularValuesAreReportedAsTheRank) {
    // Two distinct abscissae cannot fix a parabola: rank 2 of 3.
    AxisSettings a;
    a.axisRect = {0, 0, 100, 100};
    a.xMax = 100;
    a.yMax = 100;
    FitSettings s;
    s.degree = 2;
    const Fitted f = fit({{10, 90}, {10, 88}, {20, 70}, {20, 72}}, a, s);
    ASSERT_EQ(f.outcome.status, FitOk);
    EXPECT_EQ(f.details.coefCount, 3);
    EXPECT_EQ(f.details.rank, 2);
    EXPECT_NE(readableResultsText(f.result, f.details).find("ランク = 2 (特異値 1 個を 0 としました)"),
              std::string::npos);
}

TEST(FitStatistics, EqualValuesHaveNoR2) {
    AxisSettings a;
    a.axisRect = {0, 0, 100, 100};
    FitSettings s;
    s.degree = 1;
    const Fitted f = fit({{10, 50}, {20, 50}, {30, 50}}, a, s);
    ASSERT_EQ(f.outcome.status, FitOk);
    EXPECT_TRUE(std::isnan(f.details.r2));
    EXPECT_NE(readableResultsText(f.result, f.details).find("R² = - (すべての点が同じ値)"),
              std::string::npos);
}

}  // namespace
}  // namespace qf
