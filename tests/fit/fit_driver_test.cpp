#include "fit/fit_driver.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <memory>
#include <vector>

#include "expr/expr.h"
#include "fit/models.h"

namespace qf {
namespace {

using Events = std::vector<FitEvent>;

FitEvent output(const std::string& text) {
    return {FitEventKind::SetOutputText, text};
}
FitEvent box(const std::string& text) {
    return {FitEventKind::MessageBox, text};
}

// A fit on an axis rectangle of 100 x 1000 pixels with unit axes, so that a
// point at column H and row V has the values H / 100 and (1000 - V) / 1000.
class FitDriver : public ::testing::Test {
protected:
    FitDriver() : work(std::make_unique<SvdFitWork>()) {
        in.imagePresent = true;
        in.axis.axisRect = {0, 0, 100, 1000};
    }

    FitOutcome fit(std::vector<SourcePoint> pts) {
        points = std::move(pts);
        in.points = points.data();
        in.pointCount = static_cast<int32_t>(points.size());
        return runFit(in, *work, result, graph);
    }

    // A graph and result from an earlier fit, to see what a new fit keeps.
    void givePreviousFit() {
        graph.generatedCount = 2;
        graph.generatedX = {1, 2};
        graph.generatedY = {3, 4};
        result.fitCoefCount = 7;
    }

    FitInput in;
    std::vector<SourcePoint> points;
    std::unique_ptr<SvdFitWork> work;
    FitResult result;
    GeneratedGraph graph;
};

TEST_F(FitDriver, NotRunWithoutImageOrPointsOrWithTooManyPoints) {
    struct Case {
        bool image;
        int points;
    } cases[] = {{false, 3}, {true, 0}, {true, 129}};
    for (const Case& c : cases) {
        givePreviousFit();
        in.imagePresent = c.image;
        const FitOutcome out = fit(std::vector<SourcePoint>(c.points, SourcePoint{10, 10}));
        EXPECT_EQ(out.status, FitNotRun);
        EXPECT_EQ(out.events, Events{output("")});
        EXPECT_FALSE(out.modesCleared);
        EXPECT_EQ(graph.generatedCount, 2);  // nothing else changes
        EXPECT_EQ(result.fitCoefCount, 7);
    }
    in.imagePresent = true;
    EXPECT_EQ(fit(std::vector<SourcePoint>(128, SourcePoint{10, 10})).status, FitOk);
}

TEST_F(FitDriver, GeneratedPointCountBelowTwoIsRejected) {
    const std::string text = "<エラー 1> グラフ作製データ数？ ( >2 )        \r\n";
    for (int count : {1, 0, -1, -2147483647}) {
        givePreviousFit();
        in.settings.graphPointCount = count;
        const FitOutcome out = fit({{0, 500}, {100, 400}});
        EXPECT_EQ(out.status, FitRejected);
        EXPECT_EQ(out.events, (Events{output(""), box(text), output(text)}));
        EXPECT_TRUE(out.modesCleared);
        EXPECT_EQ(graph.generatedCount, 0);  // the old graph is discarded
        EXPECT_EQ(result.fitCoefCount, 7);   // the old result is kept
    }
    in.settings.graphPointCount = 2;
    in.settings.degree = 1;
    EXPECT_EQ(fit({{0, 500}, {100, 400}}).status, FitOk);
    EXPECT_EQ(graph.generatedCount, 2);
}

TEST_F(FitDriver, RejectedSettingsAreNumberedInOrder) {
    in.axis.xLog = 1;
    in.axis.xMin = 0;
    in.axis.yLog = 1;
    in.axis.yMin = 1;
    in.axis.yMax = 10;
    in.settings.modelKind = ExponentialProduct;
    const std::string text =
        "<エラー 1> LogX軸: Xmin, Xmax が0以下です        \r\n"
        "<エラー 2> 指数関数積 y=exp(A0)*exp(A1*x)*... 選択時、Y軸対数 不可です        \r\n";
    EXPECT_EQ(fit({{50, 500}}).events, (Events{output(""), box(text), output(text)}));

    in.settings.graphPointCount = 1;
    in.axis.yMax = -1;
    const FitOutcome all = fit({{50, 500}});
    EXPECT_EQ(all.events[1].text,
              "<エラー 1> グラフ作製データ数？ ( >2 )        \r\n"
              "<エラー 2> LogX軸: Xmin, Xmax が0以下です        \r\n"
              "<エラー 3> LogY軸: Ymin, Ymax が0以下です        \r\n"
              "<エラー 4> 指数関数積 y=exp(A0)*exp(A1*x)*... 選択時、Y軸対数 不可です        \r\n");
}

TEST_F(FitDriver, ExactParabolaIsReproduced) {
    // v = 0.2 + 0.3 u + 0.5 u^2 through three exact points.
    in.settings.degree = 2;
    in.settings.graphPointCount = 5;
    const FitOutcome out = fit({{0, 800}, {50, 525}, {100, 0}});
    ASSERT_EQ(out.status, FitOk);
    EXPECT_EQ(out.events, Events{output("")});
    EXPECT_TRUE(out.modesCleared);
    EXPECT_EQ(result.fitCoefCount, 3);
    EXPECT_EQ(result.fitNx, 1.0);
    EXPECT_EQ(result.fitNy, 1.0);
    EXPECT_NEAR(result.fitCoefs[0], 0.2, 1e-12);
    EXPECT_NEAR(result.fitCoefs[1], 0.3, 1e-12);
    EXPECT_NEAR(result.fitCoefs[2], 0.5, 1e-12);
    ASSERT_EQ(graph.generatedCount, 5);
    ASSERT_EQ(graph.generatedX.size(), 5u);
    const double xs[] = {0, 0.25, 0.5, 0.75, 1};
    for (int l = 0; l < 5; ++l) {
        EXPECT_EQ(graph.generatedX[l], xs[l]);
        EXPECT_NEAR(graph.generatedY[l], 0.2 + 0.3 * xs[l] + 0.5 * xs[l] * xs[l], 1e-12);
    }
}

TEST_F(FitDriver, NormalisationFactorsFollowTheValuesFitted) {
    struct Case {
        int xLog;
        double xMin, xMax, yMin, yMax;
        double nx, ny;
    } cases[] = {
        // log10 of 10, 100, 1000 on an axis of 1 ... 10^4.
        {1, 1, 1e4, 0, 1, 3, 1},
        // |log10 x| <= 1 for 0.1 ... 0.5: no scaling.
        {1, 0.1, 0.5, 0, 1, 1, 1},
        // data inside [-1, 1] is never scaled up.
        {0, -0.5, 0.5, -0.2, 0.2, 1, 1},
        {0, 0, 40, -300, 0, 30, 300},
    };
    in.settings.degree = 1;
    for (const Case& c : cases) {
        in.axis.xLog = c.xLog;
        in.axis.xMin = c.xMin;
        in.axis.xMax = c.xMax;
        in.axis.yMin = c.yMin;
        in.axis.yMax = c.yMax;
        in.axis.axisRect = {0, 0, 400, 1000};
        ASSERT_EQ(fit({{100, 1000}, {200, 500}, {300, 1000}}).status, FitOk);
        EXPECT_NEAR(result.fitNx, c.nx, 1e-12);
        EXPECT_NEAR(result.fitNy, c.ny, 1e-12);
    }
}

// Axis values near the end of the double range: a span the weights once
// scaled below the smallest double still fits; values whose differences
// overflow are refused as the solver's error instead of giving INF and NaN rows.
TEST_F(FitDriver, ExtremeAxisValuesFitOrAreRefusedClearly) {
    struct Case {
        double xMin, xMax, yMin, yMax;
        int32_t status;
        const char* factors;  // expected in the solver's text when refused
    } cases[] = {
        {0, 1, 0, 1e170, FitOk, nullptr},
        {0, 1, -1e300, 1e300, FitOk, nullptr},
        {0, 1, 0, 1e-200, FitOk, nullptr},
        {0, 1, -1e308, 1e308, FitSolverFailed, "(Nx = 1, Ny = INF)"},
        {-1e308, 1e308, 0, 1, FitSolverFailed, "(Nx = INF, Ny = 1)"},
    };
    in.settings.degree = 1;
    in.settings.graphPointCount = 3;
    for (const Case& c : cases) {
        in.axis.xMin = c.xMin;
        in.axis.xMax = c.xMax;
        in.axis.yMin = c.yMin;
        in.axis.yMax = c.yMax;
        givePreviousFit();
        // y = yMin + (yMax - yMin) * (0.2 + 0.6 x) on the unit axes.
        const FitOutcome out = fit({{0, 800}, {50, 500}, {100, 200}});
        ASSERT_EQ(out.status, c.status) << c.yMax << " " << work->errorText;
        if (c.status == FitOk) {
            ASSERT_EQ(graph.generatedCount, 3);
            for (int l = 0; l < 3; ++l) {
                const double y = c.yMin + (c.yMax - c.yMin) * (0.2 + 0.3 * l);
                EXPECT_NEAR(graph.generatedY[l], y, std::fabs(c.yMax) * 1e-9) << c.yMax;
                EXPECT_TRUE(std::isfinite(graph.generatedX[l]));
            }
        } else {
            EXPECT_EQ(graph.generatedCount, 0);
            EXPECT_EQ(result.fitCoefCount, 7);
            EXPECT_EQ(work->errorText,
                      std::string("non-finite normalisation factors ") + c.factors + "\r\n");
            EXPECT_EQ(out.events[1],
                      box("最小2乗法\u3000実行エラー\r\n" + work->errorText + "\r\n"));
        }
    }
}

// Values near the largest double: the solver's coefficients were finite, but
// the formula in the axes' units held INF (null in fit.json) and the
// exponential product's curve INF rows, and the fit counted as done. Every
// model now refuses such a fit as the solver's error, saying which number
// overflowed, and keeps the earlier result.
TEST_F(FitDriver, AFitThatOverflowsADoubleIsTheSolversError) {
    // y = 4x(1 - x) of the axis span: 4 and -4 times 1e308 in the axes' units.
    const std::vector<SourcePoint> parabola = {{0, 1000}, {20, 360}, {40, 40},   {50, 0},
                                               {60, 40},  {80, 360}, {100, 1000}};
    // ln y rising by 10 per unit of x to ln 1e308 at x = 0.5: at x = 1 the
    // curve is e^714.
    const std::vector<SourcePoint> steep = {{0, 993}, {25, 918}, {50, 0}};
    struct Case {
        const char* name;
        int32_t model;
        int32_t degree;
        std::vector<SourcePoint> points;
        const char* reason;
    } cases[] = {
        {"polynomial", Polynomial, 2, parabola,
         "coefficient c1 of the formula in the axes' units is INF: the values are too large "
         "for a double\r\n"},
        {"function sum", FunctionSum, 0, parabola, "of the formula in the axes' units is "},
        {"exponential product", ExponentialProduct, 1, steep,
         "generated point 3 of 3 is not finite (X = 1, Y = INF): the values are too large for "
         "a double\r\n"},
    };
    in.axis.yMax = 1e308;
    in.settings.graphPointCount = 3;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        in.settings.modelKind = c.model;
        in.settings.degree = c.degree;
        givePreviousFit();
        const FitOutcome out = fit(c.points);
        ASSERT_EQ(out.status, FitSolverFailed) << graph.generatedY.size();
        EXPECT_NE(work->errorText.find(c.reason), std::string::npos) << work->errorText;
        ASSERT_EQ(out.events.size(), 3u);
        EXPECT_EQ(out.events[1], box("最小2乗法\u3000実行エラー\r\n" + work->errorText + "\r\n"));
        EXPECT_EQ(out.events[2], output(out.events[1].text));
        EXPECT_EQ(graph.generatedCount, 0);
        EXPECT_EQ(result.fitCoefCount, 7);
    }
    // The same points on a span a double holds fit.
    in.axis.yMax = 1e300;
    for (const Case& c : cases) {
        in.settings.modelKind = c.model;
        in.settings.degree = c.degree;
        EXPECT_EQ(fit(c.points).status, FitOk) << c.name << " " << work->errorText;
    }
}

TEST_F(FitDriver, ExponentialModelTakesNonPositiveValuesAsMinus24) {
    // Degree 0 fits the mean of ln w: ln e = 1 and, for w = 0, -24; Ny = 24.
    in.settings.modelKind = ExponentialProduct;
    in.settings.degree = 0;
    in.settings.graphPointCount = 2;
    in.axis.yMax = std::exp(1.0);
    ASSERT_EQ(fit({{10, 0}, {90, 1000}}).status, FitOk);
    EXPECT_EQ(result.fitNy, 24.0);
    EXPECT_NEAR(result.fitCoefs[0], (1.0 / 24 - 1) / 2, 1e-12);
    EXPECT_NEAR(graph.generatedY[0], std::exp(-11.5), 1e-15);
    EXPECT_NEAR(graph.generatedY[1], std::exp(-11.5), 1e-15);
}

TEST_F(FitDriver, InversePowersFitAndSample) {
    // y = 0.5 + 0.25 / x on x = 0.25 ... 1, degree -1 (M = 2); then -3 gives M = 4.
    in.settings.degree = -1;
    in.settings.graphPointCount = 4;
    in.axis.yMax = 2;
    ASSERT_EQ(fit({{25, 250}, {50, 500}, {100, 625}}).status, FitOk);
    EXPECT_EQ(result.fitCoefCount, 2);
    EXPECT_EQ(result.fitNy, 1.5);  // coefficients are of y / Ny
    EXPECT_NEAR(result.fitCoefs[0], 0.5 / 1.5, 1e-12);
    EXPECT_NEAR(result.fitCoefs[1], 0.25 / 1.5, 1e-12);
    EXPECT_NEAR(graph.generatedY[3], 0.75, 1e-12);  // at x = 1

    in.settings.degree = -3;
    ASSERT_EQ(fit({{0, 500}, {25, 250}, {50, 500}, {100, 625}}).status, FitOk);
    EXPECT_EQ(result.fitCoefCount, 4);
}

TEST(InversePowerBasis, ZeroAbscissaGivesLargeValues) {
    double phi[5] = {};
    inversePowerBasis(0.5, phi, 4);
    EXPECT_EQ((std::vector<double>{phi[1], phi[2], phi[3], phi[4]}),
              (std::vector<double>{1, 2, 4, 8}));
    for (double u : {0.0, -0.0, 1e-24, -1e-24}) {
        inversePowerBasis(u, phi, 4);
        EXPECT_EQ((std::vector<double>{phi[1], phi[2], phi[3], phi[4]}),
                  (std::vector<double>{1, 1e24, 1e24, 1e24}));
    }
}

TEST_F(FitDriver, LogarithmicAxesSampleEvenlyInDecades) {
    // y = x on log-log axes: log10 y = log10 x.
    in.axis.xLog = in.axis.yLog = 1;
    in.axis.xMin = in.axis.yMin = 0.01;
    in.axis.xMax = in.axis.yMax = 100;
    in.axis.axisRect = {0, 0, 400, 400};
    in.settings.degree = 1;
    in.settings.graphPointCount = 5;
    ASSERT_EQ(fit({{0, 400}, {100, 300}, {400, 0}}).status, FitOk);
    const double expected[] = {0.01, 0.1, 1, 10, 100};
    for (int l = 0; l < 5; ++l) {
        EXPECT_NEAR(graph.generatedX[l] / expected[l], 1, 1e-12);
        EXPECT_NEAR(graph.generatedY[l] / expected[l], 1, 1e-12);
    }
}

TEST_F(FitDriver, EqualYBoundsUseUnitWeights) {
    in.axis.yMin = in.axis.yMax = 2;
    in.settings.degree = 1;
    in.settings.graphPointCount = 3;
    ASSERT_EQ(fit({{0, 300}, {50, 600}, {100, 900}}).status, FitOk);
    for (double y : graph.generatedY) EXPECT_NEAR(y, 2, 1e-12);
}

TEST_F(FitDriver, SolverFailureIsReported) {
    in.axis.xMin = std::nan("");  // every abscissa NaN: the iteration cannot converge
    in.settings.degree = 1;
    givePreviousFit();
    const FitOutcome out = fit({{0, 500}, {50, 400}, {100, 300}});
    EXPECT_EQ(out.status, FitSolverFailed);
    ASSERT_EQ(out.events.size(), 3u);
    EXPECT_EQ(out.events[1].kind, FitEventKind::MessageBox);
    EXPECT_EQ(out.events[2], output(out.events[1].text));
    EXPECT_NE(work->errorText.find("no convergence in 30 svdcmp iterations\r\n"),
              std::string::npos);
    EXPECT_EQ(out.events[1].text, "最小2乗法\u3000実行エラー\r\n" + work->errorText + "\r\n");
    EXPECT_EQ(graph.generatedCount, 0);
    EXPECT_EQ(result.fitCoefCount, 7);
}

TEST_F(FitDriver, FunctionSumWithDefaultFormulasIsTheQuinticPolynomial) {
    const std::vector<SourcePoint> pts = {{0, 900},  {10, 700}, {25, 650}, {40, 100},
                                          {55, 300}, {70, 800}, {85, 500}, {100, 200}};
    in.settings.degree = 5;
    ASSERT_EQ(fit(pts).status, FitOk);
    const FitResult poly = result;
    const std::vector<double> polyY = graph.generatedY;

    in.settings.modelKind = FunctionSum;
    ASSERT_EQ(fit(pts).status, FitOk);
    EXPECT_EQ(result.fitModelKind, FunctionSum);
    EXPECT_EQ(result.fitCoefCount, 6);
    for (int k = 0; k < 6; ++k) EXPECT_NEAR(result.fitCoefs[k], poly.fitCoefs[k], 1e-9);
    for (std::size_t l = 0; l < polyY.size(); ++l)
        EXPECT_NEAR(graph.generatedY[l], polyY[l], 1e-9);
}

TEST_F(FitDriver, FunctionSumWithARepeatedFormulaSplitsItsCoefficient) {
    in.settings.modelKind = FunctionSum;
    in.settings.basisExpr = {"1", "1", "x", "0", "0", "0"};
    ASSERT_EQ(fit({{0, 900}, {50, 600}, {100, 300}}).status, FitOk);  // y = 0.1 + 0.6 x
    EXPECT_NEAR(result.fitCoefs[0], 0.05, 1e-12);
    EXPECT_NEAR(result.fitCoefs[1], 0.05, 1e-12);
    EXPECT_NEAR(result.fitCoefs[2], 0.6, 1e-12);
}

// The compiler keeps 2045 bytes of the joined program ("f0;\r\n...f5;\r\n");
// a longer text was cut without a word, the formulas after the cut lost.
TEST_F(FitDriver, FormulasLongerThanTheCompilerTakesAreRejected) {
    const std::string longText =
        "<エラー 1> 任意関数 f0(x)～f5(x) の式が長すぎます ( 区切りを含め 2045 バイトまで )"
        "        \r\n";
    in.settings.modelKind = FunctionSum;
    in.settings.basisExpr = {"1", "x", "0", "0", "0", "x"};
    const std::size_t room = 2045 - 18 - 5;  // besides the separators and the other formulas
    struct Case {
        std::size_t f2Length;  // "0" followed by blanks
        int count;             // generated points (1 adds the count's own error)
        int32_t status;
        std::string text;
    } cases[] = {
        {room, 3, FitOk, ""},
        {room + 1, 3, FitRejected, longText},
        {100000, 3, FitRejected, longText},
        {room + 1, 1, FitRejected,
         "<エラー 1> グラフ作製データ数？ ( >2 )        \r\n"
         "<エラー 2> 任意関数 f0(x)～f5(x) の式が長すぎます ( 区切りを含め 2045 バイトまで )"
         "        \r\n"},
    };
    for (const Case& c : cases) {
        in.settings.basisExpr[2] = "0" + std::string(c.f2Length - 1, ' ');
        in.settings.graphPointCount = c.count;
        givePreviousFit();
        const FitOutcome out = fit({{0, 900}, {50, 600}, {100, 300}});
        EXPECT_EQ(out.status, c.status) << c.f2Length;
        if (c.status == FitOk) {
            // f5 made it into the program: y = 0.1 + 0.6 x is all A1 and A5.
            EXPECT_NEAR(result.fitCoefs[1] + result.fitCoefs[5], 0.6, 1e-9);
        } else {
            EXPECT_EQ(out.events, (Events{output(""), box(c.text), output(c.text)}));
            EXPECT_EQ(graph.generatedCount, 0);
        }
    }
}

// Six formulas that compile to no statement at all gave six zero coefficients
// as a successful fit.
TEST_F(FitDriver, FormulasWithoutAStatementAreRejected) {
    const std::string text = "<エラー 1> 任意関数 f0(x)～f5(x) に式がありません        \r\n";
    in.settings.modelKind = FunctionSum;
    const std::array<std::string, 6> cases[] = {
        {"", "", "", "", "", ""},
        {" ", "\t", ";", "", ";;", " ; "},
        {"// a", "// b", "", "// c", "", "// d"},  // comments hide the separators
    };
    for (const auto& formulas : cases) {
        in.settings.basisExpr = formulas;
        givePreviousFit();
        const FitOutcome out = fit({{0, 900}, {50, 600}, {100, 300}});
        EXPECT_EQ(out.status, FitRejected) << formulas[0];
        EXPECT_EQ(out.events, (Events{output(""), box(text), output(text)}));
        EXPECT_EQ(graph.generatedCount, 0);
    }
    in.settings.basisExpr = {"", "", "", "", "", "x"};  // one statement is enough
    EXPECT_EQ(fit({{0, 900}, {50, 600}, {100, 300}}).status, FitOk);
}

TEST_F(FitDriver, FormulaErrorsAreShownAfterTheInterpreterHeading) {
    in.settings.modelKind = FunctionSum;
    in.settings.basisExpr[2] = "x^2";
    givePreviousFit();
    const FitOutcome out = fit({{0, 900}, {50, 600}, {100, 300}});
    const std::string text =
        "インタープリタ エラー\r\n\r\n[WORD OR CHARACTER INVALID]\r\n[syntax error]^2;\r\n";
    EXPECT_EQ(out.status, FitRejected);
    EXPECT_EQ(out.events, (Events{output(""), output(text), box(text)}));
    EXPECT_EQ(graph.generatedCount, 0);
}

}  // namespace
}  // namespace qf
